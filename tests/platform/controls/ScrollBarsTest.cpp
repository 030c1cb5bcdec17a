#include "platform/controls/ScrollBars.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/controls/Register.h"
#include "platform/core/TimerQueue.h"
#include "platform/graphics/Bitmap.h"
#include "platform/streaming/FormFiles.h"
#include "tests/platform/controls/ControlsSupport.h"

namespace zelvar {
namespace {

using test::Middle;
using test::Sys;

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

TEST(ScrollBarPart, AHeldPressRepeatsOnTheClockUntilReleasedOrTheThumbArrives) {
  TBarHost h;
  const TPoint more = Middle(h.Bar.Layout().More);
  h.Press(more);
  EXPECT_EQ(h.Bar.Position(), 1);
  Timers().Advance(kScrollFirstDelay - 1);
  EXPECT_EQ(h.Bar.Position(), 1);  // a click steps once
  Timers().Advance(1);
  EXPECT_EQ(h.Bar.Position(), 2);
  Timers().Advance(3 * kScrollRepeatDelay);
  EXPECT_EQ(h.Bar.Position(), 5);
  // Off the arrow it waits; back on it it goes on.
  h.Bar.MouseMove(more.X - 50, more.Y);
  Timers().Advance(2 * kScrollRepeatDelay);
  EXPECT_EQ(h.Bar.Position(), 5);
  h.Bar.MouseMove(more.X, more.Y);
  Timers().Advance(kScrollRepeatDelay);
  EXPECT_EQ(h.Bar.Position(), 6);
  h.Bar.MouseUp(more.X, more.Y);
  Timers().Advance(1000);
  EXPECT_EQ(h.Bar.Position(), 6);

  // A held page press stops once the thumb has reached the pointer.
  h.Bar.SetLargeChange(10);
  const TRect track = h.Bar.Layout().Track;
  const TPoint at{Middle(track).X, track.Top + track.Height() / 2};
  h.Press(at);
  Timers().Advance(5000);
  EXPECT_NE(h.Bar.Layout().HitTest(at.X, at.Y), TScrollBarHit::MorePage);
  EXPECT_LT(h.Bar.Position(), h.Bar.Info().MaxPosition());
  const int32_t stopped = h.Bar.Position();
  Timers().Advance(5000);
  EXPECT_EQ(h.Bar.Position(), stopped);
  h.Bar.MouseUp(at.X, at.Y);
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
  // The track shows the classic dither of highlight and face, by the bitmap's grid.
  auto Track = [](TPoint p) { return Sys(((p.X + p.Y) & 1) == 0 ? clBtnHighlight : clBtnFace); };
  const auto on = paint(true);
  // The arrow's tip row is one pixel at the centre, the glyph four rows deep.
  const TPoint c = {(l.Less.Width() - 1) / 2, (l.Less.Height() - 1) / 2};
  EXPECT_EQ(px(on, {c.X, c.Y - 2}), Sys(clBtnText));
  EXPECT_EQ(px(on, {c.X - 1, c.Y - 2}), Sys(clBtnFace));
  EXPECT_EQ(px(on, {c.X - 3, c.Y + 1}), Sys(clBtnText));
  EXPECT_EQ(px(on, {0, 0}), Sys(cl3DLight));
  // Track above and below the thumb, the thumb a raised face where the layout puts it.
  EXPECT_EQ(px(on, {8, l.Thumb.Top - 1}), Track({8, l.Thumb.Top - 1}));
  EXPECT_EQ(px(on, {8, l.Thumb.Bottom}), Track({8, l.Thumb.Bottom}));
  EXPECT_EQ(px(on, {8, l.Thumb.Top}), Sys(cl3DLight));
  EXPECT_EQ(px(on, {8, l.Thumb.Bottom - 1}), Sys(cl3DDkShadow));
  EXPECT_EQ(px(on, Middle(l.Thumb)), Sys(clBtnFace));

  const auto off = paint(false);
  EXPECT_EQ(px(off, {c.X, c.Y - 2}), Sys(clBtnShadow));
  EXPECT_EQ(px(off, {c.X, c.Y + 2}), Sys(clBtnHighlight));  // the light copy shows below
  EXPECT_EQ(px(off, Middle(l.Thumb)), Track(Middle(l.Thumb)));
  h.Bar.SetParams(0, 5, 10);  // everything shows: no thumb either
  const auto none = paint(true);
  EXPECT_EQ(px(none, Middle(l.Thumb)), Track(Middle(l.Thumb)));

  // A held page press darkens its side of the track, until the mouse leaves it.
  h.Bar.SetParams(0, 99, 10);
  h.Bar.SetPosition(40);
  const TScrollBarLayout before = h.Bar.Layout();
  h.Press({8, before.Track.Bottom - 1});
  const auto held = paint(true);
  const TScrollBarLayout now = h.Bar.Layout();
  EXPECT_EQ(px(held, {8, now.Thumb.Bottom}), Sys(cl3DDkShadow));
  EXPECT_EQ(px(held, {8, now.Thumb.Top - 1}), Track({8, now.Thumb.Top - 1}));
  h.Bar.MouseMove(8, now.Thumb.Top - 1);
  EXPECT_EQ(h.Bar.PressedPiece(), TScrollBarHit::None);
  h.Bar.MouseUp(8, now.Thumb.Top - 1);
}

// --- TScrollBar

struct TScrollBarOnForm {
  test::TStdTestForm Form{nullptr};
  TScrollBar* Bar = test::Make<TScrollBar>(&Form, 10, 10);
  std::vector<std::string> Log;
  TScrollBarOnForm() {
    Bar->OnChange = TNotifyEvent(
        [this](TObject*) { Log.push_back("change " + std::to_string(Bar->Position())); });
    Bar->OnScroll = TScrollEvent([this](TObject*, TScrollCode code, int32_t& pos) {
      Log.push_back(std::string(EnumTypeOf(code).NameOf(code)) + " " + std::to_string(pos));
    });
  }
  void Key(uint16_t key) {
    uint16_t k = key;
    Bar->KeyDown(k, {});
    k = key;
    Bar->KeyUp(k, {});
  }
};

TEST(ScrollBar, KeepsItsRangeAndPositionAndRefusesMinAboveMax) {
  TScrollBarOnForm f;
  TScrollBar& bar = *f.Bar;
  EXPECT_EQ(bar.Width(), 121);
  EXPECT_EQ(bar.Height(), ScrollBarWidth());
  bar.SetPosition(150);
  EXPECT_EQ(bar.Position(), 100);
  bar.SetPosition(100);  // no change, no event
  bar.SetMin(20);
  bar.SetMax(50);
  EXPECT_EQ(bar.Position(), 50);
  try {
    bar.SetMin(60);
    FAIL() << "Min above Max was taken";
  } catch (const EInvalidOperation& e) {
    EXPECT_NE(std::string(e.what()).find("Scroll bar property out of range"), std::string::npos);
  }
  EXPECT_THROW(bar.SetParams(0, 10, 5), EInvalidOperation);
  EXPECT_EQ(bar.Min(), 20);
  EXPECT_EQ(bar.Max(), 50);
  bar.SetPageSize(11);
  EXPECT_EQ(bar.Position(), 40);  // the last position shows the end
  EXPECT_EQ(f.Log, (std::vector<std::string>{"change 100", "change 50", "change 40"}));
  // A new kind turns the bar round.
  bar.SetKind(sbVertical);
  EXPECT_EQ(bar.Width(), ScrollBarWidth());
  EXPECT_EQ(bar.Height(), 121);
}

TEST(ScrollBar, KeysScrollALineAPageOrToAnEnd) {
  TScrollBarOnForm f;
  TScrollBar& bar = *f.Bar;
  bar.SetLargeChange(10);
  f.Key(VK_RIGHT);
  f.Key(VK_NEXT);
  f.Key(VK_END);
  f.Key(VK_UP);
  f.Key(VK_HOME);
  EXPECT_EQ(bar.Position(), 0);
  const std::vector<std::string> expected{
      "scLineDown 1",   "change 1",       "scEndScroll 1", "scPageDown 11",   "change 11",
      "scEndScroll 11", "scBottom 100",   "change 100",    "scEndScroll 100", "scLineUp 99",
      "change 99",      "scEndScroll 99", "scTop 0",       "change 0",        "scEndScroll 0"};
  EXPECT_EQ(f.Log, expected);
  // OnScroll may hold the bar back.
  bar.OnScroll = TScrollEvent([](TObject*, TScrollCode, int32_t& pos) { pos = std::min(pos, 5); });
  f.Key(VK_END);
  EXPECT_EQ(bar.Position(), 5);
  EXPECT_EQ(bar.WMGetDlgCode() & DLGC_WANTARROWS, DLGC_WANTARROWS);

  // The wheel: three lines a notch, a notch made of smaller turns too.
  bar.OnScroll = {};
  bar.SetPosition(50);
  EXPECT_TRUE(bar.DoMouseWheel({}, -WHEEL_DELTA, {5, 5}));
  EXPECT_EQ(bar.Position(), 50 + kWheelScrollLines);
  bar.DoMouseWheel({}, WHEEL_DELTA / 2, {5, 5});
  EXPECT_EQ(bar.Position(), 50 + kWheelScrollLines);
  bar.DoMouseWheel({}, WHEEL_DELTA / 2, {5, 5});
  EXPECT_EQ(bar.Position(), 50);
}

TEST(ScrollBar, TheMouseScrollsAndTheFocusedThumbWearsAFocusFrame) {
  TScrollBarOnForm f;
  TScrollBar& bar = *f.Bar;
  auto* other = test::Make<TScrollBar>(&f.Form, 10, 100);
  other->SetFocus();
  const TScrollBarLayout l = bar.Bar().Layout();
  const TPoint more = Middle(l.More);
  bar.MouseDown(mbLeft, {}, more.X, more.Y);
  bar.MouseUp(mbLeft, {}, more.X, more.Y);
  EXPECT_TRUE(bar.Focused());
  EXPECT_EQ(bar.Position(), 1);
  // Dragged to the end, the thumb reaches the last position.
  const TPoint grab = Middle(bar.Bar().Layout().Thumb);
  bar.MouseDown(mbLeft, {}, grab.X, grab.Y);
  bar.MouseMove({ssLeft}, bar.Width() + 50, grab.Y);
  bar.MouseUp(mbLeft, {}, bar.Width() + 50, grab.Y);
  EXPECT_EQ(bar.Position(), 100);
  EXPECT_EQ(f.Log.back(), "scEndScroll 100");

  const TRect thumb = bar.Bar().Layout().Thumb;
  test::TShot focused(f.Form, bar);
  other->SetFocus();
  test::TShot unfocused(f.Form, bar);
  // A dotted frame: every other pixel along the thumb's inner top edge is inverted.
  const TRect frame = Shrink(thumb, 2);
  int32_t dots = 0;
  for (int32_t x = frame.Left; x < frame.Right; ++x) {
    EXPECT_EQ(unfocused(x, frame.Top), Sys(clBtnFace));
    dots += focused(x, frame.Top) != Sys(clBtnFace);
  }
  EXPECT_GE(dots, frame.Width() / 2);
  EXPECT_LE(dots, (frame.Width() + 1) / 2);
}

TEST(ScrollBar, FormFilesKeepARangeWhateverOrderItIsReadIn) {
  RegisterControls();
  TScrollBar bar(nullptr);
  bar.SetName("Bar1");
  bar.SetKind(sbVertical);
  bar.SetParams(-20, -50, -10);  // below the default range: Max is read before Min
  bar.SetPageSize(5);
  bar.SetLargeChange(4);
  for (TFormFormat format : {TFormFormat::Binary, TFormFormat::Text}) {
    std::unique_ptr<TComponent> copy(ReadComponent(WriteComponent(&bar, format)));
    auto* c = As<TScrollBar>(copy.get());
    EXPECT_EQ(c->Kind(), sbVertical);
    EXPECT_EQ(c->Min(), -50);
    EXPECT_EQ(c->Max(), -10);
    EXPECT_EQ(c->PageSize(), 5);
    EXPECT_EQ(c->Position(), -20);
    EXPECT_EQ(c->LargeChange(), 4);
    EXPECT_EQ(c->Height(), bar.Height());
  }
  const std::string bad = "object Bar1: TScrollBar\n  Min = 10\n  Max = 5\nend\n";
  EXPECT_THROW(std::unique_ptr<TComponent>(ReadComponent(bad)), EReadError);
}

}  // namespace
}  // namespace zelvar
