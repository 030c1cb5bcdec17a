#pragma once
// TPropertyGrid: the designer's property view. Two tabs (Properties, Events) over a grid of
// name and value, one row per published property of the selection, sorted by name; nested
// objects and sets expand into rows of their own. Every value is read and written through the
// property editor GetPropertyEditor gives, so an editor a package binds to a property is the
// one used.
//
// Rows are painted, not made of controls: only the current row has controls, an edit or a
// drop-down over its value and an ellipsis button for editors with a dialog. Selecting a
// component on every click in the designer stays cheap that way.

#include <cstdint>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/controls/Controls.h"
#include "platform/controls/ScrollBars.h"
#include "platform/controls/TabLayout.h"
#include "platform/designer/Designer.h"

namespace zelvar {

class TButton;
class TGridEdit;
class TGridCombo;

class TPropertyGrid : public TCustomControl {
  ZELVAR_CLASS(TPropertyGrid, TCustomControl)

 public:
  // Each level of nesting moves a row's name this far right; the first level leaves room for
  // the "+"/"-" box.
  static constexpr int32_t kIndent = 11;
  // Rows are one text line and this much more high.
  static constexpr int32_t kRowPadding = 4;
  static constexpr int32_t kMinColumn = 24;

  explicit TPropertyGrid(TComponent* owner);
  ~TPropertyGrid() override;

  // The designer whose property editors report changes (Modified) to it.
  void SetDesigner(IDesigner* designer);
  IDesigner* Designer() const { return FDesigner; }
  // Shows the properties the selected components share (one component: all of its published
  // ones; several: those with paMultiSelect that all of them have). Empty: nothing.
  void SetSelection(const std::vector<TPersistent*>& selection);
  const std::vector<TPersistent*>& Selection() const { return FSelection; }
  // Re-reads every shown value because the form changed elsewhere. Safe at any time, also
  // from inside a property editor's SetValue or Edit: the rebuild then waits until it returns.
  void Reload();
  // Makes the row of path current ("Caption", "BtnNext.Caption", "Font.Style.fsBold";
  // "OnClick" switches to the Events tab), expanding what leads to it and scrolling it into
  // view; false when there is no such row.
  bool SelectRow(const std::string& path);
  // The in-place editor of the current row (an edit or a drop-down); nullptr without one.
  TWinControl* ValueEdit() const;
  // The current row's "..." button (editors with paDialog), or nullptr.
  TControl* EllipsisButton() const;
  // Which tab shows: false Properties, true Events.
  bool ShowingEvents() const { return FShowEvents; }
  void ShowEvents(bool events);

  // --- the rows as shown: expanded rows' children follow them
  int RowCount() const { return static_cast<int>(FShown.size()); }
  // EListError out of range.
  const std::string& RowPath(int index) const;
  const std::string& RowName(int index) const;
  const std::string& RowValue(int index) const;
  int RowLevel(int index) const;
  bool RowExpandable(int index) const;
  bool RowExpanded(int index) const;
  // -1 for none.
  int CurrentRow() const { return FCurrent; }
  void SetCurrentRow(int index);
  // False when there is no such row or it does not expand.
  bool SetExpanded(const std::string& path, bool expanded);

  // --- editing the current row
  // Applies the in-place editor's text through the row's editor (what Enter does). A refused
  // value shows the editor's message in an error box and keeps the old value; false then.
  bool ApplyEdit();
  // Puts the row's value back into the in-place editor (what Escape does).
  void RevertEdit();
  // Steps a drop-down value to the next identifier (a double click on it).
  void CycleValue();
  // Opens the row editor's dialog (the ellipsis button).
  void EditDialog();

  // --- geometry: pure functions of the size, the font and the scroll position
  int32_t RowHeight() const { return FRowHeight; }
  int32_t SplitterPos() const { return FSplitter; }
  void SetSplitterPos(int32_t x);
  int TopRow() const { return FTop; }
  TRect TabRect(bool events) const;
  // The rows' area, left of the scroll bar.
  TRect GridRect() const;
  // Where the row at index is; empty when it is scrolled out of view.
  TRect RowRect(int index) const;
  // The row at y in client coordinates; -1 for none.
  int RowAt(int32_t y) const;

  void SetBounds(int32_t left, int32_t top, int32_t width, int32_t height) override;
  void MouseDown(TMouseButton button, TShiftState shift, int32_t x, int32_t y) override;
  void MouseMove(TShiftState shift, int32_t x, int32_t y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int32_t x, int32_t y) override;
  void DblClick() override;
  void KeyDown(uint16_t& key, TShiftState shift) override;
  void KeyPress(char32_t& key) override;
  bool DoMouseWheel(TShiftState shift, int32_t wheelDelta, TPoint mousePos) override;
  int32_t WMGetDlgCode() override { return DLGC_WANTARROWS | DLGC_WANTTAB | DLGC_WANTCHARS; }

 protected:
  void Paint() override;
  void Notification(TComponent* component, TOperation operation) override;

 private:
  friend class TGridEdit;
  friend class TGridCombo;
  struct TRow;

  void Rebuild();
  // names: the rows' names in the editors' order (set flags), which then stays; empty: the
  // properties' names, sorted.
  void AddRows(std::vector<std::unique_ptr<TRow>>& into, TRow* parent,
               std::vector<std::unique_ptr<TPropertyEditor>> editors,
               const std::vector<std::string>& names = {});
  void BuildChildren(TRow& row);
  void Flatten();
  void ReadValues(TRow& row);
  TRow* FindRow(const std::string& path);
  void Toggle(int index);
  void MoveCurrent(int index);
  void ScrollInView(int index);
  void UpdateScrollBar();
  void PlaceEditor();
  std::string EditorText() const;
  // Runs a step of a row editor: rebuilds wait until it returns, then run once; an Exception
  // shows as an error box. False when it raised.
  bool RunEdit(const std::function<void()>& step);
  TTabLayout Tabs() const;
  void MeasureFont();

  IDesigner* FDesigner = nullptr;
  std::vector<TPersistent*> FSelection;
  std::vector<std::unique_ptr<TRow>> FRows;  // the top level
  std::vector<TRow*> FShown;                 // what the grid shows, in order
  std::set<std::string> FExpanded;           // upper-case paths, kept across selections
  bool FShowEvents = false;
  int FCurrent = -1;
  int FTop = 0;
  int32_t FRowHeight = 16;
  int32_t FSplitter = 100;
  bool FSplitterSet = false;  // the user placed it: a resize keeps it
  bool FDragging = false;
  int FEditDepth = 0;
  bool FRebuildPending = false;
  int32_t FWheelRest = 0;
  TScrollBarPart FVert;
  TGridEdit* FEdit = nullptr;
  TGridCombo* FCombo = nullptr;
  TButton* FEllipsis = nullptr;
};

}  // namespace zelvar
