#include "platform/controls/ComCtrls.h"

#include <algorithm>

#include "platform/controls/Accessibility.h"
#include "platform/controls/TabPaint.h"
#include "platform/core/TypInfo.h"
#include "platform/graphics/Captions.h"
#include "platform/graphics/Frame3D.h"

namespace zelvar {

namespace {

// The caption as shown: "&&" is an ampersand, a single '&' only marks the accelerator.
constexpr int32_t kStripTop = 2;  // room above the tabs for the active one to rise into

}  // namespace

// =============================================================================================
// TTabSheet

const TClassInfo& TTabSheet::StaticClassInfo() {
  static const auto info =
      TClassBuilder<TTabSheet>("TTabSheet")
          .Publish("Caption")
          .Publish("PopupMenu")
          .Property("TabVisible", &TTabSheet::TabVisible, &TTabSheet::SetTabVisible)
          .Default(true)
          .Public("PageControl", &TTabSheet::PageControl, &TTabSheet::SetPageControl)
          .Public("PageIndex", &TTabSheet::PageIndex, &TTabSheet::SetPageIndex)
          .Build();
  return *info;
}

TTabSheet::TTabSheet(TComponent* owner) : TWinControl(owner) {
  IncludeStyle(csAcceptsControls);
  // Hidden until its page control makes it the active page.
  SetVisible(false);
}

TTabSheet::~TTabSheet() {
  if (FPageControl) FPageControl->RemovePage(this);
}

void TTabSheet::SetPageControl(TPageControl* v) {
  SetParent(v);
}

void TTabSheet::SetParent(TWinControl* parent) {
  if (parent == Parent()) return;
  TWinControl::SetParent(parent);
  if (FPageControl) FPageControl->RemovePage(this);
  if (auto* pages = dynamic_cast<TPageControl*>(parent)) pages->InsertPage(this);
}

int32_t TTabSheet::PageIndex() const {
  if (!FPageControl) return -1;
  const auto& pages = FPageControl->FPages;
  return static_cast<int32_t>(std::find(pages.begin(), pages.end(), this) - pages.begin());
}

void TTabSheet::SetPageIndex(int32_t v) {
  if (FPageControl) FPageControl->MovePage(this, v);
}

void TTabSheet::SetTabVisible(bool v) {
  if (v == FTabVisible) return;
  FTabVisible = v;
  if (FPageControl) FPageControl->Invalidate();
}

void TTabSheet::SetCaption(const std::string& v) {
  TWinControl::SetCaption(v);
  if (FPageControl) FPageControl->Invalidate();
}

// =============================================================================================
// TPageControl

const TClassInfo& TPageControl::StaticClassInfo() {
  static const auto info =
      TClassBuilder<TPageControl>("TPageControl")
          .Property("ActivePage", &TPageControl::ActivePage, &TPageControl::SetActivePage)
          .Publish("Align")
          .Publish("PopupMenu")
          .Property("TabHeight", &TPageControl::TabHeight, &TPageControl::SetTabHeight)
          .Default(0)
          .Publish("TabOrder")
          .Publish("TabStop")
          .Default(kDefaultTabStop)
          .Property("TabWidth", &TPageControl::TabWidth, &TPageControl::SetTabWidth)
          .Default(0)
          .Publish("Visible")
          .Property("OnChange", &TPageControl::OnChange, &TPageControl::OnChange)
          .Property("OnChanging", &TPageControl::OnChanging, &TPageControl::OnChanging)
          .Public("ActivePageIndex", &TPageControl::ActivePageIndex,
                  &TPageControl::SetActivePageIndex)
          .Public("PageCount", &TPageControl::PageCount)
          .Build();
  return *info;
}

TPageControl::TPageControl(TComponent* owner) : TCustomControl(owner) {
  SetTabStop(kDefaultTabStop);
  SetBounds(0, 0, 289, 193);
  // The strip's height follows the font: so does where the pages start.
  Font()->OnChange = [this] {
    Realign();
    Invalidate();
  };
}

TPageControl::~TPageControl() {
  // The sheets outlive this part of the object (the windowed base frees them): they must
  // not call back.
  for (TTabSheet* page : FPages) page->FPageControl = nullptr;
  FPages.clear();
  FActivePage = nullptr;
}

TTabSheet* TPageControl::Pages(int32_t index) const {
  if (index < 0 || index >= PageCount())
    throw EListError("List index out of bounds (" + std::to_string(index) + ")");
  return FPages[static_cast<size_t>(index)];
}

void TPageControl::InsertPage(TTabSheet* page) {
  FPages.push_back(page);
  page->FPageControl = this;
  // The first page shows at once; a reader sets the stored active page after the children.
  if (!FActivePage) FActivePage = page;
  ShowActive();
}

void TPageControl::RemovePage(TTabSheet* page) {
  auto it = std::find(FPages.begin(), FPages.end(), page);
  if (it == FPages.end()) return;
  size_t index = static_cast<size_t>(it - FPages.begin());
  FPages.erase(it);
  page->FPageControl = nullptr;
  if (FActivePage == page) {
    // The page that took its place, else the one before it.
    if (index < FPages.size())
      FActivePage = FPages[index];
    else
      FActivePage = FPages.empty() ? nullptr : FPages.back();
  }
  ShowActive();
}

void TPageControl::MovePage(TTabSheet* page, int32_t index) {
  auto it = std::find(FPages.begin(), FPages.end(), page);
  if (it == FPages.end()) return;
  FPages.erase(it);
  index = std::clamp(index, 0, PageCount());
  FPages.insert(FPages.begin() + index, page);
  Invalidate();
}

void TPageControl::SetActivePage(TTabSheet* page) {
  if (page && page->FPageControl != this)
    throw EInvalidOperation("Tab sheet " + page->Name() + " is not in page control " + Name());
  if (page == FActivePage) return;
  FActivePage = page;
  ShowActive();
}

int32_t TPageControl::ActivePageIndex() const {
  return FActivePage ? FActivePage->PageIndex() : -1;
}

void TPageControl::SetActivePageIndex(int32_t v) {
  SetActivePage(v == -1 ? nullptr : Pages(v));
}

void TPageControl::ShowActive() {
  for (TTabSheet* page : FPages) page->SetVisible(page == FActivePage);
  // While designing, hidden sheets still paint: the active one goes on top.
  if (FActivePage) SetChildOrder(FActivePage, ControlCount() - 1);
  Realign();
  Invalidate();
}

TTabSheet* TPageControl::FindNextPage(TTabSheet* current, bool goForward,
                                      bool checkTabVisible) const {
  if (FPages.empty()) return nullptr;
  auto n = static_cast<int32_t>(FPages.size());
  int32_t start = current ? current->PageIndex() : -1;
  if (start < 0 || start >= n) start = goForward ? n - 1 : 0;
  for (int32_t step = 1; step <= n; ++step) {
    int32_t i = ((start + (goForward ? step : -step)) % n + n) % n;
    TTabSheet* page = FPages[static_cast<size_t>(i)];
    if (!checkTabVisible || page->TabVisible()) return page;
  }
  return nullptr;
}

void TPageControl::SelectNextPage(bool goForward) {
  TTabSheet* next = FindNextPage(FActivePage, goForward, true);
  if (next) UserSelect(next);
}

void TPageControl::UserSelect(TTabSheet* page) {
  if (page == FActivePage) return;
  bool allow = true;
  if (OnChanging) OnChanging(this, allow);
  if (!allow) return;
  SetActivePage(page);
  if (OnChange) OnChange(this);
}

void TPageControl::SetTabHeight(int32_t v) {
  FTabHeight = std::clamp(v, 0, kMaxExtent);
  Realign();
  Invalidate();
}

void TPageControl::SetTabWidth(int32_t v) {
  FTabWidth = std::clamp(v, 0, kMaxExtent);
  Invalidate();
}

int32_t TPageControl::TabStripHeight() const {
  if (FTabHeight > 0) return FTabHeight;
  TCanvas measure(nullptr);
  measure.Font()->Assign(Font());
  return measure.TextHeight("Xy") + 6;
}

// Tabs keep their captions' widths plus a margin, or the fixed TabWidth, in a single row; the
// active tab stands out two pixels to the sides and above, and takes presses there first.
TTabStyle TPageControl::TabStyle() const {
  TTabStyle style;
  style.Left = 2;
  style.Top = kStripTop;
  style.RowHeight = TabStripHeight();
  style.Padding = FTabWidth > 0 ? 0 : 12;
  style.SelectedReach = {2, 2, 2, 0};
  return style;
}

TTabLayout TPageControl::TabLayout(const TTabStyle& style, std::vector<int32_t>& shown) const {
  TCanvas measure(nullptr);
  measure.Font()->Assign(Font());
  std::vector<int32_t> widths;
  int32_t selected = -1;
  for (int32_t i = 0; i < PageCount(); ++i) {
    const TTabSheet* page = FPages[static_cast<size_t>(i)];
    if (!page->TabVisible()) continue;
    if (page == FActivePage) selected = static_cast<int32_t>(shown.size());
    shown.push_back(i);
    widths.push_back(FTabWidth > 0 ? FTabWidth : CaptionWidth(measure, page->Caption()));
  }
  const int32_t row[] = {static_cast<int32_t>(widths.size())};
  return PlaceTabs(widths, row, selected, style);
}

TRect TPageControl::TabRect(int32_t pageIndex) const {
  if (!Pages(pageIndex)->TabVisible()) return {};
  std::vector<int32_t> shown;
  const TTabLayout layout = TabLayout(TabStyle(), shown);
  auto at = std::find(shown.begin(), shown.end(), pageIndex);
  return layout.Tabs[static_cast<size_t>(at - shown.begin())].Bounds;
}

int32_t TPageControl::IndexOfTabAt(int32_t x, int32_t y) const {
  const TTabStyle style = TabStyle();
  std::vector<int32_t> shown;
  const int32_t tab = TabAt(TabLayout(style, shown), style, x, y);
  return tab < 0 ? -1 : shown[static_cast<size_t>(tab)];
}

TRect TPageControl::DisplayRect() const {
  int32_t top = kStripTop + TabStripHeight() + 2;
  int32_t w = Width(), h = Height();
  TRect r{4, top, w - 4, h - 4};
  r.Right = std::max(r.Right, r.Left);
  r.Bottom = std::max(r.Bottom, r.Top);
  return r;
}

void TPageControl::AlignControls(TControl* changed, TRect& rect) {
  rect = DisplayRect();
  for (TTabSheet* page : FPages) page->SetBounds(rect.Left, rect.Top, rect.Width(), rect.Height());
  TCustomControl::AlignControls(changed, rect);
}

void TPageControl::GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root) {
  // Pages in page order, so a form file keeps it; then any other child controls.
  for (TTabSheet* page : std::vector<TTabSheet*>(FPages))
    if (page->Owner() == root) proc(page);
  std::vector<TControl*> others;
  for (int i = 0; i < ControlCount(); ++i) {
    TControl* c = Controls(i);
    auto* page = dynamic_cast<TTabSheet*>(c);
    if ((!page || page->FPageControl != this) && c->Owner() == root) others.push_back(c);
  }
  for (TControl* c : others) proc(c);
  if (root == this)
    for (int i = 0; i < GetComponentCount(); ++i) {
      TComponent* c = GetComponent(i);
      if (!c->HasParent() || !c->GetParentComponent()) proc(c);
    }
}

