// The history rules: pages Back passes over (SkipOnBack) and pages that, once left forward,
// cannot be gone back to (CommitPages, OnCommit), with and without the history.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <stdexcept>

#include "tests/container/ContainerSupport.h"

namespace zelvar::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

std::vector<int32_t> History(const TZelvar& z) {
  return z.History().Items();
}

// A five-page wizard on page 1; the commits it raises are recorded.
class HistoryRules : public ContainerTest {
 protected:
  void SetUp() override {
    ContainerTest::SetUp();
    Z->SetNumPages(5);
    Z->setPage(1);
    Z->OnCommit = TCommitEvent([this](TZelvar*, int32_t page) { Commits.push_back(page); });
  }
  void Next(int times) {
    for (int i = 0; i < times; ++i) Z->Nextclick(nullptr);
  }
  void Veto() {
    Z->OnCanPageChange = TCanPageChangeEvent([](TZelvar*, int32_t, int32_t&) { return false; });
  }
  std::vector<int32_t> Commits;
};

TEST_F(HistoryRules, BackPassesOverSkippedPagesOfTheHistory) {
  Z->SkipOnBack()->Add(2);
  Next(2);
  EXPECT_TRUE(Z->BtnBack()->Enabled());
  Z->Backclick(nullptr);
  EXPECT_EQ(Z->Page(), 1);
  EXPECT_THAT(History(*Z), IsEmpty());
  EXPECT_FALSE(Z->BtnBack()->Enabled());
  // Consecutive skipped pages go together; the unlisted ones before them stay.
  Z->SkipOnBack()->Add(3);
  Next(3);
  EXPECT_THAT(History(*Z), ElementsAre(1, 2, 3));
  Z->Backclick(nullptr);
  EXPECT_EQ(Z->Page(), 1);
  Next(4);
  Z->Backclick(nullptr);
  EXPECT_EQ(Z->Page(), 4);
  EXPECT_THAT(History(*Z), ElementsAre(1, 2, 3));
}

TEST_F(HistoryRules, BackIsDisabledWhenEveryPageLeftIsSkipped) {
  Z->SkipOnBack()->Add(1);
  Z->SkipOnBack()->Add(2);
  // Entries that name no page change nothing.
  for (int32_t p : {0, -1, 6, 1000}) Z->SkipOnBack()->Add(p);
  Next(2);
  EXPECT_FALSE(Z->BtnBack()->Enabled());
  Z->Backclick(nullptr);
  EXPECT_EQ(Z->Page(), 3);
  EXPECT_THAT(History(*Z), ElementsAre(1, 2));
  Next(1);
  EXPECT_TRUE(Z->BtnBack()->Enabled());
}

TEST_F(HistoryRules, AVetoedOrRedirectedBackKeepsTheSkippedEntries) {
  Z->SkipOnBack()->Add(2);
  Next(2);
  Veto();
  Z->Backclick(nullptr);
  EXPECT_EQ(Z->Page(), 3);
  EXPECT_THAT(History(*Z), ElementsAre(1, 2));
  Z->OnCanPageChange = TCanPageChangeEvent([](TZelvar*, int32_t, int32_t& to) {
    to = 4;
    return true;
  });
  Z->Backclick(nullptr);
  EXPECT_EQ(Z->Page(), 4);
  EXPECT_THAT(History(*Z), ElementsAre(1, 2));
  EXPECT_TRUE(Z->BtnBack()->Enabled());
}

TEST_F(HistoryRules, SkippedPagesAreThePagesShownOnTheWayList) {
  Z->WayList()->AddPage({1, gpNext});
  Z->WayList()->AddPage({4, gpNext});
  Z->WayList()->AddPage({2, gpFinish});
  Z->SetWayListEnabled(true);
  Z->setPage(1);
  Z->SkipOnBack()->Add(4);  // position 2
  Next(2);
  Z->Backclick(nullptr);
  EXPECT_EQ(Z->Page(), 1);
}

