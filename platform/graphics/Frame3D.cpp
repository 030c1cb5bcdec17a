#include "platform/graphics/Frame3D.h"

namespace zelvar {

void Frame3D(TCanvas& canvas, TRect& rect, TColor topColor, TColor bottomColor, int32_t width) {
  TPen& pen = *canvas.Pen();
  pen.SetStyle(psSolid);
  pen.SetWidth(1);
  // Right and bottom as the last pixel inside, as the lines below count them.
  --rect.Right;
  --rect.Bottom;
  for (; width > 0 && rect.Right >= rect.Left && rect.Bottom >= rect.Top; --width) {
    pen.SetColor(topColor);
    canvas.MoveTo(rect.Left, rect.Bottom);
    canvas.LineTo(rect.Left, rect.Top);
    canvas.LineTo(rect.Right, rect.Top);
    pen.SetColor(bottomColor);
    canvas.LineTo(rect.Right, rect.Bottom);
    canvas.LineTo(rect.Left - 1, rect.Bottom);
    ++rect.Left;
    ++rect.Top;
    --rect.Right;
    --rect.Bottom;
  }
  for (; width > 0; --width) {  // nothing left to draw on: still shrink as promised
    ++rect.Left;
    ++rect.Top;
    --rect.Right;
    --rect.Bottom;
  }
  ++rect.Right;
  ++rect.Bottom;
}

}  // namespace zelvar
