#include "platform/controls/StdCtrls.h"

#include <algorithm>

#include "platform/controls/Accessibility.h"
#include "platform/core/TypInfo.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Captions.h"
#include "platform/graphics/Frame3D.h"

namespace zelvar {

namespace {

bool IsShiftKey(TShiftState shift) {
  return shift.Contains(ssShift) || shift.Contains(ssAlt) || shift.Contains(ssCtrl);
}

}  // namespace

// =============================================================================================
// TButtonControl

const TClassInfo& TButtonControl::StaticClassInfo() {
  static const auto info = TClassBuilder<TButtonControl>("TButtonControl").Build();
  return *info;
}

TButtonControl::TButtonControl(TComponent* owner, TPress press)
    : TCustomControl(owner), FPress(press) {}

void TButtonControl::MouseDown(TMouseButton button, TShiftState shift, int32_t x, int32_t y) {
  bool held = button == mbLeft && FPress == TPress::Held;
  if (held && !IsDesigning() && CanFocus() && !Focused()) SetFocus();
  TCustomControl::MouseDown(button, shift, x, y);
  if (held) {
    FMouseInside = GetClientRect().Contains(x, y);
    Invalidate();
  }
}

void TButtonControl::MouseMove(TShiftState shift, int32_t x, int32_t y) {
  if (FPress == TPress::Held && FControlState.Contains(csLButtonDown)) {
    bool inside = GetClientRect().Contains(x, y);
    if (inside != FMouseInside) {
      FMouseInside = inside;
      Invalidate();  // dragging off the control raises it; back on pushes it again
    }
  }
  TCustomControl::MouseMove(shift, x, y);
}

void TButtonControl::MouseUp(TMouseButton button, TShiftState shift, int32_t x, int32_t y) {
  if (button == mbLeft && FMouseInside) {
    FMouseInside = false;
    Invalidate();
  }
  // Last: the click it may bring can free this control.
  TCustomControl::MouseUp(button, shift, x, y);
}

void TButtonControl::KeyDown(uint16_t& key, TShiftState shift) {
  TCustomControl::KeyDown(key, shift);
  if (key != VK_SPACE || IsShiftKey(shift)) return;
  if (FPress == TPress::AtOnce) {
    Click();
    return;
  }
  FSpaceDown = true;
  Invalidate();
}

void TButtonControl::KeyUp(uint16_t& key, TShiftState shift) {
  TCustomControl::KeyUp(key, shift);
  if (key == VK_SPACE && FSpaceDown) {
    FSpaceDown = false;
    Invalidate();
    Click();
  }
}

void TButtonControl::WMKillFocus() {
  FSpaceDown = false;  // the key-up goes to the next control: no click
  TCustomControl::WMKillFocus();
}

bool TButtonControl::CMDialogChar(char letter) {
  if (!IsAccel(letter, Caption()) || !CanFocus()) return false;
  SetFocus();
  Click();
  return true;
}

bool TButtonControl::Pressed() const {
  return FSpaceDown || (FControlState.Contains(csLButtonDown) && FMouseInside);
}

TPoint TButtonControl::PaintBesideGlyph(TCanvas& c, int32_t glyphSize, TAlignment alignment) {
  c.Brush()->SetStyle(bsSolid);
  c.Brush()->SetColor(Color());
  c.FillRect(GetClientRect());
  // Two pixels between the caption and the glyph's side hold the focus rectangle.
  constexpr int32_t kGap = 5, kFocusMargin = 2;
  bool glyphLeft = alignment != taLeftJustify;
  int32_t tx = glyphLeft ? glyphSize + kGap : kFocusMargin;
  int32_t th = CaptionHeight(c);
  int32_t ty = (Height() - th) / 2;
  DrawCaption(c, tx, ty, Caption(), EnabledInTree());
  if (Focused())
    c.DrawFocusRect(
        {tx - kFocusMargin, ty, tx + CaptionWidth(c, Caption()) + kFocusMargin, ty + th});
  return {glyphLeft ? 0 : Width() - glyphSize, (Height() - glyphSize) / 2};
}

// =============================================================================================
// TButton

const TClassInfo& TButton::StaticClassInfo() {
  static const auto info =
      TClassBuilder<TButton>("TButton")
          .Publish("Caption")
          .Property("Cancel", &TButton::Cancel, &TButton::SetCancel)
          .Default(false)
          .Property("Default", &TButton::Default, &TButton::SetDefault)
          .Default(false)
          .Publish("Enabled", "Font")
          .Property("ModalResult", &TButton::ModalResult, &TButton::SetModalResult)
          .Default(mrNone)
          .Publish("PopupMenu")
          .Publish("TabOrder")
          .Publish("TabStop")
          .Default(kDefaultTabStop)
          .Publish("Visible", "OnClick")
          .Build();
  return *info;
}

TButton::TButton(TComponent* owner) : TButtonControl(owner, TPress::Held) {
  SetBounds(0, 0, 75, 25);
  SetTabStop(kDefaultTabStop);
}

void TButton::SetDefault(bool v) {
  if (v == FDefault) return;
  FDefault = v;
  Invalidate();  // the default button wears a dark frame
}

void TButton::Click() {
  TButtonControl::Click();
  if (FModalResult == mrNone) return;
  // The form class lives elsewhere: reach its ModalResult by name, as scripts do.
  TWinControl* form = GetParentForm();
  if (!form || form == this) return;
  const TPropInfo* prop = form->ClassInfo().FindProp("ModalResult");
  if (!prop || prop->Kind != TPropKind::Integer || !prop->SetOrd) return;
  SetPropValue(form, *prop, TValue(int64_t{FModalResult}));
}

bool TButton::IsActive() const {
  TWinControl* form = GetParentForm();
  TWinControl* focused = form ? form->FocusedControl() : nullptr;
  if (focused == this) return true;
  return FDefault && dynamic_cast<TButton*>(focused) == nullptr;
}

bool TButton::CMDialogKey(uint16_t key, TShiftState shift) {
  if (IsShiftKey(shift) || !CanFocus()) return false;
  if ((key == VK_RETURN && IsActive()) || (key == VK_ESCAPE && FCancel)) {
    Click();
    return true;
  }
  return false;
}

TRect TButton::ContentRect() const {
  TRect r = GetClientRect();
  if (Pressed()) r = {r.Left + 1, r.Top + 1, r.Right + 1, r.Bottom + 1};
  return r;
}

void TButton::PaintFrame(TCanvas& c) {
  TRect r = GetClientRect();
  c.Brush()->SetStyle(bsSolid);
  c.Brush()->SetColor(clBtnFace);
  c.FillRect(r);
  bool pressed = Pressed();
  if (IsActive() || pressed) {
    c.Brush()->SetColor(clBlack);
    c.FrameRect(r);
    r = Shrink(r, 1);
  }
  if (pressed) {
    c.Brush()->SetColor(clBtnShadow);
    c.FrameRect(r);
  } else {
    Frame3D(c, r, clBtnHighlight, clBlack, 1);
    Frame3D(c, r, clBtnFace, clBtnShadow, 1);
  }
}

void TButton::Paint() {
  TCanvas& c = *Canvas();
  PaintFrame(c);
  TRect content = ContentRect();
  int32_t x = content.Left + (content.Width() - CaptionWidth(c, Caption())) / 2;
  int32_t y = content.Top + (content.Height() - CaptionHeight(c)) / 2;
  DrawCaption(c, x, y, Caption(), EnabledInTree());
  if (Focused()) c.DrawFocusRect({4, 4, Width() - 4, Height() - 4});
}

// =============================================================================================
// TCheckBox

const TClassInfo& TCheckBox::StaticClassInfo() {
  // Form files name the two sides by TAlignment's identifiers.
  static_assert(taLeftJustify == 0 && taRightJustify == 1);
  static const auto info =
      TClassBuilder<TCheckBox>("TCheckBox")
          .Property(
              "Alignment", [](const TCheckBox& c) { return TLeftRight(c.Alignment()); },
              [](TCheckBox& c, TLeftRight v) { c.SetAlignment(TAlignment(v)); })
          .Default(TLeftRight(kDefaultAlignment))
          .Property("AllowGrayed", &TCheckBox::AllowGrayed, &TCheckBox::SetAllowGrayed)
          .Default(false)
          .Publish("Caption")
          // Written beside State when True, as classic form files carry both.
          .Property("Checked", &TCheckBox::Checked, &TCheckBox::SetChecked)
          .Default(false)
          .Publish("Color", "Enabled", "Font")
          .Publish("PopupMenu")
          .Property("State", &TCheckBox::State, &TCheckBox::SetState)
          .Default(cbUnchecked)
          .Publish("TabOrder")
          .Publish("TabStop")
          .Default(kDefaultTabStop)
          .Publish("Visible", "OnClick")
          .Publish("Required")
          .Build();
  return *info;
}

TCheckBox::TCheckBox(TComponent* owner) : TButtonControl(owner, TPress::Held) {
  SetBounds(0, 0, 97, 17);
  SetTabStop(kDefaultTabStop);
}

void TCheckBox::SetAlignment(TAlignment v) {
  if (v != taLeftJustify && v != taRightJustify)
    throw EInvalidOperation(Name() + ".Alignment takes taLeftJustify or taRightJustify");
  if (v == FAlignment) return;
  FAlignment = v;
  Invalidate();
}

void TCheckBox::SetState(TCheckBoxState v) {
  if (v > cbGrayed) throw EInvalidOperation(Name() + ".State out of range");
  if (v == FState) return;
  FState = v;
  AccessibleStateChanged(this, astChecked, v == cbChecked);
  Invalidate();
  // A form file restores a state; no one clicked. The base's Click only raises OnClick.
  if (!IsReading()) TButtonControl::Click();
  NotifyInputChanged();
}

void TCheckBox::Toggle() {
  switch (FState) {
    case cbUnchecked:
      SetState(FAllowGrayed ? cbGrayed : cbChecked);
      break;
    case cbGrayed:
      SetState(cbChecked);
      break;
    case cbChecked:
      SetState(cbUnchecked);
      break;
  }
}

void TCheckBox::Click() {
  Toggle();
}

namespace {

// The classic check box: a two-pixel sunken frame around a white face, and a mark seven
// pixels wide of three-pixel columns, falling then rising.
void DrawCheckBox(TCanvas& c, TPoint at, TCheckBoxState state, bool enabled, bool pushed) {
  constexpr int32_t n = TCheckBox::kBoxSize;
  TRect r{at.X, at.Y, at.X + n, at.Y + n};
  Frame3D(c, r, clBtnShadow, clBtnHighlight, 1);
  Frame3D(c, r, clBlack, clBtnFace, 1);
  bool grey = !enabled || state == cbGrayed;
  c.Brush()->SetStyle(bsSolid);
  c.Brush()->SetColor(grey || pushed ? clBtnFace : clWindow);
  c.FillRect(r);
  if (state == cbUnchecked) return;
  static constexpr int32_t kMarkTop[] = {2, 3, 4, 3, 2, 1, 0};
  TColor mark = grey ? clBtnShadow : clWindowText;
  for (int32_t i = 0; i < 7; ++i)
    for (int32_t j = 0; j < 3; ++j) c.SetPixel(r.Left + 1 + i, r.Top + 1 + kMarkTop[i] + j, mark);
}

}  // namespace

namespace {

// A classic glyph of n by n pixels drawn by draw(canvas, at), magnified on a scaled form as
// pictures are: drawn small, then each pixel a square, so that it stays as sharp as at 96.
template <class Draw>
void DrawGlyphZoomed(TCanvas& c, TPoint at, int32_t n, int32_t zoom, TColor back, Draw draw) {
  if (zoom <= 1) {
    draw(c, at);
    return;
  }
  TBitmap small(n, n), big;
  TCanvas& s = *small.Canvas();
  s.Brush()->SetStyle(bsSolid);
  s.Brush()->SetColor(back);
  s.FillRect({0, 0, n, n});
  draw(s, TPoint{0, 0});
  big.AssignMagnified(small, zoom);
  c.Draw(at.X, at.Y, big);
}

}  // namespace

void TCheckBox::Paint() {
  TCanvas& c = *Canvas();
  const int32_t zoom = GlyphZoom();
  TPoint box = PaintBesideGlyph(c, kBoxSize * zoom, FAlignment);
  DrawGlyphZoomed(c, box, kBoxSize, zoom, Color(), [&](TCanvas& on, TPoint at) {
    DrawCheckBox(on, at, FState, EnabledInTree(), Pressed());
  });
}

// =============================================================================================
// TRadioButton

const TClassInfo& TRadioButton::StaticClassInfo() {
  static const auto info =
      TClassBuilder<TRadioButton>("TRadioButton")
          .Publish("Caption")
          .Property("Checked", &TRadioButton::Checked, &TRadioButton::SetChecked)
          .Default(false)
          .Publish("PopupMenu")
          .Publish("Color", "Enabled", "Font", "TabOrder", "TabStop", "Visible", "OnClick")
          .Publish("Required")
          .Build();
  return *info;
}

TRadioButton::TRadioButton(TComponent* owner) : TButtonControl(owner, TPress::AtOnce) {
  SetBounds(0, 0, 113, 17);
}

void TRadioButton::SetChecked(bool v) {
  if (v == FChecked) return;
  FChecked = v;
  AccessibleStateChanged(this, astChecked, v);
  // Tab reaches a group through its checked button.
  SetTabStop(v);
  Invalidate();
  if (v && Parent())
    for (int i = 0; i < Parent()->ControlCount(); ++i)
      if (auto* other = dynamic_cast<TRadioButton*>(Parent()->Controls(i)); other && other != this)
        other->SetChecked(false);
  NotifyInputChanged();
}

bool TRadioButton::InputSatisfied() const {
  if (FChecked || !Parent()) return FChecked;
  for (int i = 0; i < Parent()->ControlCount(); ++i)
    if (auto* other = dynamic_cast<TRadioButton*>(Parent()->Controls(i)); other && other->Checked())
      return true;
  return false;
}

void TRadioButton::Click() {
  SetChecked(true);
  TButtonControl::Click();
}

void DrawRadioCircle(TCanvas& canvas, int32_t x, int32_t y, bool checked, bool enabled) {
  constexpr int32_t n = TRadioButton::kCircleSize;
  // Distances in half pixels from the circle's centre, squared, keep the test in integers.
  auto ring = [](int32_t d2, int32_t r) { return d2 < (2 * r) * (2 * r); };
  for (int32_t py = 0; py < n; ++py)
    for (int32_t px = 0; px < n; ++px) {
      int32_t dx = 2 * px + 1 - n, dy = 2 * py + 1 - n;
      int32_t d2 = dx * dx + dy * dy;
      if (!ring(d2, 6)) continue;
      bool upperLeft = px + py < n - 1;
      TColor color;
      if (!ring(d2, 5))
        color = upperLeft ? clBtnShadow : clBtnHighlight;
      else if (!ring(d2, 4))
        color = upperLeft ? clBlack : clBtnFace;
      else if (checked && ring(d2, 2))
        color = enabled ? clWindowText : clBtnShadow;
      else
        color = enabled ? clWindow : clBtnFace;
      canvas.SetPixel(x + px, y + py, color);
    }
}

void TRadioButton::Paint() {
  TCanvas& c = *Canvas();
  const int32_t zoom = GlyphZoom();
  TPoint circle = PaintBesideGlyph(c, kCircleSize * zoom, taRightJustify);
  DrawGlyphZoomed(c, circle, kCircleSize, zoom, Color(), [&](TCanvas& on, TPoint at) {
    DrawRadioCircle(on, at.X, at.Y, FChecked, EnabledInTree());
  });
}

// =============================================================================================
// TLabel

const TClassInfo& TLabel::StaticClassInfo() {
  static const auto info =
      TClassBuilder<TLabel>("TLabel")
          .Publish("Align")
          .Property("Alignment", &TLabel::Alignment, &TLabel::SetAlignment)
          .Default(taLeftJustify)
          .Property("AutoSize", &TLabel::AutoSize, &TLabel::SetAutoSize)
          .Default(true)
          .Publish("Caption", "Color", "Enabled")
          .Property("FocusControl", &TLabel::FocusControl, &TLabel::SetFocusControl)
          .Publish("Font")
          .Publish("PopupMenu")
          .Property("Transparent", &TLabel::Transparent, &TLabel::SetTransparent)
          .Default(false)
          .Publish("Visible")
          .Property("WordWrap", &TLabel::WordWrap, &TLabel::SetWordWrap)
          .Default(false)
          .Publish("OnClick")
          .Build();
  return *info;
}

TLabel::TLabel(TComponent* owner) : TGraphicControl(owner) {
  SetBounds(0, 0, 65, 17);
  Font()->OnChange = [this] {
    Invalidate();
    AdjustBounds();
  };
  AdjustBounds();
}

TLabel::~TLabel() = default;

void TLabel::SetAlignment(TAlignment v) {
  if (v == FAlignment) return;
  FAlignment = v;
  Invalidate();
}

void TLabel::SetAutoSize(bool v) {
  if (v == FAutoSize) return;
  FAutoSize = v;
  AdjustBounds();
}

void TLabel::SetTransparent(bool v) {
  if (v == FTransparent) return;
  FTransparent = v;
  Invalidate();
}

void TLabel::SetWordWrap(bool v) {
  if (v == FWordWrap) return;
  FWordWrap = v;
  AdjustBounds();
  Invalidate();
}

void TLabel::SetFocusControl(TWinControl* v) {
  if (v == FFocusControl) return;
  if (FFocusControl) RemoveFreeNotification(FFocusControl);
  FFocusControl = v;
  if (v) FreeNotification(v);
}

void TLabel::Notification(TComponent* component, TOperation operation) {
  TGraphicControl::Notification(component, operation);
  if (operation == opRemove && component == FFocusControl) FFocusControl = nullptr;
}

void TLabel::SetCaption(const std::string& v) {
  if (v == Caption()) return;
  TGraphicControl::SetCaption(v);
  AdjustBounds();
}

bool TLabel::CMDialogChar(char letter) {
  // A label takes no focus: its accelerator is for the control it labels.
  if (!FFocusControl || !IsAccel(letter, Caption()) || !FFocusControl->CanFocus()) return false;
  FFocusControl->SetFocus();
  return true;
}

std::vector<std::string> TLabel::Lines(const TCanvas& canvas) const {
  const std::string& text = Caption();
  if (!FWordWrap) return {text};
  std::vector<std::string> lines;
  size_t start = 0;
  while (true) {
    size_t end = text.find('\n', start);
    std::string_view para = std::string_view(text).substr(start, end - start);
    if (!para.empty() && para.back() == '\r') para.remove_suffix(1);
    // Greedy: as many words on a line as fit; a word wider than the label stands alone.
    std::string line;
    size_t at = 0;
    while (at <= para.size()) {
      size_t space = para.find(' ', at);
      std::string_view word =
          para.substr(at, space == std::string_view::npos ? para.npos : space - at);
      std::string candidate = line.empty() ? std::string(word) : line + " " + std::string(word);
      if (line.empty() || CaptionWidth(canvas, candidate) <= Width()) {
        line = std::move(candidate);
      } else {
        lines.push_back(std::move(line));
        line = std::string(word);
      }
      if (space == std::string_view::npos) break;
      at = space + 1;
    }
    lines.push_back(std::move(line));
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return lines;
}

void TLabel::AdjustBounds() {
  if (!FAutoSize) return;
  TCanvas& c = *Canvas();
  c.Font()->Assign(Font());
  std::vector<std::string> lines = Lines(c);
  int32_t width = 0;
  for (const std::string& line : lines) width = std::max(width, CaptionWidth(c, line));
  // An empty caption still measures as a space, so the label stays visible and clickable.
  if (width == 0) width = c.TextWidth(" ");
  if (FWordWrap) width = Width();
  int32_t height = static_cast<int32_t>(lines.size()) * CaptionHeight(c);
  int32_t left = Left();
  // A right-aligned label keeps its right edge where it was.
  if (FAlignment == taRightJustify && !FWordWrap) left += Width() - width;
  SetBounds(left, Top(), width, height);
}

void TLabel::Paint() {
  TCanvas& c = *Canvas();
  if (!FTransparent) {
    c.Brush()->SetStyle(bsSolid);
    c.Brush()->SetColor(Color());
    c.FillRect(GetClientRect());
  }
  int32_t y = 0;
  int32_t th = CaptionHeight(c);
  for (const std::string& line : Lines(c)) {
    int32_t tw = CaptionWidth(c, line);
    int32_t x = FAlignment == taRightJustify ? Width() - tw
                : FAlignment == taCenter     ? (Width() - tw) / 2
                                             : 0;
    DrawCaption(c, x, y, line, Enabled());
    y += th;
  }
}

// =============================================================================================
// TGroupBox

const TClassInfo& TGroupBox::StaticClassInfo() {
  static const auto info = TClassBuilder<TGroupBox>("TGroupBox")
                               .Publish("Align", "Caption", "Color", "Enabled", "Font", "TabOrder",
                                        "TabStop", "Visible", "OnClick")
                               .Publish("PopupMenu")
                               .Build();
  return *info;
}

TGroupBox::TGroupBox(TComponent* owner) : TCustomControl(owner) {
  SetBounds(0, 0, 185, 105);
  IncludeStyle(csAcceptsControls);
}

void TGroupBox::AlignControls(TControl* changed, TRect& rect) {
  TCanvas& c = *Canvas();
  c.Font()->Assign(Font());
  rect.Top += CaptionHeight(c);
  rect = Shrink(rect, 2);
  TCustomControl::AlignControls(changed, rect);
}

void TGroupBox::Paint() {
  TCanvas& c = *Canvas();
  c.Brush()->SetStyle(bsSolid);
  c.Brush()->SetColor(Color());
  c.FillRect(GetClientRect());
  int32_t th = CaptionHeight(c);
  // The etched frame: a highlight frame one pixel down and right under a shadow frame.
  TRect r{1, th / 2, Width(), Height()};
  c.Brush()->SetColor(clBtnHighlight);
  c.FrameRect(r);
  c.Brush()->SetColor(clBtnShadow);
  c.FrameRect({r.Left - 1, r.Top - 1, r.Right - 1, r.Bottom - 1});
  if (Caption().empty()) return;
  constexpr int32_t kCaptionLeft = 8;
  c.Brush()->SetColor(Color());
  c.FillRect({kCaptionLeft, 0, kCaptionLeft + CaptionWidth(c, Caption()), th});
  DrawCaption(c, kCaptionLeft, 0, Caption(), EnabledInTree());
}

// =============================================================================================
// What a screen reader learns of them

void TButton::DescribeAccessible(TAccessibleDescription& d) const {
  d.Role = arPushButton;
  d.Action = "click";
  if (FDefault) d.States.Include(astDefault);
}

void TCheckBox::DescribeAccessible(TAccessibleDescription& d) const {
  d.Role = arCheckBox;
  d.Action = "click";
  if (Checked()) d.States.Include(astChecked);
}

void TRadioButton::DescribeAccessible(TAccessibleDescription& d) const {
  d.Role = arRadioButton;
  d.Action = "click";
  // Tab stops only at the checked button of a group, but the arrows reach every one.
  d.States.Include(astFocusable);
  if (FChecked) d.States.Include(astChecked);
}

void TLabel::DescribeAccessible(TAccessibleDescription& d) const {
  d.Role = arLabel;
}

}  // namespace zelvar
