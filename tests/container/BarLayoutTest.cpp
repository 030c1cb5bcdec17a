#include "container/BarLayout.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <string>
#include <vector>

namespace zelvar {
namespace {

using ::testing::ElementsAre;

TBarButtons AllShown() {
  TBarButtons buttons;
  for (int32_t code = bcChange; code <= bcOK; ++code) buttons[code] = {true, true};
  return buttons;
}

TBarMetrics Bar(int32_t width) {
  TBarMetrics metrics;
  metrics.BarWidth = width;
  metrics.BarHeight = 300;
  metrics.ButtonWidth = 90;
  metrics.ButtonHeight = 25;
  return metrics;
}

std::vector<TBarPlace> Places(const std::vector<int32_t>& order, const TBarButtons& buttons,
                              const TBarMetrics& metrics) {
  std::vector<TBarPlace> places;
  WalkButtonBar(order, buttons, metrics, [&](const TBarPlace& p) { places.push_back(p); });
  return places;
}

// Each placed button as "code@left", in walk order; a right-group one marked with "r".
std::vector<std::string> Walk(const std::vector<int32_t>& order, const TBarButtons& buttons,
                              const TBarMetrics& metrics) {
  std::vector<std::string> out;
  for (const TBarPlace& p : Places(order, buttons, metrics))
    out.push_back(std::to_string(p.Code) + (p.RightGroup ? "r@" : "@") +
                  std::to_string(p.Bounds.Left));
  return out;
}

TEST(ButtonWalk, GroupsGrowFromBothEndsAndHiddenButtonsAreParked) {
  TBarButtons buttons = AllShown();
  buttons[bcHelp].Shown = false;
  const std::vector<int32_t> order{bcChange, bcHelp, bcMiddle, bcCancel, bcBack, bcNext};
  EXPECT_THAT(Walk(order, buttons, Bar(400)),
              ElementsAre("1@4", "2@20000", "5r@306", "4r@212", "3r@118"));
  const std::vector<TBarPlace> places = Places(order, buttons, Bar(400));
  EXPECT_EQ(places[0].Bounds, (TRect{4, 272, 94, 297}));
  EXPECT_EQ(places[1].Item, 1);
  EXPECT_EQ(places[1].Bounds, (TRect{kParkedLeft, 272, kParkedLeft + 90, 297}));
  EXPECT_EQ(places[2].Item, 5);
  // Without a Middle every item is in the left group.
  EXPECT_THAT(Walk({bcOK, bcCancel}, buttons, Bar(400)), ElementsAre("6@4", "3@98"));
  EXPECT_THAT(Walk({}, buttons, Bar(400)), ElementsAre());
}

TEST(ButtonWalk, SpacesCountButRepeatedAndUnknownCodesPlaceNothing) {
  const TBarButtons buttons = AllShown();
  EXPECT_THAT(Walk({bcSpace, bcChange, bcMiddle, bcOK, bcSpace, bcCancel}, buttons, Bar(400)),
              ElementsAre("1@12", "3r@306", "6r@204"));
  // A code listed twice keeps its first place; a later Middle is one more unknown code.
  EXPECT_THAT(Walk({bcOK, bcOK, bcMiddle, bcHelp, bcMiddle, bcOK, 0, 99, -5}, buttons, Bar(400)),
              ElementsAre("6@4", "2r@306"));
  // Codes whose button the mode does not have (Back and Next on the dialog page).
  TBarButtons dialog = buttons;
  dialog[bcBack] = dialog[bcNext] = {};
  EXPECT_THAT(Walk({bcBack, bcOK, bcMiddle, bcNext, bcCancel}, dialog, Bar(400)),
              ElementsAre("6@4", "3r@306"));
}

TEST(ButtonWalk, ABarTooNarrowLetsTheGroupsOverlap) {
  const TBarButtons buttons = AllShown();
  EXPECT_THAT(Walk({bcChange, bcMiddle, bcCancel, bcNext}, buttons, Bar(150)),
              ElementsAre("1@4", "5r@56", "3r@-38"));
  // Extreme sizes stop at a control's reach.
  TBarMetrics wide = Bar(INT32_MIN);
  wide.ButtonWidth = INT32_MAX;
  wide.BarHeight = INT32_MIN;
  const std::vector<TBarPlace> places = Places({bcChange, bcHelp, bcMiddle, bcOK}, buttons, wide);
  ASSERT_EQ(places.size(), 3u);
  for (const TBarPlace& p : places) {
    EXPECT_GE(p.Bounds.Left, -(1 << 28));
    EXPECT_LE(p.Bounds.Right, 1 << 28);
    EXPECT_GE(p.Bounds.Top, -(1 << 28));
  }
}

}  // namespace
// ---------------------------------------------------------------------------------------------
// Buttons that fit their captions

TBarButtons AllShownBut(int32_t hidden) {
  TBarButtons buttons = AllShown();
  buttons[hidden].Shown = false;
  return buttons;
}

TBarWidths Natural(std::initializer_list<std::pair<int32_t, int32_t>> widths) {
  TBarWidths natural{};
  for (auto [code, w] : widths) natural[code] = w;
  return natural;
}

const std::vector<int32_t> kWizardOrder{bcChange, bcHelp, bcMiddle, bcCancel, bcBack, bcNext};

TEST(BarFit, AGroupTakesItsWidestCaptionAndNeverLessThanButtonWidth) {
  const TBarWidths natural =
      Natural({{bcChange, 60}, {bcHelp, 300}, {bcCancel, 130}, {bcBack, 100}, {bcNext, 95}});
  // Help is hidden: its caption widens nothing.
  TBarFit fit = FitBarButtons(kWizardOrder, AllShownBut(bcHelp), natural, Bar(800), true);
  EXPECT_EQ(fit.Widths[bcChange], 90);
  EXPECT_EQ(fit.Widths[bcCancel], 130);
  EXPECT_EQ(fit.Widths[bcBack], 130);
  EXPECT_EQ(fit.Widths[bcNext], 130);
  EXPECT_EQ(fit.Needed, 2 * 4 + 4 * 4 + 90 + 3 * 130);
  EXPECT_FALSE(fit.Shrunk);
  // A space splits a group: Cancel stands alone, Back and Next share the wider of the two.
  const std::vector<int32_t> spaced{bcCancel, bcSpace, bcBack, bcNext};
  fit = FitBarButtons(spaced, AllShown(), natural, Bar(800), true);
  EXPECT_EQ(fit.Widths[bcCancel], 130);
  EXPECT_EQ(fit.Widths[bcBack], 100);
  EXPECT_EQ(fit.Widths[bcNext], 100);
  EXPECT_EQ(fit.Needed, 2 * 4 + 8 + 3 * 4 + 130 + 2 * 100);
}

TEST(BarFit, ANarrowBarTakesWidthFromTheWidestGroupsFirstAndNothingOverlaps) {
  const TBarWidths natural = Natural({{bcChange, 60}, {bcCancel, 130}, {bcBack, 100}});
  TBarMetrics metrics = Bar(400);
  // Room for 376 of button: Change keeps its 90, the three others get 95 each.
  TBarFit fit = FitBarButtons(kWizardOrder, AllShownBut(bcHelp), natural, metrics, true);
  EXPECT_TRUE(fit.Shrunk);
  EXPECT_EQ(fit.Widths[bcChange], 90);
  EXPECT_EQ(fit.Widths[bcCancel], 95);
  EXPECT_EQ(fit.Widths[bcNext], 95);
  // Without shrinking the widths are the natural ones and Needed tells the caller to grow.
  const TBarFit wide = FitBarButtons(kWizardOrder, AllShownBut(bcHelp), natural, metrics, false);
  EXPECT_EQ(wide.Widths[bcCancel], 130);
  EXPECT_GT(wide.Needed, metrics.BarWidth);

  metrics.Widths = fit.Widths;
  int32_t leftEnd = 0, rightStart = metrics.BarWidth;
  WalkButtonBar(kWizardOrder, AllShownBut(bcHelp), metrics, [&](const TBarPlace& p) {
    if (p.Bounds.Left == kParkedLeft) return;
    EXPECT_EQ(p.Bounds.Width(), fit.Widths[p.Code]);
    if (p.RightGroup)
      rightStart = std::min(rightStart, p.Bounds.Left);
    else
      leftEnd = std::max(leftEnd, p.Bounds.Right);
  });
  EXPECT_LE(leftEnd, rightStart);
  EXPECT_EQ(rightStart, 400 - 4 - 3 * 95 - 2 * 4);

  // Even a bar with no room at all for buttons gives widths, never negative ones.
  fit = FitBarButtons(kWizardOrder, AllShown(), natural, Bar(10), true);
  for (int32_t code = bcChange; code <= bcOK; ++code) EXPECT_GE(fit.Widths[code], 0);
}

}  // namespace zelvar
