#pragma once
// What the control tests share: a stand-in form to put controls on, and a picture of it to read
// pixels from in a control's own coordinates.

#include <cstdint>

#include "platform/controls/Controls.h"
#include "platform/graphics/Bitmap.h"

namespace zelvar::test {

// A top-level control standing in for a form: it keeps the focus and publishes ModalResult.
class TStdTestForm : public TCustomControl {
  ZELVAR_CLASS(TStdTestForm, TCustomControl)

 public:
  explicit TStdTestForm(TComponent* owner) : TCustomControl(owner) {
    SetBounds(0, 0, 300, 200);
    SetColor(clWhite);
  }
  TModalResult ModalResult() const { return FModalResult; }
  void SetModalResult(TModalResult v) { FModalResult = v; }

 private:
  TModalResult FModalResult = mrNone;
};

template <class T>
T* Make(TWinControl* parent, int32_t left, int32_t top) {
  auto* c = New<T>(parent);
  c->SetLeft(left);
  c->SetTop(top);
  c->SetParent(parent);
  return c;
}

// The point a click on r goes to.
inline TPoint Middle(const TRect& r) {
  return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
}

inline TColor Sys(TColor c) {
  return ColorToRGB(c);
}

// Paints the whole form and answers pixels in a control's own coordinates.
struct TShot {
  TBitmap Bitmap;
  TPoint At;
  TShot(TWinControl& form, const TControl& c) : Bitmap(form.Width(), form.Height()) {
    form.PaintControl(Bitmap, {0, 0}, Rect(0, 0, form.Width(), form.Height()));
    At = c.FormOrigin();
  }
  TColor operator()(int32_t x, int32_t y) { return Bitmap.Canvas()->Pixel(At.X + x, At.Y + y); }
};

}  // namespace zelvar::test
