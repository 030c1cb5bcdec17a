// The button bar: the nine button descriptions and the layout pass that puts them onto the
// six buttons, per mode, from the two button orders. The pass writes a property only when it
// differs, so running it with nothing changed costs no repaint and no tab-order shuffle.

#include <algorithm>

#include "container/BarLayout.h"
#include "container/ZelvarA.h"
#include "platform/core/TypInfo.h"

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
                                int32_t& tab, bool held) {
  if (button.Top() != top) button.SetTop(top);
  int32_t x = FShow ? left : kParkedLeft;
  if (button.Left() != x) button.SetLeft(x);
  if (button.Caption() != FText) button.SetCaption(FText);
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
    if (button.Parent() != this) {
      d.WriteToButton(button, place.Bounds.Top, place.Bounds.Left, FShowGlyph, tab, held);
      return;
    }
    // The position the button would get, as the walk goes on from it.
    tab = std::clamp(tab, 0, lastTab);
    asks[askCount++] = {&button, tab};
    int32_t keep = -1;
    d.WriteToButton(button, place.Bounds.Top, place.Bounds.Left, FShowGlyph, keep, held);
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

void TZelvar::setshowglyph(bool v) {
  FShowGlyph = v;
  ShowButtons();
}

}  // namespace zelvar
