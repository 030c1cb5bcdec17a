#pragma once
// The standard controls: push buttons, check boxes, radio buttons, labels and group boxes,
// painted in the classic 3-D look.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/controls/Controls.h"

namespace zelvar {

ZELVAR_ENUM(TCheckBoxState, uint8_t, cbUnchecked, cbChecked, cbGrayed)

// The classic subrange taLeftJustify..taRightJustify of TAlignment, for the controls whose
// caption sits on one side of a glyph. Its values are TAlignment's.
enum class TLeftRight : uint8_t {};
inline const TEnumTypeInfo& EnumTypeOf(TLeftRight) {
  static const TEnumTypeInfo info("TLeftRight", "taLeftJustify, taRightJustify");
  return info;
}

// The classic base of push buttons, check boxes and radio buttons: the caption's accelerator
// focuses and clicks, and a press of the mouse or of Space works the control.
class TButtonControl : public TCustomControl {
  ZELVAR_CLASS(TButtonControl, TCustomControl)

 public:
  void MouseDown(TMouseButton button, TShiftState shift, int32_t x, int32_t y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int32_t x, int32_t y) override;
  void MouseMove(TShiftState shift, int32_t x, int32_t y) override;
  void KeyDown(uint16_t& key, TShiftState shift) override;
  void KeyUp(uint16_t& key, TShiftState shift) override;
  bool CMDialogChar(char letter) override;
  void WMKillFocus() override;

  // Drawn pushed: the mouse holds it down over it, or Space is held.
  bool Pressed() const;

 protected:
  // How a press works the control.
  enum class TPress : uint8_t {
    // Pushed while the mouse or Space holds it, clicked when released over it; a press of the
    // mouse focuses it (push buttons, check boxes).
    Held,
    // Clicked as Space goes down, never drawn pushed (radio buttons).
    AtOnce,
  };
  TButtonControl(TComponent* owner, TPress press);

  // Check boxes and radio buttons: fills the face, draws the caption beside a glyph of
  // glyphSize (the glyph on the left for taRightJustify) with the focus rectangle around it
  // while focused, and answers where the glyph goes, for the caller to draw it.
  TPoint PaintBesideGlyph(TCanvas& canvas, int32_t glyphSize, TAlignment alignment);

 private:
  TPress FPress;
  bool FMouseInside = false;
  bool FSpaceDown = false;
};

class TButton : public TButtonControl {
  ZELVAR_CLASS(TButton, TButtonControl)

 public:
  // Unlike most windowed controls, a button takes the focus by Tab.
  static constexpr bool kDefaultTabStop = true;

  explicit TButton(TComponent* owner);

  bool Default() const { return FDefault; }
  void SetDefault(bool v);
  bool Cancel() const { return FCancel; }
  void SetCancel(bool v) { FCancel = v; }
  TModalResult ModalResult() const { return FModalResult; }
  void SetModalResult(TModalResult v) { FModalResult = v; }

  // Runs OnClick, then hands a non-zero ModalResult to the form.
  void Click() override;
  void DescribeAccessible(TAccessibleDescription& d) const override;
  bool CMDialogKey(uint16_t key, TShiftState shift) override;

  // Takes Enter now: it is focused, or it is the default and no other button has the focus.
  bool IsActive() const;

 protected:
  void Paint() override;
  // The face and its 3-D frame, without caption or focus rectangle.
  void PaintFrame(TCanvas& canvas);
  // Where the caption (or glyph) goes: the client rectangle, one pixel down and right when
  // pressed.
  TRect ContentRect() const;

 private:
  bool FDefault = false;
  bool FCancel = false;
  TModalResult FModalResult = mrNone;
};

// A box that a click, Space or the accelerator ticks and clears, or steps through grayed
// (neither) when AllowGrayed.
class TCheckBox : public TButtonControl {
  ZELVAR_CLASS(TCheckBox, TButtonControl)

