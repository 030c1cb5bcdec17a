// `zelvar run` scripts and `zelvar shot`, run as a user runs them.

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>
#include "tests/TestSupport.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/graphics/Codecs.h"

namespace {

namespace fs = std::filesystem;

using zelvar::test::RunZelvar;
using zelvar::test::Slurp;
using zelvar::test::TRun;

const std::string kData = std::string(ZELVAR_TEST_DATA) + "/scripts/";

class Script : public ::testing::Test {
 protected:
  void SetUp() override {
    Dir = fs::path(::testing::TempDir()) / ("script-" + std::to_string(::getpid()));
    fs::remove_all(Dir);
    fs::create_directories(Dir);
    fs::copy_file(kData + "dialog.txt", Dir / "dialog.txt");
  }
  void TearDown() override { fs::remove_all(Dir); }

  TRun Zelvar(const std::string& args, const std::string& env = "") {
    return RunZelvar(args, Dir, "", env);
  }
  // Writes a script beside the copied dialog and runs it.
  TRun RunScript(const std::string& text) {
    std::ofstream(Dir / "test.zs") << text;
    return Zelvar("run --script " + ScriptPath());
  }
  std::string ScriptPath() const { return (Dir / "test.zs").string(); }

  fs::path Dir;
};

TEST_F(Script, PrintsWhatAScreenReaderLearns) {
  TRun r = RunScript(
      "load dialog.txt\n"
      "set OkButton.Default True\n"
      "print OkButton.Accessible\n"
      "accessibility\n"
      "accessibility CancelButton\n"
      "fails print Nothing.Accessible\n");
  EXPECT_EQ(r.Err, "");
  EXPECT_EQ(r.Status, 0);
  EXPECT_EQ(r.Out,
            "OkButton.Accessible = push button 'OK' [enabled sensitive focusable visible default]\n"
            "frame 'Setup' [enabled sensitive]\n"
            "  push button 'OK' [enabled sensitive focusable visible default]\n"
            "  push button 'Cancel' [enabled sensitive focusable visible]\n"
            "push button 'Cancel' [enabled sensitive focusable visible]\n"
            "no component named 'Nothing' on Dialog\n");
}

TEST_F(Script, ModalDialogEndsWithTheClickedButton) {
  TRun r = Zelvar("run --script " + kData + "modal.zs");
  EXPECT_EQ(r.Err, "");
  EXPECT_EQ(r.Status, 0);
  EXPECT_EQ(r.Out,
            "Dialog.Caption = 'It''s set'\n"
            "OkButton.ModalResult = 1\n"
            "result = mrOk\n"
            "CancelButton.Caption is not an event\n"
            "result = mrCancel\n");
}

TEST_F(Script, FormGivenOnTheCommandLineIsActive) {
  std::ofstream(Dir / "test.zs") << "print Dialog.ClientWidth\n";
  TRun r = Zelvar("run " + (Dir / "dialog.txt").string() + " --script " + ScriptPath());
  EXPECT_EQ(r.Status, 0) << r.Err;
  EXPECT_EQ(r.Out, "Dialog.ClientWidth = 200\n");
}

TEST_F(Script, FailedExpectationStopsWithFileAndLine) {
  TRun r = RunScript(
      "# a comment, then a blank line\n"
      "\n"
      "load dialog.txt\n"
      "expect Dialog.Caption 'Other'\n"
      "print Dialog.Caption\n");
  EXPECT_EQ(r.Status, 1);
  EXPECT_EQ(r.Err, "zelvar: " + ScriptPath() + ":4: Dialog.Caption is 'Setup', expected 'Other'\n");
  EXPECT_EQ(r.Out, "");  // nothing after the failure runs
}

TEST_F(Script, ExpectComparesCanonicalText) {
  TRun r = RunScript(
      "load dialog.txt\n"
      "expect Dialog.Caption 'Se'+'tup'\n"
      "expect CancelButton.Cancel true\n"
      "expect OkButton.Left 110 # a trailing comment\n");
  EXPECT_EQ(r.Status, 0) << r.Err;
}

TEST_F(Script, TextBeyondAsciiIsShownAsItsCharacters) {
  TRun r = RunScript(
      "load dialog.txt\n"
      "set Dialog.Caption 'Zur\xC3\xBC"
      "ck'#13\n"
      "print Dialog.Caption\n"
      "expect Dialog.Caption 'Zur'#252'ck'#13\n"
      "expect Dialog.Caption 'Zur\xC3\xBC"
      "ck'#13\n"
      "expect Dialog.Caption 'Weiter'\n");
  EXPECT_EQ(r.Status, 1);
  EXPECT_EQ(r.Out,
            "Dialog.Caption = 'Zur\xC3\xBC"
            "ck'#13\n");
  EXPECT_EQ(r.Err, "zelvar: " + ScriptPath() +
                       ":6: Dialog.Caption is 'Zur\xC3\xBC"
                       "ck'#13, expected 'Weiter'\n");
}

TEST_F(Script, FailsPrintsTheErrorAndFailsWhenNothingFails) {
  TRun r = RunScript(
      "load dialog.txt\n"
      "fails set Dialog.Nope 1\n"
      "fails load missing.txt\n");
  EXPECT_EQ(r.Status, 0) << r.Err;
  EXPECT_NE(r.Out.find("Nope"), std::string::npos) << r.Out;
  EXPECT_NE(r.Out.find("missing.txt"), std::string::npos) << r.Out;

  r = RunScript("load dialog.txt\nfails print Dialog.Caption\n");
  EXPECT_EQ(r.Status, 1);
  EXPECT_EQ(r.Err, "zelvar: " + ScriptPath() + ":2: 'print Dialog.Caption' did not fail\n");
}

TEST_F(Script, UnknownCommandsAndBadWordsAreErrorsEvenUnderFails) {
  TRun r = RunScript("load dialog.txt\nverbose Dialog 0\n");
  EXPECT_EQ(r.Status, 1);
  EXPECT_EQ(r.Err, "zelvar: " + ScriptPath() + ":2: unknown command 'verbose'\n");
  // Designer commands need a form loaded for design.
  r = RunScript("load dialog.txt\nverb Dialog 0\n");
  EXPECT_EQ(r.Status, 1);
  EXPECT_EQ(r.Err, "zelvar: " + ScriptPath() +
                       ":2: 'Dialog' is not on a form being designed (load FILE design)\n");

  r = RunScript("fails frobnicate\n");
  EXPECT_EQ(r.Status, 1);
  EXPECT_NE(r.Err.find(":1: unknown command 'frobnicate'"), std::string::npos) << r.Err;

  r = RunScript("load dialog.txt\nexpect Dialog.Caption\n");
  EXPECT_EQ(r.Status, 1);
  EXPECT_NE(r.Err.find(":2: usage: expect PATH VALUE"), std::string::npos) << r.Err;

  r = RunScript("load dialog.txt\n\nset Dialog.Caption 'open\n");
  EXPECT_EQ(r.Status, 1);
  EXPECT_NE(r.Err.find(":3: unterminated string"), std::string::npos) << r.Err;
}

TEST_F(Script, ScriptEndingInsideModalLoopFails) {
  TRun r = Zelvar("run --script " + kData + "unfinished.zs");
  EXPECT_EQ(r.Status, 1);
  EXPECT_EQ(r.Err,
            "zelvar: " + kData + "unfinished.zs:2: script ended inside a modal loop of Dialog\n");
}

TEST_F(Script, NestedModalLoopsReturnToTheOuterForm) {
  TRun r = Zelvar("run --script " + kData + "nested.zs");
  EXPECT_EQ(r.Status, 0) << r.Err;
  EXPECT_EQ(r.Out, "result = mrYes\nresult = mrCancel\n");
}

TEST_F(Script, ErrorInsideModalLoopNamesItsOwnLine) {
  TRun r = RunScript(
      "load dialog.txt\n"
      "show\n"
      "click NoSuchButton\n");
  EXPECT_EQ(r.Status, 1);
  EXPECT_EQ(r.Err, "zelvar: " + ScriptPath() + ":3: no component named 'NoSuchButton' on Dialog\n");
}

TEST_F(Script, TimersFireAsTheClockMovesAndTypedTextArrives) {
  TRun r = Zelvar("run --script " + kData + "input.zs");
  EXPECT_EQ(r.Status, 0) << r.Err;
  EXPECT_EQ(r.Out,
            "OnTimer(Fast)\n"
            "OnTimer(Fast)\n"
            "OnTimer(Slow)\n"
            "OnTimer(Fast)\n"
            "OnTimer(Slow)\n"
            "'Work' cannot take the focus\n");
  // Time runs forward only.
  TRun back = RunScript("wait -5\n");
  EXPECT_EQ(back.Status, 1);
  EXPECT_NE(back.Err.find("wait takes a number of milliseconds, not -5"), std::string::npos);
}

TEST_F(Script, HandlerScriptsBesideAFormRunWhenTheirEventIsRaised) {
  TRun r = Zelvar("run --script " + kData + "handlers.zs");
  EXPECT_EQ(r.Status, 0) << r.Err;
  EXPECT_EQ(r.Out,
            "Tick(Clock)\nTwice(Clock)\n"
            "Invalid value for property TLabel.Caption: string expected, integer given\n");
  // An error inside a handler script names the script's line.
  TRun bad = RunScript("method Tick run " + kData +
                       "Tick.zs\n"
                       "new Form1\ncreate TTimer Clock\nset Clock.Interval 5\n"
                       "set Clock.OnTimer Tick\nwait 5\n");
  EXPECT_EQ(bad.Status, 1);
  EXPECT_NE(bad.Err.find(kData + "Tick.zs:2: "), std::string::npos) << bad.Err;
}

TEST_F(Script, HandlersLogVetoAndDetach) {
  TRun r = Zelvar("run --script " + kData + "controls.zs");
  EXPECT_EQ(r.Status, 0) << r.Err;
  EXPECT_EQ(r.Out,
            "Changed(Choice)\n"
            "OnSelectCell(Grid, 2, 2, True)\n"
            "Grid.Col = 2\n"
            "OnSelectCell(Grid, 1, 1, True)\n"
            "OnSelectCell(Grid, 3, 3, True)\n"
            "Grid.Row = 1\n"
            "Grid.Row = 3\n"
            "pixel 100, 35 is #FFFFFF, expected #000080\n");
}

TEST_F(Script, CheckBoxesToggleAndTheProgressBarSteps) {
  TRun r = Zelvar("run --script " + kData + "checks.zs");
  EXPECT_EQ(r.Status, 0) << r.Err;
  EXPECT_EQ(r.Out,
            "OnClick(Shortcut)\n"
            "OnClick(Shortcut)\n"
            "OnClick(Shortcut)\n"
            "OnClick(Shortcut)\n"
            "OnClick(Shortcut)\n"
            "Progress: Min (101) above Max (100)\n"
            "result = mrOk\n");
}

TEST_F(Script, PopupChoosesAMenuItemByItsCaption) {
  TRun r = Zelvar("run --script " + kData + "menus.zs");
  EXPECT_EQ(r.Status, 0) << r.Err;
  EXPECT_EQ(r.Out,
            "OnClick(CutItem)\n"
            "OnClick(CopyItem)\n"
            "the menu item '&Paste' is disabled\n"
            "the popup menu has no item 'Undo' (it has 'Cu&t', '&Copy', '&Paste')\n"
            "no popup menu opened over 'Plain'\n"
            "the popup menu has no item 'Copy' (it has 'Cu&t', '&Paste')\n"
            "result = mrOk\n");
}

TEST_F(Script, ListsScrollByBarKeysAndWheel) {
  // Item and row counts, positions and the repeat of a held arrow are expected in the script;
  // a selection is clicked once per change, and a double click once.
  TRun r = Zelvar("run --script " + kData + "lists.zs");
  EXPECT_EQ(r.Status, 0) << r.Err;
  std::string clicks;
  for (int i = 0; i < 7; ++i) clicks += "OnClick(List)\n";
  EXPECT_EQ(r.Out, clicks + "OnDblClick(List)\nresult = mrOk\n");
}

TEST_F(Script, MousePressesCarryTheHeldButtonsAndKeys) {
  // Logged as (Sender, Button, Shift, X, Y): mbLeft 0, mbRight 1; ssShift 1, ssLeft 8,
  // ssRight 16. A press holds its button in its own message; a release no longer does.
  TRun r = RunScript(
      "new Work\n"
      "create TDrawGrid Grid\n"
      "handle Grid.OnMouseDown log\n"
      "handle Grid.OnMouseUp log\n"
      "click Grid\n"
      "rclick Grid\n"
      "hold Shift\n"
      "mouse down left 5 5 Grid\n"
      "mouse down right 6 6 Grid\n"
      "mouse up left 7 7 Grid\n"
      "mouse up right 8 8 Grid\n"
      "click Grid\n");
  EXPECT_EQ(r.Status, 0) << r.Err;
  EXPECT_EQ(r.Out,
            "OnMouseDown(Grid, 0, 8, 160, 60)\n"
            "OnMouseUp(Grid, 0, 0, 160, 60)\n"
            "OnMouseDown(Grid, 1, 16, 160, 60)\n"
            "OnMouseUp(Grid, 1, 0, 160, 60)\n"
            "OnMouseDown(Grid, 0, 9, 5, 5)\n"
            "OnMouseDown(Grid, 1, 25, 6, 6)\n"
            "OnMouseUp(Grid, 0, 17, 7, 7)\n"
            "OnMouseUp(Grid, 1, 1, 8, 8)\n"
            "OnMouseDown(Grid, 0, 9, 160, 60)\n"
            "OnMouseUp(Grid, 0, 1, 160, 60)\n");
}

TEST_F(Script, TypingEditingKeysClipboardAndWheelReachEditsAndMemos) {
  TRun r = Zelvar("run --script " + kData + "edits.zs");
  EXPECT_EQ(r.Status, 0) << r.Err;
  // Four characters typed, one taken back, one paste.
  std::string changes;
  for (int i = 0; i < 6; ++i) changes += "Changed(NameEdit)\n";
  EXPECT_EQ(r.Out, changes + "result = mrOk\n");
}

TEST_F(Script, PrintOfAMissingPropertyPrintsNothing) {
  TRun r = RunScript("load dialog.txt\nprint Dialog.Nope\n");
  EXPECT_EQ(r.Status, 1);
  EXPECT_EQ(r.Out, "");
  EXPECT_NE(r.Err.find(":2: "), std::string::npos) << r.Err;
  EXPECT_NE(r.Err.find("Nope"), std::string::npos) << r.Err;
}

TEST_F(Script, SavedFormKeepsScriptMethodNames) {
  TRun r = RunScript(
      "method Changed log\n"
      "new Work\n"
      "create TComboBox Choice\n"
      "set Choice.OnChange Changed\n"
      "save saved.txt text\n"
      "load saved.txt\n"
      "pick Choice -1\n");
  EXPECT_EQ(r.Status, 0) << r.Err;
  EXPECT_NE(Slurp(Dir / "saved.txt").find("OnChange = Changed"), std::string::npos);
  // The reloaded form's handler is bound to the script's method again.
  EXPECT_EQ(r.Out, "Changed(Choice)\n");
}

TEST_F(Script, ShotWritesTheClientArea) {
  fs::path png = Dir / "dialog.png";
  TRun r = Zelvar("shot " + (Dir / "dialog.txt").string() + " " + png.string());
  ASSERT_EQ(r.Status, 0) << r.Err;
  zelvar::TImageData image = zelvar::LoadImageFile(png.string());
  EXPECT_EQ(image.Width, 200);
  EXPECT_EQ(image.Height, 120);
  EXPECT_EQ(image.At(5, 5) & 0xFFFFFF, 0xFFFFFFu);  // the form's clWhite

  r = RunScript("load dialog.txt\nset Dialog.ClientWidth 150\nshot small.png\n");
  ASSERT_EQ(r.Status, 0) << r.Err;
  EXPECT_EQ(zelvar::LoadImageFile((Dir / "small.png").string()).Width, 150);
}

TEST_F(Script, AWizardOnAScreenOfTwiceThePixelsPerInchShowsEverythingDoubled) {
  std::ofstream(Dir / "test.zs")
      << "load " << kData << "wizard.txt\n"
      << "execute Zelvar1 1\n"
         "expect Zelvar1.ButtonWidth 180\n"
         "expect Zelvar1.Font.Height -22\n"
         "shot fine.png\n"
         // Cancel's cross, each of its pixels a 2 by 2 square: rows 0 and 1 the same, red
         // to x + 5, then the face; rows 2 and 3 red to x + 7.
         "expect-pixel 447 602 #FF0000\n"
         "expect-pixel 448 603 #FF0000\n"
         "expect-pixel 452 602 #FF0000\n"
         "expect-pixel 453 603 #C0C0C0\n"
         "expect-pixel 454 604 #FF0000\n"
         "key Escape\n";
  TRun r = Zelvar("run --script " + ScriptPath(), "ZELVAR_DPI=192");
  ASSERT_EQ(r.Status, 0) << r.Err << r.Out;
  EXPECT_EQ(r.Out, "result = mrCancel\n");
  EXPECT_EQ(zelvar::LoadImageFile((Dir / "fine.png").string()).Width, 962);
}

TEST_F(Script, ShotReportsBadFormsAndMissingPages) {
  TRun r = Zelvar("shot " + kData + "modal.zs " + (Dir / "x.png").string());
  EXPECT_EQ(r.Status, 1);
  EXPECT_EQ(r.Err.rfind("zelvar: " + kData + "modal.zs: ", 0), 0u) << r.Err;
  EXPECT_FALSE(fs::exists(Dir / "x.png"));

  r = Zelvar("shot " + (Dir / "dialog.txt").string() + " " + (Dir / "x.png").string() +
             " --page 2");
  EXPECT_EQ(r.Status, 1);
  EXPECT_NE(r.Err.find("no component has a Page property"), std::string::npos) << r.Err;
}

TEST_F(Script, RunWithoutScriptNeedsADisplay) {
  TRun r = Zelvar("run " + (Dir / "dialog.txt").string(), "env -u DISPLAY -u WAYLAND_DISPLAY");
  EXPECT_EQ(r.Status, 1);
  EXPECT_EQ(r.Err, "zelvar: no display: use --script to run " + (Dir / "dialog.txt").string() +
                       " headless\n");
}

TEST_F(Script, UsageErrorsExitTwo) {
  std::string form = (Dir / "dialog.txt").string();
  for (const std::string& args : std::vector<std::string>{
           "run", "run --script", "run " + form + " " + form, "run --bogus " + form,
           "run --headless " + form, "shot " + form, "shot " + form + " a.png --page",
           "shot " + form + " a.png --bogus"}) {
    TRun r = Zelvar(args);
    EXPECT_EQ(r.Status, 2) << args;
    EXPECT_EQ(r.Err.rfind("zelvar: ", 0), 0u) << args << ": " << r.Err;
  }
  TRun r = Zelvar("run --help");
  EXPECT_EQ(r.Status, 0);
  EXPECT_EQ(r.Out.rfind("usage: zelvar run", 0), 0u) << r.Out;
}

}  // namespace
