// Answers that take time: OnCanPageChange defers with BeginBusy, EndBusy finishes or abandons
// the change as the action that asked would have, and Cancel abandons it.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/backends/Headless.h"
#include "platform/streaming/FormFiles.h"
#include "tests/container/ContainerSupport.h"

namespace zelvar::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

// A five-page wizard with its bar, 640 wide, on page 1; while Defer is set, OnCanPageChange begins
// busy (after redirecting to Redirect, when set).
class Busy : public ContainerTest {
 protected:
  void SetUp() override {
    ContainerTest::SetUp();
    Z->setWizardWidth(640);  // room for the marquee between the bar's two groups
    Z->SetNumPages(5);
    Z->UseDefaultButtons();
    Z->BtnHelp()->SetShow(true);
    Z->setPage(1);
    Z->OnCanPageChange = TCanPageChangeEvent([this](TZelvar* z, int32_t from, int32_t& to) {
      Asked.push_back(from);
      if (Redirect) to = Redirect;
      if (Defer) z->BeginBusy();
      return Allow;
    });
    Z->OnPageChange = TPageChangeEvent([this](TZelvar*, int32_t page) { Changes.push_back(page); });
  }
  std::vector<int32_t> History() const { return Z->History().Items(); }
  // Enabled of the six buttons: Change, Help, Cancel, Back, Next, OK.
  std::string Buttons() const {
    std::string s;
    for (const TControl* b : std::initializer_list<const TControl*>{
             Z->ChangeButton(), Z->HelpButton(), Z->CancelButton(), Z->BackButton(),
             Z->NextButton(), Z->OKButton()})
      s += b->Enabled() ? '1' : '0';
    return s;
  }
  std::string Records() const {
    std::string s;
    for (const TButtonData* d : {Z->BtnNext(), Z->BtnBack(), Z->BtnFinish(), Z->BtnCancel()})
      s += d->Enabled() ? '1' : '0';
    return s;
  }

  bool Defer = true;
  bool Allow = true;
  int32_t Redirect = 0;
  std::vector<int32_t> Asked, Changes;
};

TEST_F(Busy, NextWaitsWithTheBarHeldThenGoesOnWithoutAskingAgain) {
  Defer = false;
  Z->Nextclick(nullptr);  // 1 -> 2 at once
  Defer = true;
  Changes.clear();
  const std::string buttons = Buttons(), records = Records();
  ASSERT_EQ(buttons, "111110");  // the wizard's OK is hidden
  Z->Nextclick(nullptr);
  EXPECT_TRUE(Z->Busy());
  EXPECT_EQ(Z->Page(), 2);
  EXPECT_THAT(History(), ElementsAre(1));
  EXPECT_THAT(Changes, IsEmpty());
  // Everything but Help and Cancel is held; the records keep what the form file says.
  EXPECT_EQ(Buttons(), "011000");
  EXPECT_EQ(Records(), records);
  ASSERT_NE(Z->BusyBar(), nullptr);
  EXPECT_TRUE(Z->BusyBar()->Visible());
  EXPECT_TRUE(Z->BusyBar()->MarqueeRunning());
  EXPECT_EQ(Form->OverrideCursor(), crAppStarting);
  // The marquee stands in the bar's free space, between Help and Cancel, on the buttons' row.
  const TRect bar = Z->BusyBar()->BoundsRect();
  EXPECT_GE(bar.Left, Z->HelpButton()->BoundsRect().Right);
  EXPECT_LE(bar.Right, Z->CancelButton()->Left());
  EXPECT_GT(bar.Width(), 0);
  EXPECT_GE(bar.Top, Z->CancelButton()->Top());
  EXPECT_LE(bar.Bottom, Z->CancelButton()->BoundsRect().Bottom);

  Z->EndBusy(true);
  EXPECT_FALSE(Z->Busy());
  EXPECT_EQ(Z->Page(), 3);
  EXPECT_THAT(History(), ElementsAre(1, 2));
  EXPECT_THAT(Changes, ElementsAre(3));
  EXPECT_THAT(Asked, ElementsAre(1, 2));  // not asked again by EndBusy
  EXPECT_EQ(Buttons(), buttons);
  EXPECT_EQ(Records(), records);
  EXPECT_EQ(Z->BusyBar(), nullptr);
  EXPECT_EQ(Form->OverrideCursor(), crDefault);
}