TEST_F(HistoryRules, LeavingACommitPageForwardClearsTheHistory) {
  Z->CommitPages()->Add(2);
  Next(1);
  EXPECT_TRUE(Z->BtnBack()->Enabled());
  EXPECT_THAT(Commits, IsEmpty());
  Next(1);
  EXPECT_EQ(Z->Page(), 3);
  EXPECT_THAT(History(*Z), IsEmpty());
  EXPECT_FALSE(Z->BtnBack()->Enabled());
  EXPECT_THAT(Commits, ElementsAre(2));
  Z->Backclick(nullptr);
  EXPECT_EQ(Z->Page(), 3);
  // Past the page after it, Back works again, back to that page only.
  Next(1);
  Z->Backclick(nullptr);
  EXPECT_EQ(Z->Page(), 3);
  EXPECT_FALSE(Z->BtnBack()->Enabled());
  EXPECT_THAT(Commits, ElementsAre(2));
  // A jump commits too, whichever way it goes.
  Z->setPage(2);
  Z->Jump(1);
  EXPECT_THAT(Commits, ElementsAre(2, 2));
  EXPECT_THAT(History(*Z), IsEmpty());
}

TEST_F(HistoryRules, AChangeThatDoesNotHappenCommitsNothing) {
  Z->CommitPages()->Add(2);
  Z->CommitPages()->Add(5);
  Next(1);
  Veto();
  Next(1);
  Z->Jump(4);
  EXPECT_EQ(Z->Page(), 2);
  EXPECT_THAT(History(*Z), ElementsAre(1, 2));
  EXPECT_THAT(Commits, IsEmpty());
  // Finishing from a commit page does not leave it either.
  Z->OnCanPageChange = nullptr;
  Z->setPage(5);
  Next(1);
  EXPECT_EQ(Form->ModalResult(), mrOk);
  EXPECT_THAT(Commits, IsEmpty());
  // Back and Change leave a commit page without committing it.
  Z->Backclick(nullptr);
  Z->setPage(5);
  Z->Changeclick(nullptr);
  EXPECT_THAT(Commits, IsEmpty());
}

TEST_F(HistoryRules, ACommitHandlerThatFailsUndoesTheChange) {
  Z->CommitPages()->Add(2);
  Next(1);
  Z->OnCommit = TCommitEvent([](TZelvar*, int32_t) { throw std::runtime_error("no"); });
  EXPECT_THROW(Next(1), std::runtime_error);
  EXPECT_EQ(Z->Page(), 2);
  EXPECT_THAT(History(*Z), ElementsAre(1));
  EXPECT_TRUE(Z->BtnBack()->Enabled());
}

TEST_F(HistoryRules, WithoutTheHistoryBackStepsDownOverSkippedPagesAndStopsAtACommit) {
  Z->SetUseHistory(false);
  Z->SkipOnBack()->Add(2);
  Z->SkipOnBack()->Add(3);
  Z->setPage(4);
  Z->Backclick(nullptr);
  EXPECT_EQ(Z->Page(), 1);
  EXPECT_FALSE(Z->BtnBack()->Enabled());
  Z->SkipOnBack()->Add(1);
  Z->setPage(3);
  EXPECT_FALSE(Z->BtnBack()->Enabled());
  Z->Backclick(nullptr);
  EXPECT_EQ(Z->Page(), 3);
  // Back never crosses a commit page, nor goes onto it.
  Z->SkipOnBack()->Clear();
  Z->CommitPages()->Add(3);
  Next(1);
  EXPECT_THAT(Commits, ElementsAre(3));
  EXPECT_FALSE(Z->BtnBack()->Enabled());
  Next(1);
  Z->Backclick(nullptr);
  EXPECT_EQ(Z->Page(), 4);
  EXPECT_FALSE(Z->BtnBack()->Enabled());
}

}  // namespace
}  // namespace zelvar::test
