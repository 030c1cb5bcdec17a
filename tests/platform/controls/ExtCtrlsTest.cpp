#include "platform/controls/ExtCtrls.h"

#include <gtest/gtest.h>

#include "platform/controls/Register.h"
#include "platform/core/TimerQueue.h"
#include "platform/streaming/FormFiles.h"
#include "tests/platform/controls/ControlsSupport.h"

namespace zelvar::test {
namespace {

TEST(ExtCtrlsPanel, BevelsLightTheTopLeftAndShadeTheBottomRight) {
  TStdTestForm form(nullptr);
  auto* p = Make<TPanel>(&form, 20, 20);
  p->SetBounds(20, 20, 100, 50);
  TShot raised(form, *p);
  EXPECT_EQ(raised(0, 0), Sys(clBtnHighlight));
  EXPECT_EQ(raised(0, 48), Sys(clBtnHighlight));
  EXPECT_EQ(raised(98, 0), Sys(clBtnHighlight));
  EXPECT_EQ(raised(99, 0), Sys(clBtnShadow));
  EXPECT_EQ(raised(0, 49), Sys(clBtnShadow));
  EXPECT_EQ(raised(99, 49), Sys(clBtnShadow));
  EXPECT_EQ(raised(1, 1), Sys(clBtnFace));
  p->SetBevelOuter(bvLowered);
  p->SetBevelInner(bvRaised);
  p->SetBevelWidth(2);
  TShot both(form, *p);
  EXPECT_EQ(both(1, 1), Sys(clBtnShadow));
  EXPECT_EQ(both(98, 48), Sys(clBtnHighlight));
  EXPECT_EQ(both(2, 2), Sys(clBtnHighlight));
  EXPECT_EQ(both(97, 47), Sys(clBtnShadow));
  EXPECT_EQ(both(4, 4), Sys(clBtnFace));
  // Aligned children stay inside the bevels and border.
  p->SetBorderWidth(3);
  auto* child = Make<TPanel>(p, 0, 0);
  child->SetAlign(alClient);
  EXPECT_EQ(p->FrameSize(), 7);
  EXPECT_EQ(child->BoundsRect(), Rect(7, 7, 93, 43));
}

TEST(ExtCtrlsTimer, FiresEveryIntervalWhileEnabledAndStopsWhenFreed) {
  TStdTestForm form(nullptr);
  auto* timer = new TTimer(&form);
  int ticks = 0;
  timer->OnTimer = TNotifyEvent([&](TObject* sender) {
    EXPECT_EQ(sender, timer);
    ++ticks;
  });
  timer->SetInterval(100);
  Timers().Advance(250);
  EXPECT_EQ(ticks, 2);
  timer->SetEnabled(false);
  Timers().Advance(1000);
  EXPECT_EQ(ticks, 2);
  // Enabling starts the count afresh.
  Timers().Advance(30);
  timer->SetEnabled(true);
  Timers().Advance(99);
  EXPECT_EQ(ticks, 2);
  Timers().Advance(1);
  EXPECT_EQ(ticks, 3);
  timer->SetInterval(0);
  EXPECT_FALSE(timer->Running());
  timer->SetInterval(10);
  delete timer;
  Timers().Advance(100);  // nothing left to call
  EXPECT_EQ(ticks, 3);
}

TEST(ExtCtrlsTimer, IsQuietInTheDesignerAndWhileItsFormIsRead) {
  const std::string text =
      "object Panel1: TPanel\n  object Timer1: TTimer\n    Interval = 50\n  end\nend\n";
  RegisterControls();
  TStdTestForm form(nullptr);
  auto* designed = new TTimer(&form);
  designed->SetDesigning(true);
  designed->SetInterval(20);
  EXPECT_FALSE(designed->Running());

  std::unique_ptr<TComponent> read(ReadComponent(text));
  auto* timer = As<TTimer>(read->FindComponent("Timer1"));
  ASSERT_NE(timer, nullptr);
  EXPECT_EQ(timer->Interval(), 50u);
  EXPECT_TRUE(timer->Running());
}

}  // namespace
}  // namespace zelvar::test
