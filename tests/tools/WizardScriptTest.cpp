// The wizard driven end to end by a script: `execute`, `handle` on the container's events and
// `expect-result`.

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "tests/TestSupport.h"

namespace {

using ::testing::EndsWith;
using ::testing::HasSubstr;
using ::testing::StartsWith;
using zelvar::test::TRun;

class WizardScript : public zelvar::test::ScriptFolderTest {
 protected:
  WizardScript() : ScriptFolderTest("wizard-script", {"wizard.txt", "required.txt"}) {}
};

TEST_F(WizardScript, ExecuteRunsTheWizardToItsEnd) {
  TRun r = RunScript(
      "load wizard.txt\n"
      "handle Zelvar1.OnPageChange log\n"
      "handle Zelvar1.OnCanPageChange log\n"
      "execute Zelvar1 1\n"
      "expect Form1.Caption 'Wizard - Page 1 of 3'\n"
      "click NextButton\n"
      "key N alt\n"
      "expect NextButton.Caption '&Finish'\n"
      "click BackButton\n"
      "expect Zelvar1.Page 2\n"
      "click NextButton\n"
      "click NextButton\n"
      "expect-result mrOk\n"
      "expect Zelvar1.Page 3\n");
  EXPECT_EQ(r.Err, "");
  EXPECT_EQ(r.Status, 0);
  EXPECT_EQ(r.Out,
            "OnCanPageChange(Zelvar1, 0, 1)\n"
            "OnPageChange(Zelvar1, 1)\n"
            "OnCanPageChange(Zelvar1, 1, 2)\n"
            "OnPageChange(Zelvar1, 2)\n"
            "OnCanPageChange(Zelvar1, 2, 3)\n"
            "OnPageChange(Zelvar1, 3)\n"
            "OnCanPageChange(Zelvar1, 3, 2)\n"
            "OnPageChange(Zelvar1, 2)\n"
            "OnCanPageChange(Zelvar1, 2, 3)\n"
            "OnPageChange(Zelvar1, 3)\n"
            "OnCanPageChange(Zelvar1, 3, -1)\n"
            "result = mrOk\n");
}

TEST_F(WizardScript, HandlersVetoRedirectAndRefuse) {
  TRun r = RunScript(
      "load wizard.txt\n"
      "handle Zelvar1.OnCanPageChange redirect 3\n"
      "execute Zelvar1 1\n"
      "expect Zelvar1.Page 3\n"
      "handle Zelvar1.OnCanPageChange veto\n"
      "click NextButton\n"
      "expect Zelvar1.Page 3\n"
      "expect Zelvar1.HistoryCount 0\n"
      "handle Zelvar1.OnCanPageChange none\n"
      "handle Zelvar1.OnCancelClick refuse\n"
      "key Escape\n"
      "handle Zelvar1.OnCancelClick none\n"
      "click ChangeButton\n"
      "expect Form1.Caption 'Dialog'\n"
      "key Escape\n"
      "expect-result mrCancel\n"
      "expect Zelvar1.LastWizardPage 3\n");
  EXPECT_EQ(r.Err, "");
  EXPECT_EQ(r.Status, 0);
  EXPECT_EQ(r.Out,
            "OnCanPageChange(Zelvar1, 0, 1)\n"
            "OnCanPageChange(Zelvar1, 3, -1)\n"
            "OnCancelClick(Zelvar1, 3)\n"
            "result = mrCancel\n");
}

// hosting.txt: page 1 holds Box1 and the jump radio button Skip (to page 3), page 2 the form
// host Details, which asks GetPage for its form on demand and tells PageGone when it frees it.
TEST_F(WizardScript, PageBoundControlsAndAnEmbeddedFormFollowThePages) {
  for (const char* f : {"hosting.txt", "page.txt"})
    std::filesystem::copy_file(std::string(ZELVAR_TEST_DATA) + "/scripts/" + f, Dir / f);
  TRun r = RunScript(
      "method GetPage form page.txt\n"
      "method PageGone log\n"
      "load hosting.txt\n"
      "execute Zelvar1 1\n"
      "expect Box1.Visible True\n"
      "expect Details.Visible False\n"
      "expect Details.HostedForm nil\n"
      "click NextButton\n"
      "expect Box1.Left 20000\n"
      "expect Details.HostedForm DetailsPage\n"
      "expect Label1.Caption 'More about it'\n"
      "click BackButton\n"
      "expect Details.HostedForm nil\n"
      "expect Box1.Left 10\n"
      "click Skip\n"
      "click NextButton\n"
      "expect Zelvar1.Page 3\n"
      "handle Details.OnGetForm form page.txt\n"
      "handle Details.OnFreeForm none\n"
      "click BackButton\n"
      "set Skip.Checked False\n"
      "click NextButton\n"
      "expect DetailsPage.BorderStyle bsNone\n"
      "fails handle Zelvar1.OnPageChange form page.txt\n"
      "key Escape\n"
      "expect-result mrCancel\n");
  EXPECT_EQ(r.Err, "");
  EXPECT_EQ(r.Status, 0);
  EXPECT_EQ(r.Out,
            "GetPage()\n"
            "PageGone(Details, DetailsPage)\n"
            "OnGetForm()\n"
            "Zelvar1.OnPageChange does not ask for a form\n"
            "result = mrCancel\n");
}

TEST_F(WizardScript, BackSkipsAndCommitsFollowTheFormsLists) {
  // The wizard of the folder, with page 2 skipped by Back and page 3 a commit page.
  std::string form;
  {
    std::ifstream in(Dir / "wizard.txt");
    form.assign(std::istreambuf_iterator<char>(in), {});
  }
  const std::string at = "    TabOrder = 0\n";
  ASSERT_NE(form.find(at), std::string::npos);
  form.insert(form.find(at) + at.size(),
              "    SkipOnBack.Num = 1\n    SkipOnBack.Data = {\n      02000000\n    }\n"
              "    CommitPages.Num = 1\n    CommitPages.Data = {\n      03000000\n    }\n");
  std::ofstream(Dir / "rules.txt") << form;
  TRun r = RunScript(
      "load rules.txt\n"
      "set Zelvar1.NumPages 4\n"
      "handle Zelvar1.OnCommit log\n"
      "execute Zelvar1 1\n"
      "click NextButton\n"
      "click NextButton\n"
      "click BackButton\n"
      "expect Zelvar1.Page 1\n"
      "click NextButton\n"
      "click NextButton\n"
      "expect BackButton.Enabled True\n"
      "click NextButton\n"
      "expect Zelvar1.Page 4\n"
      "expect BackButton.Enabled False\n"
      "click NextButton\n"
      "expect-result mrOk\n");
  EXPECT_EQ(r.Err, "");
  EXPECT_EQ(r.Status, 0);
  EXPECT_EQ(r.Out,
            "OnCommit(Zelvar1, 3)\n"
            "result = mrOk\n");
}

TEST_F(WizardScript, CancelAsksBeforeThrowingAwayWhatWasTyped) {
  TRun r = RunScript(
      "load wizard.txt\n"
      "create TEdit Edit1 in Zelvar1\n"
      "set Zelvar1.ConfirmCancel ccIfModified\n"
      "handle Zelvar1.OnCancelClick log\n"
      "execute Zelvar1 1\n"
      "type Edit1 'Ada'\n"
      "click CancelButton\n"
      "expect-message 'Discard the changes you made?'\n"
      "click No\n"
      "expect Zelvar1.Page 1\n"
      "expect Edit1.Text 'Ada'\n"
      "click CancelButton\n"
      "expect-message 'Discard the changes you made?'\n"
      "click Yes\n"
      "expect-result mrCancel\n");
  EXPECT_EQ(r.Err, "");
  EXPECT_EQ(r.Status, 0);
  EXPECT_EQ(r.Out,
            "OnCancelClick(Zelvar1, 1)\n"
            "OnCancelClick(Zelvar1, 1)\n"
            "result = mrCancel\n");
}

TEST_F(WizardScript, AWizardClosedHalfWayResumesWhereItWas) {
  TRun r = RunScript(
      "load wizard.txt\n"
      "create TEdit Edit1 in Zelvar1\n"
      "create TCheckBox Check1 in Zelvar1\n"
      "execute Zelvar1 1 state.ini\n"
      "click NextButton\n"
      "type Edit1 'Ada'\n"
      "click Check1\n"
      "click NextButton\n"
      // Closed with the window's close box: the state is kept for the next run.
      "set Form1.ModalResult 2\n"
      "expect-result mrCancel\n"
      "load wizard.txt\n"
      "create TEdit Edit1 in Zelvar1\n"
      "create TCheckBox Check1 in Zelvar1\n"
      "execute Zelvar1 1 state.ini\n"
      "expect Zelvar1.Page 3\n"
      "expect Edit1.Text 'Ada'\n"
      "expect Check1.Checked True\n"
      "click BackButton\n"
      "expect Zelvar1.Page 2\n"
      "set Form1.ModalResult 2\n"
      "expect-result mrCancel\n"
      // The form changed since: a page and the check box are gone, the edit renamed.
      "load wizard.txt\n"
      "create TEdit Folder in Zelvar1\n"
      "create TEdit Edit1 in Zelvar1\n"
      "set Zelvar1.NumPages 1\n"
      "handle Zelvar1.OnStateError log\n"
      "execute Zelvar1 1 state.ini\n"
      "expect Zelvar1.Page 1\n"
      "expect Edit1.Text 'Ada'\n"
      "expect Folder.Text ''\n"
      "click NextButton\n"
      "expect-result mrOk\n");
  EXPECT_EQ(r.Err, "");
  EXPECT_EQ(r.Status, 0);
  EXPECT_EQ(r.Out, "result = mrCancel\nresult = mrCancel\nresult = mrOk\n");
  // Finished: nothing is kept for a next run.
  std::ifstream in(Dir / "state.ini");
  const std::string kept(std::istreambuf_iterator<char>(in), {});
  EXPECT_EQ(kept.find("[Form1]"), std::string::npos) << kept;
}

TEST_F(WizardScript, ADamagedStateIsReportedAndTheWizardStartsAfresh) {
  std::ofstream(Dir / "state.ini") << "[Form1]\nVersion=7\n";
  TRun r = RunScript(
      "load wizard.txt\n"
      "handle Zelvar1.OnStateError log\n"
      "execute Zelvar1 2 state.ini\n"
      "expect Zelvar1.Page 2\n"
      "click CancelButton\n"
      "expect-result mrCancel\n");
  EXPECT_EQ(r.Err, "");
  EXPECT_EQ(r.Status, 0);
  EXPECT_EQ(r.Out, "OnStateError(Zelvar1, 'Wizard state [Form1] of \"" +
                       (Dir / "state.ini").string() +
                       "\": Version is not 1')\nresult = mrCancel\n");
  // Cancel gave the wizard up: nothing is kept, and the damaged state is gone with it.
  EXPECT_FALSE(std::filesystem::exists(Dir / "state.ini"));
}

TEST_F(WizardScript, ExecuteNeedsAContainer) {
  TRun r = RunScript(
      "load wizard.txt\n"
      "execute Form1 1\n");
  EXPECT_EQ(r.Status, 1);
  EXPECT_NE(r.Err.find("'Form1' is not a TZelvar"), std::string::npos) << r.Err;
}

TEST_F(WizardScript, NextFollowsTheRequiredEditAsTheUserTypes) {
  TRun r = RunScript(
      "load required.txt\n"
      "set NameEdit.Required True\n"
      "handle Zelvar1.OnPageComplete log\n"
      "execute Zelvar1 1\n"
      "expect NextButton.Enabled False\n"
      "type NameEdit 'Ann'\n"
      "expect NextButton.Enabled True\n"
      "set NameEdit.Text ''\n"
      "expect NextButton.Enabled False\n"
      "expect Zelvar1.BtnNext.Enabled True\n"
      "click NextButton\n"
      "expect Zelvar1.Page 1\n"
      "type NameEdit 'B'\n"
      "click NextButton\n"
      "expect Zelvar1.Page 2\n"
      "click CancelButton\n"
      "expect-result mrCancel\n");
  EXPECT_EQ(r.Err, "");
  EXPECT_EQ(r.Status, 0);
  EXPECT_EQ(r.Out,
            "OnPageComplete(Zelvar1, 1, False)\n"
            "OnPageComplete(Zelvar1, 1, True)\n"
            "OnPageComplete(Zelvar1, 1, True)\n"
            "OnPageComplete(Zelvar1, 1, True)\n"
            "OnPageComplete(Zelvar1, 1, False)\n"
            "OnPageComplete(Zelvar1, 1, True)\n"
            "OnPageComplete(Zelvar1, 1, True)\n"
            "OnPageComplete(Zelvar1, 2, True)\n"
            "result = mrCancel\n");
}

// A lookup that takes time: OnCanPageChange begins busy and starts a timer that ends it.
class BusyScript : public zelvar::test::ScriptFolderTest {
 protected:
  BusyScript() : ScriptFolderTest("busy-script", {"wizard.txt", "busy-check.zs", "busy-done.zs"}) {
    Prelude =
        "load wizard.txt\n"
        "create TTimer Lookup\n"
        "set Lookup.Enabled False\n"
        "set Lookup.Interval 500\n"
        "method LookupDone run busy-done.zs\n"
        "set Lookup.OnTimer LookupDone\n"
        "execute Zelvar1 1\n"
        "handle Zelvar1.OnCanPageChange run busy-check.zs\n"
        "handle Zelvar1.OnBusyCancel log\n";
  }
};

TEST_F(BusyScript, TheWizardWaitsForTheAnswerWhileTheClockRuns) {
  TRun r = RunScript(
      "click NextButton\n"
      "expect Zelvar1.Page 1\n"
      "expect Zelvar1.Busy True\n"
      "expect NextButton.Enabled False\n"
      "expect BackButton.Enabled False\n"
      "expect CancelButton.Enabled True\n"
      "expect BusyBar.Visible True\n"
      "wait 400\n"
      "expect Zelvar1.Page 1\n"
      "wait 200\n"
      "expect Zelvar1.Page 2\n"
      "expect Zelvar1.Busy False\n"
      "expect NextButton.Enabled True\n"
      "expect BackButton.Enabled True\n"
      "handle Zelvar1.OnCanPageChange none\n"
      "click NextButton\n"
      "click NextButton\n"
      "expect-result mrOk\n");
  EXPECT_EQ(r.Err, "");
  EXPECT_EQ(r.Status, 0);
  EXPECT_EQ(r.Out, "OnCanPageChange(Zelvar1, 1, 2)\nLookupDone(Lookup)\nresult = mrOk\n");
}

TEST_F(BusyScript, CancelWhileWaitingAbandonsTheChange) {
  TRun r = RunScript(
      "click NextButton\n"
      "click CancelButton\n"
      "expect-result mrCancel\n"
      "wait 600\n"
      "expect Zelvar1.Page 1\n"
      "expect Zelvar1.Busy False\n"
      "fails call Zelvar1.EndBusy True\n"
      "fails call Zelvar1.EndBusy Maybe\n");
  EXPECT_EQ(r.Err, "");
  EXPECT_EQ(r.Status, 0);
  // The lookup answers after Cancel: quietly dropped; only that once.
  EXPECT_EQ(r.Out,
            "OnCanPageChange(Zelvar1, 1, 2)\nOnBusyCancel(Zelvar1, 1)\nresult = "
            "mrCancel\nLookupDone(Lookup)\n"
            "Zelvar1: EndBusy without a page change waiting for it\n"
            "Zelvar1.EndBusy takes True or False, not 'Maybe'\n");
}

TEST_F(WizardScript, TheStepListGoesBackByClickAndKeyboardOnly) {
  TRun r = RunScript(
      "load wizard.txt\n"
      "create TAStepList Steps in Zelvar1\n"
      "handle Zelvar1.OnPageChange log\n"
      "execute Zelvar1 1\n"
      "expect Steps.Visible True\n"
      "click NextButton\n"
      "click NextButton\n"
      // Step 1 is the top row: a click goes back there, and the history with it.
      "mouse down left 30 10 Steps\n"
      "mouse up left 30 10 Steps\n"
      "expect Zelvar1.Page 1\n"
      "expect Zelvar1.HistoryCount 0\n"
      // Step 3 was left by going back: no longer visited, a click does nothing.
      "mouse down left 30 50 Steps\n"
      "mouse up left 30 50 Steps\n"
      "expect Zelvar1.Page 1\n"
      "click NextButton\n"
      "click NextButton\n"
      "focus Steps\n"
      "key Up\n"
      "key Space\n"
      "expect Zelvar1.Page 2\n"
      "focus Steps\n"
      "key Up\n"
      "key Enter\n"
      "expect Zelvar1.Page 1\n"
      // Enter on the current step is the page's Enter: Next.
      "focus Steps\n"
      "key Enter\n"
      "expect Zelvar1.Page 2\n"
      "key Escape\n"
      "expect-result mrCancel\n");
  EXPECT_EQ(r.Err, "");
  EXPECT_EQ(r.Status, 0);
  EXPECT_EQ(r.Out,
            "OnPageChange(Zelvar1, 1)\n"
            "OnPageChange(Zelvar1, 2)\n"
            "OnPageChange(Zelvar1, 3)\n"
            "OnPageChange(Zelvar1, 1)\n"
            "OnPageChange(Zelvar1, 2)\n"
            "OnPageChange(Zelvar1, 3)\n"
            "OnPageChange(Zelvar1, 2)\n"
            "OnPageChange(Zelvar1, 1)\n"
            "OnPageChange(Zelvar1, 2)\n"
            "result = mrCancel\n");
}

TEST_F(WizardScript, TheBannerPushesThePageDownWhileShown) {
  TRun r = RunScript(
      "load wizard.txt\n"
      "set Zelvar1.Page 1\n"
      "create TAPanel Body in Zelvar1\n"
      "set Body.AAlign alClient\n"
      "execute Zelvar1 1\n"
      "expect Body.Top 0\n"
      "set Zelvar1.HeaderStyle hsBanner\n"
      "set Zelvar1.PageSubtitles.Strings ('' 'Where it goes' 'What it takes' 'Done')\n"
      "unless Body.Top 0 print Zelvar1.HeaderStyle\n"
      "expect Zelvar1.PageSubtitles.Strings ('' 'Where it goes' 'What it takes' 'Done')\n"
      "set Zelvar1.HeaderStyle hsNone\n"
      "expect Body.Top 0\n"
      "fails set Zelvar1.HeaderImage 'no-such.png'\n"
      "fails set Zelvar1.HeaderImage 5\n"
      "key Escape\n"
      "expect-result mrCancel\n");
  EXPECT_EQ(r.Err, "");
  EXPECT_EQ(r.Status, 0);
  EXPECT_THAT(r.Out, StartsWith("Zelvar1.HeaderStyle = hsBanner\n"));
  EXPECT_THAT(r.Out, HasSubstr("no-such.png"));
  EXPECT_THAT(r.Out, HasSubstr("HeaderImage is a picture: it takes a file name"));
  EXPECT_THAT(r.Out, EndsWith("result = mrCancel\n"));
}

}  // namespace
