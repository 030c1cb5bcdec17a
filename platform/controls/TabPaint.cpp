#include "platform/controls/TabPaint.h"

namespace zelvar {

TRect PaintTab(TCanvas& canvas, TRect r, bool active, std::string_view caption, TColor face,
               TColor textColor) {
  if (active) r = {r.Left - 2, r.Top - 2, r.Right + 2, r.Bottom + 1};
  canvas.Brush()->SetStyle(bsSolid);
  canvas.Brush()->SetColor(face);
  canvas.FillRect({r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom});
  canvas.Brush()->SetColor(clBtnHighlight);
  canvas.FillRect({r.Left, r.Top + 2, r.Left + 1, r.Bottom});
  canvas.FillRect({r.Left + 2, r.Top, r.Right - 2, r.Top + 1});
  canvas.FillRect({r.Left + 1, r.Top + 1, r.Left + 2, r.Top + 2});
  canvas.Brush()->SetColor(clBtnShadow);
  canvas.FillRect({r.Right - 2, r.Top + 1, r.Right - 1, r.Bottom});
  canvas.Brush()->SetColor(cl3DDkShadow);
  canvas.FillRect({r.Right - 1, r.Top + 2, r.Right, r.Bottom});
  const int32_t tw = canvas.TextWidth(caption), th = canvas.TextHeight("Xy");
  const int32_t tx = r.Left + (r.Width() - tw) / 2, ty = r.Top + (r.Height() - th) / 2;
  canvas.Brush()->SetStyle(bsClear);
  canvas.Font()->SetColor(textColor);
  canvas.TextOut(tx, ty, caption);
  canvas.Brush()->SetStyle(bsSolid);
  return {tx, ty, tx + tw, ty + th};
}

}  // namespace zelvar
