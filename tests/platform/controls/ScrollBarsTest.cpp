#include "platform/controls/ScrollBars.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/graphics/Bitmap.h"
#include "tests/platform/controls/ControlsSupport.h"

namespace zelvar {
namespace {

using test::Sys;

TPoint Middle(const TRect& r) {
  return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
}

// A control holding one bar along its right edge, logging what the bar tells it.
struct TBarHost {
  test::TStdTestForm Form{nullptr};
  TScrollBarPart Bar{Form, sbVertical};
  std::vector<std::pair<TScrollCode, int32_t>> Log;
  TBarHost() {
    Bar.SetBounds({100, 0, 100 + ScrollBarWidth(), 200});
    Bar.SetParams(0, 99, 10);
    Bar.OnScroll = [this](TScrollCode code, int32_t& pos) { Log.emplace_back(code, pos); };
  }
  void Press(TPoint p) { ASSERT_TRUE(Bar.MouseDown(p.X, p.Y)); }
  void Click(TPoint p) {
    Press(p);
    Bar.MouseUp(p.X, p.Y);
  }
};

TEST(ScrollBarPart, ArrowsAreSquareUnlessTheBarIsTooShortForTwo) {
  EXPECT_EQ(ScrollBarWidth(), 16);
  EXPECT_EQ(ScrollArrowSize(sbVertical, {0, 0, 16, 100}), 16);
  EXPECT_EQ(ScrollArrowSize(sbHorizontal, {0, 0, 100, 16}), 16);
  EXPECT_EQ(ScrollArrowSize(sbVertical, {0, 0, 16, 20}), 10);
  EXPECT_EQ(ScrollArrowSize(sbHorizontal, {0, 0, 0, 16}), 0);
}

TEST(ScrollBarPart, ThePageKeepsTheLastPositionShowingTheEnd) {
  EXPECT_EQ((TScrollInfo{0, 99, 10, 0}).MaxPosition(), 90);
  EXPECT_EQ((TScrollInfo{0, 99, 0, 0}).MaxPosition(), 99);
  EXPECT_EQ((TScrollInfo{5, 7, 100, 0}).MaxPosition(), 5);
  EXPECT_FALSE((TScrollInfo{5, 7, 100, 0}).CanScroll());
  // Far ends of the integers do not overflow.
  EXPECT_EQ((TScrollInfo{INT32_MIN, INT32_MAX, 2, 0}).MaxPosition(), INT32_MAX - 1);

  TBarHost h;
  h.Bar.SetPosition(500);
  EXPECT_EQ(h.Bar.Position(), 90);
  h.Bar.SetPageSize(1000);  // never more than the range
  EXPECT_EQ(h.Bar.PageSize(), 100);
  EXPECT_EQ(h.Bar.Position(), 0);
  EXPECT_THROW(h.Bar.SetParams(10, 9, 0), EInvalidOperation);
  EXPECT_EQ(h.Bar.Info(), (TScrollInfo{0, 99, 100, 0}));
}

TEST(ScrollBarPart, TheThumbIsItsPageShareOfTheTrackAndRunsItsWholeLength) {
  const TRect bounds{0, 0, 16, 216};  // a track of 184 pixels
  TScrollBarLayout l = CalcScrollBarLayout(sbVertical, bounds, {0, 99, 25, 0});
  EXPECT_EQ(l.Less, Rect(0, 0, 16, 16));
  EXPECT_EQ(l.More, Rect(0, 200, 16, 216));
  EXPECT_EQ(l.Track, Rect(0, 16, 16, 200));
  EXPECT_EQ(l.Thumb, Rect(0, 16, 16, 16 + 184 / 4));
  l = CalcScrollBarLayout(sbVertical, bounds, {0, 99, 25, 75});
  EXPECT_EQ(l.Thumb.Bottom, 200);
  l = CalcScrollBarLayout(sbHorizontal, {0, 0, 216, 16}, {0, 99, 25, 75});
  EXPECT_EQ(l.Thumb, Rect(200 - 184 / 4, 0, 200, 16));
  // Without a page the thumb is square; with a tiny share it keeps a minimum length.
  EXPECT_EQ(CalcScrollBarLayout(sbVertical, bounds, {0, 99, 0, 0}).Thumb.Height(), 16);
  EXPECT_EQ(CalcScrollBarLayout(sbVertical, bounds, {0, 1000000, 1, 0}).Thumb.Height(),
            kMinThumbSize);
  // Nothing to scroll, or no room in the track: no thumb.
  EXPECT_TRUE(CalcScrollBarLayout(sbVertical, bounds, {0, 9, 10, 0}).Thumb.Empty());
  EXPECT_TRUE(CalcScrollBarLayout(sbVertical, {0, 0, 16, 36}, {0, 99, 10, 0}).Thumb.Empty());
}

TEST(ScrollBarPart, EveryPositionsThumbLeadsBackToThatPosition) {
  const TRect bounds{0, 0, 300, 16};
  for (int32_t pos = -5; pos <= 40; ++pos) {
    TScrollInfo info{-5, 50, 11, pos};
    TScrollBarLayout l = CalcScrollBarLayout(sbHorizontal, bounds, info);
    EXPECT_EQ(ThumbPositionAt(sbHorizontal, bounds, info, l.Thumb.Left), pos);
  }
}

TEST(ScrollBarPart, HitTestsArrowsPagesAndThumb) {
  TScrollBarLayout l = CalcScrollBarLayout(sbVertical, {0, 0, 16, 216}, {0, 99, 25, 40});
  EXPECT_EQ(l.HitTest(8, 0), TScrollBarHit::LessArrow);
  EXPECT_EQ(l.HitTest(8, 215), TScrollBarHit::MoreArrow);
  EXPECT_EQ(l.HitTest(8, l.Thumb.Top - 1), TScrollBarHit::LessPage);
  EXPECT_EQ(l.HitTest(8, l.Thumb.Top), TScrollBarHit::Thumb);
  EXPECT_EQ(l.HitTest(8, l.Thumb.Bottom), TScrollBarHit::MorePage);
  EXPECT_EQ(l.HitTest(16, 100), TScrollBarHit::None);
}

TEST(ScrollBarPart, ArrowsStepALineAndTheTrackAPageTowardsThePress) {
  TBarHost h;
  h.Bar.SetSmallChange(3);
  h.Bar.SetLargeChange(20);
  const TScrollBarLayout l = h.Bar.Layout();
  h.Click(Middle(l.More));
  EXPECT_EQ(h.Bar.Position(), 3);
  h.Click({Middle(l.Track).X, l.Track.Bottom - 1});
  EXPECT_EQ(h.Bar.Position(), 23);
  h.Click(Middle(l.Less));
  EXPECT_EQ(h.Bar.Position(), 20);
  const std::vector<std::pair<TScrollCode, int32_t>> expected{{scLineDown, 3},  {scEndScroll, 3},
                                                              {scPageDown, 23}, {scEndScroll, 23},
                                                              {scLineUp, 20},   {scEndScroll, 20}};
  EXPECT_EQ(h.Log, expected);
  // At the end, a step asks for the end again.
  h.Bar.SetPosition(90);
  h.Log.clear();
  h.Click(Middle(h.Bar.Layout().More));
  EXPECT_EQ(h.Bar.Position(), 90);
  EXPECT_EQ(h.Log.front(), std::make_pair(scLineDown, 90));
  // Outside the bar the press is the owner's.
  EXPECT_FALSE(h.Bar.MouseDown(50, 50));
}

TEST(ScrollBarPart, TheOwnerMayChangeWhereTheBarGoes) {
  TBarHost h;
  h.Bar.OnScroll = [](TScrollCode, int32_t& pos) { pos = pos / 10 * 10 + 10; };
  h.Bar.Scroll(scLineDown);
  EXPECT_EQ(h.Bar.Position(), 10);
  h.Bar.OnScroll = [](TScrollCode, int32_t& pos) { pos = 1000; };
  h.Bar.Scroll(scLineDown);
  EXPECT_EQ(h.Bar.Position(), 90);  // still kept in range
}

TEST(ScrollBarPart, DraggingTheThumbTracksAndTheReleaseSetsThePosition) {
  TBarHost h;
  const TScrollBarLayout l = h.Bar.Layout();
  const TPoint grab = Middle(l.Thumb);
  h.Press(grab);
  EXPECT_EQ(h.Bar.PressedPiece(), TScrollBarHit::Thumb);
  h.Bar.MouseMove(grab.X, grab.Y + 40);
  const int32_t mid = h.Bar.Position();
  EXPECT_GT(mid, 0);
  // The thumb follows the mouse as closely as whole positions allow (here 2 pixels apart).
  EXPECT_NEAR(h.Bar.Layout().Thumb.Top, l.Thumb.Top + 40, 1);
  // Far past the end, even off the bar: the last position.
  h.Bar.MouseMove(grab.X + 300, grab.Y + 1000);
  EXPECT_EQ(h.Bar.Position(), 90);
  h.Bar.MouseUp(grab.X + 300, grab.Y + 1000);
  EXPECT_FALSE(h.Bar.Tracking());
  const std::vector<std::pair<TScrollCode, int32_t>> expected{
      {scTrack, mid}, {scTrack, 90}, {scPosition, 90}, {scEndScroll, 90}};
  EXPECT_EQ(h.Log, expected);
}

TEST(ScrollBarPart, PaintsArrowsTrackAndThumbAndGreysWhatCannotScroll) {
  TBarHost h;
  h.Bar.SetBounds({0, 0, 16, 216});
  h.Bar.SetPosition(40);
  const TScrollBarLayout l = h.Bar.Layout();
  auto paint = [&](bool enabled) {
    auto b = std::make_unique<TBitmap>(16, 216);
    h.Bar.Paint(*b->Canvas(), enabled);
    return b;
  };
  auto px = [](const std::unique_ptr<TBitmap>& b, TPoint p) {
    return b->Canvas()->Pixel(p.X, p.Y);
  };
  const auto on = paint(true);
  // The arrow's tip row is one pixel at the centre, the glyph four rows deep.
  const TPoint c = {(l.Less.Width() - 1) / 2, (l.Less.Height() - 1) / 2};
  EXPECT_EQ(px(on, {c.X, c.Y - 2}), Sys(clBtnText));
  EXPECT_EQ(px(on, {c.X - 1, c.Y - 2}), Sys(clBtnFace));
  EXPECT_EQ(px(on, {c.X - 3, c.Y + 1}), Sys(clBtnText));
  EXPECT_EQ(px(on, {0, 0}), Sys(cl3DLight));
  // Track above and below the thumb, the thumb a raised face where the layout puts it.
  EXPECT_EQ(px(on, {8, l.Thumb.Top - 1}), Sys(clScrollBar));
  EXPECT_EQ(px(on, {8, l.Thumb.Bottom}), Sys(clScrollBar));
  EXPECT_EQ(px(on, {8, l.Thumb.Top}), Sys(cl3DLight));
  EXPECT_EQ(px(on, {8, l.Thumb.Bottom - 1}), Sys(cl3DDkShadow));
  EXPECT_EQ(px(on, Middle(l.Thumb)), Sys(clBtnFace));

  const auto off = paint(false);
  EXPECT_EQ(px(off, {c.X, c.Y - 2}), Sys(clBtnShadow));
  EXPECT_EQ(px(off, {c.X, c.Y + 2}), Sys(clBtnHighlight));  // the light copy shows below
  EXPECT_EQ(px(off, Middle(l.Thumb)), Sys(clScrollBar));
  h.Bar.SetParams(0, 5, 10);  // everything shows: no thumb either
  const auto none = paint(true);
  EXPECT_EQ(px(none, Middle(l.Thumb)), Sys(clScrollBar));

  // A held page press darkens its side of the track, until the mouse leaves it.
  h.Bar.SetParams(0, 99, 10);
  h.Bar.SetPosition(40);
  const TScrollBarLayout before = h.Bar.Layout();
  h.Press({8, before.Track.Bottom - 1});
  const auto held = paint(true);
  const TScrollBarLayout now = h.Bar.Layout();
  EXPECT_EQ(px(held, {8, now.Thumb.Bottom}), Sys(cl3DDkShadow));
  EXPECT_EQ(px(held, {8, now.Thumb.Top - 1}), Sys(clScrollBar));
  h.Bar.MouseMove(8, now.Thumb.Top - 1);
  EXPECT_EQ(h.Bar.PressedPiece(), TScrollBarHit::None);
  h.Bar.MouseUp(8, now.Thumb.Top - 1);
}

}  // namespace
}  // namespace zelvar
