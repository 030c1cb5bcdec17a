// The designer driven by scripts: verbs, property values and the four editor dialogs, used as
// a developer uses them.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "tests/TestSupport.h"

namespace {

using zelvar::test::TRun;

class DesignScript : public zelvar::test::ScriptFolderTest {
 protected:
  DesignScript() : ScriptFolderTest("design-script", {"hosting.txt", "page.txt"}) {
    Prelude = "method GetPage form page.txt\nmethod PageGone log\nload hosting.txt design\n";
  }
};

TEST_F(DesignScript, VerbsAndValuesOfTheContainerAndItsControls) {
  TRun r = RunScript(
      "verbs Zelvar1\n"
      "verbs Box1\n"
      "verbs Skip\n"
      "value Zelvar1.PageNames\n"
      "value Zelvar1.NumPages\n"
      "value Box1.ShowContainer\n"
      "value Zelvar1.BtnNext\n");
  EXPECT_EQ(r.Err, "");
  EXPECT_EQ(r.Out,
            "Insert covered controls\n"
            "Aktivate Jump controls\n"
            "Disable Jump controls\n"
            "Set size to Wizard size\n"
            "Insert covered controls\n"
            "Zelvar1.PageNames = [PageNames]\n"
            "Zelvar1.NumPages = 3\n"
            "Box1.ShowContainer = [ShowContainer]\n"
            "Zelvar1.BtnNext = (TButtonData)\n");
}

TEST_F(DesignScript, FewerPagesAreConfirmedFirst) {
  TRun r = RunScript(
      "value Zelvar1.NumPages '2'\n"
      "expect-message 'Do you want to reduce the number of pages in the Zelvar?'\n"
      "click Cancel\n"
      "expect Zelvar1.NumPages 3\n"
      "value Zelvar1.NumPages '2'\n"
      "click Yes\n"
      "expect Zelvar1.NumPages 2\n"
      "value Zelvar1.NumPages 'abc'\n"
      "value Zelvar1.NumPages '4'\n"
      "expect Zelvar1.NumPages 4\n"
      "expect Zelvar1.PageNames ('Dialog' 'Page 1' 'Page 2' 'Page 3' 'Page 4')\n");
  EXPECT_EQ(r.Err, "");
  EXPECT_EQ(r.Status, 0);
}

TEST_F(DesignScript, PageNamesMoveWithTheControlsPlaces) {
  TRun r = RunScript(
      "expect Box1.ShowContainer.Data "
      "{0000000000000000000000000A000000140000000100000000000000000"
      "0000000000000000000000000000000000000}\n"
      "edit Zelvar1.PageNames\n"
      "expect-cell PageList 1 4 'Page 3'\n"
      "cell PageList 1 4\n"
      "click Button1\n"
      "click Button1\n"
      "cell PageList 1 2 'Start'\n"  // page 3, now on row 2
      "click Button7\n"
      "expect Zelvar1.PageNames ('Dialog' 'Start' 'Page 1' 'Page 2')\n"
      "expect Box1.ShowContainer.Data "
      "{0000000000000000000000000000000000000000000000000A000000140"
      "0000001000000000000000000000000000000}\n"
      "edit Zelvar1.PageNames\n"
      "cell PageList 1 2 'Not kept'\n"
      "click Button6\n"
      "expect Zelvar1.PageNames ('Dialog' 'Start' 'Page 1' 'Page 2')\n");
  EXPECT_EQ(r.Err, "");
  EXPECT_EQ(r.Status, 0);
}

TEST_F(DesignScript, TheLayoutWayListAndShowDialogsWriteBackOnOK) {
  TRun r = RunScript(
      "edit Zelvar1.BLWizard\n"
      "cell LayoutGrid 0 6\n"
      "click Button5\n"
      "click Button1\n"
      "expect Zelvar1.BLWizard.Data "
      "{0100000002000000080000000300000004000000050000000700000006000000}\n"
      "edit Zelvar1.WayList\n"
      "click Button8\n"
      "cell WayListGrid 0 2\n"
      "pick GotoBox 3\n"
      "click Button2\n"
      "expect Zelvar1.WayList.Data {01000000FDFFFFFF0200000000000000030000"
      "00FEFFFFFF}\n"
      "edit Box1.ShowContainer\n"
      "cell ShowGrid 0 0\n"
      "click Button2\n"
      "expect Box1.ShowContainer.Data "
      "{0000000000000000010000000A000000140000000100000000000000000"
      "0000000000000000000000000000000000000}\n");
  EXPECT_EQ(r.Err, "");
  EXPECT_EQ(r.Status, 0);
}

// design-buttons.zs: a form read from a file into the designer, whose button bar must answer
// the mouse as the bar of a container made in the designer does.
class DesignedFromFile : public zelvar::test::ScriptFolderTest {
 protected:
  DesignedFromFile()
      : ScriptFolderTest("designed-from-file", {"wizard.txt", "design-buttons.zs"}) {}
};

TEST_F(DesignedFromFile, TheButtonBarAnswersTheMouse) {
  TRun r = zelvar::test::RunZelvar("run --script " + (Dir / "design-buttons.zs").string(), Dir);
  EXPECT_EQ(r.Err, "");
  EXPECT_EQ(r.Status, 0);
  EXPECT_EQ(r.Out, "OnHelpClick(Zelvar1, 2)\n");
}

// A tabbed container in the designer: a plain left press on a tab turns the page there and
// then; with Shift held the press is the designer's (it selects) and the page stays.
class DesignTabs : public zelvar::test::ScriptFolderTest {
 protected:
  DesignTabs() : ScriptFolderTest("design-tabs", {"tabbed.txt"}) {
    Prelude = "load tabbed.txt design\n";
  }
};

TEST_F(DesignTabs, ALeftPressOnATabTurnsThePage) {
  // The tabs read General (x 2..64), View (65..104) and About (105..152).
  TRun r = RunScript(
      "expect Tabs.Page 1\n"
      "mouse down left 85 10 Tabs\n"
      "mouse up left 85 10 Tabs\n"
      "expect Tabs.Page 2\n"
      "mouse down left 130 10 Tabs\n"
      "expect Tabs.Page 3\n"
      "mouse up left 130 10 Tabs\n"
      "hold Shift\n"
      "mouse down left 30 10 Tabs\n"
      "mouse up left 30 10 Tabs\n"
      "expect Tabs.Page 3\n"
      "release Shift\n"
      "mouse down right 30 10 Tabs\n"
      "mouse up right 30 10 Tabs\n"
      "expect Tabs.Page 3\n"
      "mouse down left 30 10 Tabs\n"
      "expect Tabs.Page 1\n");
  EXPECT_EQ(r.Err, "");
  EXPECT_EQ(r.Status, 0);
}

}  // namespace
