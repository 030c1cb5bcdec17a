// The steps an application queues for a headless run: they run one per wait of a modal loop,
// find their controls when they run, and say which control and form when they cannot.

#include "platform/backends/Headless.h"

#include <gtest/gtest.h>

#include <memory>

#include "platform/controls/Edit.h"
#include "platform/controls/ExtCtrls.h"
#include "platform/controls/StdCtrls.h"
#include "platform/core/TimerQueue.h"
#include "platform/forms/Forms.h"
#include "tests/TestSupport.h"

namespace zelvar::test {
namespace {

class HeadlessSteps : public ::testing::Test {
 protected:
  HeadlessSteps() : Form(New<TForm>(nullptr)) {
    Form->SetName("Dialog");
    Form->SetClientWidth(300);
    Form->SetClientHeight(200);
    Ok = Button("OK", 10, mrOk);
    Ok->SetDefault(true);
    Edit = New<TEdit>(Form.get());
    Edit->SetName("NameEdit");
    Edit->SetBounds(10, 50, 200, 24);
    Edit->SetParent(Form.get());
  }
  ~HeadlessSteps() override {
    Application().Headless().Clear();
    Application().SetBackend(nullptr);
  }
  TButton* Button(const char* name, int32_t left, TModalResult result) {
    auto* b = New<TButton>(Form.get());
    b->SetName(name);
    b->SetBounds(left, 10, 80, 25);
    b->SetModalResult(result);
    b->SetParent(Form.get());
    return b;
  }

