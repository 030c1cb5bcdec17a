#pragma once
// One tab of a tab strip, painted in the classic look: raised, with clipped top corners; the
// active one two pixels larger on each side, so that it stands over its neighbours and opens
// into the page below. The page control, the designer's palette and its property grid share it.

#include <string_view>

#include "platform/graphics/Canvas.h"
#include "platform/graphics/Geometry.h"

namespace zelvar {

// Paints the tab at r (its place in the strip) with the caption centred; returns where the
// caption went, for a focus rectangle.
TRect PaintTab(TCanvas& canvas, TRect r, bool active, std::string_view caption, TColor face,
               TColor textColor);

}  // namespace zelvar
