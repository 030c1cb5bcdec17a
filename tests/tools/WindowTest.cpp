// `zelvar run FORM`, and a C++ example, in a window on a virtual X server of the test's own,
// driven with xdotool as a user drives it.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <string>

#include "tests/TestSupport.h"
#include "tests/platform/backends/VirtualDisplay.h"

namespace zelvar::test {
namespace {

class WindowRun : public WindowTestBase {
 protected:
  void SetUp() override {
    WindowTestBase::SetUp();
    if (HasFatalFailure()) return;
    fs::copy_file(std::string(ZELVAR_TEST_DATA) + "/scripts/wizard.txt", Dir / "wizard.txt");
  }
  void TearDown() override {
    Zelvar.Stop(SIGKILL);
    WindowTestBase::TearDown();
  }

  void StartZelvar(const std::string& form) {
    std::string why;
    ASSERT_TRUE(Zelvar.Start({ZELVAR_TOOL, "run", form}, EnvironmentFor(Server->Display()),
                             Dir / "out", Dir / "err", &why))
        << why;
  }
  // The exit status once zelvar has ended; fails the test when it does not.
  int WaitForZelvar() {
    std::optional<int> status = Zelvar.Wait(kPatience);
    if (!status) {
      ADD_FAILURE() << "zelvar still runs; it wrote: " << Slurp(Dir / "out") << Slurp(Dir / "err");
      return -1;
    }
    return WIFEXITED(*status) ? WEXITSTATUS(*status) : -1;
  }

  struct TPlace {
    int ClientWidth = 0, ClientHeight = 0;  // of the form
    int X = 0, Y = 0;                       // the centre of Next, in client coordinates
  };
  // Where the wizard's Next button is on page 1, as the headless runner lays the wizard out:
  // the window must put it at the same place.
  TPlace NextButtonPlace() {
    std::ofstream(Dir / "place.zs") << "load wizard.txt\n"
                                       "execute Zelvar1 1\n"
                                       "print Form1.ClientWidth\n"
                                       "print Form1.ClientHeight\n"
                                       "print NextButton.Parent\n"
                                       "print Zelvar1.Parent\n"
                                       "print Zelvar1.Left\n"
                                       "print Zelvar1.Top\n"
                                       "print NextButton.Left\n"
                                       "print NextButton.Top\n"
                                       "print NextButton.Width\n"
                                       "print NextButton.Height\n"
                                       "key Escape\n";
    test::TRun r = test::RunZelvar("run --script " + (Dir / "place.zs").string(), Dir / "place");
    EXPECT_EQ(r.Status, 0) << r.Err;
    std::map<std::string, std::string> values;
    std::istringstream lines(r.Out);
    for (std::string line; std::getline(lines, line);)
      if (auto eq = line.find(" = "); eq != std::string::npos)
        values[line.substr(0, eq)] = line.substr(eq + 3);
    EXPECT_EQ(values["NextButton.Parent"], "Zelvar1") << r.Out;
    EXPECT_EQ(values["Zelvar1.Parent"], "Form1") << r.Out;
    auto get = [&](const char* name) { return std::atoi(values[name].c_str()); };
    return {get("Form1.ClientWidth"), get("Form1.ClientHeight"),
            get("Zelvar1.Left") + get("NextButton.Left") + get("NextButton.Width") / 2,
            get("Zelvar1.Top") + get("NextButton.Top") + get("NextButton.Height") / 2};
  }