  std::unique_ptr<TForm> Form;
  TButton* Ok;
  TEdit* Edit;
};

// Queues steps and returns before any of them runs: they must not depend on this frame.
void QueueTypingAndEnter() {
  std::string text = "Ada";
  Application().Headless().Type("NameEdit", text + " L").Key("Backspace").Key("Enter");
}

TEST_F(HeadlessSteps, AClickOnOkEndsTheLoopWithItsResult) {
  Application().Headless().Click("OK");
  EXPECT_EQ(Form->ShowModal(), mrOk);
  EXPECT_EQ(Application().Headless().Count(), 0u);
}

TEST_F(HeadlessSteps, StepsQueuedByAFunctionThatReturnedStillRun) {
  QueueTypingAndEnter();
  EXPECT_EQ(Form->ShowModal(), mrOk);
  EXPECT_EQ(Edit->Text(), "Ada ");
}

TEST_F(HeadlessSteps, KeysWithModifiersAndTypingIntoTheFocus) {
  Edit->SetText("old");
  std::vector<std::string> seen;
  Application()
      .Headless()
      .Click("NameEdit")
      .Key("ctrl+a")
      .Type("new")
      .Do([&] { seen.push_back(Edit->Text()); })
      .Key("Shift+Tab")
      .Do([&] { seen.push_back(FormName(*Form->ActiveControl())); })
      .Key("Escape")  // no cancel button: nothing ends the loop
      .Click("OK");
  EXPECT_EQ(Form->ShowModal(), mrOk);
  EXPECT_EQ(seen, (std::vector<std::string>{"new", "OK"}));
}

TEST_F(HeadlessSteps, WaitMovesTheTimerClock) {
  auto* timer = New<TTimer>(Form.get());
  timer->SetInterval(100);
  int ticks = 0;
  timer->OnTimer = [&](TObject*) { ++ticks; };
  std::vector<int> seen;
  Application().Headless().Wait(99).Do([&] { seen.push_back(ticks); }).Wait(1).Do([&] {
    seen.push_back(ticks);
    Form->Close();
  });
  EXPECT_EQ(Form->ShowModal(), mrCancel);
  EXPECT_EQ(seen, (std::vector<int>{0, 1}));
}

TEST_F(HeadlessSteps, AMissingOrUnclickableControlIsNamedWithItsFormAndLaterStepsDropped) {
  New<TTimer>(Form.get())->SetName("Ticker");
  Button("Off", 100, mrAbort)->SetEnabled(false);
  Button("Gone", 200, mrAbort)->SetVisible(false);
  auto* panel = New<TPanel>(Form.get());
  panel->SetName("Cover");
  panel->SetBounds(0, 0, 300, 40);
  panel->SetParent(Form.get());  // over every button
  panel->SetVisible(false);
  auto run = [&](auto queue) {
    queue(Application().Headless());
    Application().Headless().Click("OK");  // never reached
    std::string message = MessageOf<EComponentError>([&] { Form->ShowModal(); });
    EXPECT_EQ(Application().Headless().Count(), 0u);
    EXPECT_FALSE(Form->IsShown());
    return message;
  };
  EXPECT_EQ(run([](THeadlessSteps& s) { s.Click("NextButon"); }),
            "No control named 'NextButon' on Dialog");
  EXPECT_EQ(run([](THeadlessSteps& s) { s.Click("Ticker"); }),
            "'Ticker' on Dialog is a TTimer, not a control");
  EXPECT_EQ(run([](THeadlessSteps& s) { s.DblClick("Off"); }),
            "'Off' on Dialog cannot be clicked: it is disabled");
  EXPECT_EQ(run([](THeadlessSteps& s) { s.Click("Gone"); }),
            "'Gone' on Dialog cannot be clicked: it is hidden");
  EXPECT_EQ(run([&](THeadlessSteps& s) { s.Do([&] { panel->SetVisible(true); }).Click("OK"); }),
            "'OK' on Dialog cannot be clicked: 'Cover' covers its centre");
  panel->SetVisible(false);
  EXPECT_EQ(run([](THeadlessSteps& s) { s.Type("Off", "x"); }),
            "'Off' on Dialog cannot take the focus");
  // A wrong key or text is the program's mistake, caught where it is written.
  EXPECT_EQ(MessageOf<EConvertError>([] { Application().Headless().Key("Ctrl+Nope"); }),
            "Unknown key 'Ctrl+Nope': a key name (Enter, Tab, Escape, F5, A, ...) after any of "
            "Shift+, Ctrl+ and Alt+");
  EXPECT_NE(MessageOf<EConvertError>([] { Application().Headless().Type("\xFF"); }),
            "no exception");
  EXPECT_NE(MessageOf<EConvertError>([] { Application().Headless().Wait(-1); }), "no exception");
  EXPECT_EQ(Application().Headless().Count(), 0u);
}

TEST_F(HeadlessSteps, StepsReachFormsShownLaterAndEndWithNoInputWhenOut) {
  auto dialog = std::unique_ptr<TForm>(New<TForm>(nullptr));
  dialog->SetName("Confirm");
  auto* yes = New<TButton>(dialog.get());
  yes->SetName("Yes");
  yes->SetBounds(10, 10, 80, 25);
  yes->SetModalResult(mrYes);
  yes->SetParent(dialog.get());
  int32_t inner = mrNone;
  Ok->OnClick = [&](TObject*) { inner = dialog->ShowModal(); };
  Application().Headless().Click("OK").Click("Yes");
  EXPECT_EQ(Form->ShowModal(), mrOk);
  EXPECT_EQ(inner, mrYes);
  // Nothing left to answer the loop: it ends instead of waiting.
  EXPECT_EQ(MessageOf<ENoInput>([&] { Form->ShowModal(); }),
            "No input left for the modal loop of Dialog");
}

TEST_F(HeadlessSteps, UseHeadlessKeepsTheBackendInstalledAndItsSteps) {
  THeadlessBackend& first = Application().UseHeadless();
  Application().Headless().Click("OK");
  EXPECT_EQ(&Application().UseHeadless(), &first);
  EXPECT_EQ(Application().Headless().Count(), 1u);
  // A backend of the program's own replaces it; the steps stay with the application, and
  // asking for them puts its headless backend back.
  Application().SetBackend(std::make_unique<THeadlessBackend>());
  EXPECT_EQ(MessageOf<ENoInput>([&] { Form->ShowModal(); }),
            "No input left for the modal loop of Dialog");
  EXPECT_EQ(Application().Headless().Count(), 1u);
  EXPECT_EQ(Form->ShowModal(), mrOk);
}

}  // namespace
}  // namespace zelvar::test