TEST_F(Busy, EndBusyFalseLeavesEveryKindAsItWas) {
  Defer = false;
  Z->Nextclick(nullptr);
  Z->Nextclick(nullptr);  // on 3, history 1 2
  Defer = true;
  const std::string buttons = Buttons();
  auto unchanged = [&](const char* what) {
    EXPECT_TRUE(Z->Busy()) << what;
    Z->EndBusy(false);
    EXPECT_EQ(Z->Page(), 3) << what;
    EXPECT_THAT(History(), ElementsAre(1, 2)) << what;
    EXPECT_EQ(Buttons(), buttons) << what;
  };
  Z->Nextclick(nullptr);
  unchanged("next");
  Z->Backclick(nullptr);
  unchanged("back");
  Z->Jump(5);
  unchanged("jump");
  Z->setPage(1);
  unchanged("page");
  Z->Changeclick(nullptr);
  unchanged("change");
  EXPECT_EQ(Z->LastWizardPage(), 1);
  EXPECT_THAT(Changes, ElementsAre(2, 3));
}

TEST_F(Busy, EndBusyTrueFinishesBackAndJumpAsTheirActionsWould) {
  Defer = false;
  Z->Nextclick(nullptr);
  Z->Nextclick(nullptr);
  Defer = true;
  Z->Backclick(nullptr);
  EXPECT_THAT(History(), ElementsAre(1, 2));
  Z->EndBusy(true);
  EXPECT_EQ(Z->Page(), 2);
  EXPECT_THAT(History(), ElementsAre(1));

  // A jump appends once; leaving a commit page commits.
  Z->CommitPages()->Add(2);
  std::vector<int32_t> commits;
  Z->OnCommit = TCommitEvent([&](TZelvar*, int32_t page) { commits.push_back(page); });
  Z->Jump(4);
  EXPECT_THAT(History(), ElementsAre(1));
  Z->EndBusy(true);
  EXPECT_EQ(Z->Page(), 4);
  EXPECT_THAT(History(), IsEmpty());
  EXPECT_THAT(commits, ElementsAre(2));

  // Back redirected by the handler keeps the history it would have dropped.
  Defer = false;
  Z->Nextclick(nullptr);  // 5, history 4
  Defer = true;
  Redirect = 1;
  Z->Backclick(nullptr);
  Z->EndBusy(true);
  EXPECT_EQ(Z->Page(), 1);
  EXPECT_THAT(History(), ElementsAre(4));
}

TEST_F(Busy, TheTargetIsWhereTheHandlerLeftItAndFinishClosesWithOk) {
  Redirect = 4;
  Z->Nextclick(nullptr);
  Z->EndBusy(true);
  EXPECT_EQ(Z->Page(), 4);
  EXPECT_THAT(History(), ElementsAre(1));
  Redirect = 0;
  Defer = false;
  Z->Nextclick(nullptr);  // 5, the last page: Next finishes
  Defer = true;
  Z->Nextclick(nullptr);
  EXPECT_EQ(Form->ModalResult(), mrNone);
  Z->EndBusy(true);
  EXPECT_EQ(Form->ModalResult(), mrOk);
  EXPECT_EQ(Z->Page(), 5);
}

TEST_F(Busy, UnpairedCallsAreRefusedClearly) {
  try {
    Z->EndBusy(true);
    ADD_FAILURE() << "EndBusy without a waiting change";
  } catch (const EInvalidOperation& e) {
    EXPECT_NE(std::string(e.what()).find("EndBusy without a page change waiting"),
              std::string::npos);
  }
  EXPECT_THROW(Z->BeginBusy(), EInvalidOperation);  // outside OnCanPageChange
  // Twice in one handler: the change fails as a whole and nothing waits.
  Z->OnCanPageChange = TCanPageChangeEvent([](TZelvar* z, int32_t, int32_t&) {
    z->BeginBusy();
    z->BeginBusy();
    return true;
  });
  EXPECT_THROW(Z->Nextclick(nullptr), EInvalidOperation);
  EXPECT_FALSE(Z->Busy());
  EXPECT_EQ(Z->BusyBar(), nullptr);
  EXPECT_EQ(Z->Page(), 1);
  EXPECT_THAT(History(), IsEmpty());
  // An answer given inside the handler is its return value, not EndBusy.
  Z->OnCanPageChange = TCanPageChangeEvent([](TZelvar* z, int32_t, int32_t&) {
    z->BeginBusy();
    z->EndBusy(true);
    return true;
  });
  EXPECT_THROW(Z->Nextclick(nullptr), EInvalidOperation);
  EXPECT_FALSE(Z->Busy());
  // A second change cannot start while one waits: navigation is held.
  Z->OnCanPageChange = TCanPageChangeEvent([](TZelvar* z, int32_t, int32_t&) {
    z->BeginBusy();
    return true;
  });
  Z->Nextclick(nullptr);
  Z->Nextclick(nullptr);
  Z->Changeclick(nullptr);
  Z->OKClick(nullptr);
  uint16_t key = VK_RIGHT;
  Z->KeyDown(key, {});
  EXPECT_EQ(Z->Page(), 1);
  Z->EndBusy(true);
  EXPECT_EQ(Z->Page(), 2);
  EXPECT_THROW(Z->EndBusy(true), EInvalidOperation);
}

