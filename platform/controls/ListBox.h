#pragma once
// TListBox: a sunken white box of items, one line each, with a current item (ItemIndex), one or
// many selected items, a vertical scroll bar when the items overflow, and the classic keys,
// clicks and drags. Only the items that show are laid out and painted, so a list of a hundred
// thousand items paints as fast as one that fits.
//
// Sections: the items (TListBoxStrings), the list box.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/controls/Controls.h"
#include "platform/controls/ScrollBars.h"
#include "platform/core/Strings.h"

namespace zelvar {

class TListBox;

// The items of a list box. Each item carries its selected state, so a selection stays with its
// item when items are inserted, deleted or sorted. While the box is Sorted every new or
// changed item goes to its place in CompareText order, whatever index it was given.
class TListBoxStrings final : public TStrings {
  ZELVAR_CLASS(TListBoxStrings, TStrings)

 public:
  explicit TListBoxStrings(TListBox* box = nullptr) : FBox(box) {}

  int Count() const override { return static_cast<int>(FItems.size()); }
  std::string Get(int index) const override;
  void Put(int index, const std::string& s) override;
  int64_t GetObject(int index) const override;
  void PutObject(int index, int64_t object) override;
  void InsertObject(int index, const std::string& s, int64_t object) override;
  void Delete(int index) override;
  void Clear() override;
  void Exchange(int index1, int index2) override;

  // The text of an item without copying it, for painting.
  const std::string& Ref(int index) const {
    CheckIndex(index, Count());
    return FItems[static_cast<size_t>(index)].Text;
  }

 private:
  friend class TListBox;
  struct TItem {
    std::string Text;
    int64_t Object = 0;
    bool Selected = false;
  };
  // Where s goes in a sorted list: after the items that compare equal, as the classic sorted
  // list adds them.
  int SortedIndex(const std::string& s) const;
  // Sorts the items, stably; the list box follows its current item.
  void Sort();
  void MoveItem(int from, int to);

  TListBox* FBox;
  std::vector<TItem> FItems;
};

class TListBox : public TCustomControl {
  ZELVAR_CLASS(TListBox, TCustomControl)

 public:
  static constexpr TColor kDefaultColor = clWindow;
  static constexpr bool kDefaultTabStop = true;
  static constexpr bool kDefaultExtendedSelect = true;
  // The sunken border's width on every side.
  static constexpr int32_t kBorder = 2;

  explicit TListBox(TComponent* owner);
  ~TListBox() override;

  TStrings* Items() const { return FItems.get(); }
  void SetItems(TStrings* v);  // copies the lines
  int32_t Count() const { return FItems->Count(); }

  // The current item, -1 for none. Without MultiSelect it is the one selected item; with
  // MultiSelect it is the item with the focus rectangle, and setting it leaves the selection
  // alone. EListError outside -1..Count-1.
  int32_t ItemIndex() const { return FItemIndex; }
  void SetItemIndex(int32_t v);
  // EListError for an index outside the items.
  bool Selected(int32_t index) const;
  void SetSelected(int32_t index, bool v);
  int32_t SelCount() const;
  // Required input is a selected item.
  bool InputSatisfied() const override;
  // The script face of Selected: select or unselect one item, as SetSelected.
  void SelectItem(int32_t index) { SetSelected(index, true); }
  void UnselectItem(int32_t index) { SetSelected(index, false); }
  void ClearSelection();

  bool MultiSelect() const { return FMultiSelect; }
  void SetMultiSelect(bool v);
  // With MultiSelect: Shift and Ctrl extend and add to the selection, as in a file list.
  bool ExtendedSelect() const { return FExtendedSelect; }
  void SetExtendedSelect(bool v) { FExtendedSelect = v; }
  bool Sorted() const { return FSorted; }
  void SetSorted(bool v);
  // 0 follows the font's line height; a form file keeps only a height that was set.
  int32_t ItemHeight() const;
  void SetItemHeight(int32_t v);
  bool ItemHeightStored() const { return FItemHeight > 0; }
  // A fixed item height scales with the rest; one that follows the font follows it anyway.
  void ChangeScale(int32_t m, int32_t d) override;

  // The first item that shows; kept so that the box is full when it can be.
  int32_t TopIndex() const { return FTopIndex; }
  void SetTopIndex(int32_t v);
  // Items that show whole in the box.
  int32_t VisibleRows() const;

  // The item at a point of the client, -1 below the last item or outside the items' area.
  int32_t ItemAtPos(int32_t x, int32_t y) const;
  // The item's rectangle, empty when it is scrolled out of view.
  TRect ItemRect(int32_t index) const;
  // The box inside the border and left of the scroll bar, where items show.
  TRect ItemsArea() const;
  const TScrollBarPart& ScrollBar() const { return FBar; }

  void MouseDown(TMouseButton button, TShiftState shift, int32_t x, int32_t y) override;
  void MouseMove(TShiftState shift, int32_t x, int32_t y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int32_t x, int32_t y) override;
  void KeyDown(uint16_t& key, TShiftState shift) override;
  // A printable character moves to the next item that starts with it.
  void KeyPress(char32_t& key) override;
  // Three lines a notch, leaving the selection where it is.
  bool DoMouseWheel(TShiftState shift, int32_t wheelDelta, TPoint mousePos) override;
  int32_t WMGetDlgCode() override { return DLGC_WANTARROWS | DLGC_WANTCHARS; }
  void WMSize() override;
  // A list whose items are parts; pressing one makes it the current item.
  void DescribeAccessible(TAccessibleDescription& d) const override;

 protected:
  void Paint() override;

 private:
  friend class TListBoxStrings;
  // The items moved: where(old index) is the new one, -1 for an item that went. The current
  // item and the anchor follow; selection flags travel with their items.
  void ItemsMoved(const std::function<int32_t(int32_t)>& where);
  void ItemsChanged();
  void MeasureFont();

  void CheckIndex(int32_t index) const;
  // Brings the scroll bar in line with the items and the size, and keeps TopIndex in range.
  void UpdateScrollBar();
  void ScrollInView(int32_t index);
  int32_t MaxTopIndex() const;
  // Moves the focus to index as the keyboard or mouse does with these keys held, selecting
  // as the mode says. True when the current item or the selection changed.
  bool MoveFocus(int32_t index, TShiftState shift, bool byMouse);
  // Selects from..to; the others stay selected only with keepOthers. True when any changed.
  bool SelectRange(int32_t from, int32_t to, bool keepOthers);
  // The next item after the current whose first character is c (any case), cycling.
  int32_t FindByFirstChar(char32_t c) const;

  std::unique_ptr<TListBoxStrings> FItems;
  TScrollBarPart FBar;
  int32_t FItemIndex = -1;
  int32_t FAnchor = -1;  // where a Shift range starts
  int32_t FTopIndex = 0;
  bool FMultiSelect = false;
  bool FExtendedSelect = kDefaultExtendedSelect;
  bool FSorted = false;
  int32_t FItemHeight = 0;      // 0: the font's line height
  int32_t FFontItemHeight = 1;  // the font's line height, measured when the font changes
  bool FDragging = false;       // the left button went down on an item and selects as it moves
  int32_t FWheelRest = 0;       // wheel turn short of a notch
};

}  // namespace zelvar
