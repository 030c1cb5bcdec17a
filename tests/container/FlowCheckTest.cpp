// The walk check on small graphs made up in a few lines: what it finds, and what it leaves.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "container/FlowCheck.h"

namespace zelvar::test {
namespace {

using ::testing::HasSubstr;
using ::testing::IsEmpty;

// Pages 1..n in a row, each showing a control, Next from the last finishing.
TFlowModel Row(int32_t n) {
  TFlowModel m;
  m.NumPages = n;
  m.PageNames.push_back("Dialog");
  for (int32_t p = 1; p <= n; ++p) {
    m.PageNames.push_back("P" + std::to_string(p));
    m.Positions.push_back({p, p < n ? p + 1 : kFlowFinish, {}, 1});
  }
  return m;
}

std::vector<std::string> Texts(const TFlowModel& m) {
  std::vector<std::string> out;
  for (const TFlowFinding& f : CheckFlow(m)) out.push_back(FlowFindingText("f.txt", m, f));
  return out;
}

TEST(FlowCheck, ADiamondIsWalkedBothWaysWithoutFindings) {
  // 1 -> (2 or 3 by the radio buttons) -> 4 -> finish
  TFlowModel m = Row(4);
  m.Positions[0].Jumps = {{"Left", 2, true, true}, {"Right", 3, true, false}};
  m.Positions[1].Next = 4;
  EXPECT_THAT(CheckFlow(m), IsEmpty());
  EXPECT_THAT(FlowDot(m), HasSubstr("p1 -> p3 [label=\"Right\"]"));
  EXPECT_THAT(FlowDot(m),
              ::testing::Not(HasSubstr("p1 -> p2 [label=\"Next\"]")));  // a radio is checked
}

TEST(FlowCheck, ALoopNeedsAWayOut) {
  TFlowModel m = Row(3);
  m.Positions[2].Next = 2;                                      // 3 -> 2: a loop
  m.Positions[1].Jumps = {{"Out", kFlowFinish, false, false}};  // a jump bit button leaves it
  EXPECT_THAT(CheckFlow(m), IsEmpty());
  m.Positions[1].Jumps.clear();
  EXPECT_THAT(Texts(m),
              ::testing::ElementsAre(
                  "f.txt: page 1 ('P1'): error: the page is a dead end: no walk from it reaches "
                  "the finish",
                  "f.txt: page 2 ('P2'): error: the page is a dead end: no walk from it reaches "
                  "the finish",
                  "f.txt: page 3 ('P3'): error: the page is a dead end: no walk from it reaches "
                  "the finish"));
}

TEST(FlowCheck, APageNoWalkReachesIsAnError) {
  TFlowModel m = Row(3);
  m.Positions[0].Jumps = {{"Skip", 3, true, true}};
  std::vector<std::string> texts = Texts(m);
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0],
            "f.txt: page 2 ('P2'): error: the page is reached by no walk from the start page");
  m.StartPage = 9;
  EXPECT_THAT(
      Texts(m),
      ::testing::Contains(HasSubstr("the start page 9 is not a position of the wizard (1 to 3)")));
}

TEST(FlowCheck, ARelativeJumpOffTheEndAndOtherBadTargets) {
  TFlowModel m = Row(3);
  m.Positions[2].Jumps = {{"Further", 3 + 2, false, false}};  // relative +2 from page 3
  std::vector<std::string> texts = Texts(m);
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0],
            "f.txt: page 3 ('P3'): error: the jump target 5 of Further lies outside 0..3");
  // The way list: a position with no entry.
  TFlowModel w = Row(2);
  w.WayList = true;
  w.Positions[1].Next = 3;
  EXPECT_THAT(Texts(w), ::testing::Contains(HasSubstr(
                            "way-list position 2 goes on to position 3, which has no entry")));
}

TEST(FlowCheck, TheGraphShowsBackPassingOverSkippedPages) {
  TFlowModel m = Row(3);
  m.SkipOnBack = {2};  // a "please wait" page
  std::string dot = FlowDot(m);
  EXPECT_THAT(dot, HasSubstr("p1 -> p2 [label=\"Next\"];"));
  EXPECT_THAT(dot, HasSubstr("p3 -> p1 [label=\"Back-skips\", style=dashed];"));
  EXPECT_THAT(dot, HasSubstr("p2 [label=\"P2\"];"));
}

TEST(FlowCheck, WarningsAndMissingPlaces) {
  TFlowModel m = Row(2);
  m.Positions[1].ShownControls = 0;
  m.Positions[0].Jumps = {{"A", 2, true, true}, {"B", kFlowFinish, true, true}};
  m.MissingPlaces = {{"Box1", 2}};
  std::vector<TFlowFinding> f = CheckFlow(m);
  ASSERT_EQ(f.size(), 3u);
  EXPECT_FALSE(f[0].Error);
  EXPECT_THAT(f[0].Message, HasSubstr("Next follows A, the first of them"));
  EXPECT_FALSE(f[1].Error);
  EXPECT_EQ(f[1].Message, "the page shows no control");
  EXPECT_TRUE(f[2].Error);
  EXPECT_EQ(f[2].Message, "Box1 holds no place for page 2");
}

}  // namespace
}  // namespace zelvar::test
