#pragma once
// The standard controls: push buttons, radio buttons, labels and group boxes, painted in the
// classic 3-D look.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/controls/Controls.h"

namespace zelvar {

class TButton : public TCustomControl {
  ZELVAR_CLASS(TButton, TCustomControl)

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
  void MouseDown(TMouseButton button, TShiftState shift, int32_t x, int32_t y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int32_t x, int32_t y) override;
  void MouseMove(TShiftState shift, int32_t x, int32_t y) override;
  // Space pressed shows the button down; released, it clicks.
  void KeyDown(uint16_t& key, TShiftState shift) override;
  void KeyUp(uint16_t& key, TShiftState shift) override;
  bool CMDialogKey(uint16_t key, TShiftState shift) override;
  bool CMDialogChar(char letter) override;
  void WMKillFocus() override;

  // Drawn pressed: the mouse holds it down over it, or Space is held.
  bool Pressed() const;
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
  bool FMouseInside = false;
  bool FSpaceDown = false;
};

class TRadioButton : public TCustomControl {
  ZELVAR_CLASS(TRadioButton, TCustomControl)

 public:
  explicit TRadioButton(TComponent* owner);

  bool Checked() const { return FChecked; }
  // Checking one unchecks the other radio buttons of the same parent. A checked button is
  // the group's tab stop.
  void SetChecked(bool v);

  // Checks the button, then runs OnClick.
  void Click() override;
  void KeyDown(uint16_t& key, TShiftState shift) override;
  bool CMDialogChar(char letter) override;

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
