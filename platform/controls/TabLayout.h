#pragma once
// Where the tabs of a tab strip stand, as pure functions of their captions' widths: which tabs
// share a row, each tab's rectangle, the order the rows are drawn in and which tab a press
// hits. A strip measures its captions with its own font and paints from the rectangles; the
// strips differ only in the values of their TTabStyle.

#include <cstdint>
#include <span>
#include <vector>

#include "platform/graphics/Geometry.h"

namespace zelvar {

struct TTabStyle {
  int32_t Left = 0;  // each row's first tab starts here
  int32_t Top = 0;   // the top row starts here; the rows below follow without a gap
  int32_t RowHeight = 0;
  int32_t Padding = 0;  // added to a caption's width: the tab's natural width
  // The width rows are broken at. A strip of several rows also widens every row to it: each
  // tab gets an equal share of what the captions leave, the row's last tab the remainder.
  int32_t Room = 0;

  // How a press finds its tab. The selected tab stands out over its neighbours: it answers
  // first, over this much more than its rectangle on each side.
  TRect SelectedReach{};
  // A press counts this many pixels further left: with 1 a tab answers from just past its
  // left edge up to its right edge.
  int32_t PressShift = 0;
  // A press finds its row by the strip's bands alone: a press up to a row's height above the
  // strip is in the top row, any other press off the strip in the selected tab's row (the
  // first without one). Without bands a press must fall on a tab's rectangle.
  bool RowBands = false;
};

struct TTabPlace {
  TRect Bounds;
  // The tab's own width; Bounds stops where a control's reach does.
  int32_t Width = 0;
};

struct TTabRow {
  int32_t First = 0;  // the index of the row's first tab
  int32_t Count = 0;
  // From the row's left edge to its last tab's right edge, in the row's place on the strip.
  TRect Bounds;
};

struct TTabLayout {
  std::vector<TTabRow> Rows;  // row 0 holds the first tabs
  // The rows from the top of the strip down: the others in their order, then the selected
  // tab's row, which stands next to the page.
  std::vector<int32_t> Order;
  std::vector<TTabPlace> Tabs;
  int32_t Selected = -1;
  int32_t SelectedRow = -1;
};

// The number of tabs in each row. Each row takes tabs from the first on while they fit into
// Room; then a short last row is evened out by pulling tabs down from the rows above, and
// whatever overflows goes back. A tab wider than Room still gets a row of its own: no row is
// ever empty. No tabs, no rows.
std::vector<int32_t> BreakTabRows(std::span<const int32_t> textWidths, const TTabStyle& style);

// Places the tabs in the given rows (tab counts in row order); tabs past the rows get no place
// and rows past the tabs stay empty. selected is a tab index, or -1 for none.
TTabLayout PlaceTabs(std::span<const int32_t> textWidths, std::span<const int32_t> rows,
                     int32_t selected, const TTabStyle& style);

// The index of the tab a press at x, y hits; -1 for none.
int32_t TabAt(const TTabLayout& layout, const TTabStyle& style, int32_t x, int32_t y);

}  // namespace zelvar
