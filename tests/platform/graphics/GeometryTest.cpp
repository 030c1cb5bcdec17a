#include "platform/graphics/Geometry.h"

#include <gtest/gtest.h>

namespace zelvar {
namespace {

TEST(Geometry, RectanglesLeaveOutTheirRightAndBottomEdges) {
  TRect r = Rect(2, 3, 6, 5);
  EXPECT_EQ(r.Width(), 4);
  EXPECT_EQ(r.Height(), 2);
  EXPECT_TRUE(r.Contains(2, 3));
  EXPECT_TRUE(r.Contains(5, 4));
  EXPECT_FALSE(r.Contains(6, 4));
  EXPECT_FALSE(r.Contains(5, 5));
  EXPECT_TRUE(Rect(4, 4, 4, 9).Empty());
  EXPECT_TRUE(Rect(4, 4, 3, 9).Empty());
}

TEST(Geometry, IntersectIsEmptyAtTheOriginWhenRectanglesDoNotMeet) {
  EXPECT_EQ(Intersect(Rect(0, 0, 10, 10), Rect(5, -5, 20, 8)), Rect(5, 0, 10, 8));
  // Touching edges share no pixel.
  EXPECT_EQ(Intersect(Rect(0, 0, 10, 10), Rect(10, 0, 20, 10)), TRect{});
  EXPECT_EQ(Intersect(Rect(30, 30, 40, 40), Rect(0, 0, 5, 5)), TRect{});
}

TEST(Geometry, OffsetMovesAndShrinkMovesEverySideInwards) {
  EXPECT_EQ(Offset(Rect(1, 2, 11, 12), {5, -2}), Rect(6, 0, 16, 10));
  EXPECT_EQ(Shrink(Rect(0, 0, 10, 8), 2), Rect(2, 2, 8, 6));
  EXPECT_EQ(Shrink(Rect(2, 2, 8, 6), -2), Rect(0, 0, 10, 8));
  // Shrunk past its middle a rectangle turns inside out: empty, but its edges still move.
  TRect gone = Shrink(Rect(0, 0, 4, 4), 3);
  EXPECT_TRUE(gone.Empty());
  EXPECT_EQ(gone, Rect(3, 3, 1, 1));
}

}  // namespace
}  // namespace zelvar