 public:
  static constexpr bool kDefaultTabStop = true;
  // The box on the left, the caption on its right.
  static constexpr TAlignment kDefaultAlignment = taRightJustify;
  static constexpr int32_t kBoxSize = 13;

  explicit TCheckBox(TComponent* owner);

  // taLeftJustify puts the caption on the left of the box; taCenter raises EInvalidOperation.
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment v);
  // Whether a click may leave the box grayed; code may set cbGrayed either way.
  bool AllowGrayed() const { return FAllowGrayed; }
  void SetAllowGrayed(bool v) { FAllowGrayed = v; }
  // A change raises OnClick, as a click does (but not while a form file is read).
  TCheckBoxState State() const { return FState; }
  void SetState(TCheckBoxState v);
  bool Checked() const { return FState == cbChecked; }
  void SetChecked(bool v) { SetState(v ? cbChecked : cbUnchecked); }

  // The next state a click gives: unchecked, (grayed,) checked, unchecked.
  void Toggle();
  // The user's click: toggles, and the change raises OnClick.
  void Click() override;
  // Required input is a tick (grayed is not one).
  bool InputSatisfied() const override { return Checked(); }
  void DescribeAccessible(TAccessibleDescription& d) const override;

 protected:
  void Paint() override;

 private:
  TAlignment FAlignment = kDefaultAlignment;
  bool FAllowGrayed = false;
  TCheckBoxState FState = cbUnchecked;
};

class TRadioButton : public TButtonControl {
  ZELVAR_CLASS(TRadioButton, TButtonControl)

 public:
  explicit TRadioButton(TComponent* owner);

  bool Checked() const { return FChecked; }
  // Checking one unchecks the other radio buttons of the same parent. A checked button is
  // the group's tab stop.
  void SetChecked(bool v);

  // Checks the button, then runs OnClick.
  void Click() override;
  // Required input is a checked button in the group: this one or another of its parent's.
  bool InputSatisfied() const override;
  void DescribeAccessible(TAccessibleDescription& d) const override;

  static constexpr int32_t kCircleSize = 12;

 protected:
  void Paint() override;

 private:
  bool FChecked = false;
};

// Paints the classic radio circle with its top-left at x, y.
void DrawRadioCircle(TCanvas& canvas, int32_t x, int32_t y, bool checked, bool enabled);

class TLabel : public TGraphicControl {
  ZELVAR_CLASS(TLabel, TGraphicControl)

 public:
  explicit TLabel(TComponent* owner);
  ~TLabel() override;

  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment v);
  // Sized to the caption: its width and the font's line height (several lines when wrapped).
  bool AutoSize() const { return FAutoSize; }
  void SetAutoSize(bool v);
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool v);
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool v);
  // The control its accelerator focuses; nil again when that control is destroyed.
  TWinControl* FocusControl() const { return FFocusControl; }
  void SetFocusControl(TWinControl* v);

  void SetCaption(const std::string& v) override;
  bool CMDialogChar(char letter) override;
  void DescribeAccessible(TAccessibleDescription& d) const override;

 protected:
  void Paint() override;
  void Notification(TComponent* component, TOperation operation) override;

 private:
  void AdjustBounds();
  // The caption broken into lines that fit the width when wrapping, else one line.
  std::vector<std::string> Lines(const TCanvas& canvas) const;

  TAlignment FAlignment = taLeftJustify;
  bool FAutoSize = true;
  bool FTransparent = false;
  bool FWordWrap = false;
  TWinControl* FFocusControl = nullptr;
};

class TGroupBox : public TCustomControl {
  ZELVAR_CLASS(TGroupBox, TCustomControl)

 public:
  explicit TGroupBox(TComponent* owner);
  // Children align below the caption and inside the frame.
  void AlignControls(TControl* changed, TRect& rect) override;

 protected:
  void Paint() override;
};

}  // namespace zelvar
