// Hints: when the form shows one and which, where and how it is drawn, and what hides it.

#include <gtest/gtest.h>

#include <memory>

#include "platform/controls/ExtCtrls.h"
#include "platform/controls/StdCtrls.h"
#include "platform/core/TimerQueue.h"
#include "platform/forms/Forms.h"

namespace zelvar {
namespace {

class Hints : public ::testing::Test {
 protected:
  void SetUp() override {
    Form = std::make_unique<TForm>(nullptr);
    Form->SetBounds(0, 0, 300, 200);
    Panel = New<TPanel>(Form.get());
    Panel->SetParent(Form.get());
    Panel->SetBounds(10, 10, 200, 100);
    Inner = New<TButton>(Form.get());
    Inner->SetParent(Panel);
    Inner->SetBounds(10, 10, 80, 30);  // at 20, 20 on the form
    Inner->SetHint("Inner's hint");
    Other = New<TButton>(Form.get());
    Other->SetParent(Form.get());
    Other->SetBounds(220, 150, 75, 30);
    Other->SetHint("Other's hint");
    Other->SetShowHint(true);
  }
  void Move(int32_t x, int32_t y) { Form->DispatchMouse(TMessage::MouseMove, mbLeft, {}, x, y); }
  void Rest() { Timers().Advance(TForm::kHintPause); }

  std::unique_ptr<TForm> Form;
  TPanel* Panel = nullptr;
  TButton* Inner = nullptr;
  TButton* Other = nullptr;
};

TEST_F(Hints, ShowOnlyWhereTheControlOrAParentShowsHints) {
  Move(30, 30);
  Rest();
  EXPECT_EQ(Form->ShownHint(), "");  // ShowHint is off on the button and its parents
  Panel->SetShowHint(true);
  Move(150, 80);  // the panel, which has no hint
  Move(30, 30);
  Timers().Advance(TForm::kHintPause - 100);
  Move(32, 31);  // moving on the same control does not start the pause again
  Timers().Advance(99);
  EXPECT_EQ(Form->ShownHint(), "");
  Timers().Advance(1);
  EXPECT_EQ(Form->ShownHint(), "Inner's hint");
  // An empty hint falls back to the parent's.
  Inner->SetHint("");
  Panel->SetHint("Panel's hint");
  Move(32, 30);
  EXPECT_EQ(Form->ShownHint(), "Panel's hint");
}

TEST_F(Hints, OnceOneShowedTheNextShowsAtOnceUntilAPauseOverNothing) {
  Move(250, 160);
  Rest();
  EXPECT_EQ(Form->ShownHint(), "Other's hint");
  Panel->SetShowHint(true);
  Move(30, 30);
  EXPECT_EQ(Form->ShownHint(), "Inner's hint");
  Move(5, 190);  // the bare form
  EXPECT_EQ(Form->ShownHint(), "");
  Move(250, 160);  // crossed quickly
  EXPECT_EQ(Form->ShownHint(), "Other's hint");
  Move(5, 190);
  Rest();
  Move(250, 160);  // after a pause over nothing: the wait again
  EXPECT_EQ(Form->ShownHint(), "");
  Rest();
  EXPECT_EQ(Form->ShownHint(), "Other's hint");
}

TEST_F(Hints, APressOrAKeyHidesIt) {
  Move(250, 160);
  Rest();
  ASSERT_EQ(Form->ShownHint(), "Other's hint");
  Form->DispatchKey(TMessage::KeyDown, 'A', {}, 0);
  EXPECT_EQ(Form->ShownHint(), "");
  Rest();
  EXPECT_EQ(Form->ShownHint(), "");  // not back over the same control
  Move(5, 190);
  Move(250, 160);
  Rest();
  ASSERT_EQ(Form->ShownHint(), "Other's hint");
  Form->DispatchMouse(TMessage::MouseDown, mbLeft, {ssLeft}, 250, 160);
  EXPECT_EQ(Form->ShownHint(), "");
  Form->DispatchMouse(TMessage::MouseUp, mbLeft, {}, 250, 160);
}

TEST_F(Hints, TheBoxIsDrawnBelowThePointerInsideTheForm) {
  Move(250, 160);
  Rest();
  const TRect r = Form->HintRect();
  ASSERT_FALSE(r.Empty());
  const TRect client = Form->GetClientRect();
  // Near the bottom right corner: moved in, above the pointer rather than under the form's edge.
  EXPECT_LE(r.Right, client.Right);
  EXPECT_LE(r.Bottom, client.Bottom);
  EXPECT_LT(r.Bottom, 160);
  const TImageData& shot = Form->Snapshot().Image();
  auto pixel = [&](int32_t x, int32_t y) { return PixelToColor(shot.At(x, y)); };
  EXPECT_EQ(pixel(r.Left, r.Top), clBlack);
  EXPECT_EQ(pixel(r.Right - 1, r.Bottom - 1), clBlack);
  EXPECT_EQ(pixel(r.Left + 1, r.Top + 1), ColorToRGB(clInfoBk));
  bool text = false;
  for (int32_t y = r.Top + 1; y < r.Bottom - 1; ++y)
    for (int32_t x = r.Left + 1; x < r.Right - 1; ++x)
      text |= pixel(x, y) == ColorToRGB(clInfoText);
  EXPECT_TRUE(text);

  // In the open: below and right of the pointer.
  Panel->SetShowHint(true);
  Move(30, 30);
  EXPECT_GE(Form->HintRect().Left, 30);
  EXPECT_GT(Form->HintRect().Top, 30);
}

TEST_F(Hints, AFreedControlOrFormEndsTheWait) {
  Move(250, 160);
  delete Other;
  Rest();  // the pending pause would show a freed control's hint
  EXPECT_EQ(Form->ShownHint(), "");
  Panel->SetShowHint(true);
  Move(30, 30);
  Form.reset();
  Rest();  // nor reach a freed form
}

TEST_F(Hints, ADesignedFormShowsNone) {
  Form->SetDesigning(true);
  Move(250, 160);
  Rest();
  EXPECT_EQ(Form->ShownHint(), "");
}

}  // namespace
}  // namespace zelvar
