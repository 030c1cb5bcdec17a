#pragma once
// The classic 3-D edges that buttons, panels, fields and tab strips are drawn with.

#include <cstdint>

#include "platform/graphics/Canvas.h"

namespace zelvar {

// The classic bevel: width lines of topColor along the top and left and bottomColor along the
// bottom and right; rect shrinks by width on every side.
void Frame3D(TCanvas& canvas, TRect& rect, TColor topColor, TColor bottomColor, int32_t width);
// One 3-D edge around rect, which stays as it is.
inline void Frame3D(TCanvas& canvas, TRect rect, TColor topColor, TColor bottomColor) {
  Frame3D(canvas, rect, topColor, bottomColor, 1);
}

}  // namespace zelvar
