#pragma once
// Where the buttons of the container's bar stand, as a pure function of a button order: the
// walk that places the left group from the left edge on and the right group from the right
// edge back. The container applies the result to its buttons.

#include <array>
#include <cstdint>
#include <span>

#include "platform/controls/Controls.h"
#include "platform/graphics/Geometry.h"

namespace zelvar {

// Codes of the button orders BLWizard and BLDialog.
enum TButtonCode : int32_t {
  bcChange = 1,
  bcHelp = 2,
  bcCancel = 3,
  bcBack = 4,
  bcNext = 5,
  bcOK = 6,
  bcSpace = 7,
  bcMiddle = 8,
};

// Where a control or button that must not be seen is parked.
inline constexpr int32_t kParkedLeft = 20000;

// What a button code stands for in the mode being laid out.
struct TBarButton {
  bool Exists = false;  // the mode has a button for the code
  bool Shown = false;   // its description shows it
};
using TBarButtons = std::array<TBarButton, bcOK + 1>;  // by code; entry 0 is unused
// A width per button code; entry 0 is unused.
using TBarWidths = std::array<int32_t, bcOK + 1>;

struct TBarMetrics {
  int32_t BarWidth = 0;
  int32_t BarHeight = 0;
  int32_t ButtonWidth = 0;
  int32_t ButtonHeight = 0;
  int32_t Margin = 4;  // from either end of the bar to its outermost button
  int32_t Gap = 4;     // after each shown button
  int32_t Space = 8;   // what a Space item adds
  int32_t Bottom = 3;  // below the buttons
  // Per code, for buttons that fit their captions; a negative entry takes ButtonWidth.
  TBarWidths Widths = [] {
    TBarWidths w;
    w.fill(-1);
    return w;
  }();
  int32_t WidthOf(int32_t code) const { return Widths[code] < 0 ? ButtonWidth : Widths[code]; }
};

// A button the walk places.
struct TBarPlace {
  int32_t Code = 0;
  int32_t Item = 0;  // its index in the order
  bool RightGroup = false;
  // Where it stands; a hidden button is parked at kParkedLeft.
  TRect Bounds;
};

// The left group ends at the order's first Middle; without one, every item is in it. A shown
// button advances the walk by its width and the gap, a Space by the space; hidden buttons,
// codes without a button and unknown codes advance nothing. Nothing is clipped: a bar too
// narrow for its buttons lets the groups overlap.
//
// place(const TBarPlace&) receives the placed buttons in walk order: the left group from its
// first item on, then the right group from its last item back. A code listed twice keeps its
// first place. The walk runs on every layout pass, so it hands its places over as it goes
// rather than building a list.
template <class Place>
void WalkButtonBar(std::span<const int32_t> order, const TBarButtons& buttons,
                   const TBarMetrics& metrics, Place&& place) {
  size_t middle = order.size();
  for (size_t i = 0; i < order.size(); ++i)
    if (order[i] == bcMiddle) {
      middle = i;
      break;
    }
  const int32_t top =
      ClampExtent(int64_t{metrics.BarHeight} - metrics.ButtonHeight - metrics.Bottom);
  const int32_t bottom = ClampExtent(int64_t{top} + metrics.ButtonHeight);
  bool placed[bcOK + 1] = {};
  // Places the item with its left edge at x (left group) or its right edge at x (right group);
  // how far it moves the walk on. Wide buttons and long runs of spaces walk x out of any
  // control's reach: it is kept wide and each button stops at the edge.
  auto step = [&](size_t item, bool right, int64_t x) -> int64_t {
    const int32_t code = order[item];
    if (code == bcSpace) return metrics.Space;
    if (code < bcChange || code > bcOK || !buttons[code].Exists || placed[code]) return 0;
    placed[code] = true;
    const bool shown = buttons[code].Shown;
    const int32_t width = metrics.WidthOf(code);
    const int32_t left = shown ? ClampExtent(right ? x - width : x) : kParkedLeft;
    place(TBarPlace{code,
                    static_cast<int32_t>(item),
                    right,
                    {left, top, ClampExtent(int64_t{left} + width), bottom}});
    return shown ? int64_t{width} + metrics.Gap : 0;
  };
  int64_t x = metrics.Margin;
  for (size_t i = 0; i < middle; ++i) x += step(i, false, x);
  x = int64_t{metrics.BarWidth} - metrics.Margin;
  for (size_t i = order.size(); i-- > middle + 1;) x -= step(i, true, x);
}

// Widths for buttons that fit their captions. The bar's groups are the runs of items between
// Space and Middle items; every shown button of a group takes the widest natural width in it,
// and never less than metrics.ButtonWidth, so that a group reads as one row of equal buttons.
// Needed is the bar width that holds them all in one row; Shrunk is set when the bar is
// narrower and shrink is asked: then all groups share one cap, the widest giving up width
// first, so the row fits without overlapping (captions are then shortened by the caller).
struct TBarFit {
  TBarWidths Widths{};
  int64_t Needed = 0;
  bool Shrunk = false;
};
TBarFit FitBarButtons(std::span<const int32_t> order, const TBarButtons& buttons,
                      const TBarWidths& natural, const TBarMetrics& metrics, bool shrink);

}  // namespace zelvar
