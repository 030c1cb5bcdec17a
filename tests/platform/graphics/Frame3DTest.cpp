#include "platform/graphics/Frame3D.h"

#include <gtest/gtest.h>

#include "platform/graphics/Bitmap.h"

namespace zelvar {
namespace {

TEST(Frame3D, LightsTheTopLeftShadesTheBottomRightAndShrinksTheRectangle) {
  TBitmap b(10, 10);
  TCanvas& c = *b.Canvas();
  c.Brush()->SetColor(clWhite);
  c.FillRect(Rect(0, 0, 10, 10));
  TRect r = Rect(1, 1, 9, 9);
  Frame3D(c, r, clRed, clBlue, 2);
  EXPECT_EQ(r, Rect(3, 3, 7, 7));
  for (int32_t ring : {1, 2}) {
    int32_t last = 9 - ring;
    EXPECT_EQ(c.Pixel(ring, ring), clRed) << ring;
    EXPECT_EQ(c.Pixel(last - 1, ring), clRed) << ring;  // the top runs to the last but one
    EXPECT_EQ(c.Pixel(ring, last - 1), clRed) << ring;
    EXPECT_EQ(c.Pixel(last, ring), clBlue) << ring;
    EXPECT_EQ(c.Pixel(ring, last), clBlue) << ring;
    EXPECT_EQ(c.Pixel(last, last), clBlue) << ring;
  }
  EXPECT_EQ(c.Pixel(0, 0), clWhite);
  EXPECT_EQ(c.Pixel(3, 3), clWhite);
  EXPECT_EQ(c.Pixel(9, 9), clWhite);
}

TEST(Frame3D, ARectangleTooSmallStillShrinksByTheWholeWidth) {
  TBitmap b(4, 4);
  TRect r = Rect(1, 1, 3, 3);
  Frame3D(*b.Canvas(), r, clRed, clBlue, 3);
  EXPECT_EQ(r, Rect(4, 4, 0, 0));
  // The one-edge form leaves its rectangle as it was.
  TRect kept = Rect(0, 0, 4, 4);
  Frame3D(*b.Canvas(), kept, clRed, clBlue);
  EXPECT_EQ(kept, Rect(0, 0, 4, 4));
}

}  // namespace
}  // namespace zelvar
