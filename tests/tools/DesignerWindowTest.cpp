// `zelvar design` in a real window on a virtual X server, driven with xdotool as a developer
// drives it: a panel from the palette dragged onto page 2 of a wizard, its caption typed into
// the property grid, Ctrl+S. A designer in this process, given the same presses at the same
// points, says where things are on screen and what the saved file must hold.

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <string>

#include "design/Zelvar32.h"
#include "platform/backends/HeadlessInput.h"
#include "platform/designer/DesignerWindow.h"
#include "platform/designer/Palette.h"
#include "platform/designer/PropertyGrid.h"
#include "tests/TestSupport.h"
#include "tests/platform/backends/VirtualDisplay.h"
#include "zelvar/zelvar.h"

namespace zelvar::test {
namespace {

using ::testing::HasSubstr;

class DesignerWindowRun : public WindowTestBase {
 protected:
  void SetUp() override {
    WindowTestBase::SetUp();
    if (HasFatalFailure()) return;
    fs::copy_file(std::string(ZELVAR_TEST_DATA) + "/scripts/wizard.txt", Dir / "wizard.txt");
    fs::copy_file(Dir / "wizard.txt", Dir / "twin.txt");
    Initialize();
    RegisterStandardPalette();
    Register();
    Twin = std::make_unique<TDesignerWindow>(nullptr);
    Twin->Palette().Rebuild();
    Twin->Open((Dir / "twin.txt").string());
    // Shown, so that its controls take the focus and the keys as the window's do.
    Twin->Show();
  }
  void TearDown() override {
    Zelvar.Stop(SIGKILL);
    if (Twin) Twin->Hide();
    Twin.reset();
    WindowTestBase::TearDown();
  }
  // The centre of r, a rectangle in c's client coordinates, in the window's.
  static TPoint At(TControl& c, const TRect& r) {
    TPoint o = c.FormOrigin();
    return {o.X + (r.Left + r.Right) / 2, o.Y + (r.Top + r.Bottom) / 2};
  }
  static TPoint At(TControl& c) { return At(c, {0, 0, c.Width(), c.Height()}); }
  // A click at p, in the twin and then in the window.
  void Click(TPoint p) {
    Twin->DispatchMouse(TMessage::MouseDown, mbLeft, {ssLeft}, p.X, p.Y);
    Twin->DispatchMouse(TMessage::MouseUp, mbLeft, {}, p.X, p.Y);
    Twin->RepaintForm();
    Do("mousemove --sync --window " + Id + " " + Xy(p) + " click 1");
  }
  void Drag(TPoint from, TPoint to) {
    Twin->DispatchMouse(TMessage::MouseDown, mbLeft, {ssLeft}, from.X, from.Y);
    Twin->DispatchMouse(TMessage::MouseMove, mbLeft, {ssLeft}, (from.X + to.X) / 2,
                        (from.Y + to.Y) / 2);
    Twin->DispatchMouse(TMessage::MouseMove, mbLeft, {ssLeft}, to.X, to.Y);
    Twin->DispatchMouse(TMessage::MouseUp, mbLeft, {}, to.X, to.Y);
    Twin->RepaintForm();
    Do("mousemove --sync --window " + Id + " " + Xy(from) + " mousedown 1");
    Do("mousemove --sync --window " + Id + " " + Xy({(from.X + to.X) / 2, (from.Y + to.Y) / 2}) +
       " mousemove --sync --window " + Id + " " + Xy(to) + " mouseup 1");
  }
  void Do(const std::string& args) {
    TOutput r = Xdo(args);
    EXPECT_EQ(r.Status, 0) << args << ": " << r.Text;
    std::this_thread::sleep_for(400ms);  // the window takes the events before the next ones
  }
  static std::string Xy(TPoint p) { return std::to_string(p.X) + " " + std::to_string(p.Y); }
  TControl& Designed(const std::string& name) {
    return *dynamic_cast<TControl*>(FindOnForm(Twin->Session().Form(), name));
  }

  std::unique_ptr<TDesignerWindow> Twin;
  TChild Zelvar;
  std::string Id;
};

TEST_F(DesignerWindowRun, APanelDraggedOntoPage2GetsItsCaptionTypedAndIsSaved) {
  std::string why;
  ASSERT_TRUE(Zelvar.Start({ZELVAR_TOOL, "design", (Dir / "wizard.txt").string()},
                           EnvironmentFor(Server->Display()), Dir / "out", Dir / "err", &why))
      << why;
  Id = WaitForWindow("^Zelvar designer");
  ASSERT_FALSE(Id.empty()) << "no designer window appeared; zelvar wrote: " << Slurp(Dir / "err");
  EXPECT_EQ(Title(Id), "Zelvar designer - wizard.txt");
  std::this_thread::sleep_for(1s);  // mapped is not yet reading input on a busy machine

  TComponentPalette& palette = Twin->Palette();
  Click(At(palette, palette.TabRect(palette.PageOf("TAPanel"))));
  Click(At(palette, palette.EntryRect("TAPanel")));
  ASSERT_EQ(palette.Selected(), &TAPanel::StaticClassInfo());
  // The container at design time: Wizard shows page 1, Next page 2.
  Click(At(Designed("ChangeButton")));
  Click(At(Designed("NextButton")));
  ASSERT_EQ(GetPropText(&Designed("Zelvar1"), "Page"), "2");
  EXPECT_EQ(WaitForTitle(Id, "Zelvar designer - wizard.txt *"), "Zelvar designer - wizard.txt *");
  TControl& zelvar = Designed("Zelvar1");
  Drag(At(zelvar, {16, 16, 16, 16}), At(zelvar, {200, 120, 200, 120}));
  ASSERT_NE(Twin->Session().Form().FindComponent("APanel1"), nullptr);

  TPropertyGrid& grid = Twin->PropertyGrid();
  ASSERT_TRUE(grid.SelectRow("Caption"));
  TPoint caption = At(*grid.ValueEdit());
  Click(caption);
  PressKey(*Twin, *KeyByName("A"), {ssCtrl});
  TypeChars(*Twin, "Your details");
  PressKey(*Twin, *KeyByName("Enter"), {});
  Application().ProcessMessages();
  Twin->Session().Save();
  Do("key --window " + Id + " ctrl+a");
  Do("type --window " + Id + " 'Your details'");
  Do("key --window " + Id + " Return");
  Do("key --window " + Id + " ctrl+s");
  EXPECT_EQ(WaitForTitle(Id, "Zelvar designer - wizard.txt"), "Zelvar designer - wizard.txt");

  std::string saved = Slurp(Dir / "wizard.txt");
  EXPECT_THAT(saved, HasSubstr("object APanel1: TAPanel"));
  EXPECT_THAT(saved, HasSubstr("Caption = 'Your details'"));
  EXPECT_EQ(saved, Slurp(Dir / "twin.txt"));
  EXPECT_EQ(Slurp(Dir / "err"), "");
}

}  // namespace
}  // namespace zelvar::test