void TPageControl::MouseDown(TMouseButton button, TShiftState shift, int32_t x, int32_t y) {
  TCustomControl::MouseDown(button, shift, x, y);
  if (button != mbLeft) return;
  int32_t index = IndexOfTabAt(x, y);
  if (index < 0) return;
  if (!IsDesigning() && !Focused() && CanFocus() && GetParentForm() != this) SetFocus();
  UserSelect(FPages[static_cast<size_t>(index)]);
}

void TPageControl::KeyDown(uint16_t& key, TShiftState shift) {
  TCustomControl::KeyDown(key, shift);
  if (key == VK_TAB && shift.Contains(ssCtrl)) {
    SelectNextPage(!shift.Contains(ssShift));
  } else if (key == VK_LEFT || key == VK_RIGHT) {
    SelectNextPage(key == VK_RIGHT);
  } else {
    return;
  }
  key = 0;
}

int32_t TPageControl::CMDesignHitTest(int32_t x, int32_t y, TShiftState) {
  return IndexOfTabAt(x, y) >= 0 ? 1 : 0;
}

void TPageControl::Paint() {
  TCanvas& canvas = *Canvas();
  TRect client = GetClientRect();
  canvas.Brush()->SetStyle(bsSolid);
  canvas.Brush()->SetColor(Color());
  canvas.FillRect(client);
  int32_t stripBottom = kStripTop + TabStripHeight();
  // The page's raised frame.
  TRect frame{0, stripBottom, client.Right, client.Bottom};
  Frame3D(canvas, frame, clBtnHighlight, cl3DDkShadow);
  Frame3D(canvas, {frame.Left + 1, frame.Top + 1, frame.Right - 1, frame.Bottom - 1}, cl3DLight,
          clBtnShadow);

  auto drawTab = [&](TTabSheet* page, TRect r, bool active) {
    TRect text = PaintTab(canvas, r, active, StripAccel(page->Caption()).Text, Color(),
                          EnabledInTree() ? Font()->Color() : clGrayText);
    if (active && Focused())
      canvas.DrawFocusRect({text.Left - 2, text.Top - 1, text.Right + 2, text.Bottom + 1});
  };
  std::vector<int32_t> shown;
  const TTabLayout layout = TabLayout(TabStyle(), shown);
  for (size_t k = 0; k < layout.Tabs.size(); ++k) {
    const TRect& r = layout.Tabs[k].Bounds;
    if (static_cast<int32_t>(k) != layout.Selected && !r.Empty())
      drawTab(FPages[static_cast<size_t>(shown[k])], r, false);
  }
  // The active tab last: it overlaps its neighbours and opens into the page below.
  if (layout.Selected >= 0) {
    const TRect& r = layout.Tabs[static_cast<size_t>(layout.Selected)].Bounds;
    if (!r.Empty()) drawTab(FActivePage, r, true);
  }
}

