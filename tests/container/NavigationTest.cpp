// Page changes: Next, Back, Change, OK, Cancel and Help, the way list and the history, the
// page events, jumps and Execute, and the caption and size that follow the page.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/backends/Headless.h"
#include "tests/TestSupport.h"
#include "tests/container/ContainerSupport.h"

namespace zelvar::test {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

std::vector<int32_t> History(const TZelvar& z) {
  return z.History().Items();
}

// Page events as they were raised, in order.
struct TEventLog {
  std::vector<std::string> Lines;
  void Attach(TZelvar& z) {
    z.OnPageChange = TPageChangeEvent(
        [this](TZelvar*, int32_t p) { Lines.push_back("change " + std::to_string(p)); });
    z.OnAskPageChange = TAskPageChangeEvent([this](TZelvar*, int32_t from, int32_t& to) {
      Lines.push_back("ask " + std::to_string(from) + " " + std::to_string(to));
    });
  }
};

TEST_F(ContainerTest, NextWalksToTheLastPageAndThenFinishes) {
  Z->setPage(2);
  Z->Nextclick(nullptr);
  EXPECT_EQ(Z->Page(), 3);
  EXPECT_FALSE(Z->BtnNext()->Enabled());
  EXPECT_THAT(History(*Z), ElementsAre(2));
  Z->Nextclick(nullptr);
  EXPECT_EQ(Form->ModalResult(), mrOk);
  EXPECT_EQ(Z->Page(), 3);
  EXPECT_THAT(History(*Z), ElementsAre(2));
  // Back walks the history; without one it steps down and stops at page 1.
  Z->Backclick(nullptr);
  EXPECT_EQ(Z->Page(), 2);
  EXPECT_FALSE(Z->BtnBack()->Enabled());
  Z->SetUseHistory(false);
  Z->Backclick(nullptr);
  Z->Backclick(nullptr);
  EXPECT_EQ(Z->Page(), 1);
}

TEST_F(ContainerTest, TheWayListRoutesNextAndAsksWhereItSaysSo) {
  TPageProbe* probe = AddProbe();
  TEventLog log;
  log.Attach(*Z);
  Z->WayList()->AddPage({1, gpNext});
  Z->WayList()->AddPage({3, gpAsk});
  Z->WayList()->AddPage({2, gpFinish});
  Z->SetWayListEnabled(true);
  Z->setPage(1);
  Z->Nextclick(nullptr);
  EXPECT_EQ(Z->Page(), 2);
  EXPECT_EQ(Z->RealPage(), 3);
  EXPECT_EQ(probe->Positions.back(), 3);
  Z->Nextclick(nullptr);
  EXPECT_THAT(log.Lines, ElementsAre("change 0", "change 1", "change 2", "ask 2 3", "change 3"));
  EXPECT_EQ(Z->Page(), 3);
  EXPECT_EQ(probe->Positions.back(), 2);
  EXPECT_FALSE(Z->BtnNext()->Enabled());
  Z->Nextclick(nullptr);
  EXPECT_EQ(Form->ModalResult(), mrOk);
  EXPECT_EQ(Z->Page(), 3);
  // With the default caption, the caption counts positions, not pages.
  Z->SetCaptionWizard("Wizard - Page %d of %d");
  EXPECT_EQ(Form->Caption(), "Wizard - Page 3 of 3");
}

TEST_F(ContainerTest, APositionWithoutWayListEntryFailsBeforeAnythingChanges) {
  Z->WayList()->AddPage({1, 5});  // Next leads to position 5, which has no entry
  Z->SetWayListEnabled(true);
  Z->setPage(1);
  EXPECT_THAT(MessageOf<EListError>([&] { Z->Nextclick(nullptr); }),
              HasSubstr("no entry for position 5"));
  EXPECT_EQ(Z->Page(), 1);
  EXPECT_THAT(History(*Z), IsEmpty());
  EXPECT_THAT(MessageOf<EListError>([&] { Z->Jump(4); }), HasSubstr("position 4"));
  EXPECT_THAT(History(*Z), IsEmpty());
  // The dialog page has no entry to route Next by: Next does nothing there.
  Z->setPage(0);
  Z->Nextclick(nullptr);
  EXPECT_EQ(Z->Page(), 0);
}

TEST_F(ContainerTest, ARedirectIsShownAsThePositionItLeadsTo) {
  TPageProbe* probe = AddProbe();
  Z->WayList()->AddPage({1, gpNext});
  Z->WayList()->AddPage({3, gpFinish});
  Z->SetWayListEnabled(true);
  Z->setPage(1);
  Z->OnCanPageChange = TCanPageChangeEvent([](TZelvar*, int32_t, int32_t& to) {
    to = to == 2 ? 0 : to;
    return true;
  });
  Z->Nextclick(nullptr);  // to position 2, redirected to the dialog page
  EXPECT_EQ(Z->Page(), 0);
  EXPECT_EQ(probe->Positions.back(), 0);
  Z->OnCanPageChange = TCanPageChangeEvent([](TZelvar*, int32_t, int32_t& to) {
    to = 2;
    return true;
  });
  Z->setPage(0);  // the dialog asked for, position 2 taken: its page and its Next state
  EXPECT_EQ(Z->Page(), 2);
  EXPECT_EQ(probe->Positions.back(), 3);
  EXPECT_FALSE(Z->BtnNext()->Enabled());
}

TEST_F(ContainerTest, AVetoOnNextLeavesTheHistoryAsItWas) {
  Z->setPage(1);
  Z->Nextclick(nullptr);
  Z->OnCanPageChange = TCanPageChangeEvent([](TZelvar*, int32_t, int32_t&) { return false; });
  Z->Nextclick(nullptr);
  EXPECT_EQ(Z->Page(), 2);
  EXPECT_THAT(History(*Z), ElementsAre(1));
  EXPECT_FALSE(Z->PageChangeAllowed());
  // Jumps keep their entry even when vetoed.
  Z->Jump(3);
  EXPECT_THAT(History(*Z), ElementsAre(1, 2));
}

TEST_F(ContainerTest, ARedirectedBackPutsItsEntryBack) {
  Z->setPage(1);
  Z->Nextclick(nullptr);
  Z->Nextclick(nullptr);
  Z->OnCanPageChange = TCanPageChangeEvent([](TZelvar*, int32_t, int32_t& to) {
    to = 1;
    return true;
  });
  Z->Backclick(nullptr);  // asks for 2, gets 1
  EXPECT_EQ(Z->Page(), 1);
  EXPECT_THAT(History(*Z), ElementsAre(1, 2));
}

TEST_F(ContainerTest, PageChangeIsRaisedForTheDialogEveryTimeButNotForARepeatedPage) {
  TEventLog log;
  log.Attach(*Z);
  Z->setPage(0);
  Z->setPage(0);
  Z->setPage(1);
  Z->setPage(1);
  EXPECT_THAT(log.Lines, ElementsAre("change 0", "change 0", "change 1"));
}

TEST_F(ContainerTest, ChangeRemembersThePageOrStartsAgain) {
  Z->SetNumPages(5);
  Z->setPage(1);
  Z->Jump(4);
  Z->Changeclick(nullptr);
  EXPECT_EQ(Z->Page(), 0);
  EXPECT_EQ(Z->LastWizardPage(), 4);
  Z->Changeclick(nullptr);
  EXPECT_EQ(Z->Page(), 1);
  EXPECT_THAT(History(*Z), IsEmpty());

  Z->SetRememberPage(true);
  Z->Jump(4);
  Z->Changeclick(nullptr);
  Z->Changeclick(nullptr);
  EXPECT_EQ(Z->Page(), 4);
}

TEST_F(ContainerTest, StartPageMovesTheRememberedPageOnlyWithoutHistory) {
  Z->SetStartPage(2);
  EXPECT_EQ(Z->LastWizardPage(), 2);
  Z->setPage(1);
  Z->Jump(2);
  Z->SetStartPage(3);
  EXPECT_EQ(Z->StartPage(), 3);
  EXPECT_EQ(Z->LastWizardPage(), 2);
}

TEST_F(ContainerTest, TheWayListsLastPositionStaysReachableWhenPagesShrink) {
  for (int32_t i = 1; i <= 3; ++i) Z->WayList()->AddPage({i, gpNext});
  Z->SetWayListEnabled(true);
  Z->setPage(3);
  Z->SetNumPages(2);
  EXPECT_EQ(Z->Page(), 3);
}

TEST_F(ContainerTest, CancelAsksTheApplicationAndHelpTellsIt) {
  Z->setPage(2);
  std::vector<int32_t> pages;
  Z->OnCancelClick = TCancelClickEvent([&](TZelvar*, int32_t p) {
    pages.push_back(p);
    return false;
  });
  Z->CancelClick(nullptr);
  EXPECT_EQ(Form->ModalResult(), mrNone);
  Z->OnCancelClick.Clear();
  Z->CancelClick(nullptr);
  EXPECT_EQ(Form->ModalResult(), mrCancel);
  Z->OnHelpClick = THelpClickEvent([&](TZelvar*, int32_t p) { pages.push_back(-p); });
  Z->HelpClick(nullptr);
  EXPECT_THAT(pages, ElementsAre(2, -2));
  // OK is the finish request, which a veto still stops.
  Form->SetModalResult(mrNone);
  Z->OnCanPageChange = TCanPageChangeEvent([](TZelvar*, int32_t, int32_t&) { return false; });
  Z->OKClick(nullptr);
  EXPECT_EQ(Form->ModalResult(), mrNone);
}

TEST_F(ContainerTest, JumpsMoveRelativeAndRefuseImpossiblePages) {
  Z->setPage(1);
  Z->JumpRel(2);
  EXPECT_EQ(Z->Page(), 3);
  Z->JumpRel(-3);
  EXPECT_EQ(Z->Page(), 0);
  EXPECT_THAT(History(*Z), ElementsAre(1, 3));
  EXPECT_THAT(MessageOf<EListError>([&] { Z->JumpRel(INT32_MIN); }), HasSubstr("does not exist"));
  Z->setPage(1);
  EXPECT_THAT(MessageOf<EListError>([&] { Z->JumpRel(INT32_MAX); }), HasSubstr("out of range"));
  EXPECT_EQ(Z->Page(), 1);
  EXPECT_THAT(History(*Z), ElementsAre(1, 3));
}

TEST_F(ContainerTest, ExecuteStartsWithAnEmptyHistoryAndReturnsHowTheFormClosed) {
  Z->setPage(1);
  Z->Jump(2);
  ASSERT_TRUE(Z->BtnBack()->Enabled());
  auto backend = std::make_unique<THeadlessBackend>();
  std::vector<bool> backSeen;
  backend->OnIdle = [&] {
    backSeen.push_back(Z->BtnBack()->Enabled());
    Z->CancelClick(nullptr);
    return true;
  };
  Application().SetBackend(std::move(backend));
  int32_t result = Z->Execute(1);
  Application().SetBackend(nullptr);
  EXPECT_EQ(result, mrCancel);
  EXPECT_THAT(backSeen, ElementsAre(false));
  EXPECT_THAT(History(*Z), IsEmpty());
  EXPECT_FALSE(Form->IsShown());
}

TEST_F(ContainerTest, ApplicationRunRunsTheWizardFromItsStartPage) {
  Z->UseDefaultButtons();
  Z->setPage(3);
  // With nowhere to show the form, the wizard stays where it was.
  Application().SetBackend(nullptr);
  TBackendOpener window = RegisteredWindowBackend();
  RegisterWindowBackend(nullptr);
  EXPECT_THROW(Application().Run(Form.get()), ENoWindow);
  RegisterWindowBackend(window);
  EXPECT_EQ(Z->Page(), 3);

  std::vector<int32_t> pages;
  Z->OnPageChange = [&](TZelvar*, int32_t page) { pages.push_back(page); };
  // On the last page the Next button is the Finish button.
  Application().Headless().Click("NextButton").Click("NextButton").Click("NextButton");
  int32_t result = Application().Run(Form.get());
  Application().SetBackend(nullptr);
  EXPECT_EQ(result, mrOk);
  EXPECT_THAT(pages, ElementsAre(1, 2, 3));
  EXPECT_FALSE(Form->IsShown());
}

TEST_F(ContainerTest, TheCaptionFollowsThePage) {
  Z->SetCaptionWizard("Wizard - Page %d of %d");
  Z->SetCaptionDialog("Settings");
  Z->SetNumPages(5);
  Z->setPage(2);
  EXPECT_EQ(Form->Caption(), "Wizard - Page 2 of 5");
  Z->setPage(0);
  EXPECT_EQ(Form->Caption(), "Settings");
  Z->setshowpagenames(true);
  EXPECT_EQ(Form->Caption(), "Dialog");
  // Without SetFormCaption pages leave it alone; the dialog caption is still written.
  Z->setshowpagenames(false);
  EXPECT_EQ(Form->Caption(), "Settings");
  Z->SetSetFormCaption(false);
  Z->setPage(3);
  EXPECT_EQ(Form->Caption(), "Settings");
  Z->setPage(0);
  Z->SetCaptionDialog("Options");
  EXPECT_EQ(Form->Caption(), "Options");
  // A caption whose placeholders do not fit is shown as written, and the page still changes.
  Z->SetSetFormCaption(true);
  Z->SetCaptionWizard("Step %s");
  Z->setPage(1);
  EXPECT_EQ(Z->Page(), 1);
  EXPECT_EQ(Form->Caption(), "Step %s");
}

TEST_F(ContainerTest, TheFormTakesEachModesSizeAroundItsCentre) {
  Form->SetBounds(100, 100, 301, 300);
  Z->setDialogWidth(200);
  Z->setDialogHeight(100);
  Z->setWizardWidth(301);
  Z->setWizardHeight(300);
  Z->setPage(1);  // from the dialog page: the wizard size, which it has already
  EXPECT_EQ(Form->BoundsRect(), (TRect{100, 100, 401, 400}));
  Z->setPage(0);
  EXPECT_EQ(Form->Left(), 100 + 150 - 100);
  EXPECT_EQ(Form->Top(), 100 + 150 - 50);
  EXPECT_EQ(Form->Width(), 200);
  Z->setPage(2);
  Z->setPage(3);
  EXPECT_EQ(Form->Width(), 301);
  EXPECT_EQ(Form->Left(), 150 + 100 - 150);
  // Not aligned to the client: the mode switch keeps the form's size.
  Z->SetAlign(alNone);
  Z->setPage(0);
  EXPECT_EQ(Form->Width(), 301);
  EXPECT_TRUE(Z->RecordSize());
}

TEST_F(ContainerTest, TheDesignerIsToldOfEveryChangeAndSelectsTheContainerOnNext) {
  TCountingDesigner designer;
  Form->SetDesigner(&designer);
  Form->SetDesigning(true);
  Z->setPage(1);
  EXPECT_EQ(designer.ModifiedCount, 1);
  Z->OnCanPageChange = TCanPageChangeEvent([](TZelvar*, int32_t, int32_t&) { return false; });
  Z->setPage(2);
  EXPECT_EQ(designer.ModifiedCount, 2);
  Z->OnCanPageChange.Clear();
  Z->Nextclick(nullptr);
  EXPECT_EQ(designer.Selected, Z);
  EXPECT_EQ(Z->Page(), 2);
  // The right button steps without the history; from the dialog page Back asks to finish.
  Z->NextRightDown(nullptr, mbRight, {}, 0, 0);
  EXPECT_EQ(Z->Page(), 3);
  Z->setPage(0);
  Z->BackRightDown(nullptr, mbRight, {}, 0, 0);
  EXPECT_EQ(Z->Page(), 0);
  EXPECT_EQ(Form->ModalResult(), mrOk);
  Z->NextRightDown(nullptr, mbLeft, {}, 0, 0);
  EXPECT_EQ(Z->Page(), 0);
  Form->SetDesigner(nullptr);
}

// ---------------------------------------------------------------------------------------------
// Page changes are all or nothing

// What a user can see of the wizard, to compare before and after a failed change.
struct TWizardState {
  int32_t Page;
  std::vector<int32_t> History;
  bool Back, Next;
  std::string Caption;
  TRect Bounds;
  bool operator==(const TWizardState&) const = default;
};

TWizardState StateOf(const TZelvar& z, const TForm& form) {
  return {z.Page(),       z.History().Items(), z.BtnBack()->Enabled(), z.BtnNext()->Enabled(),
          form.Caption(), form.BoundsRect()};
}

TEST_F(ContainerTest, TargetsThatCannotBeShownFailBeforeAnythingChanges) {
  TPageProbe* probe = AddProbe();
  Z->SetCaptionWizard("Wizard - Page %d of %d");
  Z->setPage(1);
  Z->Nextclick(nullptr);
  const TWizardState before = StateOf(*Z, *Form);
  const size_t told = probe->Positions.size();
  EXPECT_THAT(MessageOf<EListError>([&] { Z->Jump(5); }), HasSubstr("Page 5"));
  EXPECT_THAT(MessageOf<EListError>([&] { Z->JumpRel(2); }), HasSubstr("Page 4"));
  EXPECT_THAT(MessageOf<EListError>([&] { Z->setPage(-5); }), HasSubstr("Page -5"));
  EXPECT_THAT(MessageOf<EListError>([&] { SetPropText(Z, "Page", "4"); }), HasSubstr("Page 4"));
  EXPECT_EQ(StateOf(*Z, *Form), before);
  EXPECT_EQ(probe->Positions.size(), told);
  // Back still works, and a jump to -1 still finishes.
  Z->Backclick(nullptr);
  EXPECT_EQ(Z->Page(), 1);
  Z->Jump(-1);
  EXPECT_EQ(Form->ModalResult(), mrOk);
  EXPECT_EQ(Z->Page(), 1);
}

TEST_F(ContainerTest, WayListPositionsWithoutAnEntryFailBeforeAnythingChanges) {
  Z->WayList()->AddPage({1, gpNext});
  Z->WayList()->AddPage({7, gpNext});  // a page the wizard does not have
  Z->SetWayListEnabled(true);
  Z->setPage(1);
  const TWizardState before = StateOf(*Z, *Form);
  EXPECT_THAT(MessageOf<EListError>([&] { Z->Nextclick(nullptr); }), HasSubstr("Page 7"));
  EXPECT_THAT(MessageOf<EListError>([&] { Z->Jump(3); }), HasSubstr("position 3"));
  EXPECT_THAT(MessageOf<EListError>([&] { Z->setPage(-2); }), HasSubstr("Page -2"));
  EXPECT_EQ(StateOf(*Z, *Form), before);
}

TEST_F(ContainerTest, AFailureDuringTheChangeShowsThePreviousPageAgain) {
  TPageProbe* probe = AddProbe();
  Z->SetCaptionWizard("Wizard - Page %d of %d");
  Z->setPage(1);
  Z->Nextclick(nullptr);
  const TWizardState before = StateOf(*Z, *Form);
  // An event handler that fails after the page was applied.
  Z->OnPageChange = TPageChangeEvent([](TZelvar*, int32_t p) {
    if (p == 3) throw EInvalidOperation("no page 3 today");
  });
  EXPECT_THAT(MessageOf<EInvalidOperation>([&] { Z->Nextclick(nullptr); }), HasSubstr("today"));
  EXPECT_EQ(StateOf(*Z, *Form), before);
  EXPECT_EQ(probe->Positions.back(), 2);
  // Back after a failed Back puts the entry back; Change keeps the remembered page.
  Z->OnPageChange = TPageChangeEvent([](TZelvar*, int32_t p) {
    if (p != 2) throw EInvalidOperation("stay");
  });
  EXPECT_THROW(Z->Backclick(nullptr), EInvalidOperation);
  EXPECT_THROW(Z->Changeclick(nullptr), EInvalidOperation);
  EXPECT_THROW(Z->Jump(1), EInvalidOperation);
  EXPECT_EQ(StateOf(*Z, *Form), before);
  EXPECT_EQ(Z->LastWizardPage(), 1);
  // A mode change that fails takes the form back to the wizard's size.
  Z->OnPageChange = {};
  probe->OnPosition = [](int32_t n) {
    if (n == 0) throw EListError("no dialog");
  };
  EXPECT_THROW(Z->Changeclick(nullptr), EListError);
  EXPECT_EQ(StateOf(*Z, *Form), before);
  EXPECT_EQ(probe->Positions.back(), 2);
}

TEST_F(ContainerTest, FewerPagesDropTheHistoryBeyondTheLastPage) {
  Z->SetNumPages(5);
  Z->setPage(1);
  for (int i = 0; i < 3; ++i) Z->Nextclick(nullptr);
  EXPECT_THAT(History(*Z), ElementsAre(1, 2, 3));
  Z->SetNumPages(2);
  EXPECT_EQ(Z->Page(), 2);
  EXPECT_THAT(History(*Z), ElementsAre(1, 2));
  Z->Backclick(nullptr);
  EXPECT_EQ(Z->Page(), 2);  // the entry 2 leads to the page already shown
  Z->Backclick(nullptr);
  EXPECT_EQ(Z->Page(), 1);
  EXPECT_FALSE(Z->BtnBack()->Enabled());
}

}  // namespace
}  // namespace zelvar::test
