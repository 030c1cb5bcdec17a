#include "platform/controls/ComboBox.h"

#include "platform/controls/Accessibility.h"
#include "platform/core/Text.h"
#include "platform/core/TypInfo.h"
#include "platform/graphics/Frame3D.h"

namespace zelvar {

namespace {

constexpr int32_t kButtonWidth = 16;  // a scroll bar's width, as the classic button has

}  // namespace

const TClassInfo& TComboBox::StaticClassInfo() {
  static const auto info =
      TClassBuilder<TComboBox>("TComboBox")
          .Property("Style", &TComboBox::Style, &TComboBox::SetStyle)
          .Default(csDropDown)
          .Publish("Align")
          .Publish("Color")
          .Default(kDefaultColor)
          .Property("DropDownCount", &TComboBox::DropDownCount, &TComboBox::SetDropDownCount)
          .Default(8)
          .Publish("Enabled")
          // Items before Text: a drop-down list keeps only text that is one of its items.
          .Property("Items", &TComboBox::Items, &TComboBox::SetItems)
          .Publish("PopupMenu")
          .Publish("TabOrder")
          .Publish("TabStop")
          .Default(kDefaultTabStop)
          .Property("Text", &TComboBox::Text, &TComboBox::SetText)
          .Publish("Visible")
          .Property("OnChange", &TComboBox::OnChange, &TComboBox::OnChange)
          .Publish("OnClick", "OnEnter", "OnExit")
          .Public("ItemIndex", &TComboBox::ItemIndex, &TComboBox::SetItemIndex)
          .Public("DroppedDown", &TComboBox::DroppedDown, &TComboBox::SetDroppedDown)
          .Publish("Required")
          .Build();
  return *info;
}

TComboBox::TComboBox(TComponent* owner)
    : TCustomControl(owner), FItems(std::make_unique<TStringList>()) {
  FItems->OnChange = [this](TStrings&) { ItemsChanged(); };
  SetColor(kDefaultColor);
  SetTabStop(kDefaultTabStop);
  SetBounds(0, 0, 145, 21);
}

TComboBox::~TComboBox() {
  FItems->OnChange = nullptr;
}

void TComboBox::SetStyle(TComboBoxStyle v) {
  if (v == FStyle) return;
  FStyle = v;
  if (FStyle == csSimple) FDroppedDown = false;
  if (FStyle == csDropDownList) FText = FItemIndex >= 0 ? FItems->Get(FItemIndex) : std::string();
  Invalidate();
}

void TComboBox::SetItems(TStrings* v) {
  if (v)
    FItems->Assign(v);
  else
    FItems->Clear();
}

void TComboBox::ItemsChanged() {
  // The current item may have gone; a drop-down list shows only what is an item.
  if (FItemIndex >= FItems->Count()) FItemIndex = -1;
  if (FStyle == csDropDownList) FText = FItemIndex >= 0 ? FItems->Get(FItemIndex) : std::string();
  Invalidate();
  NotifyInputChanged();
}

bool TComboBox::InputSatisfied() const {
  // A list takes only its items; a field may also take text of the user's own.
  return FItemIndex >= 0 || (FStyle != csDropDownList && !IsBlank(FText));
}

void TComboBox::SetItemIndex(int32_t v) {
  if (v < -1 || v >= FItems->Count())
    throw EListError("List index out of bounds (" + std::to_string(v) + ")");
  FItemIndex = v;
  FText = v >= 0 ? FItems->Get(v) : std::string();
  Invalidate();
  NotifyInputChanged();
}

void TComboBox::SetText(const std::string& v) {
  int index = FItems->IndexOf(v);
  if (FStyle == csDropDownList) {
    FItemIndex = index;
    FText = index >= 0 ? FItems->Get(index) : std::string();
  } else {
    FItemIndex = index;
    FText = v;
  }
  Invalidate();
  NotifyInputChanged();
}

void TComboBox::SetDroppedDown(bool v) {
  if (FStyle == csSimple) v = false;
  if (v == FDroppedDown) return;
  FDroppedDown = v;
  Invalidate();
}

void TComboBox::Pick(int32_t index) {
  SetItemIndex(index);
  FDroppedDown = false;
  Change();
}

void TComboBox::TypeText(const std::string& text) {
  if (FStyle == csDropDownList) {
    int index = FItems->IndexOf(text);
    if (index < 0) return;
    Pick(index);
    return;
  }
  SetText(text);
  Change();
}

void TComboBox::Change() {
  if (OnChange) OnChange(this);
}

TRect TComboBox::ButtonRect() const {
  if (FStyle == csSimple) return {};
  TRect field = Shrink(GetClientRect(), 2);
  if (field.Empty()) return {};
  return {std::max(field.Left, field.Right - kButtonWidth), field.Top, field.Right, field.Bottom};
}

void TComboBox::MouseDown(TMouseButton button, TShiftState shift, int32_t x, int32_t y) {
  TCustomControl::MouseDown(button, shift, x, y);
  if (button != mbLeft || IsDesigning()) return;
  if (!Focused() && CanFocus() && GetParentForm() != this) SetFocus();
  if (FStyle == csDropDownList || ButtonRect().Contains(x, y)) SetDroppedDown(!FDroppedDown);
}

void TComboBox::KeyDown(uint16_t& key, TShiftState shift) {
  TCustomControl::KeyDown(key, shift);
  int32_t count = FItems->Count();
  int32_t next = FItemIndex;
  switch (key) {
    case VK_DOWN:
      if (shift.Contains(ssAlt)) {
        SetDroppedDown(!FDroppedDown);
        key = 0;
        return;
      }
      next = FItemIndex + 1;
      break;
    case VK_UP:
      next = FItemIndex < 0 ? 0 : FItemIndex - 1;
      break;
    case VK_HOME:
      next = 0;
      break;
    case VK_END:
      next = count - 1;
      break;
    case VK_RETURN:
    case VK_ESCAPE:
      if (!FDroppedDown) return;
      SetDroppedDown(false);
      key = 0;
      return;
    default:
      return;
  }
  key = 0;
  if (count == 0) return;
  next = std::clamp(next, 0, count - 1);
  // Moving through a closed list picks as it goes, as the classic combo box does.
  if (next != FItemIndex) Pick(next);
}

void TComboBox::WMKillFocus() {
  SetDroppedDown(false);
  TCustomControl::WMKillFocus();
}

void TComboBox::Paint() {
  TCanvas& canvas = *Canvas();
  TRect client = GetClientRect();
  canvas.Brush()->SetStyle(bsSolid);
  // A sunken field: two pixels of edge, darker along the top and left.
  Frame3D(canvas, client, clBtnShadow, clBtnHighlight);
  Frame3D(canvas, Shrink(client, 1), cl3DDkShadow, cl3DLight);
  TRect field = Shrink(client, 2);
  if (field.Empty()) return;
  canvas.Brush()->SetColor(Color());
  canvas.FillRect(field);

  TRect button = ButtonRect();
  TRect textArea = field;
  if (!button.Empty()) {
    textArea.Right = button.Left;
    canvas.Brush()->SetColor(clBtnFace);
    canvas.FillRect(button);
    if (FDroppedDown) {
      canvas.Brush()->SetColor(clBtnShadow);
      canvas.FrameRect(button);
    } else {
      Frame3D(canvas, button, cl3DLight, cl3DDkShadow);
      Frame3D(canvas, Shrink(button, 1), clBtnHighlight, clBtnShadow);
    }
    // A small arrow pointing down: rows of 7, 5, 3 and 1 pixels.
    int32_t shift = FDroppedDown ? 1 : 0;
    int32_t cx = (button.Left + button.Right) / 2 + shift;
    int32_t top = (button.Top + button.Bottom) / 2 - 2 + shift;
    canvas.Brush()->SetColor(EnabledInTree() ? clBtnText : clGrayText);
    for (int32_t i = 0; i < 4; ++i) canvas.FillRect({cx - 3 + i, top + i, cx + 4 - i, top + i + 1});
  }

  bool highlight = Focused() && FStyle == csDropDownList && !FDroppedDown;
  TRect inner = Shrink(textArea, 1);
  if (highlight && !inner.Empty()) {
    canvas.Brush()->SetColor(clHighlight);
    canvas.FillRect(inner);
  }
  canvas.Font()->SetColor(highlight         ? clHighlightText
                          : EnabledInTree() ? Font()->Color()
                                            : clGrayText);
  TPoint origin = canvas.Origin();
  const TRect deviceClip = Offset(canvas.ClipRect(), origin);
  canvas.SetDeviceClip(Intersect(deviceClip, Offset(textArea, origin)));
  canvas.Brush()->SetStyle(bsClear);
  int32_t y = (client.Height() - canvas.TextHeight("Xy")) / 2;
  canvas.TextOut(textArea.Left + 2, y, FText);
  canvas.Brush()->SetStyle(bsSolid);
  canvas.SetDeviceClip(deviceClip);
  if (highlight && !inner.Empty()) canvas.DrawFocusRect(inner);
}

void TComboBox::DescribeAccessible(TAccessibleDescription& d) const {
  d.Role = arComboBox;
  d.Name.clear();
}

}  // namespace zelvar
