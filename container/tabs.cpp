// The tab strip of the tabbed style: which pages share a row, how the rows and tabs are drawn
// (the current page's row lowest, next to the page), and which tab a press hits.

#include <algorithm>
#include <vector>

#include "container/ZelvarA.h"
#include "platform/forms/Forms.h"

namespace zelvar {

namespace {

constexpr TColor kSilver = static_cast<TColor>(0xC0C0C0);
constexpr TColor kWhite = static_cast<TColor>(0xFFFFFF);
constexpr TColor kGrey = static_cast<TColor>(0x808080);
constexpr TColor kBlack = static_cast<TColor>(0x000000);

void PenAndBrush(TCanvas& c, TColor color) {
  c.Pen()->SetColor(color);
  c.Pen()->SetStyle(psSolid);
  c.Pen()->SetWidth(1);
  c.Brush()->SetColor(color);
  c.Brush()->SetStyle(bsSolid);
}

}  // namespace

TCanvas& TZelvar::TextCanvas() const {
  TCanvas& c = *const_cast<TZelvar*>(this)->Canvas();
  if (!c.Font()->SameFace(*Font())) c.Font()->Assign(Font());
  return c;
}

// A negative TabSpaceY can leave rows no height: they are flat then, and hold no tab a press
// could hit.
int32_t TZelvar::RowHeight() const {
  return std::max(TextCanvas().TextHeight("X") + FTabSpaceY, 0);
}

int32_t TZelvar::tabheight() const {
  if (FStyle != asTabbed || !FTabRows) return 0;
  return ClampExtent(int64_t{FTabRows->ItemCount()} * RowHeight() + 2);
}

std::string TZelvar::TabCaption(int32_t position) const {
  int32_t real = position;
  if (FWayListEnabled) {
    // A position the way list does not cover yet gets an empty tab, not a failed layout.
    if (position < 1 || position > FWayList->EntryCount()) return {};
    real = FWayList->Entry(position - 1).Number;
  }
  if (real < 0 || real >= FPageNames->Count()) return {};
  return FPageNames->Get(real);
}

int32_t TZelvar::TabCaptionWidth(int32_t position) const {
  return TextCanvas().TextWidth(TabCaption(position));
}

int32_t TZelvar::StoredTabWidth(int32_t position) const {
  int32_t real = position;
  if (FWayListEnabled) {
    if (position < 1 || position > FWayList->EntryCount()) return 0;
    real = FWayList->Entry(position - 1).Number;
  }
  if (real < 0 || real >= FPageNames->Count()) return 0;
  return static_cast<int32_t>(FPageNames->Objects(real));
}

int32_t TZelvar::FirstOfRow(int32_t row) const {
  int32_t first = 1;
  for (int32_t i = 0; i < row && i < FTabRows->ItemCount(); ++i) first += FTabRows->GetInteger(i);
  return first;
}

int32_t TZelvar::tablength(int32_t row) const {
  if (!FTabRows || row < 0 || row >= FTabRows->ItemCount()) return 0;
  int32_t first = FirstOfRow(row);
  int64_t sum = 0;
  for (int32_t p = first; p < first + FTabRows->GetInteger(row); ++p)
    sum += TabCaptionWidth(p) + FTabSpaceX;
  return ClampExtent(sum);
}

bool TZelvar::tabinline(int32_t p, int32_t r) const {
  if (p <= 0 || !FTabRows) return false;
  int32_t sum = 0;
  for (int32_t i = 0; i < FTabRows->ItemCount(); ++i) {
    sum += FTabRows->GetInteger(i);
    if (sum >= p) return i == r;
  }
  return false;
}

void TZelvar::inittabsinline() {
  if (!FTabRows) FTabRows = std::make_unique<TIntegerList>();
  if (FNumPages <= 0) return;
  const int32_t room = Width() - 4;
  const int32_t sx = FTabSpaceX;
  // span[p] = the sum over positions 1..p of caption width + TabSpaceX.
  TCanvas& canvas = TextCanvas();
  std::vector<int64_t> span(static_cast<size_t>(FNumPages) + 1, 0);
  for (int32_t p = 1; p <= FNumPages; ++p)
    span[p] = span[p - 1] + canvas.TextWidth(TabCaption(p)) + sx;

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
    // not touched yet, so row i's first position follows from them and from row i-1.
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
  // More or fewer rows move the pages' area: the pages and aligned controls follow now, not
  // at the next resize.
  FollowClientRect();
}

// ---------------------------------------------------------------------------------------------
// Drawing

void TZelvar::painttabs() {
  if (!FTabRows) return;
  TCanvas& c = TextCanvas();
  PenAndBrush(c, kSilver);
  c.Rectangle(0, 0, 2, tabheight());
  const int32_t rh = RowHeight();
  int64_t y = 2;
  // Each row's first position and whether it holds the page follow from the rows before it,
  // kept as the walk goes: asking anew for every row would walk the rows again each time.
  int32_t current = -1, currentFirst = 0;
  int32_t first = 1;
  for (int32_t r = 0; r < FTabRows->ItemCount(); ++r) {
    const int32_t n = FTabRows->GetInteger(r);
    if (current < 0 && FPage > 0 && FPage < first + n) {
      current = r;
      currentFirst = first;
    } else {
      painttabline(r, first, ClampExtent(y));
      y += rh;
    }
    first += n;
  }
  if (current >= 0) painttabline(current, currentFirst, ClampExtent(y));
}

void TZelvar::painttabline(int32_t row, int32_t first, int32_t y) {
  TCanvas& c = TextCanvas();
  const int32_t n = FTabRows->GetInteger(row);
  const int32_t w = Width();
  std::vector<std::string> captions;
  std::vector<int32_t> widths;
  int64_t textsum = 0;
  for (int32_t p = first; p < first + n; ++p) {
    captions.push_back(TabCaption(p));
    widths.push_back(c.TextWidth(captions.back()));
    textsum += widths.back();
  }
  const bool oneRow = FTabRows->ItemCount() == 1;
  int32_t extra = FTabSpaceX, rest = 0;
  if (!oneRow && n > 0) {
    const int64_t room = int64_t{w} - 4 - textsum;
    extra = ClampExtent(room / n);
    rest = ClampExtent(room - int64_t{n} * extra);
  }
  // Positions past the strip's reach are drawn at its edge: nothing of them shows.
  int64_t x = 2;
  int32_t selected = -1, selX = 0, selExtra = 0;
  for (int32_t i = 0; i < n; ++i) {
    int32_t p = first + i;
    if (i == n - 1) extra = ClampExtent(int64_t{extra} + rest);
    if (p == FPage) {
      selected = i;
      selX = ClampExtent(x);
      selExtra = extra;
      x += int64_t{widths[i]} + extra;
    } else {
      x += painttab(p, ClampExtent(x), y, extra, captions[i], false);
    }
  }
  if (oneRow) {
    PenAndBrush(c, kSilver);
    const int32_t end = ClampExtent(x);
    c.Rectangle(end, 0, end + 2, tabheight());
    c.Rectangle(0, 0, w, 2);
  }
  if (selected >= 0) painttab(first + selected, selX, y, selExtra, captions[selected], true);
}

int32_t TZelvar::painttab(int32_t p, int32_t x, int32_t y, int32_t extra,
                          const std::string& caption, bool selected) {
  TCanvas& c = TextCanvas();
  c.Pen()->SetWidth(1);
  c.Pen()->SetStyle(psSolid);
  const int32_t tw = c.TextWidth(caption);
  const int32_t w = ClampExtent(int64_t{tw} + extra);
  const int32_t h = RowHeight();
  auto line = [&c](TColor color, std::initializer_list<TPoint> points) {
    c.Pen()->SetColor(color);
    auto it = points.begin();
    c.MoveTo(it->X, it->Y);
    for (++it; it != points.end(); ++it) c.LineTo(it->X, it->Y);
  };
  auto text = [&] {
    c.Font()->SetColor(clBlack);
    c.Brush()->SetStyle(bsClear);
    c.TextOut(x + extra / 2, y + FTabSpaceY / 2, caption);
  };
  if (!selected) {
    PenAndBrush(c, kSilver);
    c.Rectangle(x, y, x + w - 1, y + h - 1);
    line(kWhite, {{x, y + h - 1}, {x, y + 2}, {x + 2, y}, {x + w - 2, y}});
    line(kBlack, {{x + w - 2, y + 1}, {x + w - 1, y + 2}, {x + w - 1, y + h}});
    line(kGrey, {{x + w - 2, y + 2}, {x + w - 2, y + h}});
    text();
  } else {
    PenAndBrush(c, kSilver);
    c.Rectangle(x - 2, y - 2, x + w + 1, y + h + 1);
    line(kWhite, {{0, y + h}, {x - 2, y + h}, {x - 2, y}, {x, y - 2}, {x + w - 1, y - 2}});
    line(kWhite, {{x + w, y + h}, {Width() - 2, y + h}});
    line(kBlack, {{x + w, y - 1}, {x + w + 1, y}, {x + w + 1, y + h + 1}});
    line(kGrey, {{x + w, y}, {x + w, y + h + 1}});
    text();
    if (Focused()) {
      int32_t left = x + extra / 2, top = y + FTabSpaceY / 2;
      c.DrawFocusRect({left - 2, top - 2, left + tw + 2, top + c.TextHeight(caption) + 2});
    }
  }
  // What tabclick adds up: the width each tab was last drawn with.
  int32_t real = p;
  if (FWayListEnabled) real = p >= 1 && p <= FWayList->EntryCount() ? GetRealPage(p) : -1;
  if (real >= 0 && real < FPageNames->Count()) FPageNames->PutObject(real, w);
  return w;
}

// ---------------------------------------------------------------------------------------------
// Presses and focus

void TZelvar::tabclick(int32_t x, int32_t y) {
  if (!FTabRows || FTabRows->ItemCount() == 0) return;
  const int32_t rh = RowHeight();
  if (rh <= 0) return;  // flat rows: no tab under any point
  const int64_t v = (int64_t{y} - 2) / rh;
  // Visual rows: the rows not holding the page in their order, then the page's row.
  int32_t counter = -1, current = -1, clicked = -1;
  for (int32_t i = 0; i < FTabRows->ItemCount(); ++i) {
    if (tabinline(FPage, i)) {
      current = i;
      continue;
    }
    if (++counter == v) {
      clicked = i;
      break;
    }
  }
  if (clicked < 0) clicked = current < 0 ? 0 : current;
  const int32_t first = FirstOfRow(clicked);
  int32_t p = first;
  int64_t acc = 0;
  const int64_t at = int64_t{x} - 2;
  while (acc < at && p <= FNumPages) {
    acc += StoredTabWidth(p);
    ++p;
  }
  --p;
  // Left of the row's first tab is no tab at all.
  if (p >= first && p <= FNumPages && acc >= at) setPage(p);
}

void TZelvar::MouseDown(TMouseButton button, TShiftState shift, int32_t x, int32_t y) {
  if (FStyle == asTabbed && button == mbLeft && y < tabheight()) tabclick(x, y);
  TCustomControl::MouseDown(button, shift, x, y);
}

int32_t TZelvar::CMDesignHitTest(int32_t x, int32_t y, TShiftState keys) {
  int32_t answer = 0;
  if (FStyle == asTabbed && keys == TShiftState{ssLeft} && y < tabheight()) {
    tabclick(x, y);
    answer = 1;
  }
  TCustomControl::CMDesignHitTest(x, y, keys);
  return answer;
}

void TZelvar::WMSetFocus() {
  if (FStyle == asTabbed) RepaintTabs();
  TCustomControl::WMSetFocus();
}

void TZelvar::WMKillFocus() {
  if (FStyle == asTabbed) RepaintTabs();
  TCustomControl::WMKillFocus();
}

void TZelvar::SetTabSpaceX(int32_t v) {
  FTabSpaceX = ClampExtent(v);
  if (FStyle == asTabbed) {
    inittabsinline();
    Refresh();
  }
}

void TZelvar::SetTabSpaceY(int32_t v) {
  FTabSpaceY = ClampExtent(v);
  if (FStyle == asTabbed) {
    inittabsinline();
    Refresh();
  }
}

}  // namespace zelvar