// =============================================================================================
// TProgressBar

int32_t ProgressFill(int32_t position, int32_t min, int32_t max, int32_t length) {
  if (max <= min || length <= 0) return 0;
  // In 64 bits, the range alone may take all 32; with the length held to kMaxExtent (28) the
  // products below stay within 62.
  length = std::min(length, kMaxExtent);
  int64_t range = int64_t{max} - min;
  int64_t done = int64_t{std::clamp(position, min, max)} - min;
  return static_cast<int32_t>((2 * done * length + range) / (2 * range));
}

std::vector<TRect> ProgressBarRects(TRect area, int32_t filled, TProgressBarOrientation orientation,
                                    bool smooth, const TRect& visible) {
  bool vertical = orientation == pbVertical;
  int32_t length = std::max(0, vertical ? area.Height() : area.Width());
  int32_t thickness = vertical ? area.Width() : area.Height();
  filled = std::clamp(filled, 0, length);
  // The part from..to of the bar's length, counted from where it starts.
  auto span = [&](int32_t from, int32_t to) {
    return vertical ? TRect{area.Left, area.Bottom - to, area.Right, area.Bottom - from}
                    : TRect{area.Left + from, area.Top, area.Left + to, area.Bottom};
  };
  std::vector<TRect> rects;
  if (smooth) {
    if (filled > 0) rects.push_back(span(0, filled));
    return rects;
  }
  // The part of the length that shows, so a bar far larger than its form makes few blocks.
  int32_t showFrom = vertical ? area.Bottom - visible.Bottom : visible.Left - area.Left;
  int32_t showTo = vertical ? area.Bottom - visible.Top : visible.Right - area.Left;
  showFrom = std::clamp(showFrom, 0, length);
  showTo = std::clamp(showTo, showFrom, length);
  constexpr int32_t kGap = 2;
  int32_t block = std::max(1, thickness * 2 / 3);
  // The first block that ends after showFrom.
  int32_t first = showFrom < block ? 0 : (showFrom - block) / (block + kGap) + 1;
  for (int32_t at = first * (block + kGap); at < filled && at < showTo && block <= length - at;
       at += block + kGap)
    rects.push_back(span(at, at + block));
  return rects;
}

