#pragma once
// TComboBox: a text field with a list of items to pick from. The list itself is a state (open
// or closed); picking is what the user's choice does: the item becomes current and OnChange
// fires. Setting ItemIndex or Text from code changes the selection quietly, as classic.

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/controls/Controls.h"
#include "platform/core/Strings.h"

namespace zelvar {

ZELVAR_ENUM(TComboBoxStyle, uint8_t, csDropDown, csSimple, csDropDownList, csOwnerDrawFixed,
            csOwnerDrawVariable)

class TComboBox : public TCustomControl {
  ZELVAR_CLASS(TComboBox, TCustomControl)

 public:
  // An edit field: the window colour, and reached by Tab.
  static constexpr TColor kDefaultColor = clWindow;
  static constexpr bool kDefaultTabStop = true;

  explicit TComboBox(TComponent* owner);
  ~TComboBox() override;

  TComboBoxStyle Style() const { return FStyle; }
  void SetStyle(TComboBoxStyle v);
  TStrings* Items() const { return FItems.get(); }
  void SetItems(TStrings* v);  // copies the lines
  // -1 for none. Raises EListError outside -1..Items.Count-1.
  int32_t ItemIndex() const { return FItemIndex; }
  void SetItemIndex(int32_t v);
  // The field's text. A drop-down list shows only items: text that is no item clears it.
  const std::string& Text() const { return FText; }
  void SetText(const std::string& v);
  int32_t DropDownCount() const { return FDropDownCount; }
  void SetDropDownCount(int32_t v) { FDropDownCount = std::max(v, 1); }
  bool DroppedDown() const { return FDroppedDown; }
  void SetDroppedDown(bool v);

  // The user chooses the item at index: it becomes current, then OnChange fires.
  void Pick(int32_t index);
  // The user types into the field (not for csDropDownList): the text changes, the item of
  // that text (if any) becomes current, then OnChange fires.
  void TypeText(const std::string& text);

  TNotifyEvent OnChange;

  // Required input is a chosen item, or in a field that takes any text, text not all blanks.
  bool InputSatisfied() const override;

  // Where the drop-down button lies, in client coordinates (empty for csSimple).
  TRect ButtonRect() const;

  void MouseDown(TMouseButton button, TShiftState shift, int32_t x, int32_t y) override;
  void KeyDown(uint16_t& key, TShiftState shift) override;
  int32_t WMGetDlgCode() override { return DLGC_WANTARROWS; }
  void WMKillFocus() override;
  void DescribeAccessible(TAccessibleDescription& d) const override;

 protected:
  void Paint() override;
  virtual void Change();

 private:
  void ItemsChanged();

  TComboBoxStyle FStyle = csDropDown;
  std::unique_ptr<TStringList> FItems;
  int32_t FItemIndex = -1;
  std::string FText;
  int32_t FDropDownCount = 8;
  bool FDroppedDown = false;
};

}  // namespace zelvar
