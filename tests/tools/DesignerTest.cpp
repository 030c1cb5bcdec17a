// `zelvar design`: the visual designer driven by scripts as a user drives it, from an empty
// form to a wizard that runs, with its history and its files.

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "tests/TestSupport.h"

namespace zelvar::test {
namespace {

using ::testing::HasSubstr;

class DesignerProgram : public ScriptFolderTest {
 protected:
  DesignerProgram()
      : ScriptFolderTest("designer", {"design-wizard.zs", "run-designed.zs", "wizard.txt",
                                      "design-properties.zs"}) {}
  TRun Design(const std::string& form, const std::string& script) {
    std::ofstream(Dir / "test.zs") << script;
    std::string file = form.empty() ? "" : (Dir / form).string() + " ";
    return RunZelvar("design " + file + "--script " + (Dir / "test.zs").string(), Dir);
  }
};

TEST_F(DesignerProgram, AWizardMadeFromNothingRunsAndItsHistoryGivesBackEveryByte) {
  TRun made = RunZelvar("design --script " + (Dir / "design-wizard.zs").string(), Dir / "design");
  ASSERT_EQ(made.Status, 0) << made.Err;
  EXPECT_EQ(made.Err, "");
  // Undone to the empty form and redone to the wizard: the very bytes of each.
  EXPECT_EQ(Slurp(Dir / "undone.txt"), Slurp(Dir / "empty.txt"));
  EXPECT_EQ(Slurp(Dir / "redone.txt"), Slurp(Dir / "wizard.txt"));
  std::string wizard = Slurp(Dir / "wizard.txt");
  EXPECT_THAT(wizard, HasSubstr("object APanel1: TAPanel"));
  EXPECT_THAT(wizard, HasSubstr("Caption = 'Your details'"));
  // Opened again and saved unchanged, the file stays as it is.
  TRun again = Design("wizard.txt", "save\n");
  EXPECT_EQ(again.Status, 0) << again.Err;
  EXPECT_EQ(Slurp(Dir / "wizard.txt"), wizard);

  TRun run = RunZelvar(
      "run " + (Dir / "wizard.txt").string() + " --script " + (Dir / "run-designed.zs").string(),
      Dir);
  EXPECT_EQ(run.Err, "");
  EXPECT_EQ(run.Out, "result = mrOk\n");
}

TEST_F(DesignerProgram, ThePropertyGridTakesEveryKindOfValueAsTyped) {
  TRun r = RunZelvar("design --script " + (Dir / "design-properties.zs").string(), Dir);
  EXPECT_EQ(r.Status, 0) << r.Err;
  EXPECT_EQ(r.Err, "");
}

TEST_F(DesignerProgram, APictureIsChosenByItsFileInTheDialogAndCleared) {
  std::filesystem::copy_file(std::string(ZELVAR_TEST_DATA) + "/../../examples/setup-header.png",
                             Dir / "header.png");
  TRun r = Design("wizard.txt",
                  "select Zelvar1\n"
                  "inspect-dialog Zelvar1.HeaderImage\n"
                  "type FileName '" +
                      (Dir / "header.png").string() +
                      "'\n"
                      "click OKButton\n"
                      "value Zelvar1.HeaderImage\n"
                      "inspect-dialog Zelvar1.HeaderImage\n"
                      "type FileName '" +
                      (Dir / "missing.png").string() +
                      "'\n"
                      "click OKButton\n"
                      "expect-message 'Cannot open file \"" +
                      (Dir / "missing.png").string() +
                      "\": No such file or directory'\n"
                      "click OK\n"
                      "value Zelvar1.HeaderImage\n"
                      "inspect-dialog Zelvar1.HeaderImage\n"
                      "click ClearButton\n"
                      "value Zelvar1.HeaderImage\n");
  EXPECT_EQ(r.Status, 0) << r.Err;
  EXPECT_THAT(r.Out, HasSubstr("Zelvar1.HeaderImage = (TBitmap 48x48)\n"));
  EXPECT_THAT(r.Out, HasSubstr("(TBitmap 48x48)\nZelvar1.HeaderImage = (None)\n"));
}

TEST_F(DesignerProgram, KeysMoveDeleteAndClimbAndTheMenuOffersTheVerbs) {
  TRun r = Design("wizard.txt",
                  "palette TButton\n"
                  "click Form1\n"
                  "expect Button1.Parent Zelvar1\n"
                  "print Button1.Left\n"
                  "key Right\n"
                  "key Down ctrl\n"
                  "print Button1.Left\n"
                  "key Escape\n"
                  "key Escape\n"
                  "select Button1\n"
                  "key Delete\n"
                  "fails print Button1.Left\n"
                  "undo\n"
                  "print Button1.Left\n"
                  "popup Zelvar1 'Set size to Wizard size'\n"
                  "popup Zelvar1 'Bring to Front'\n"
                  "fails popup Zelvar1 'Frobnicate'\n");
  EXPECT_EQ(r.Status, 0) << r.Err;
  EXPECT_THAT(r.Out, HasSubstr("Button1.Left = 240\nButton1.Left = 241\n"));
  EXPECT_THAT(r.Out, HasSubstr("no component named 'Button1' on Form1"));
  EXPECT_THAT(r.Out, HasSubstr("on Form1\nButton1.Left = 241\n"));
}

TEST_F(DesignerProgram, ADoubleClickRunsTheDefaultVerbAndEventsTakeHandlerNames) {
  TRun r = Design("wizard.txt",
                  "click ChangeButton\n"
                  "palette TButton\n"
                  "drag Zelvar1 248 16 320 40\n"
                  "palette TButton\n"
                  "drag Zelvar1 40 40 112 64\n"
                  "palette TABox\n"  // drawn over Button2, which stays where it is
                  "drag Zelvar1 8 8 208 160\n"
                  "expect Button2.Parent Zelvar1\n"
                  "dblclick ABox1 4 4\n"  // Insert covered controls
                  "expect Button2.Parent ABox1\n"
                  "expect Button2.Left 32\n"
                  "expect Button1.Parent Zelvar1\n"
                  "inspect Button2.OnClick 'not a name'\n"
                  "expect-message '''not a name'' is not a valid method name'\n"
                  "click OK\n"
                  "inspect Button2.OnClick 'GoClick'\n"
                  "save\n");
  EXPECT_EQ(r.Status, 0) << r.Err;
  EXPECT_THAT(Slurp(Dir / "wizard.txt"), HasSubstr("OnClick = GoClick"));
}

TEST_F(DesignerProgram, SaveAsAsksForAFileAndAFormatAndF9RunsTheForm) {
  TRun r = Design("wizard.txt",
                  "key s ctrl shift\n"
                  "set FileName.Text '" +
                      (Dir / "copy.dfm").string() +
                      "'\n"
                      "click BinaryFormat\n"
                      "click OK\n"
                      "expect ZelvarDesigner.Caption 'Zelvar designer - copy.dfm'\n"
                      "key F9\n"
                      "expect Zelvar1.Page 1\n"
                      "click CancelButton\n"
                      "expect ZelvarDesigner.Caption 'Zelvar designer - copy.dfm'\n");
  EXPECT_EQ(r.Status, 0) << r.Err;
  EXPECT_EQ(Slurp(Dir / "copy.dfm").substr(0, 4), "TPF0");
}

TEST_F(DesignerProgram, SavingListsWhatTheFlowCheckFindsAndTheWayListEditorChecksItsList) {
  TRun r = Design("wizard.txt",
                  "expect DesignerMessages.Visible False\n"
                  "save\n"
                  "expect DesignerMessages.Visible True\n"
                  "print DesignerMessages.Items.Count\n"
                  "print DesignerMessages.Items\n");
  EXPECT_EQ(r.Status, 0) << r.Err;
  EXPECT_THAT(r.Out, HasSubstr("DesignerMessages.Items.Count = 3\n"));
  EXPECT_THAT(r.Out, HasSubstr("'page 1 (''Page 1''): warning: the page shows no control'"));
  // The way-list editor checks the list as it stands in the editor, before OK.
  std::ofstream(Dir / "way.zs") << "load " << ZELVAR_TEST_DATA
                                << "/../../examples/setup.txt design\n"
                                << "edit Zelvar1.WayList\n"
                                   "click CheckButton\n"
                                   "print Findings.Items\n"
                                   "click OK\n"
                                   "cell WayListGrid 0 6\n"
                                   "pick GotoBox 1\n"
                                   "click CheckButton\n"
                                   "print Findings.Items\n"
                                   "click OK\n"
                                   "click Button3\n";
  TRun way = RunZelvar("run --script " + (Dir / "way.zs").string(), Dir);
  EXPECT_EQ(way.Status, 0) << way.Err;
  EXPECT_EQ(way.Out,
            "Findings.Items = ('No problems: every position is reached and leads to the finish.')\n"
            "Findings.Items = ('page 7 (''Summary''): error: way-list position 7 is reached by no "
            "walk from the start page')\n");
}

TEST_F(DesignerProgram, ABadFormIsReportedAndTheScriptMustKnowTheDesigner) {
  std::ofstream(Dir / "bad.txt") << "object Form1: TForm1\n  Nonsense = 1\nend\n";
  TRun bad = Design("bad.txt", "save\n");
  EXPECT_EQ(bad.Status, 1);
  EXPECT_THAT(bad.Err, HasSubstr("bad.txt"));
  EXPECT_THAT(bad.Err, HasSubstr("Nonsense"));
  TRun outside = RunScript("new Form1\npalette TButton\n");
  EXPECT_EQ(outside.Status, 1);
  EXPECT_THAT(outside.Err, HasSubstr("no designer"));
  TRun unknown = Design("", "palette TNoSuchThing\n");
  EXPECT_EQ(unknown.Status, 1);
  EXPECT_THAT(unknown.Err, HasSubstr("the palette has no TNoSuchThing"));
}

}  // namespace
}  // namespace zelvar::test