TRect MarqueeSpan(TRect area, uint64_t step, TProgressBarOrientation orientation) {
  const bool vertical = orientation == pbVertical;
  const int64_t length = std::max(0, vertical ? area.Height() : area.Width());
  const int64_t span = std::max<int64_t>(1, length / 4);
  constexpr int64_t kPixelsPerStep = 8;
  // The span enters from before the start and leaves past the end before it starts over.
  const int64_t cycle = length + span;
  const int64_t from = static_cast<int64_t>(step % static_cast<uint64_t>(cycle) * kPixelsPerStep %
                                            static_cast<uint64_t>(cycle)) -
                       span;
  const auto lo = static_cast<int32_t>(std::clamp<int64_t>(from, 0, length));
  const auto hi = static_cast<int32_t>(std::clamp<int64_t>(from + span, 0, length));
  return vertical ? TRect{area.Left, area.Bottom - hi, area.Right, area.Bottom - lo}
                  : TRect{area.Left + lo, area.Top, area.Left + hi, area.Bottom};
}

const TClassInfo& TProgressBar::StaticClassInfo() {
  static const auto info =
      TClassBuilder<TProgressBar>("TProgressBar")
          .Publish("Align", "Enabled")
          .Property("Min", &TProgressBar::Min, &TProgressBar::SetMin)
          .Default(kDefaultMin)
          .Property("Max", &TProgressBar::Max, &TProgressBar::SetMax)
          .Default(kDefaultMax)
          .Property("Orientation", &TProgressBar::Orientation, &TProgressBar::SetOrientation)
          .Default(pbHorizontal)
          .Property("Position", &TProgressBar::Position, &TProgressBar::SetPosition)
          .Default(kDefaultMin)
          .Property("Smooth", &TProgressBar::Smooth, &TProgressBar::SetSmooth)
          .Default(false)
          .Property("Step", &TProgressBar::Step, &TProgressBar::SetStep)
          .Default(kDefaultStep)
          .Property("Style", &TProgressBar::Style, &TProgressBar::SetStyle)
          .Default(pbstNormal)
          .Property("MarqueeInterval", &TProgressBar::MarqueeInterval,
                    &TProgressBar::SetMarqueeInterval)
          .Default(kDefaultMarqueeInterval)
          .Publish("TabOrder")
          .Publish("TabStop")
          .Default(false)
          .Publish("Visible")
          // Published so scripts can call them.
          .Method("StepIt", &TProgressBar::StepIt)
          .Method("StepBy", &TProgressBar::StepBy)
          .Build();
  return *info;
}

