#include "platform/controls/ExtCtrls.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace zelvar::test
