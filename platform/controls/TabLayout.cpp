#include "platform/controls/TabLayout.h"

#include <algorithm>
#include <limits>

#include "platform/controls/Controls.h"

namespace zelvar {

namespace {

// A row's bottom may pass a control's reach by the row's height; it only has to stay an int.
int32_t Saturate(int64_t v) {
  return static_cast<int32_t>(std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(),
                                                  std::numeric_limits<int32_t>::max()));
}

// Moves tabs between neighbouring rows, from the last pair up: a short row takes tabs from the
// end of the row above until it holds its share, then gives back what overflows. No row gives
// up its last tab. span[i] is the sum of the first i natural widths.
void BalanceRows(std::vector<int32_t>& rows, const std::vector<int64_t>& span, int64_t room) {
  const size_t count = rows.size();
  if (count < 2) return;
  const auto share = static_cast<int32_t>((span.size() - 1) / count);
  // Rows above the pair being balanced are not touched yet: row i's first tab follows from
  // them and from row i - 1.
  std::vector<size_t> before(count, 0);
  for (size_t i = 1; i < count; ++i) before[i] = before[i - 1] + static_cast<size_t>(rows[i - 1]);
  for (size_t i = count - 1; i >= 1; --i) {
    auto length = [&] {
      const size_t first = before[i - 1] + static_cast<size_t>(rows[i - 1]);
      return span[first + static_cast<size_t>(rows[i])] - span[first];
    };
    while (length() < room && rows[i] < share && rows[i - 1] > 1) {
      ++rows[i];
      --rows[i - 1];
    }
    while (length() > room && rows[i] > 1) {
      --rows[i];
      ++rows[i - 1];
    }
  }
}

// The rows from the top of the strip down: the selected row moves to the bottom.
std::vector<int32_t> RowOrder(size_t rows, int32_t selectedRow) {
  std::vector<int32_t> order;
  order.reserve(rows);
  for (size_t r = 0; r < rows; ++r)
    if (static_cast<int32_t>(r) != selectedRow) order.push_back(static_cast<int32_t>(r));
  if (selectedRow >= 0) order.push_back(selectedRow);
  return order;
}

// Places one row's tabs at top. With stretch the row is widened to Room.
void PlaceRow(TTabRow& row, std::vector<TTabPlace>& tabs, std::span<const int32_t> textWidths,
              bool stretch, const TTabStyle& style) {
  int64_t textsum = 0;
  for (int32_t i = row.First; i < row.First + row.Count; ++i) textsum += textWidths[i];
  int32_t extra = style.Padding, rest = 0;
  if (stretch && row.Count > 0) {
    const int64_t left = int64_t{style.Room} - textsum;
    extra = ClampExtent(left / row.Count);
    rest = ClampExtent(left - int64_t{row.Count} * extra);
  }
  // Tabs past a control's reach stand at its edge: nothing of them shows.
  int64_t x = style.Left;
  for (int32_t i = row.First; i < row.First + row.Count; ++i) {
    if (i == row.First + row.Count - 1) extra = ClampExtent(int64_t{extra} + rest);
    const int32_t width = ClampExtent(int64_t{textWidths[i]} + extra);
    tabs[static_cast<size_t>(i)] = {
        {ClampExtent(x), row.Bounds.Top, ClampExtent(x + width), row.Bounds.Bottom}, width};
    x += width;
  }
  row.Bounds.Right = ClampExtent(x);
}

bool Holds(const TRect& r, const TRect& reach, int64_t x, int32_t y) {
  return x >= int64_t{r.Left} - reach.Left && x < int64_t{r.Right} + reach.Right &&
         y >= int64_t{r.Top} - reach.Top && y < int64_t{r.Bottom} + reach.Bottom;
}

}  // namespace

std::vector<int32_t> BreakTabRows(std::span<const int32_t> textWidths, const TTabStyle& style) {
  std::vector<int32_t> rows;
  if (textWidths.empty()) return rows;
  std::vector<int64_t> span(textWidths.size() + 1, 0);
  for (size_t i = 0; i < textWidths.size(); ++i)
    span[i + 1] = span[i] + textWidths[i] + style.Padding;
  const int64_t room = style.Room;
  int64_t run = 0;
  int32_t count = 0;
  for (size_t i = 0; i < textWidths.size(); ++i) {
    const int64_t w = span[i + 1] - span[i];
    if (count > 0 && run + w > room) {
      rows.push_back(count);
      run = w;
      count = 1;
    } else {
      ++count;
      run += w;
    }
  }
  rows.push_back(count);
  BalanceRows(rows, span, room);
  return rows;
}

TTabLayout PlaceTabs(std::span<const int32_t> textWidths, std::span<const int32_t> rows,
                     int32_t selected, const TTabStyle& style) {
  TTabLayout layout;
  const auto tabs = static_cast<int64_t>(textWidths.size());
  int64_t placed = 0;
  for (int32_t count : rows) {
    const int64_t n = std::clamp<int64_t>(count, 0, tabs - placed);
    TTabRow row;
    row.First = static_cast<int32_t>(placed);
    row.Count = static_cast<int32_t>(n);
    if (selected >= placed && selected < placed + n)
      layout.SelectedRow = static_cast<int32_t>(layout.Rows.size());
    layout.Rows.push_back(row);
    placed += n;
  }
  if (layout.SelectedRow >= 0) layout.Selected = selected;
  layout.Tabs.resize(static_cast<size_t>(placed));
  layout.Order = RowOrder(layout.Rows.size(), layout.SelectedRow);
  const bool stretch = layout.Rows.size() > 1;
  int64_t y = style.Top;
  for (int32_t r : layout.Order) {
    TTabRow& row = layout.Rows[static_cast<size_t>(r)];
    const int32_t top = ClampExtent(y);
    row.Bounds = {ClampExtent(style.Left), top, ClampExtent(style.Left),
                  Saturate(int64_t{top} + style.RowHeight)};
    PlaceRow(row, layout.Tabs, textWidths, stretch, style);
    y += style.RowHeight;
  }
  return layout;
}

int32_t TabAt(const TTabLayout& layout, const TTabStyle& style, int32_t x, int32_t y) {
  if (style.RowHeight <= 0 || layout.Rows.empty()) return -1;  // flat rows hold no tab
  const int64_t at = int64_t{x} - style.PressShift;
  if (layout.Selected >= 0 &&
      Holds(layout.Tabs[static_cast<size_t>(layout.Selected)].Bounds, style.SelectedReach, at, y))
    return layout.Selected;
  if (!style.RowBands) {
    for (size_t i = 0; i < layout.Tabs.size(); ++i)
      if (Holds(layout.Tabs[i].Bounds, {}, at, y)) return static_cast<int32_t>(i);
    return -1;
  }
  // Division truncates toward zero: up to a row's height above the strip is still its top row.
  const int64_t band = (int64_t{y} - style.Top) / style.RowHeight;
  int32_t r = layout.SelectedRow >= 0 ? layout.SelectedRow : 0;
  if (band >= 0 && band < static_cast<int64_t>(layout.Order.size()))
    r = layout.Order[static_cast<size_t>(band)];
  const TTabRow& row = layout.Rows[static_cast<size_t>(r)];
  for (int32_t i = row.First; i < row.First + row.Count; ++i) {
    const TRect& tab = layout.Tabs[static_cast<size_t>(i)].Bounds;
    if (at >= tab.Left && at < tab.Right) return i;
  }
  return -1;
}

}  // namespace zelvar
