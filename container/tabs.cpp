// The tab strip of the tabbed style: which pages share a row.

#include <algorithm>
#include <vector>

#include "container/ZelvarA.h"

namespace zelvar {

int32_t TZelvar::TabCaptionWidth(int32_t position) {
  int32_t real = position;
  if (FWayListEnabled) {
    // A position the way list does not cover yet gets an empty tab, not a failed layout.
    if (position < 1 || position > FWayList->EntryCount()) return 0;
    real = FWayList->Entry(position - 1).Number;
  }
  if (real < 0 || real >= FPageNames->Count()) return 0;
  return Canvas()->TextWidth(FPageNames->Get(real));
}

void TZelvar::inittabsinline() {
  if (!FTabRows) FTabRows = std::make_unique<TIntegerList>();
  if (FNumPages <= 0) return;
  const int32_t room = Width() - 4;
  const int32_t sx = FTabSpaceX;
  // span[p] = the sum over positions 1..p of caption width + TabSpaceX.
  std::vector<int64_t> span(static_cast<size_t>(FNumPages) + 1, 0);
  for (int32_t p = 1; p <= FNumPages; ++p) span[p] = span[p - 1] + TabCaptionWidth(p) + sx;

  // Fill: each row takes tabs from the first page on while they fit. A tab wider than the
  // strip still gets a row of its own, so no row is ever empty.
  std::vector<int32_t> rows;
  int64_t run = 0;
  int32_t count = 0;
  for (int32_t p = 1; p <= FNumPages; ++p) {
    int64_t w = span[p] - span[p - 1];
    if (count > 0 && w + run > room) {
      rows.push_back(count);
      run = w;
      count = 1;
    } else {
      ++count;
      run += w;
    }
  }
  rows.push_back(count);

  // Balance: even out a short last row by pulling tabs down from the row above, then give
  // back what overflows; no row gives up its last tab.
  const int32_t r = static_cast<int32_t>(rows.size());
  if (r > 1) {
    const int32_t avg = FNumPages / r;
    // before[i] = the tabs in rows 0..i-1 as filled; rows above the pair being balanced are
    // not touched yet, so row r's first position follows from them and from row r-1.
    std::vector<int32_t> before(rows.size(), 0);
    for (size_t i = 1; i < rows.size(); ++i) before[i] = before[i - 1] + rows[i - 1];
    for (int32_t i = r - 1; i >= 1; --i) {
      auto length = [&] {
        int32_t first = before[i - 1] + rows[i - 1] + 1;
        return span[first + rows[i] - 1] - span[first - 1];
      };
      while (length() < room && rows[i] < avg && rows[i - 1] > 1) {
        ++rows[i];
        --rows[i - 1];
      }
      while (length() > room && rows[i] > 1) {
        --rows[i];
        ++rows[i - 1];
      }
    }
  }
  FTabRows->Clear();
  for (int32_t n : rows) FTabRows->Add(n);
}

void TZelvar::painttabs() {
  Invalidate();
}

void TZelvar::SetSeparator(bool v) {
  if (v == FSeperator) return;
  FSeperator = v;
  Invalidate();
}

void TZelvar::SetTabSpaceX(int32_t v) {
  FTabSpaceX = v;
  if (FStyle == asTabbed) {
    inittabsinline();
    Refresh();
  }
}

void TZelvar::SetTabSpaceY(int32_t v) {
  FTabSpaceY = v;
  if (FStyle == asTabbed) {
    inittabsinline();
    Refresh();
  }
}

}  // namespace zelvar
