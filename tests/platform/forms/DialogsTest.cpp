#include "platform/forms/Dialogs.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "platform/backends/Headless.h"
#include "platform/controls/StdCtrls.h"
#include "platform/forms/Forms.h"

namespace zelvar {
namespace {

// Answers the message box from inside its modal loop, as a user would.
TModalResult Answer(TMsgDlgButtons buttons, const std::function<void(TForm&)>& user,
                    TMsgDlgType type = mtConfirmation,
                    const std::string& text = "Discard the changes?") {
  auto* backend = new THeadlessBackend;
  Application().SetBackend(std::unique_ptr<TBackend>(backend));
  bool answered = false;
  backend->OnIdle = [&] {
    if (answered) return false;
    answered = true;
    user(*dynamic_cast<TForm*>(Application().ActiveForm()));
    return true;
  };
  TModalResult r = MessageDlg(text, type, buttons, 0);
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

TEST(MessageDlg, ShowsTheTypesIconBesideTheText) {
  struct TCase {
    TMsgDlgType Type;
    TPoint Dark, Light;  // two pixels of the icon, in its own coordinates
    TColor DarkColor, LightColor;
  };
  const TCase cases[] = {
      {mtWarning, {15, 15}, {5, 22}, clBlack, clYellow},
      {mtError, {5, 15}, {15, 15}, clRed, clWhite},
      {mtInformation, {15, 7}, {6, 15}, clBlue, clWhite},
      {mtConfirmation, {5, 15}, {16, 14}, clBlue, clWhite},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.Type));
    Answer(
        {mbOK},
        [&](TForm& box) {
          auto* icon = dynamic_cast<TControl*>(box.FindComponent("Image"));
          auto* text = dynamic_cast<TControl*>(box.FindComponent("Message"));
          auto* ok = dynamic_cast<TControl*>(box.FindComponent("OK"));
          ASSERT_TRUE(icon && text && ok);
          EXPECT_EQ(icon->Width(), 32);
          EXPECT_EQ(icon->Height(), 32);
          // The text stands right of the icon, the buttons below both, and all inside the box.
          EXPECT_GT(text->Left(), icon->Left() + icon->Width());
          EXPECT_GE(ok->Top(), icon->Top() + icon->Height());
          EXPECT_GE(ok->Top(), text->Top() + text->Height());
          EXPECT_LE(text->Left() + text->Width(), box.ClientWidth() - icon->Left());
          EXPECT_LE(ok->Top() + ok->Height(), box.ClientHeight());
          const TImageData& shot = box.Snapshot().Image();
          TPoint at = icon->FormOrigin();
          auto pixel = [&](TPoint p) { return PixelToColor(shot.At(at.X + p.X, at.Y + p.Y)); };
          EXPECT_EQ(pixel(c.Dark), ColorToRGB(c.DarkColor));
          EXPECT_EQ(pixel(c.Light), ColorToRGB(c.LightColor));
          // The icon's background lets the box show through.
          EXPECT_EQ(pixel({0, 0}), ColorToRGB(clBtnFace));
          box.DispatchKey(TMessage::KeyDown, VK_RETURN, {}, 0);
        },
        c.Type, "A message that is longer than the row of buttons");
  }
  // A custom message has no icon: the text starts at the margin.
  Answer(
      {mbOK},
      [](TForm& box) {
        EXPECT_EQ(box.FindComponent("Image"), nullptr);
        EXPECT_EQ(dynamic_cast<TControl*>(box.FindComponent("Message"))->Left(), 12);
        box.DispatchKey(TMessage::KeyDown, VK_RETURN, {}, 0);
      },
      mtCustom);
}

}  // namespace
}  // namespace zelvar