TProgressBar::TProgressBar(TComponent* owner) : TCustomControl(owner) {
  SetBounds(0, 0, 150, 16);
}

TProgressBar::~TProgressBar() {
  Timers().Cancel(FMarqueeId);
}

void TProgressBar::SetStyle(TProgressBarStyle v) {
  if (v == FStyle) return;
  FStyle = v;
  UpdateMarquee();
  Invalidate();
}

void TProgressBar::SetMarqueeInterval(uint32_t v) {
  if (v == FMarqueeInterval) return;
  FMarqueeInterval = v;
  UpdateMarquee();
}

void TProgressBar::SetVisible(bool v) {
  TCustomControl::SetVisible(v);
  UpdateMarquee();
}

void TProgressBar::UpdateMarquee() {
  // A hidden marquee costs nothing: its timer runs only while it can be seen.
  const bool run =
      FStyle == pbstMarquee && FMarqueeInterval > 0 && Visible() && !IsDesigning() && !IsLoading();
  if (run == (FMarqueeId != 0)) return;
  Timers().Cancel(FMarqueeId);
  FMarqueeId = 0;
  if (!run) return;
  FMarqueeStep = 0;
  FMarqueeId = Timers().Schedule(FMarqueeInterval, [this] {
    ++FMarqueeStep;
    Invalidate();
  });
}

