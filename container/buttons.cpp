// The button bar: the nine button descriptions and the layout pass that puts them onto the
// six buttons, per mode, from the two button orders. The pass writes a property only when it
// differs, so running it with nothing changed costs no repaint and no tab-order shuffle.

#include <algorithm>
#include <vector>

#include "container/BarLayout.h"
#include "container/ZelvarA.h"
#include "platform/core/TypInfo.h"
#include "platform/graphics/Captions.h"

namespace zelvar {

// =============================================================================================
// TButtonData

const TClassInfo& TButtonData::StaticClassInfo() {
  using B = TButtonData;
  static const auto info = TClassBuilder<B>("TButtonData")
                               .Property("Text", &B::Text, &B::SetText)
                               .Property("Layout", &B::Layout, &B::SetLayout)
                               .Property("Glyph", &B::GetGlyph, &B::SetGlyph)
                               .Property("NumGlyphs", &B::GetNumGlyphs, &B::SetNumGlyphs)
                               .Default(1)
                               .Property("Enabled", &B::Enabled, &B::SetEnabled)
                               .Property("Show", &B::Show, &B::SetShow)
                               .Build();
  return *info;
}

TButtonData::TButtonData(TZelvar* owner) : FOwner(owner), FGlyph(std::make_unique<TBitmap>()) {}

TButtonData::~TButtonData() = default;

TPersistent* TButtonData::GetOwner() const {
  return FOwner;
}

void TButtonData::Changed() {
  if (FOwner) FOwner->ShowButtons();
}

void TButtonData::SetText(const std::string& v) {
  FText = v;
  Changed();
}

void TButtonData::SetLayout(TButtonLayout v) {
  FLayout = v;
  Changed();
}

void TButtonData::SetGlyph(TBitmap* v) {
  FGlyph->Assign(v);
  if (v && v->Height() > 0 && v->Width() % v->Height() == 0) {
    int32_t n = v->Width() / v->Height();
    SetNumGlyphs(static_cast<uint8_t>(n > 4 ? 1 : n));
  }
  if (FOwner) {
    FOwner->ClearGlyphTag();
    FOwner->ShowButtons();
  }
}

void TButtonData::SetNumGlyphs(uint8_t v) {
  v = std::min<uint8_t>(v, 4);
  if (v != FNumGlyphs) FNumGlyphs = v;
  Changed();
}

void TButtonData::SetEnabled(bool v) {
  FEnabled = v;
  Changed();
}

void TButtonData::SetShow(bool v) {
  FShow = v;
  Changed();
}

bool TButtonData::WriteToButton(TBitBtn& button, int32_t top, int32_t left, bool showGlyph,
                                int32_t& tab, bool held, const std::string* shownText) {
  if (button.Top() != top) button.SetTop(top);
  int32_t x = FShow ? left : kParkedLeft;
  if (button.Left() != x) button.SetLeft(x);
  const std::string& text = shownText ? *shownText : FText;
  if (button.Caption() != text) button.SetCaption(text);
  bool enabled = FEnabled && FShow && !held && !(FOwner && FOwner->HeldWhileBusy(button));
  if (button.Enabled() != enabled) button.SetEnabled(enabled);
  if (button.Layout() != FLayout) button.SetLayout(FLayout);
  if (showGlyph) {
    if (button.Tag() != FMark) {
      button.SetGlyph(FGlyph.get());
      button.SetTag(FMark);
    }
    if (button.NumGlyphs() != FNumGlyphs) button.SetNumGlyphs(FNumGlyphs);
  } else {
    if (!button.Glyph()->Empty()) button.SetGlyph(nullptr);
    if (button.Tag() != 0) button.SetTag(0);
  }
  // A negative tab leaves the tab order alone: the caller sees to it.
  if (tab < 0) return FShow;
  // The toolkit clamps a tab position to the last one; asking for what the button already has
  // would move nothing, so it is not asked.
  if (TWinControl* parent = button.Parent()) {
    int32_t wanted = std::clamp(tab, 0, std::max(parent->TabCount() - 1, 0));
    if (button.TabOrder() != wanted) button.SetTabOrder(wanted);
  }
  tab = button.TabOrder();
  return FShow;
}

const TClassInfo& TDesignButton::StaticClassInfo() {
  static const auto info = TClassBuilder<TDesignButton>("TDesignButton").Build();
  return *info;
}

// =============================================================================================
// Buttons that fit their captions

TBarFit FitBarButtons(std::span<const int32_t> order, const TBarButtons& buttons,
                      const TBarWidths& natural, const TBarMetrics& metrics, bool shrink) {
  TBarFit fit;
  fit.Widths.fill(std::max(metrics.ButtonWidth, 0));
  // The codes the walk will show, by group, each once as the walk places it.
  std::vector<std::vector<int32_t>> groups(1);
  bool seen[bcOK + 1] = {};
  int64_t fixed = 2 * int64_t{metrics.Margin};
  for (int32_t code : order) {
    if (code == bcSpace || code == bcMiddle) {
      if (code == bcSpace) fixed += metrics.Space;
      if (!groups.back().empty()) groups.emplace_back();
      continue;
    }
    if (code < bcChange || code > bcOK || !buttons[code].Exists || seen[code]) continue;
    seen[code] = true;
    if (!buttons[code].Shown) continue;
    groups.back().push_back(code);
    fixed += metrics.Gap;
  }
  std::vector<int32_t> groupWidth;
  int64_t total = 0;
  for (const auto& group : groups) {
    int32_t w = std::max(metrics.ButtonWidth, 0);
    for (int32_t code : group) w = std::max(w, natural[code]);
    groupWidth.push_back(w);
    total += int64_t{w} * static_cast<int64_t>(group.size());
  }
  fit.Needed = fixed + total;
  int32_t cap = kMaxExtent;
  if (shrink && fit.Needed > metrics.BarWidth) {
    // The largest cap under which the row fits: the sum shrinks as the cap does.
    auto sumAt = [&](int64_t c) {
      int64_t sum = fixed;
      for (size_t g = 0; g < groups.size(); ++g)
        sum += std::min<int64_t>(groupWidth[g], c) * static_cast<int64_t>(groups[g].size());
      return sum;
    };
    int64_t lo = 0, hi = *std::max_element(groupWidth.begin(), groupWidth.end());
    while (lo < hi) {
      const int64_t mid = (lo + hi + 1) / 2;
      if (sumAt(mid) <= metrics.BarWidth)
        lo = mid;
      else
        hi = mid - 1;
    }
    cap = static_cast<int32_t>(lo);
    fit.Shrunk = true;
  }
  for (size_t g = 0; g < groups.size(); ++g)
    for (int32_t code : groups[g]) fit.Widths[code] = std::min(groupWidth[g], cap);
  return fit;
}

// =============================================================================================
// The layout pass

void TZelvar::ShowButtons() {
  // The bar's height and the style decide where the pages end.
  FollowClientRect();
  if (FStyle != asWizard) {
    setnobuttons();
    return;
  }
  if (!FButtonsReady) return;
  if (FPage == 0)
    setdialogbuttons();
  else
    setWizardbuttons();
}

namespace {

void Park(TBitBtn* button) {
  if (!button) return;
  if (button->Enabled()) button->SetEnabled(false);
  if (button->Left() != kParkedLeft) button->SetLeft(kParkedLeft);
}

}  // namespace

void TZelvar::setnobuttons() {
  for (TBitBtn* b : {static_cast<TBitBtn*>(FNextButton), static_cast<TBitBtn*>(FBackButton),
                     static_cast<TBitBtn*>(FChangeButton), static_cast<TBitBtn*>(FHelpButton),
                     FCancelButton, FOKButton})
    Park(b);
}

bool TZelvar::OnLastPage() const {
  if (FWayListEnabled) {
    int32_t index = FPage - 1;
    return index >= 0 && index < FWayList->EntryCount() &&
           FWayList->Entry(index).GotoPage == gpFinish;
  }
  return FPage == FNumPages;
}

void TZelvar::setWizardbuttons() {
  bool last = OnLastPage();
  LayOutButtons(*FBLWizard, true, last);
  bool okFinishes = FBtnWizardOK->Show() && last;
  if (FNextButton) FNextButton->SetDefault(!okFinishes);
  if (FOKButton) FOKButton->SetDefault(okFinishes);
}

void TZelvar::setdialogbuttons() {
  Park(FNextButton);
  Park(FBackButton);
  LayOutButtons(*FBLDialog, false, false);
  if (FNextButton) FNextButton->SetDefault(false);
  if (FOKButton) FOKButton->SetDefault(true);
}

TBitBtn* TZelvar::ButtonFor(int32_t code, bool wizard, bool lastPage, TButtonData*& data) const {
  switch (code) {
    case bcChange:
      data = wizard ? FBtnChangeDialog.get() : FBtnChangeWizard.get();
      return FChangeButton;
    case bcHelp:
      data = FBtnHelp.get();
      return FHelpButton;
    case bcCancel:
      data = FBtnCancel.get();
      return FCancelButton;
    case bcBack:
      data = FBtnBack.get();
      return wizard ? FBackButton : nullptr;
    case bcNext:
      data = lastPage && !FBtnWizardOK->Show() ? FBtnFinish.get() : FBtnNext.get();
      return wizard ? FNextButton : nullptr;
    case bcOK:
      if (!wizard)
        data = FBtnDialogOK.get();
      else
        data = lastPage && FBtnWizardOK->Show() ? FBtnFinish.get() : FBtnWizardOK.get();
      return FOKButton;
    default:
      return nullptr;
  }
}

namespace {

// Room beside a caption on either side: the frame and a little air, as classic wizards leave.
constexpr int32_t kCaptionPad = 10;

int32_t GlyphRoom(const TButtonData& data, bool showGlyph) {
  const TBitmap* glyph = data.GetGlyph();
  if (!showGlyph || !glyph || glyph->Empty()) return 0;
  // Beside the caption, the spacing TBitBtn leaves between them.
  return glyph->Width() / std::max<int32_t>(data.GetNumGlyphs(), 1) + 4;
}

}  // namespace

int32_t TZelvar::NaturalButtonWidth(const TButtonData& data) const {
  return ClampExtent(int64_t{CaptionWidth(TextCanvas(), data.Text())} +
                     GlyphRoom(data, FShowGlyph) + 2 * kCaptionPad);
}

bool TZelvar::FitButtons(std::span<const int32_t> order, const TBarButtons& bar, bool wizard,
                         TButtonData* const (&data)[bcOK + 1], TBarMetrics& metrics) {
  TBarWidths natural{};
  for (int32_t code = bcChange; code <= bcOK; ++code)
    if (data[code]) natural[code] = NaturalButtonWidth(*data[code]);
  TBarFit fit = FitBarButtons(order, bar, natural, metrics, false);
  if (fit.Needed > metrics.BarWidth && !wizard && !IsDesigning() && !IsLoading()) {
    // A dialog takes the room its buttons need: the resize lays the bar out again.
    TForm* form = OwnerForm();
    const int32_t before = Width();
    if (form && Align() == alClient)
      myresize(ClampExtent(int64_t{form->Width()} + fit.Needed - metrics.BarWidth), form->Height());
    if (Width() != before) return false;
  }
  if (fit.Needed > metrics.BarWidth) fit = FitBarButtons(order, bar, natural, metrics, true);
  metrics.Widths = fit.Widths;
  return true;
}

void TZelvar::LayOutButtons(const TIntegerList& order, bool wizard, bool lastPage) {
  const std::vector<int32_t>& codes = order.Items();
  const size_t n = std::min<size_t>(codes.size(), static_cast<size_t>(std::max(order.Count(), 0)));
  TBitBtn* buttons[bcOK + 1] = {};
  TButtonData* data[bcOK + 1] = {};
  TBarButtons bar;
  for (int32_t code = bcChange; code <= bcOK; ++code) {
    buttons[code] = ButtonFor(code, wizard, lastPage, data[code]);
    bar[code] = {buttons[code] != nullptr, data[code] && data[code]->Show()};
  }
  TBarMetrics metrics;
  metrics.BarWidth = Width();
  metrics.BarHeight = Height();
  metrics.ButtonWidth = FButtonWidth;
  metrics.ButtonHeight = FChangeButton ? FChangeButton->Height() : FButtonHeight;
  if (FButtonAutoSize && !FitButtons({codes.data(), n}, bar, wizard, data, metrics)) return;

  // Each tab position asked for is clamped to the last one, so asking as the walk goes would
  // move buttons on every pass, even when the walk ends with the order it started from. The
  // positions of the bar's own buttons are asked for after the walk, and only when they would
  // change the order.
  struct TTabAsk {
    TBitBtn* Button;
    int32_t Tab;
  };
  TTabAsk asks[bcOK + 1];
  size_t askCount = 0;
  const int32_t lastTab = std::max(TabCount() - 1, 0);

  // The tab counter asks for 10000 at the left group's first item and 15000 at the right
  // group's last, and moves on by one with every item the walk passes, from the position the
  // button before got.
  int32_t tab = 10000;
  int64_t item = 0;  // the item the counter stands at
  bool right = false;
  bool written[bcOK + 1] = {};
  int32_t freeLeft = 0, freeRight = metrics.BarWidth;
  WalkButtonBar({codes.data(), n}, bar, metrics, [&](const TBarPlace& place) {
    if (place.RightGroup && !right) {
      right = true;
      tab = 15000;
      item = static_cast<int64_t>(n) - 1;
    }
    tab = ClampExtent(tab + (place.Item - item));
    item = place.Item;
    written[place.Code] = true;
    if (place.Bounds.Left != kParkedLeft) {
      if (place.RightGroup)
        freeRight = std::min(freeRight, place.Bounds.Left);
      else
        freeLeft = std::max(freeLeft, place.Bounds.Right);
    }
    TBitBtn& button = *buttons[place.Code];
    TButtonData& d = *data[place.Code];
    // The buttons that go on (Next, Finish, OK) wait for the page's input.
    const bool held = (place.Code == bcNext || place.Code == bcOK) && !PageComplete();
    std::string shortened;
    const std::string* shown = nullptr;
    if (FButtonAutoSize) {
      const int32_t width = place.Bounds.Width();
      if (button.Width() != width) button.SetWidth(width);
      // A caption wider than its button ends in an ellipsis rather than running over it.
      const int32_t room = width - GlyphRoom(d, FShowGlyph) - 2 * kCaptionPad;
      if (CaptionWidth(TextCanvas(), d.Text()) > room) {
        shortened = EllipsizeCaption(TextCanvas(), d.Text(), room);
        shown = &shortened;
      }
    }
    if (button.Parent() != this) {
      d.WriteToButton(button, place.Bounds.Top, place.Bounds.Left, FShowGlyph, tab, held, shown);
      return;
    }
    // The position the button would get, as the walk goes on from it.
    tab = std::clamp(tab, 0, lastTab);
    asks[askCount++] = {&button, tab};
    int32_t keep = -1;
    d.WriteToButton(button, place.Bounds.Top, place.Bounds.Left, FShowGlyph, keep, held, shown);
  });

  // The moves played on the asked buttons' positions alone: a move shifts those in between,
  // and the other controls keep their order, so when every asked button ends where it stands
  // the list is unchanged.
  int32_t stands[bcOK + 1], at[bcOK + 1];
  for (size_t i = 0; i < askCount; ++i) stands[i] = at[i] = asks[i].Button->TabOrder();
  for (size_t i = 0; i < askCount; ++i) {
    const int32_t from = at[i], to = asks[i].Tab;
    for (size_t k = 0; k < askCount; ++k) {
      if (from < to && at[k] > from && at[k] <= to) --at[k];
      if (from > to && at[k] >= to && at[k] < from) ++at[k];
    }
    at[i] = to;
  }
  if (!std::equal(at, at + askCount, stands))
    for (size_t i = 0; i < askCount; ++i)
      if (asks[i].Button->TabOrder() != asks[i].Tab) asks[i].Button->SetTabOrder(asks[i].Tab);
  FBarFreeLeft = freeLeft;
  FBarFreeRight = freeRight;
  PlaceBusyBar();
  // A button the order leaves out has no place in this mode.
  for (int32_t code = bcChange; code <= bcOK; ++code)
    if (buttons[code] && !written[code]) Park(buttons[code]);
}

void TZelvar::ClearGlyphTag() {
  for (TBitBtn* b : {static_cast<TBitBtn*>(FOKButton), static_cast<TBitBtn*>(FNextButton),
                     static_cast<TBitBtn*>(FBackButton), static_cast<TBitBtn*>(FHelpButton),
                     FCancelButton, static_cast<TBitBtn*>(FChangeButton)})
    if (b) b->SetTag(0);
}

// =============================================================================================
// Setters of the bar

namespace {

template <class F>
void ForEachButton(std::initializer_list<TBitBtn*> buttons, F f) {
  for (TBitBtn* b : buttons)
    if (b) f(*b);
}

}  // namespace

void TZelvar::SetButtonWidth(int32_t w) {
  // A button is no wider than any control: the bar's sums stay in range.
  w = std::clamp(w, 0, kMaxExtent);
  FButtonWidth = w;
  ForEachButton({FOKButton, FNextButton, FBackButton, FHelpButton, FCancelButton, FChangeButton},
                [w](TBitBtn& b) { b.SetWidth(w); });
  ShowButtons();
}

void TZelvar::SetButtonHeight(int32_t h) {
  h = std::clamp(h, 0, kMaxExtent);
  FButtonHeight = h;
  ForEachButton({FOKButton, FNextButton, FBackButton, FHelpButton, FCancelButton, FChangeButton},
                [h](TBitBtn& b) { b.SetHeight(h); });
  ShowButtons();
  Refresh();
}

void TZelvar::SetButtonStyle(TButtonStyle s) {
  FButtonStyle = s;
  ForEachButton({FOKButton, FNextButton, FBackButton, FHelpButton, FCancelButton, FChangeButton},
                [s](TBitBtn& b) { b.SetStyle(s); });
  ShowButtons();
}

void TZelvar::SetButtonAutoSize(bool v) {
  if (v == FButtonAutoSize) return;
  FButtonAutoSize = v;
  // Back to the bar's one width: the layout pass writes widths only while fitting captions.
  if (!v) SetButtonWidth(FButtonWidth);
  ShowButtons();
}

void TZelvar::setshowglyph(bool v) {
  FShowGlyph = v;
  ShowButtons();
}

}  // namespace zelvar
