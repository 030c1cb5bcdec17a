#include "platform/controls/TabLayout.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <vector>

namespace zelvar {
namespace {

using ::testing::ElementsAre;

TTabStyle Style(int32_t room, int32_t padding = 0) {
  TTabStyle style;
  style.Left = 2;
  style.Top = 2;
  style.RowHeight = 20;
  style.Padding = padding;
  style.Room = room;
  return style;
}

// The page control's way: one row, presses on the rectangles, the selected tab reaching out.
TTabStyle RectStyle() {
  TTabStyle style = Style(1000, 10);
  style.SelectedReach = {2, 2, 2, 0};
  return style;
}

// The wizard container's way: presses find their row by the bands, one pixel to the left.
TTabStyle BandStyle(int32_t room) {
  TTabStyle style = Style(room);
  style.PressShift = 1;
  style.RowBands = true;
  return style;
}

std::vector<int32_t> Lefts(const TTabLayout& layout) {
  std::vector<int32_t> out;
  for (const TTabPlace& tab : layout.Tabs) out.push_back(tab.Bounds.Left);
  return out;
}

std::vector<int32_t> Widths(const TTabLayout& layout) {
  std::vector<int32_t> out;
  for (const TTabPlace& tab : layout.Tabs) out.push_back(tab.Width);
  return out;
}

TEST(TabRows, FillFromTheFirstTabAndEvenOutTheLastRows) {
  const std::vector<int32_t> ten(10, 20);
  // Natural width 30: everything fits in one row, or nothing is there to break.
  EXPECT_THAT(BreakTabRows(ten, Style(300, 10)), ElementsAre(10));
  EXPECT_THAT(BreakTabRows({}, Style(300, 10)), ElementsAre());
  // Four fit in a row: the fill gives 4, 4, 2 and the balance moves one tab down.
  EXPECT_THAT(BreakTabRows(ten, Style(135, 10)), ElementsAre(4, 3, 3));
  // The row above gives tabs to a short row only while it keeps one and the short row fits.
  EXPECT_THAT(BreakTabRows(std::vector<int32_t>{20, 20, 20, 20, 20, 60, 50}, Style(100)),
              ElementsAre(4, 2, 1));
  // A tab pulled down that overflows goes back up.
  EXPECT_THAT(BreakTabRows(std::vector<int32_t>{10, 10, 10, 10, 10, 10, 40, 70, 60}, Style(100)),
              ElementsAre(7, 1, 1));
}

TEST(TabRows, ATabWiderThanTheRoomGetsARowOfItsOwn) {
  EXPECT_THAT(BreakTabRows(std::vector<int32_t>{10, 500, 10}, Style(100)), ElementsAre(1, 1, 1));
  EXPECT_THAT(BreakTabRows(std::vector<int32_t>{500}, Style(100)), ElementsAre(1));
  // No room at all and extreme spacing: still one tab a row, never an empty one.
  EXPECT_THAT(BreakTabRows(std::vector<int32_t>{1, 1, 1}, Style(INT32_MIN, INT32_MAX)),
              ElementsAre(1, 1, 1));
  EXPECT_THAT(BreakTabRows(std::vector<int32_t>{1, 1, 1}, Style(0, INT32_MIN)), ElementsAre(3));
}

TEST(TabPlaces, OneRowKeepsTheNaturalWidths) {
  const TTabLayout layout =
      PlaceTabs(std::vector<int32_t>{30, 40, 50}, std::vector<int32_t>{3}, 1, Style(100, 16));
  EXPECT_THAT(Lefts(layout), ElementsAre(2, 48, 104));
  EXPECT_THAT(Widths(layout), ElementsAre(46, 56, 66));
  EXPECT_EQ(layout.Tabs[2].Bounds, (TRect{104, 2, 170, 22}));
  // One row is not stretched, even past the room; it ends at its last tab.
  EXPECT_EQ(layout.Rows[0].Bounds, (TRect{2, 2, 170, 22}));
  EXPECT_THAT(layout.Order, ElementsAre(0));
  EXPECT_EQ(layout.Selected, 1);
  EXPECT_EQ(layout.SelectedRow, 0);
}

TEST(TabPlaces, SeveralRowsFillTheRoomAndTheSelectedRowIsLowest) {
  const std::vector<int32_t> widths{21, 30, 40, 10, 10};
  const TTabLayout layout = PlaceTabs(widths, std::vector<int32_t>{2, 1, 2}, 0, Style(100, 16));
  // Row 0: 49 pixels left over, 24 to each tab and the remainder to the last.
  EXPECT_THAT(Widths(layout), ElementsAre(45, 55, 100, 50, 50));
  EXPECT_THAT(Lefts(layout), ElementsAre(2, 47, 2, 2, 52));
  // The selected tab's row moves to the bottom; the others close up in their order.
  EXPECT_THAT(layout.Order, ElementsAre(1, 2, 0));
  EXPECT_EQ(layout.Tabs[2].Bounds.Top, 2);
  EXPECT_EQ(layout.Tabs[3].Bounds.Top, 22);
  EXPECT_EQ(layout.Tabs[0].Bounds, (TRect{2, 42, 47, 62}));
  // A tab wider than the room is narrowed to it when rows are stretched.
  const TTabLayout wide =
      PlaceTabs(std::vector<int32_t>{150, 20}, std::vector<int32_t>{1, 1}, -1, Style(100, 16));
  EXPECT_THAT(Widths(wide), ElementsAre(100, 100));
  EXPECT_THAT(wide.Order, ElementsAre(0, 1));
  EXPECT_EQ(wide.SelectedRow, -1);
}

TEST(TabPlaces, RowsAndTabsThatDoNotMatchAndNoTabs) {
  TTabLayout none = PlaceTabs({}, {}, 0, Style(100));
  EXPECT_TRUE(none.Tabs.empty());
  EXPECT_TRUE(none.Order.empty());
  EXPECT_EQ(none.Selected, -1);
  EXPECT_EQ(TabAt(none, BandStyle(100), 5, 5), -1);
  // A row with no tab ends where it starts.
  TTabLayout empty = PlaceTabs({}, std::vector<int32_t>{0}, -1, Style(100));
  EXPECT_EQ(empty.Rows[0].Bounds, (TRect{2, 2, 2, 22}));
  EXPECT_EQ(TabAt(empty, RectStyle(), 2, 5), -1);
  // Rows past the tabs stay empty, tabs past the rows get no place, a selection past them none.
  TTabLayout cut =
      PlaceTabs(std::vector<int32_t>{10, 10, 10}, std::vector<int32_t>{2, 5, -1}, 2, Style(100));
  EXPECT_EQ(cut.Rows[1].Count, 1);
  EXPECT_EQ(cut.Rows[2].Count, 0);
  EXPECT_EQ(cut.SelectedRow, 1);
  TTabLayout part =
      PlaceTabs(std::vector<int32_t>{10, 10, 10}, std::vector<int32_t>{2}, 2, Style(100));
  EXPECT_EQ(part.Tabs.size(), 2u);
  EXPECT_EQ(part.Selected, -1);
}

TEST(TabPresses, RectanglesWithTheSelectedTabStandingOut) {
  const TTabStyle style = RectStyle();
  // Tabs at 2..42, 42..72, 72..112, rows 2..22; the middle one selected.
  const TTabLayout layout =
      PlaceTabs(std::vector<int32_t>{30, 20, 30}, std::vector<int32_t>{3}, 1, style);
  EXPECT_EQ(TabAt(layout, style, 2, 10), 0);  // the left edge is the tab's
  EXPECT_EQ(TabAt(layout, style, 1, 10), -1);
  EXPECT_EQ(TabAt(layout, style, 111, 10), 2);
  EXPECT_EQ(TabAt(layout, style, 112, 10), -1);  // right of the last tab
  EXPECT_EQ(TabAt(layout, style, 5, 21), 0);
  EXPECT_EQ(TabAt(layout, style, 5, 22), -1);  // below the strip
  EXPECT_EQ(TabAt(layout, style, 5, 1), -1);   // above an unselected tab
  // The selected tab answers two pixels into its neighbours and above it.
  EXPECT_EQ(TabAt(layout, style, 40, 10), 1);
  EXPECT_EQ(TabAt(layout, style, 39, 10), 0);
  EXPECT_EQ(TabAt(layout, style, 73, 10), 1);
  EXPECT_EQ(TabAt(layout, style, 74, 10), 2);
  EXPECT_EQ(TabAt(layout, style, 50, 0), 1);
  EXPECT_EQ(TabAt(layout, style, 50, 22), -1);
  for (int32_t v : {INT32_MIN, INT32_MAX}) EXPECT_EQ(TabAt(layout, style, v, v), -1);
}

TEST(TabPresses, BandsFindTheRowAndTheEdgesLeanLeft) {
  const TTabStyle style = BandStyle(100);
  // Rows {2, 2}, each stretched to 100: tabs 2..52 and 52..102; tab 0 selected, so row 1 is
  // drawn on top (2..22) and row 0 below it (22..42).
  const TTabLayout layout =
      PlaceTabs(std::vector<int32_t>{10, 10, 10, 10}, std::vector<int32_t>{2, 2}, 0, style);
  ASSERT_THAT(layout.Order, ElementsAre(1, 0));
  EXPECT_EQ(TabAt(layout, style, 3, 5), 2);
  EXPECT_EQ(TabAt(layout, style, 3, 25), 0);
  // A tab answers from one past its left edge through its right edge.
  EXPECT_EQ(TabAt(layout, style, 2, 5), -1);
  EXPECT_EQ(TabAt(layout, style, 52, 5), 2);
  EXPECT_EQ(TabAt(layout, style, 53, 5), 3);
  EXPECT_EQ(TabAt(layout, style, 102, 5), 3);
  EXPECT_EQ(TabAt(layout, style, 103, 5), -1);  // right of the row
  // Up to a row's height above the strip is the top row; further off, the selected row.
  EXPECT_EQ(TabAt(layout, style, 3, -17), 2);
  EXPECT_EQ(TabAt(layout, style, 3, -18), 0);
  EXPECT_EQ(TabAt(layout, style, 3, 42), 0);
  EXPECT_EQ(TabAt(layout, style, 3, INT32_MAX), 0);
  // Without a selected tab, a press off the strip goes to the first row.
  const TTabLayout unselected =
      PlaceTabs(std::vector<int32_t>{10, 10, 10, 10}, std::vector<int32_t>{2, 2}, -1, style);
  EXPECT_EQ(TabAt(unselected, style, 3, 42), 0);
  EXPECT_EQ(TabAt(unselected, style, 3, 22), 2);
  EXPECT_EQ(TabAt(unselected, style, INT32_MIN, INT32_MIN), -1);
  // Rows of no height hold no tab.
  TTabStyle flat = style;
  flat.RowHeight = 0;
  EXPECT_EQ(
      TabAt(PlaceTabs(std::vector<int32_t>{10}, std::vector<int32_t>{1}, 0, flat), flat, 3, 2), -1);
}

TEST(TabPlaces, ExtremeValuesStayWithinAControlsReach) {
  for (int32_t v : {INT32_MIN, INT32_MAX}) {
    TTabStyle style = BandStyle(v);
    style.Padding = v;
    style.RowHeight = v;
    style.Left = v;
    style.Top = v;
    for (const std::vector<int32_t>& rows : {std::vector<int32_t>{3}, std::vector<int32_t>{1, 2}}) {
      const TTabLayout layout = PlaceTabs(std::vector<int32_t>{INT32_MAX, 0, 7}, rows, 1, style);
      for (const TTabPlace& tab : layout.Tabs) {
        EXPECT_LE(std::abs(int64_t{tab.Bounds.Left}), 1 << 28);
        EXPECT_LE(std::abs(int64_t{tab.Bounds.Right}), 1 << 28);
        EXPECT_LE(std::abs(int64_t{tab.Width}), 1 << 28);
      }
      for (int32_t xy : {INT32_MIN, 0, INT32_MAX}) TabAt(layout, style, xy, xy);
    }
  }
}

}  // namespace
}  // namespace zelvar