void TProgressBar::SetRange(int32_t min, int32_t max) {
  // A form file may set Min past the Max it has yet to set; Loaded checks the pair.
  if (!IsReading() && min > max)
    throw EInvalidOperation(Name() + ": Min (" + std::to_string(min) + ") above Max (" +
                            std::to_string(max) + ")");
  FMin = min;
  FMax = max;
  if (!IsReading()) SetPosition(FPosition);
  Invalidate();
}

void TProgressBar::SetMin(int32_t v) {
  SetRange(v, FMax);
}

void TProgressBar::SetMax(int32_t v) {
  SetRange(FMin, v);
}

void TProgressBar::SetPosition(int32_t v) {
  if (!IsReading()) v = std::clamp(v, FMin, std::max(FMin, FMax));
  if (v == FPosition) return;
  FPosition = v;
  Invalidate();
}

void TProgressBar::SetSmooth(bool v) {
  if (v == FSmooth) return;
  FSmooth = v;
  Invalidate();
}

void TProgressBar::SetOrientation(TProgressBarOrientation v) {
  if (v == FOrientation) return;
  FOrientation = v;
  Invalidate();
}

void TProgressBar::StepIt() {
  int64_t next = int64_t{FPosition} + FStep;
  if (next > FMax)
    next = FMin;
  else if (next < FMin)
    next = FMax;
  SetPosition(static_cast<int32_t>(next));
}

void TProgressBar::StepBy(int32_t delta) {
  SetPosition(static_cast<int32_t>(std::clamp<int64_t>(int64_t{FPosition} + delta, FMin, FMax)));
}

void TProgressBar::Loaded() {
  TCustomControl::Loaded();
  if (FMin > FMax)
    throw EReadError(Name() + ": Min (" + std::to_string(FMin) + ") above Max (" +
                     std::to_string(FMax) + ")");
  SetPosition(FPosition);
  UpdateMarquee();
}

TRect TProgressBar::BarArea() const {
  TRect r = Shrink(GetClientRect(), 2);
  r.Right = std::max(r.Right, r.Left);
  r.Bottom = std::max(r.Bottom, r.Top);
  return r;
}

void TProgressBar::Paint() {
  TCanvas& c = *Canvas();
  c.Brush()->SetStyle(bsSolid);
  c.Brush()->SetColor(clBtnFace);
  c.FillRect(GetClientRect());
  Frame3D(c, GetClientRect(), clBtnShadow, clBtnHighlight);
  TRect area = BarArea();
  int32_t length = FOrientation == pbVertical ? area.Height() : area.Width();
  c.Brush()->SetColor(clHighlight);
  if (FStyle == pbstMarquee) {
    // The blocks of a full bar, as far as the marquee covers them.
    const TRect span = MarqueeSpan(area, FMarqueeStep, FOrientation);
    for (const TRect& r : ProgressBarRects(area, length, FOrientation, FSmooth, span))
      c.FillRect(Intersect(r, span));
    return;
  }
  int32_t filled = ProgressFill(FPosition, FMin, FMax, length);
  for (const TRect& r : ProgressBarRects(area, filled, FOrientation, FSmooth, c.ClipRect()))
    c.FillRect(r);
}

// =============================================================================================
// What a screen reader learns of them

void TPageControl::DescribeAccessible(TAccessibleDescription& d) const {
  d.Role = arPageTabList;
  const TAccessibleStates shared =
      d.States * TAccessibleStates{astEnabled, astSensitive, astShowing, astVisible};
  auto* self = const_cast<TPageControl*>(this);
  for (int32_t i = 0; i < PageCount(); ++i) {
    TTabSheet* page = FPages[static_cast<size_t>(i)];
    if (!page->TabVisible()) continue;
    TAccessiblePart tab{arPageTab, StripAccel(page->Caption()).Text,
                        shared + TAccessibleStates{astSelectable}, TabRect(i),
                        [self, page] { self->UserSelect(page); }};
    if (page == FActivePage) tab.States.Include(astSelected);
    d.Parts.push_back(std::move(tab));
  }
}

void TProgressBar::DescribeAccessible(TAccessibleDescription& d) const {
  d.Role = arProgressBar;
  d.Value = TAccessibleValue{FMin, FMax, FPosition};
}

}  // namespace zelvar
