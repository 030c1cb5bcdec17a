// ConfirmCancel: Cancel, Escape and closing the window ask before throwing away what the user
// typed, as the container is set to; the answers are given in the message box's own loop.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/backends/Headless.h"
#include "platform/controls/Edit.h"
#include "platform/forms/Forms.h"
#include "tests/container/ContainerSupport.h"

namespace zelvar::test {
namespace {

using ::testing::ElementsAre;

class ConfirmCancelTest : public ContainerTest {
 protected:
  void SetUp() override {
    ContainerTest::SetUp();
    Z->UseDefaultButtons();
    Edit = New<TEdit>(Form.get());
    Edit->SetName("Edit1");
    Edit->SetParent(Z);
    Edit->SetBounds(10, 10, 100, 21);
  }
  void TearDown() override {
    Application().SetBackend(nullptr);
    ContainerTest::TearDown();
  }

  // Runs the wizard on page 1 through the steps queued.
  int32_t Run() { return Z->Execute(1); }
  THeadlessSteps& Steps() { return Application().Headless(); }
  // A step that notes the text of the message box shown now.
  std::function<void()> NoteBox() {
    return [this] {
      TForm* box = Application().ActiveForm();
      Boxes.push_back(box && box != Form.get() ? box->Caption() : std::string("none"));
    };
  }

  TEdit* Edit = nullptr;
  std::vector<std::string> Boxes;
};

TEST_F(ConfirmCancelTest, NeverClosesAtOnceAsBefore) {
  ASSERT_EQ(Z->ConfirmCancel(), ccNever);
  Steps().Type("Edit1", "typed").Click("CancelButton");
  EXPECT_EQ(Run(), mrCancel);
}

TEST_F(ConfirmCancelTest, AlwaysAsksAndNoStaysOnThePage) {
  Z->SetConfirmCancel(ccAlways);
  Steps().Click("NextButton").Click("CancelButton").Do(NoteBox()).Click("No");
  Steps().Do([&] { EXPECT_EQ(Form->ModalResult(), mrNone); });
  Steps().Key("Escape").Do(NoteBox()).Click("Yes");
  EXPECT_EQ(Run(), mrCancel);
  EXPECT_THAT(Boxes, ElementsAre("Confirm", "Confirm"));
  EXPECT_EQ(Z->Page(), 2);
}

TEST_F(ConfirmCancelTest, IfModifiedAsksOnlyWhenAValueDiffersFromTheStart) {
  Z->SetConfirmCancel(ccIfModified);
  // Typing and deleting again changes nothing: Cancel closes at once.
  Steps().Type("Edit1", "ab").Key("Backspace").Key("Backspace").Click("CancelButton");
  EXPECT_EQ(Run(), mrCancel);
  EXPECT_EQ(Z->StartValues().at("Edit1").Text, "");

  Steps().Type("Edit1", "x").Click("CancelButton").Do(NoteBox()).Click("No");
  Steps().Click("CancelButton").Do(NoteBox()).Click("Yes");
  EXPECT_EQ(Run(), mrCancel);
  EXPECT_THAT(Boxes, ElementsAre("Confirm", "Confirm"));
}

TEST_F(ConfirmCancelTest, ClosingTheWindowAsksToo) {
  // Not shown, the form closes without a question.
  Z->SetConfirmCancel(ccAlways);
  Form->Close();
  EXPECT_EQ(Form->ModalResult(), mrCancel);
  Z->SetConfirmCancel(ccIfModified);
  Steps().Type("Edit1", "x").Do([&] { Form->Close(); }).Do(NoteBox()).Click("No");
  Steps().Do([&] { EXPECT_EQ(Form->ModalResult(), mrNone); });
  Steps().Do([&] { Form->Close(); }).Click("Yes");
  EXPECT_EQ(Run(), mrCancel);
  EXPECT_THAT(Boxes, ElementsAre("Confirm"));
}

TEST_F(ConfirmCancelTest, OnCancelClickRefusingStillRefusesBeforeAnyQuestion) {
  Z->SetConfirmCancel(ccAlways);
  std::vector<int32_t> asked;
  Z->OnCancelClick = TCancelClickEvent([&](TZelvar*, int32_t page) {
    asked.push_back(page);
    return asked.size() > 1;
  });
  // Refused: no box; the second Cancel is agreed to, and the box asks.
  Steps().Click("CancelButton").Do(NoteBox()).Click("CancelButton").Click("Yes");
  EXPECT_EQ(Run(), mrCancel);
  EXPECT_THAT(asked, ElementsAre(1, 1));
  EXPECT_THAT(Boxes, ElementsAre("none"));
}

}  // namespace
}  // namespace zelvar::test