  TChild Zelvar;
};

TEST_F(WindowRun, WizardFollowsClicksAndKeysUntilEscape) {
  TPlace next = NextButtonPlace();
  // Next is 90 x 25 at the bottom right: left = width - 94, top = height - 28.
  EXPECT_EQ(next.X, next.ClientWidth - 94 + 45);
  EXPECT_EQ(next.Y, next.ClientHeight - 28 + 12);

  StartZelvar((Dir / "wizard.txt").string());
  std::string id = WaitForWindow("^Wizard");
  ASSERT_FALSE(id.empty()) << "no wizard window appeared; zelvar wrote: " << Slurp(Dir / "err");
  EXPECT_EQ(Title(id), "Wizard - Page 1 of 3");
  TOutput geometry = Xdo("getwindowgeometry " + id);
  std::string size = std::to_string(next.ClientWidth) + "x" + std::to_string(next.ClientHeight);
  EXPECT_NE((geometry.Text + "\n").find("Geometry: " + size + "\n"), std::string::npos)
      << geometry.Text;

  TOutput click = Xdo("mousemove --sync --window " + id + " " + std::to_string(next.X) + " " +
                      std::to_string(next.Y) + " click 1");
  EXPECT_EQ(click.Status, 0) << click.Text;
  EXPECT_EQ(WaitForTitle(id, "Wizard - Page 2 of 3"), "Wizard - Page 2 of 3");

  // "&Next": Alt+N presses it.
  TOutput alt = Xdo("key --window " + id + " alt+n");
  EXPECT_EQ(alt.Status, 0) << alt.Text;
  EXPECT_EQ(WaitForTitle(id, "Wizard - Page 3 of 3"), "Wizard - Page 3 of 3");

  TOutput escape = Xdo("keydown --window " + id + " Escape");
  EXPECT_EQ(escape.Status, 0) << escape.Text;
  EXPECT_EQ(WaitForZelvar(), 0);
  EXPECT_EQ(Slurp(Dir / "out"), "result = mrCancel\n");
  EXPECT_EQ(Slurp(Dir / "err"), "");
}

// An edit and a long memo; the Done button's handler is the script Report.zs beside the form,
// which prints what the controls hold and closes the form.
constexpr const char* kTypingForm = R"(object Form1: TForm
  Caption = 'Typing'
  ClientHeight = 200
  ClientWidth = 320
  object Edit1: TEdit
    Left = 8
    Top = 8
    Width = 200
    Height = 21
    TabOrder = 0
  end
  object Memo1: TMemo
    Left = 8
    Top = 40
    Width = 200
    Height = 100
    ScrollBars = ssVertical
    TabOrder = 1
  end
  object Done: TButton
    Left = 220
    Top = 160
    Width = 75
    Height = 25
    Caption = 'Done'
    TabOrder = 2
    OnClick = Report
  end
end
)";

TEST_F(WindowRun, TypedTextAndTheWheelReachTheControls) {
  std::ofstream(Dir / "typing.txt") << kTypingForm;
  std::ofstream(Dir / "Report.zs") << "print Edit1.Text\nprint Memo1.TopIndex\n"
                                      "set Form1.ModalResult 1\n";
  std::ofstream(Dir / "lines.zs") << "print Memo1.TopIndex\n";
  // A memo of 60 lines, filled before the run by a script as a program would.
  {
    std::ofstream fill(Dir / "fill.zs");
    fill << "load typing.txt\nset Memo1.Lines (";
    for (int i = 1; i <= 60; ++i) fill << " 'line " << i << "'";
    fill << ")\nsave typing.txt text\n";
  }
  test::TRun filled = test::RunZelvar("run --script " + (Dir / "fill.zs").string(), Dir);
  ASSERT_EQ(filled.Status, 0) << filled.Err;
  // What the same typing gives headless, as the script prints it.
  const std::string typed = "Grüße, €5 & 1/2";
  std::ofstream(Dir / "headless.zs")
      << "load typing.txt\ntype Edit1 '" << typed << "'\nprint Edit1.Text\n";
  test::TRun headless = test::RunZelvar("run --script " + (Dir / "headless.zs").string(), Dir);
  ASSERT_EQ(headless.Status, 0) << headless.Err;

  StartZelvar((Dir / "typing.txt").string());
  std::string id = WaitForWindow("^Typing$");
  ASSERT_FALSE(id.empty()) << "no window appeared; zelvar wrote: " << Slurp(Dir / "err");
  // The edit has the focus (first in tab order); xdotool types through the keyboard, non-ASCII
  // characters through keys it maps for them, as an input method would deliver them.
  EXPECT_EQ(Xdo("windowfocus --sync " + id).Status, 0);
  // A shortcut types nothing, though X reports its letter as text.
  EXPECT_EQ(Xdo("key alt+x ctrl+y").Status, 0);
  TOutput type = Xdo("type --delay 30 '" + typed + "'");
  EXPECT_EQ(type.Status, 0) << type.Text;
  // Three notches toward the user over the memo.
  TOutput wheel = Xdo("mousemove --window " + id + " 108 90 click --repeat 3 --delay 50 5");
  EXPECT_EQ(wheel.Status, 0) << wheel.Text;
  TOutput done = Xdo("mousemove --window " + id + " 257 172 click 1");
  EXPECT_EQ(done.Status, 0) << done.Text;
  EXPECT_EQ(WaitForZelvar(), 0);
  EXPECT_EQ(Slurp(Dir / "out"), headless.Out + "Memo1.TopIndex = 9\nresult = mrOk\n");
  EXPECT_EQ(Slurp(Dir / "err"), "");
}

// The code-built wizard of examples/cpp, a program of an application's own: including
// <zelvar/window.h> is all it does to get a window. Enter goes on from a page of text (Next
// has the focus) and from the name page (the edit has it), and Finish ends the program.
TEST_F(WindowRun, FirstWizardFromCxxRunsInAWindow) {
  std::string why;
  ASSERT_TRUE(Zelvar.Start({ZELVAR_EXAMPLE_FIRST_WIZARD}, EnvironmentFor(Server->Display()),
                           Dir / "out", Dir / "err", &why))
      << why;
  std::string id = WaitForWindow("^Wizard - Page 1 of 3$");
  ASSERT_FALSE(id.empty()) << "no wizard window appeared; it wrote: " << Slurp(Dir / "err");
  EXPECT_EQ(Xdo("windowfocus --sync " + id).Status, 0);
  EXPECT_EQ(Xdo("key Return").Status, 0);
  EXPECT_EQ(WaitForTitle(id, "Wizard - Page 2 of 3"), "Wizard - Page 2 of 3");
  EXPECT_EQ(Xdo("type --delay 30 Ada").Status, 0);
  EXPECT_EQ(Xdo("key Return").Status, 0);
  EXPECT_EQ(WaitForTitle(id, "Wizard - Page 3 of 3"), "Wizard - Page 3 of 3");
  EXPECT_EQ(Xdo("key Return").Status, 0);
  EXPECT_EQ(WaitForZelvar(), 0);
  EXPECT_EQ(Slurp(Dir / "out"), "Finished: Ada\n");
  EXPECT_EQ(Slurp(Dir / "err"), "");
}

TEST_F(WindowRun, BadFormFileIsReportedWithADisplay) {
  std::ofstream(Dir / "bad.txt") << "object Form1: TForm\n  Caption = \n";
  std::string bad = (Dir / "bad.txt").string();
  StartZelvar(bad);
  EXPECT_EQ(WaitForZelvar(), 1);
  std::string err = Slurp(Dir / "err");
  EXPECT_EQ(err.rfind("zelvar: " + bad + ": ", 0), 0u) << err;
  EXPECT_EQ(Slurp(Dir / "out"), "");
}

}  // namespace
}  // namespace zelvar::test
