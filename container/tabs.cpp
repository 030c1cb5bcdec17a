// The tab strip of the tabbed style: which pages share a row, how the rows and tabs are drawn
// (the current page's row lowest, next to the page), and which tab a press hits.

#include <algorithm>
#include <vector>

#include "container/ZelvarA.h"
#include "platform/controls/Accessibility.h"
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
  return PageName(real);
}

std::string TZelvar::PageName(int32_t page) const {
  // A caller's list may hold fewer names than pages.
  return page >= 0 && page < FPageNames->Count() ? FPageNames->Get(page) : std::string();
}

int32_t TZelvar::TabCaptionWidth(int32_t position) const {
  return TextCanvas().TextWidth(TabCaption(position));
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

// Rows are broken at the strip's inner width; a strip of several rows fills it. A press finds
// its row by the bands of the strip and counts one pixel to the left.
TTabStyle TZelvar::TabStyle() const {
  TTabStyle style;
  style.Left = 2;
  style.Top = 2;
  style.RowHeight = RowHeight();
  style.Padding = FTabSpaceX;
  style.Room = Width() - 4;
  style.PressShift = 1;
  style.RowBands = true;
  return style;
}

std::vector<int32_t> TZelvar::TabTextWidths(int32_t count) const {
  TCanvas& canvas = TextCanvas();
  std::vector<int32_t> widths;
  widths.reserve(static_cast<size_t>(std::max(count, 0)));
  for (int32_t p = 1; p <= count; ++p) widths.push_back(canvas.TextWidth(TabCaption(p)));
  return widths;
}

int32_t TZelvar::TabsInRows() const {
  int64_t sum = 0;
  for (int32_t n : FTabRows->Items()) sum += std::max(n, 0);
  return static_cast<int32_t>(std::min<int64_t>(sum, INT32_MAX));
}

TTabLayout TZelvar::TabLayout(const std::vector<int32_t>& textWidths) const {
  const int32_t selected = FPage > 0 ? FPage - 1 : -1;
  return PlaceTabs(textWidths, FTabRows->Items(), selected, TabStyle());
}

void TZelvar::inittabsinline() {
  if (!FTabRows) FTabRows = std::make_unique<TIntegerList>();
  if (FNumPages <= 0) return;
  const std::vector<int32_t> rows = BreakTabRows(TabTextWidths(FNumPages), TabStyle());
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
  const std::vector<int32_t> widths = TabTextWidths(TabsInRows());
  const TTabLayout layout = TabLayout(widths);
  for (int32_t row : layout.Order) painttabline(layout, row, widths);
}

void TZelvar::painttabline(const TTabLayout& layout, int32_t row,
                           const std::vector<int32_t>& textWidths) {
  const TTabRow& r = layout.Rows[static_cast<size_t>(row)];
  for (int32_t i = r.First; i < r.First + r.Count; ++i)
    if (i != layout.Selected) painttab(i + 1, layout.Tabs[i], textWidths[i], false);
  if (layout.Rows.size() == 1) {
    TCanvas& c = TextCanvas();
    PenAndBrush(c, kSilver);
    c.Rectangle(r.Bounds.Right, 0, r.Bounds.Right + 2, tabheight());
    c.Rectangle(0, 0, Width(), 2);
  }
  // The selected tab last: it overlaps its neighbours.
  if (row == layout.SelectedRow) {
    const auto i = static_cast<size_t>(layout.Selected);
    painttab(layout.Selected + 1, layout.Tabs[i], textWidths[i], true);
  }
}

void TZelvar::painttab(int32_t p, const TTabPlace& tab, int32_t textWidth, bool selected) {
  TCanvas& c = TextCanvas();
  c.Pen()->SetWidth(1);
  c.Pen()->SetStyle(psSolid);
  const std::string caption = TabCaption(p);
  const int32_t x = tab.Bounds.Left, y = tab.Bounds.Top;
  const int32_t w = tab.Width, tw = textWidth;
  const int32_t extra = ClampExtent(int64_t{w} - tw);
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
  // The width each tab was last drawn with, kept for whoever reads the page names.
  int32_t real = p;
  if (FWayListEnabled) real = p >= 1 && p <= FWayList->EntryCount() ? GetRealPage(p) : -1;
  if (real >= 0 && real < FPageNames->Count()) FPageNames->PutObject(real, w);
}

// ---------------------------------------------------------------------------------------------
// Presses and focus

void TZelvar::tabclick(int32_t x, int32_t y) {
  if (Busy()) return;
  if (!FTabRows || FTabRows->ItemCount() == 0) return;
  const TTabLayout layout = TabLayout(TabTextWidths(TabsInRows()));
  const int32_t tab = TabAt(layout, TabStyle(), x, y);
  // Rows not rebuilt since the page count fell may hold tabs past it: they select nothing.
  if (tab >= 0 && tab < FNumPages) setPage(tab + 1);
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

void TZelvar::DescribeAccessible(TAccessibleDescription& d) const {
  if (FStyle != asTabbed || !FTabRows || FTabRows->ItemCount() == 0) return;
  d.Role = arPageTabList;
  const TAccessibleStates shared =
      d.States * TAccessibleStates{astEnabled, astSensitive, astShowing, astVisible};
  const TTabLayout layout = TabLayout(TabTextWidths(TabsInRows()));
  auto* self = const_cast<TZelvar*>(this);
  // Rows not rebuilt since the page count fell may hold tabs past it: they are left out.
  const size_t count = std::min(layout.Tabs.size(), static_cast<size_t>(std::max(FNumPages, 0)));
  for (size_t i = 0; i < count; ++i) {
    const int32_t position = static_cast<int32_t>(i) + 1;
    TAccessiblePart tab{arPageTab, TabCaption(position), shared + TAccessibleStates{astSelectable},
                        layout.Tabs[i].Bounds, [self, position] { self->setPage(position); }};
    if (position == FPage) tab.States.Include(astSelected);
    d.Parts.push_back(std::move(tab));
  }
}

}  // namespace zelvar