TEST_F(Busy, CancelAbandonsTheChangeAndALateAnswerIsDropped) {
  std::vector<int32_t> cancelled;
  Z->OnBusyCancel = TBusyCancelEvent([&](TZelvar*, int32_t page) { cancelled.push_back(page); });
  Z->Nextclick(nullptr);
  Z->CancelClick(nullptr);
  EXPECT_THAT(cancelled, ElementsAre(1));
  EXPECT_FALSE(Z->Busy());
  EXPECT_EQ(Form->ModalResult(), mrCancel);
  EXPECT_EQ(Form->OverrideCursor(), crDefault);
  Z->EndBusy(true);  // the check's answer after Cancel: ignored
  EXPECT_EQ(Z->Page(), 1);
  EXPECT_THAT(History(), IsEmpty());
  EXPECT_THAT(Changes, IsEmpty());
  EXPECT_THROW(Z->EndBusy(true), EInvalidOperation);  // only that one answer
  // Cancel refused by OnCancelClick still abandons the wait: the user is back on the page.
  Form->SetModalResult(mrNone);
  Z->OnCancelClick = TCancelClickEvent([](TZelvar*, int32_t) { return false; });
  Z->Nextclick(nullptr);
  Z->CancelClick(nullptr);
  EXPECT_THAT(cancelled, ElementsAre(1, 1));
  EXPECT_EQ(Form->ModalResult(), mrNone);
  EXPECT_EQ(Buttons(), "111010");
}

TEST_F(Busy, TheFormFileKeepsItsBytes) {
  const std::string before = WriteComponent(Form.get(), TFormFormat::Binary);
  Z->Nextclick(nullptr);
  EXPECT_EQ(WriteComponent(Form.get(), TFormFormat::Binary), before);
  Z->EndBusy(false);
  EXPECT_EQ(WriteComponent(Form.get(), TFormFormat::Binary), before);
  EXPECT_EQ(WriteComponent(Form.get(), TFormFormat::Text).find("Busy"), std::string::npos);
}

TEST_F(Busy, ClosingTheWindowWhileWaitingIsCancel) {
  std::vector<int32_t> cancelled;
  Z->OnBusyCancel = TBusyCancelEvent([&](TZelvar*, int32_t page) { cancelled.push_back(page); });
  Defer = false;  // Execute's own change goes at once
  Application().Headless().Do([&] { Defer = true; }).Click("NextButton").Do([&] {
    EXPECT_TRUE(Z->Busy());
    Form->Close();
  });
  EXPECT_EQ(Z->Execute(1), mrCancel);
  Application().SetBackend(nullptr);
  EXPECT_THAT(cancelled, ElementsAre(1));
  EXPECT_FALSE(Z->Busy());
  EXPECT_EQ(Z->Page(), 1);
}

TEST_F(Busy, AChangeStartedByOnPageChangeIsAskedOnItsOwn) {
  Z->Nextclick(nullptr);
  Defer = false;
  // Arriving on 2, the handler sends the wizard on to 4: that change is asked, and goes to 4.
  Z->OnPageChange = TPageChangeEvent([this](TZelvar* z, int32_t page) {
    Changes.push_back(page);
    if (page == 2) z->setPage(4);
  });
  Z->EndBusy(true);
  EXPECT_EQ(Z->Page(), 4);
  EXPECT_THAT(Changes, ElementsAre(2, 4));
  EXPECT_THAT(Asked, ElementsAre(1, 2));
}

}  // namespace
}  // namespace zelvar::test
