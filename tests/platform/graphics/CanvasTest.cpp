#include "platform/graphics/Canvas.h"

#include <gtest/gtest.h>

#include "platform/graphics/Bitmap.h"

namespace zelvar {
namespace {

constexpr uint32_t kWhite = 0xFFFFFFFF, kRed = 0xFFFF0000, kBlue = 0xFF0000FF;

class CanvasTest : public ::testing::Test {
 protected:
  CanvasTest() : Bitmap(40, 30), C(*Bitmap.Canvas()) {}
  uint32_t At(int x, int y) const { return Bitmap.Image().At(x, y); }
  // The pixels of one row that differ from white, as a string of '#' and '.'.
  std::string Row(int y, int from, int to) const {
    std::string s;
    for (int x = from; x < to; ++x) s += At(x, y) == kWhite ? '.' : '#';
    return s;
  }
  TBitmap Bitmap;
  TCanvas& C;
};

TEST_F(CanvasTest, LinesLeaveOutTheirEndPoint) {
  C.Pen()->SetColor(clRed);
  C.MoveTo(2, 5);
  C.LineTo(10, 5);
  EXPECT_EQ(Row(5, 0, 12), "..########..");
  C.MoveTo(20, 20);
  C.LineTo(25, 25);  // a diagonal: five pixels, not six
  for (int i = 0; i < 5; ++i) EXPECT_EQ(At(20 + i, 20 + i), kRed) << i;
  EXPECT_EQ(At(25, 25), kWhite);
  EXPECT_EQ(C.PenPos(), (TPoint{25, 25}));
  C.MoveTo(30, 10);
  C.LineTo(30, 7);  // upwards: 10, 9, 8
  EXPECT_EQ(At(30, 10), kRed);
  EXPECT_EQ(At(30, 8), kRed);
  EXPECT_EQ(At(30, 7), kWhite);
}

TEST_F(CanvasTest, RectangleOutlinesWithThePenAndFillsWithTheBrush) {
  C.Pen()->SetColor(clRed);
  C.Brush()->SetColor(clBlue);
  C.Rectangle(2, 2, 8, 6);
  EXPECT_EQ(Row(1, 0, 10), "..........");
  EXPECT_EQ(Row(2, 0, 10), "..######..");
  EXPECT_EQ(At(2, 3), kRed);
  EXPECT_EQ(At(7, 3), kRed);  // the right edge is at x2 - 1
  EXPECT_EQ(At(8, 3), kWhite);
  EXPECT_EQ(At(3, 3), kBlue);
  EXPECT_EQ(At(6, 4), kBlue);
  EXPECT_EQ(At(4, 5), kRed);  // the bottom edge at y2 - 1
  EXPECT_EQ(Row(6, 0, 10), "..........");
  // A clear brush leaves the inside alone; a clear pen fills one pixel short.
  C.Brush()->SetStyle(bsClear);
  C.Rectangle(12, 2, 18, 6);
  EXPECT_EQ(At(14, 4), kWhite);
  C.Brush()->SetStyle(bsSolid);
  C.Pen()->SetStyle(psClear);
  C.Rectangle(20, 2, 26, 6);
  EXPECT_EQ(Row(2, 19, 27), ".#####..");
  EXPECT_EQ(Row(5, 19, 27), "........");
}

TEST_F(CanvasTest, FillRectExcludesRightAndBottomAndFollowsOriginAndClip) {
  C.Brush()->SetColor(clBtnFace);  // a system colour, resolved through the scheme
  C.FillRect(Rect(1, 1, 4, 3));
  EXPECT_EQ(At(1, 1), 0xFFC0C0C0u);
  EXPECT_EQ(At(3, 2), 0xFFC0C0C0u);
  EXPECT_EQ(At(4, 2), kWhite);
  EXPECT_EQ(At(3, 3), kWhite);

  C.SetOrigin(10, 10);
  C.SetDeviceClip(Rect(10, 10, 20, 15));
  EXPECT_EQ(C.ClipRect(), Rect(0, 0, 10, 5));
  C.Brush()->SetColor(clRed);
  C.FillRect(Rect(-100, -100, 100, 100));
  EXPECT_EQ(At(10, 10), kRed);
  EXPECT_EQ(At(19, 14), kRed);
  EXPECT_EQ(At(20, 14), kWhite);
  EXPECT_EQ(At(19, 15), kWhite);
  EXPECT_EQ(At(9, 9), kWhite);
  C.SetPixel(0, 0, clBlue);  // logical 0, 0 is pixel 10, 10
  EXPECT_EQ(At(10, 10), kBlue);
  EXPECT_EQ(C.Pixel(0, 0), clBlue);
  C.ResetClip();
  C.SetPixel(20, 10, clBlue);
  EXPECT_EQ(At(30, 20), kBlue);
}

TEST_F(CanvasTest, DitheringFollowsTheBitmapsGridWhateverTheOriginAndStaysInTheClip) {
  C.SetOrigin(3, 0);
  C.SetDeviceClip(Rect(3, 0, 9, 2));
  C.FillDithered(Rect(-5, 0, 20, 20), clRed, clBlue);
  // Device (x + y) even is the first colour, so neighbouring controls' tracks line up.
  EXPECT_EQ(Row(0, 0, 12), "...######...");
  EXPECT_EQ(At(4, 0), kRed);
  EXPECT_EQ(At(3, 0), kBlue);
  EXPECT_EQ(At(3, 1), kRed);
  EXPECT_EQ(At(3, 2), kWhite);
}

TEST_F(CanvasTest, DottedPensRunTheirPatternRoundCorners) {
  C.Pen()->SetStyle(psDot);
  C.MoveTo(0, 0);
  C.LineTo(15, 0);
  EXPECT_EQ(Row(0, 0, 16), "###...###...###.");
  // A dotted rectangle: one pattern round the 26 frame pixels, none inside or outside.
  C.Rectangle(0, 5, 10, 10);
  EXPECT_EQ(Row(5, 0, 11), "###...###..");
  int on = 0;
  for (int y = 4; y <= 10; ++y)
    for (int x = 0; x <= 10; ++x) {
      if (At(x, y) == kWhite) continue;
      ++on;
      EXPECT_TRUE((x == 0 || x == 9 || y == 5 || y == 9) && x < 10 && y >= 5 && y < 10)
          << x << "," << y;
    }
  EXPECT_EQ(on, 14);                        // steps 0-2, 6-8, 12-14, 18-20, 24-25 of 26
  EXPECT_EQ(Row(7, 0, 11), "#..........");  // the left side carries the pattern on
}

TEST_F(CanvasTest, FocusRectangleInvertsADottedFrameAndDrawnTwiceVanishes) {
  C.Brush()->SetColor(clBlue);
  C.FillRect(Rect(0, 0, 40, 30));
  TImageData before = Bitmap.Image();
  C.DrawFocusRect(Rect(2, 2, 10, 7));
  int changed = 0;
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 40; ++x)
      if (At(x, y) != before.At(x, y)) {
        ++changed;
        EXPECT_TRUE(x == 2 || x == 9 || y == 2 || y == 6) << x << "," << y;  // on the frame
        EXPECT_EQ(At(x, y), 0xFFFFFF00u);                                    // inverted blue
        EXPECT_EQ((x + y) % 2, 0);
      }
  EXPECT_EQ(changed, 11);  // half of the 22 frame pixels
  C.DrawFocusRect(Rect(2, 2, 10, 7));
  EXPECT_EQ(Bitmap.Image(), before);
}

TEST_F(CanvasTest, DrawLeavesTheTransparentColourOut) {
  TBitmap glyph(4, 2);
  glyph.Canvas()->Brush()->SetColor(clOlive);
  glyph.Canvas()->FillRect(Rect(0, 0, 4, 2));
  glyph.Canvas()->SetPixel(1, 0, clRed);
  glyph.SetTransparent(true);  // the bottom-left pixel: olive
  EXPECT_EQ(glyph.TransparentColor(), clOlive);
  C.Draw(5, 5, glyph);
  EXPECT_EQ(At(6, 5), kRed);
  EXPECT_EQ(At(5, 5), kWhite);
  C.DrawPart(0, 0, glyph, Rect(1, 0, 3, 2), false);  // the second column onwards, opaque
  EXPECT_EQ(At(0, 0), kRed);
  EXPECT_EQ(At(1, 0), 0xFF808000u);
}

TEST_F(CanvasTest, TextStaysInItsMeasuredCellAndClip) {
  const std::string text = "Wizard - Page 1 of 2";
  int w = C.TextWidth(text), h = C.TextHeight(text);
  ASSERT_GT(w, 0);
  ASSERT_GT(h, 0);
  C.Brush()->SetStyle(bsClear);
  C.Font()->SetColor(clRed);
  TBitmap wide(200, 40);
  TCanvas& t = *wide.Canvas();
  t.Font()->SetColor(clRed);
  t.Brush()->SetStyle(bsClear);
  t.TextOut(10, 5, text);
  int inked = 0;
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 200; ++x) {
      uint32_t p = wide.Image().At(x, y);
      if (p == kWhite) continue;
      EXPECT_EQ(p, kRed) << "crisp text has no blended pixels";
      EXPECT_TRUE(x >= 10 && x < 10 + w + 1 && y >= 5 && y < 5 + h) << x << "," << y;
      ++inked;
    }
  EXPECT_GT(inked, 20);
  EXPECT_EQ(t.PenPos(), (TPoint{10 + w, 5}));
  // A solid brush fills the whole cell first; TextRect keeps inside its rectangle.
  t.Brush()->SetStyle(bsSolid);
  t.Brush()->SetColor(clBlue);
  t.TextRect(Rect(0, 20, 30, 30), 2, 20, text);
  EXPECT_EQ(wide.Image().At(29, 29), kBlue);
  for (int y = 20; y < 40; ++y) EXPECT_NE(wide.Image().At(30, y), kBlue);
}

}  // namespace
}  // namespace zelvar
