#include "platform/forms/Dialogs.h"

#include <gtest/gtest.h>

#include "platform/backends/Headless.h"
#include "platform/controls/StdCtrls.h"
#include "platform/forms/Forms.h"

namespace zelvar {
namespace {

// Answers the message box from inside its modal loop, as a user would.
TModalResult Answer(TMsgDlgButtons buttons, const std::function<void(TForm&)>& user) {
  auto* backend = new THeadlessBackend;
  Application().SetBackend(std::unique_ptr<TBackend>(backend));
  bool answered = false;
  backend->OnIdle = [&] {
    if (answered) return false;
    answered = true;
    user(*dynamic_cast<TForm*>(Application().ActiveForm()));
    return true;
  };
  TModalResult r = MessageDlg("Discard the changes?", mtConfirmation, buttons, 0);
  Application().SetBackend(nullptr);
  return r;
}

TEST(MessageDlg, IsARealFormWithNamedButtons) {
  TModalResult r = Answer({mbYes, mbNo, mbCancel}, [](TForm& box) {
    EXPECT_EQ(box.ClassName(), "TMessageForm");
    EXPECT_EQ(box.Caption(), "Confirm");
    auto* text = dynamic_cast<TLabel*>(box.FindComponent("Message"));
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->Caption(), "Discard the changes?");
    auto* no = dynamic_cast<TControl*>(box.FindComponent("No"));
    ASSERT_NE(no, nullptr);
    TPoint at = no->FormOrigin();
    box.DispatchMouse(TMessage::MouseDown, mbLeft, {}, at.X + 5, at.Y + 5);
    box.DispatchMouse(TMessage::MouseUp, mbLeft, {}, at.X + 5, at.Y + 5);
  });
  EXPECT_EQ(r, mrNo);
}

TEST(MessageDlg, EnterTakesTheFirstButtonAndEscapeCancels) {
  EXPECT_EQ(Answer({mbOK, mbCancel},
                   [](TForm& box) { box.DispatchKey(TMessage::KeyDown, VK_RETURN, {}, 0); }),
            mrOk);
  EXPECT_EQ(Answer({mbOK, mbCancel},
                   [](TForm& box) { box.DispatchKey(TMessage::KeyDown, VK_ESCAPE, {}, 0); }),
            mrCancel);
}

}  // namespace
}  // namespace zelvar
