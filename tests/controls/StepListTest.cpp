// The step list: its steps and captions, which are visited and which lie ahead, going back by
// click and keyboard under the history rules, its place on every page, and bad input.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "controls/ZelvarC.h"
#include "platform/controls/Edit.h"
#include "platform/streaming/FormFiles.h"
#include "tests/TestSupport.h"
#include "tests/container/ContainerSupport.h"

namespace zelvar::test {
namespace {

using ::testing::HasSubstr;

class StepList : public ContainerTest {
 protected:
  void SetUp() override {
    ContainerTest::SetUp();
    Z->PageNames()->Clear();
    for (const char* name : {"Dialog", "Welcome", "Folder", "Install"}) Z->PageNames()->Add(name);
    Z->setPage(1);
    S = New<TAStepList>(Form.get());
    S->SetName("Steps");
    S->SetParent(Z);
    S->SetBounds(0, 0, 150, 200);
  }
  void Click(int32_t step) {
    const int32_t y = (step - 1) * S->ItemHeight() + S->ItemHeight() / 2;
    static_cast<TControl*>(S)->MouseDown(mbLeft, {}, 20, y);
  }
  void Key(uint16_t key) {
    uint16_t k = key;
    S->KeyDown(k, {});
  }

  TAStepList* S = nullptr;
};

TEST_F(StepList, ListsThePagesByNameOrTheWayListsPositions) {
  EXPECT_EQ(S->StepCount(), 3);
  EXPECT_EQ(S->StepCaption(1), "Welcome");
  EXPECT_EQ(S->StepCaption(3), "Install");
  Z->PageNames()->Delete(3);
  EXPECT_EQ(S->StepCaption(3), "Page 3");
  // With the way list, positions in its order, each named by the page it shows.
  Z->WayList()->AddPage({3, gpNext});
  Z->WayList()->AddPage({1, gpFinish});
  Z->SetWayListEnabled(true);
  EXPECT_EQ(S->StepCount(), 2);
  EXPECT_EQ(S->StepCaption(1), "Page 3");
  EXPECT_EQ(S->StepCaption(2), "Welcome");
  EXPECT_THAT(MessageOf<EListError>([&] { S->StepCaption(3); }), HasSubstr("(3)"));
  EXPECT_THAT(MessageOf<EListError>([&] { S->StepCaption(0); }), HasSubstr("(0)"));
  EXPECT_THAT(MessageOf<EInvalidOperation>([&] { S->SetItemHeight(0); }), HasSubstr("ItemHeight"));
  EXPECT_EQ(S->ItemHeight(), TAStepList::kDefaultItemHeight);
}

TEST_F(StepList, SitsOnEveryWizardPageAtOnePlace) {
  S->SetLeft(12);
  for (int32_t page : {2, 3}) {
    Z->Nextclick(nullptr);
    EXPECT_TRUE(S->Visible()) << page;
    EXPECT_EQ(S->Left(), 12) << page;
  }
  Z->SetNumPages(4);
  Z->Nextclick(nullptr);
  EXPECT_EQ(Z->Page(), 4);
  EXPECT_TRUE(S->Visible());
  EXPECT_EQ(S->Left(), 12);
  Z->Changeclick(nullptr);
  EXPECT_FALSE(S->Visible());
}

TEST_F(StepList, AClickGoesBackToAVisitedStepOnly) {
  Z->Nextclick(nullptr);
  Z->Nextclick(nullptr);
  EXPECT_TRUE(S->StepVisited(1));
  EXPECT_TRUE(S->StepVisited(2));
  EXPECT_FALSE(S->StepVisited(3));  // the current one
  Click(2);
  EXPECT_EQ(Z->Page(), 2);
  EXPECT_EQ(Z->History().Count(), 1);
  // Forward to a step never reached from here is no click's business.
  EXPECT_FALSE(S->StepVisited(3));
  Click(3);
  EXPECT_EQ(Z->Page(), 2);
  Click(1);
  EXPECT_EQ(Z->Page(), 1);
  EXPECT_EQ(Z->History().Count(), 0);
  // Below the last step nothing is hit.
  EXPECT_EQ(S->StepAt(3 * S->ItemHeight()), 0);
  EXPECT_EQ(S->StepAt(-1), 0);
}

TEST_F(StepList, SkippedPagesAndCommitsAreNotGoneBackTo) {
  Z->SetNumPages(4);
  Z->SkipOnBack()->Add(2);
  Z->CommitPages()->Add(3);
  Z->Nextclick(nullptr);
  Z->Nextclick(nullptr);
  EXPECT_TRUE(S->StepVisited(1));
  EXPECT_FALSE(S->StepVisited(2));
  EXPECT_FALSE(S->GoToStep(2));
  EXPECT_EQ(Z->Page(), 3);
  Z->Nextclick(nullptr);  // leaving the commit page clears the history
  for (int32_t step : {1, 2, 3}) EXPECT_FALSE(S->StepVisited(step)) << step;
  Click(1);
  EXPECT_EQ(Z->Page(), 4);
  // Back has nowhere to go either.
  Z->Backclick(nullptr);
  EXPECT_EQ(Z->Page(), 4);
}

TEST_F(StepList, AVetoKeepsThePageAndTheHistory) {
  Z->Nextclick(nullptr);
  Z->Nextclick(nullptr);
  Z->OnCanPageChange = TCanPageChangeEvent([](TZelvar*, int32_t, int32_t&) { return false; });
  EXPECT_TRUE(S->GoToStep(1));
  EXPECT_EQ(Z->Page(), 3);
  EXPECT_EQ(Z->History().Count(), 2);
  EXPECT_TRUE(S->StepVisited(1));
  EXPECT_THAT(MessageOf<EListError>([&] { Z->BackTo(2); }), HasSubstr("(2)"));
}

TEST_F(StepList, StepsNoWalkFromHereReachesAreGreyed) {
  // Position 2 finishes; 3 and 4 lead on from each other but nothing leads to them.
  Z->SetNumPages(4);
  for (TPageRec rec :
       {TPageRec{1, gpNext}, TPageRec{2, gpFinish}, TPageRec{3, gpNext}, TPageRec{4, gpFinish}})
    Z->WayList()->AddPage(rec);
  Z->SetWayListEnabled(true);
  Z->setPage(1);
  EXPECT_TRUE(S->StepReachable(1));
  EXPECT_TRUE(S->StepReachable(2));
  EXPECT_FALSE(S->StepReachable(3));
  EXPECT_FALSE(S->StepReachable(4));
  Z->Jump(3);
  EXPECT_FALSE(S->StepReachable(1));
  EXPECT_TRUE(S->StepReachable(4));
  EXPECT_TRUE(S->StepVisited(1));  // visited: shown as reachable, though behind
}

TEST_F(StepList, UpAndDownMoveTheFocusMarkAndSpaceOrEnterGoThere) {
  Z->Nextclick(nullptr);
  Z->Nextclick(nullptr);
  EXPECT_EQ(S->FocusStep(), 3);
  Form->Show();
  S->SetFocus();
  Key(VK_DOWN);
  EXPECT_EQ(S->FocusStep(), 3);  // stops at the last
  // Enter on a step that cannot be gone to is left to the form (the default button).
  EXPECT_FALSE(S->CMDialogKey(VK_RETURN, {}));
  Key(VK_UP);
  EXPECT_EQ(S->FocusStep(), 2);
  Key(VK_SPACE);
  EXPECT_EQ(Z->Page(), 2);
  S->SetFocus();  // the page change focused the page
  Key(VK_UP);
  Key(VK_UP);
  EXPECT_EQ(S->FocusStep(), 1);
  EXPECT_TRUE(S->CMDialogKey(VK_RETURN, {}));
  EXPECT_EQ(Z->Page(), 1);
}

TEST_F(StepList, APageChangeFocusesThePageNotTheList) {
  Z->setPage(2);
  auto* panel = New<TAPanel>(Form.get());
  panel->SetParent(Z);
  auto* edit = New<TEdit>(Form.get());
  edit->SetParent(panel);
  Z->setPage(1);
  Form->Show();
  S->SetFocus();
  Z->Nextclick(nullptr);
  EXPECT_EQ(Form->FocusedControl(), edit);
}

TEST_F(StepList, PaintsTheCurrentStepBoldWithAMarkerAndSurvivesItsContainer) {
  Z->Nextclick(nullptr);
  const TImageData& image = Form->Snapshot().Image();
  const TPoint o = S->FormOrigin();
  auto at = [&](int32_t x, int32_t y) { return image.At(o.X + x, o.Y + y) & 0xFFFFFF; };
  const uint32_t background = at(S->Width() - 2, S->Height() - 2);
  const int32_t mid = S->ItemHeight() + S->ItemHeight() / 2;
  EXPECT_NE(at(7, mid), background);  // the marker before step 2
  EXPECT_EQ(at(7, S->ItemHeight() / 2), background);
  // A container that goes leaves an empty list, not a dangling one.
  S->SetParent(Form.get());
  delete Z;
  Z = nullptr;
  EXPECT_EQ(S->Zelvar(), nullptr);
  EXPECT_EQ(S->StepCount(), 0);
  EXPECT_FALSE(S->GoToStep(1));
  Form->Snapshot();
}

TEST_F(StepList, IsWrittenAndReadWithItsItemHeight) {
  RegisterZelvarA();
  RegisterZelvarC();
  std::string text = WriteComponent(Form.get(), TFormFormat::Text);
  EXPECT_THAT(text, HasSubstr("object Steps: TAStepList"));
  EXPECT_THAT(text, testing::Not(HasSubstr("ItemHeight")));
  S->SetItemHeight(26);
  text = WriteComponent(Form.get(), TFormFormat::Text);
  EXPECT_THAT(text, HasSubstr("ItemHeight = 26"));
}

}  // namespace
}  // namespace zelvar::test
