#include "platform/controls/ComCtrls.h"

#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <string>

#include "platform/controls/ExtCtrls.h"
#include "platform/controls/Register.h"
#include "platform/graphics/Bitmap.h"
#include "platform/streaming/FormFiles.h"
#include "tests/platform/controls/ControlsSupport.h"

namespace zelvar {
namespace {

struct TPages {
  std::unique_ptr<TTabSheet> Form{New<TTabSheet>(nullptr)};  // a windowed root for the test
  TPageControl* Pages = nullptr;
  TTabSheet* Sheet[3] = {};

  TPages() {
    Form->SetName("Root");
    Form->SetBounds(0, 0, 400, 300);
    Pages = New<TPageControl>(Form.get());
    Pages->SetName("Pages");
    Pages->SetParent(Form.get());
    Pages->SetBounds(10, 10, 300, 200);
    for (int i = 0; i < 3; ++i) {
      Sheet[i] = New<TTabSheet>(Form.get());
      Sheet[i]->SetName("Sheet" + std::to_string(i));
      Sheet[i]->SetCaption("Page " + std::to_string(i));
      Sheet[i]->SetPageControl(Pages);
    }
  }
  std::string Shown() const {
    std::string s;
    for (TTabSheet* t : Sheet)
      if (t && t->Visible()) s += t->Name();
    return s;
  }
};

TEST(PageControl, OnlyTheActiveSheetShowsInTheDisplayArea) {
  TPages p;
  EXPECT_EQ(p.Pages->PageCount(), 3);
  EXPECT_EQ(p.Pages->ActivePage(), p.Sheet[0]);
  EXPECT_EQ(p.Shown(), "Sheet0");
  p.Pages->SetActivePage(p.Sheet[2]);
  EXPECT_EQ(p.Shown(), "Sheet2");
  EXPECT_EQ(p.Pages->ActivePageIndex(), 2);
  EXPECT_EQ(p.Sheet[2]->BoundsRect(), p.Pages->DisplayRect());
  EXPECT_GE(p.Pages->DisplayRect().Top, p.Pages->TabRect(0).Bottom);
  // A resize keeps the sheet filling the display area.
  p.Pages->SetBounds(10, 10, 250, 150);
  EXPECT_EQ(p.Sheet[2]->BoundsRect(), p.Pages->DisplayRect());
  EXPECT_THROW(p.Pages->Pages(3), EListError);
  EXPECT_THROW(p.Pages->SetActivePageIndex(3), EListError);
  TPageControl other(nullptr);
  EXPECT_THROW(p.Pages->SetActivePage(New<TTabSheet>(p.Form.get())), EInvalidOperation);
  EXPECT_THROW(other.SetActivePage(p.Sheet[0]), EInvalidOperation);
}

TEST(PageControl, AClickOnATabSwitchesPagesAndTellsTheOwner) {
  TPages p;
  int changes = 0;
  bool allow = true;
  p.Pages->OnChange = TNotifyEvent([&](TObject*) { ++changes; });
  p.Pages->OnChanging = TTabChangingEvent([&](TObject*, bool& a) { a = allow; });
  TRect tab = p.Pages->TabRect(1);
  EXPECT_EQ(tab.Left, p.Pages->TabRect(0).Right);
  p.Pages->MouseDown(mbLeft, {}, (tab.Left + tab.Right) / 2, (tab.Top + tab.Bottom) / 2);
  EXPECT_EQ(p.Pages->ActivePage(), p.Sheet[1]);
  EXPECT_EQ(p.Shown(), "Sheet1");
  EXPECT_EQ(changes, 1);
  allow = false;
  tab = p.Pages->TabRect(2);
  p.Pages->MouseDown(mbLeft, {}, tab.Left + 3, tab.Bottom - 3);
  EXPECT_EQ(p.Pages->ActivePage(), p.Sheet[1]);
  EXPECT_EQ(changes, 1);
  // A hidden tab takes no clicks and the others close up.
  allow = true;
  p.Sheet[0]->SetTabVisible(false);
  EXPECT_TRUE(p.Pages->TabRect(0).Empty());
  EXPECT_EQ(p.Pages->IndexOfTabAt(p.Pages->TabRect(1).Left + 1, p.Pages->TabRect(1).Top + 3), 1);
  // Setting the page from code fires nothing.
  p.Pages->SetActivePage(p.Sheet[2]);
  EXPECT_EQ(changes, 1);
}

TEST(PageControl, DeletingTheActiveSheetLeavesAValidActivePage) {
  TPages p;
  p.Pages->SetActivePage(p.Sheet[1]);
  delete p.Sheet[1];
  p.Sheet[1] = nullptr;
  EXPECT_EQ(p.Pages->ActivePage(), p.Sheet[2]);
  EXPECT_EQ(p.Shown(), "Sheet2");
  delete p.Sheet[2];
  p.Sheet[2] = nullptr;
  EXPECT_EQ(p.Pages->ActivePage(), p.Sheet[0]);
  EXPECT_TRUE(p.Sheet[0]->Visible());
  // Moving the last sheet elsewhere leaves the control empty.
  p.Sheet[0]->SetParent(p.Form.get());
  EXPECT_EQ(p.Pages->ActivePage(), nullptr);
  EXPECT_EQ(p.Pages->PageCount(), 0);
  EXPECT_EQ(p.Sheet[0]->PageControl(), nullptr);
}

TEST(TabSheet, FormFilesRebuildThePagesInPageOrder) {
  RegisterControls();
  TPages p;
  p.Sheet[2]->SetPageIndex(0);
  p.Pages->SetActivePage(p.Sheet[1]);
  std::string bytes = WriteComponent(p.Form.get());
  std::unique_ptr<TComponent> copy(ReadComponent(bytes));
  auto* pages = As<TPageControl>(copy->FindComponent("Pages"));
  ASSERT_EQ(pages->PageCount(), 3);
  EXPECT_EQ(pages->Pages(0)->Name(), "Sheet2");
  EXPECT_EQ(pages->Pages(1)->Caption(), "Page 0");
  EXPECT_EQ(pages->ActivePage()->Name(), "Sheet1");
  EXPECT_TRUE(pages->ActivePage()->Visible());
  EXPECT_FALSE(pages->Pages(0)->Visible());
  EXPECT_EQ(WriteComponent(copy.get()), bytes);
}

TEST(PageControl, TheSheetFollowsTheStripWhenTheFontGrows) {
  TPages p;
  p.Pages->Font()->SetSize(24);
  EXPECT_EQ(p.Sheet[0]->BoundsRect(), p.Pages->DisplayRect());
  EXPECT_GE(p.Sheet[0]->Top(), p.Pages->TabRect(0).Bottom);
}

TEST(PageControl, ExtremeTabSizesStayInRange) {
  TPages p;
  for (int32_t v : {INT32_MIN, INT32_MAX}) {
    p.Pages->SetTabWidth(v);
    p.Pages->SetTabHeight(v);
    for (int32_t i = 0; i < 3; ++i) EXPECT_GE(p.Pages->TabRect(i).Right, p.Pages->TabRect(i).Left);
    TBitmap picture(400, 300);
    p.Form->PaintControl(picture, {0, 0}, Rect(0, 0, 400, 300));
    for (int32_t xy : {INT32_MIN, 0, 20, INT32_MAX}) {
      p.Pages->IndexOfTabAt(xy, 5);
      p.Pages->MouseDown(mbLeft, {}, xy, xy);
    }
  }
}

// --- progress bars

using test::Make;
using test::Sys;
using test::TShot;
using test::TStdTestForm;

TEST(ProgressBar, PositionStaysWithinMinAndMax) {
  TProgressBar bar(nullptr);
  EXPECT_FALSE(bar.TabStop());
  bar.SetPosition(150);
  EXPECT_EQ(bar.Position(), 100);
  bar.SetPosition(-5);
  EXPECT_EQ(bar.Position(), 0);
  bar.SetMin(50);  // a new range pulls the position in
  EXPECT_EQ(bar.Position(), 50);
  bar.SetMax(60);
  bar.SetPosition(58);
  bar.SetMax(52);
  EXPECT_EQ(bar.Position(), 52);
  EXPECT_THROW(bar.SetMin(53), EInvalidOperation);
  EXPECT_THROW(bar.SetMax(49), EInvalidOperation);
  EXPECT_EQ(bar.Min(), 50);  // a refused range changes nothing
  EXPECT_EQ(bar.Max(), 52);
  EXPECT_EQ(bar.Position(), 52);
  bar.SetMin(52);  // an empty range is allowed
  EXPECT_EQ(bar.Position(), 52);
}

TEST(ProgressBar, StepItStartsOverPastMaxAndStepByStopsAtTheEnds) {
  TProgressBar bar(nullptr);
  for (int i = 0; i < 10; ++i) bar.StepIt();
  EXPECT_EQ(bar.Position(), 100);  // reaching Max is not passing it
  bar.StepIt();
  EXPECT_EQ(bar.Position(), 0);
  bar.SetStep(30);
  for (int i = 0; i < 3; ++i) bar.StepIt();
  EXPECT_EQ(bar.Position(), 90);
  bar.StepIt();
  EXPECT_EQ(bar.Position(), 0);
  bar.SetStep(-30);  // stepping down starts over at Max
  bar.StepIt();
  EXPECT_EQ(bar.Position(), 100);
  bar.StepBy(-45);
  EXPECT_EQ(bar.Position(), 55);
  bar.StepBy(250);
  EXPECT_EQ(bar.Position(), 100);
  bar.StepBy(-1000);
  EXPECT_EQ(bar.Position(), 0);
  // The whole 32-bit range, without overflow.
  bar.SetMin(INT32_MIN);
  bar.SetMax(INT32_MAX);
  bar.StepBy(INT32_MAX);
  bar.StepBy(INT32_MAX);
  EXPECT_EQ(bar.Position(), INT32_MAX);
  bar.SetStep(INT32_MAX);
  bar.StepIt();
  EXPECT_EQ(bar.Position(), INT32_MIN);
  bar.StepBy(INT32_MIN);
  EXPECT_EQ(bar.Position(), INT32_MIN);
}

TEST(ProgressBar, FillRoundsToTheNearestPixel) {
  EXPECT_EQ(ProgressFill(1, 0, 3, 100), 33);
  EXPECT_EQ(ProgressFill(2, 0, 3, 100), 67);
  EXPECT_EQ(ProgressFill(1, 0, 2, 1), 1);  // a half rounds up
  EXPECT_EQ(ProgressFill(-20, -20, 80, 100), 0);
  EXPECT_EQ(ProgressFill(80, -20, 80, 100), 100);
  EXPECT_EQ(ProgressFill(5, 5, 5, 100), 0);
  EXPECT_EQ(ProgressFill(0, INT32_MIN, INT32_MAX, 1000), 500);
  EXPECT_EQ(ProgressFill(INT32_MAX, INT32_MIN, INT32_MAX, INT32_MAX), kMaxExtent);
}

TEST(ProgressBar, PaintsWholeBlocksOrASmoothBarInASunkenFrame) {
  TStdTestForm form(nullptr);
  auto* bar = Make<TProgressBar>(&form, 10, 10);
  bar->SetBounds(10, 10, 104, 16);  // 100 x 12 inside the frame: blocks of 8, 10 apart
  const TColor fill = Sys(clHighlight), face = Sys(clBtnFace);
  constexpr int32_t y = 8;
  // Along the middle row, from the bar's start.
  auto at = [&](TShot& shot, int32_t x) { return shot(2 + x, y); };
  bar->SetPosition(37);
  TShot part(form, *bar);
  EXPECT_EQ(part(0, 0), Sys(clBtnShadow));
  EXPECT_EQ(part(103, 15), Sys(clBtnHighlight));
  EXPECT_EQ(part(1, 1), face);
  for (int32_t x : {0, 7, 10, 30, 37}) EXPECT_EQ(at(part, x), fill) << x;
  for (int32_t x : {-1, 8, 9, 38, 40, 99}) EXPECT_EQ(at(part, x), face) << x;
  EXPECT_EQ(part(2, 1), face);  // a pixel clear of the frame above and below
  EXPECT_EQ(part(2, 2), fill);
  EXPECT_EQ(part(2, 13), fill);
  EXPECT_EQ(part(2, 14), face);
  bar->SetPosition(100);
  TShot full(form, *bar);
  EXPECT_EQ(at(full, 97), fill);
  EXPECT_EQ(at(full, 98), face);  // no part of a block that does not fit
  EXPECT_EQ(at(full, 99), face);

  bar->SetSmooth(true);
  bar->SetMax(3);
  bar->SetPosition(2);
  TShot smooth(form, *bar);
  EXPECT_EQ(at(smooth, 66), fill);
  EXPECT_EQ(at(smooth, 67), face);
  for (int32_t x = 0; x < 67; ++x) ASSERT_EQ(at(smooth, x), fill) << x;

  // Vertical: up from the bottom.
  bar->SetOrientation(pbVertical);
  bar->SetBounds(10, 10, 16, 104);
  bar->SetMax(100);
  bar->SetPosition(25);
  TShot up(form, *bar);
  EXPECT_EQ(up(8, 101), fill);
  EXPECT_EQ(up(8, 102 - 25), fill);
  EXPECT_EQ(up(8, 102 - 26), face);
  bar->SetSmooth(false);
  TShot blocks(form, *bar);
  EXPECT_EQ(blocks(8, 101 - 7), fill);
  EXPECT_EQ(blocks(8, 101 - 8), face);
  EXPECT_EQ(blocks(8, 101 - 20), fill);  // the third block: 20..27 up
  EXPECT_EQ(blocks(8, 101 - 28), face);
}

TEST(ProgressBar, AHugeBarMakesOnlyTheBlocksThatShow) {
  const TRect area{0, 0, kMaxExtent, 12}, shown{-50, 0, 100, 12};
  std::vector<TRect> blocks = ProgressBarRects(area, kMaxExtent, pbHorizontal, false, shown);
  ASSERT_EQ(blocks.size(), 10u);  // blocks of 8, 10 apart, from 0 to 98
  EXPECT_EQ(blocks.back(), Rect(90, 0, 98, 12));
  blocks = ProgressBarRects(area, kMaxExtent, pbHorizontal, false, {1005, 0, 1025, 12});
  ASSERT_EQ(blocks.size(), 3u);
  EXPECT_EQ(blocks[0], Rect(1000, 0, 1008, 12));
  // Up from the bottom when vertical.
  blocks = ProgressBarRects({0, 0, 12, kMaxExtent}, 30, pbVertical, false,
                            {0, kMaxExtent - 12, 12, kMaxExtent});
  ASSERT_EQ(blocks.size(), 2u);
  EXPECT_EQ(blocks[1], Rect(0, kMaxExtent - 18, 12, kMaxExtent - 10));
}

TEST(ProgressBar, FormFilesKeepTheRangeInEitherOrder) {
  RegisterControls();
  TPanel form(nullptr);
  form.SetName("Work");
  auto* bar = Make<TProgressBar>(&form, 0, 0);
  bar->SetName("Bar");
  bar->SetMax(250);
  bar->SetMin(-50);
  bar->SetPosition(120);
  bar->SetStep(5);
  bar->SetSmooth(true);
  bar->SetOrientation(pbVertical);
  std::string text = WriteComponent(&form, TFormFormat::Text);
  EXPECT_NE(text.find("    Min = -50\n    Max = 250\n    Orientation = pbVertical\n    Position = "
                      "120\n    Smooth = True\n    Step = 5\n"),
            std::string::npos)
      << text;
  EXPECT_EQ(text.find("TabStop"), std::string::npos);
  for (TFormFormat format : {TFormFormat::Text, TFormFormat::Binary}) {
    std::unique_ptr<TComponent> back(ReadComponent(WriteComponent(&form, format)));
    EXPECT_EQ(WriteComponent(back.get(), TFormFormat::Text), text);
  }
  // Min is read before Max: a range above the default Max reads, and Position is kept in it
  // once both are in.
  auto read = [](const std::string& body) {
    return std::unique_ptr<TComponent>(
        ReadComponent("object Work: TPanel\n  object Bar: "
                      "TProgressBar\n" +
                      body + "  end\nend\n"));
  };
  auto high = read("    Min = 200\n    Max = 300\n    Position = 250\n");
  auto* b = As<TProgressBar>(high->FindComponent("Bar"));
  EXPECT_EQ(b->Min(), 200);
  EXPECT_EQ(b->Position(), 250);
  EXPECT_EQ(As<TProgressBar>(read("    Position = 500\n")->FindComponent("Bar"))->Position(), 100);
  EXPECT_THROW(read("    Min = 200\n"), EReadError);
}

TEST(ProgressBar, MarqueeSpanTravelsAndStartsOver) {
  const TRect area{0, 0, 100, 12};
  // A quarter of the length, 8 pixels a step, entering from before the start.
  EXPECT_EQ(MarqueeSpan(area, 0, pbHorizontal), Rect(0, 0, 0, 12));
  EXPECT_EQ(MarqueeSpan(area, 1, pbHorizontal), Rect(0, 0, 8, 12));
  EXPECT_EQ(MarqueeSpan(area, 5, pbHorizontal), Rect(15, 0, 40, 12));
  EXPECT_EQ(MarqueeSpan(area, 15, pbHorizontal), Rect(95, 0, 100, 12));
  // The cycle is 125 pixels: step 125 stands where step 0 did.
  EXPECT_EQ(MarqueeSpan(area, 125, pbHorizontal), MarqueeSpan(area, 0, pbHorizontal));
  EXPECT_EQ(MarqueeSpan({0, 0, 12, 100}, 5, pbVertical), Rect(0, 60, 12, 85));
  // Degenerate areas stay inside themselves.
  EXPECT_EQ(MarqueeSpan({5, 5, 5, 17}, 7, pbHorizontal), Rect(5, 5, 5, 17));
  EXPECT_EQ(MarqueeSpan(area, UINT64_MAX, pbHorizontal).Right <= 100, true);
}

TEST(ProgressBar, MarqueeMovesOnTheClockOnlyWhileShown) {
  RegisterControls();
  TStdTestForm form(nullptr);
  auto* bar = Make<TProgressBar>(&form, 10, 10);
  bar->SetBounds(10, 10, 104, 16);
  bar->SetPosition(50);
  EXPECT_FALSE(bar->MarqueeRunning());
  bar->SetMarqueeInterval(20);
  bar->SetStyle(pbstMarquee);
  ASSERT_TRUE(bar->MarqueeRunning());
  const TColor fill = Sys(clHighlight), face = Sys(clBtnFace);
  auto row = [&] {
    TShot shot(form, *bar);
    std::string r;
    for (int32_t x = 2; x < 102; ++x)
      r += shot(x, 8) == fill ? '#' : shot(x, 8) == face ? '.' : '?';
    return r;
  };
  // Position does not show: the marquee has not moved yet, so nothing is filled.
  EXPECT_EQ(row(), std::string(100, '.'));
  Timers().Advance(100);
  EXPECT_EQ(bar->MarqueeStep(), 5u);
  const std::string first = row();
  EXPECT_EQ(first.substr(15, 25).find('#'), 0u) << first;  // blocks from 15 on, within 15..40
  EXPECT_EQ(first.find_last_of('#') < 40, true) << first;
  Timers().Advance(40);
  EXPECT_NE(row(), first);
  // Hidden, it stops; shown again, it starts over.
  bar->SetVisible(false);
  EXPECT_FALSE(bar->MarqueeRunning());
  bar->SetVisible(true);
  EXPECT_EQ(bar->MarqueeStep(), 0u);
  bar->SetStyle(pbstNormal);
  EXPECT_FALSE(bar->MarqueeRunning());
  EXPECT_EQ(row().substr(0, 50), std::string(8, '#') + ".." + std::string(8, '#') + ".." +
                                     std::string(8, '#') + ".." + std::string(8, '#') + ".." +
                                     std::string(8, '#') + "..");
}

TEST(ProgressBar, MarqueeStyleIsStoredOnlyWhenSet) {
  RegisterControls();
  TPanel form(nullptr);
  form.SetName("Work");
  auto* bar = Make<TProgressBar>(&form, 0, 0);
  bar->SetName("Bar");
  const std::string plain = WriteComponent(&form, TFormFormat::Text);
  EXPECT_EQ(plain.find("Style"), std::string::npos);
  EXPECT_EQ(plain.find("Marquee"), std::string::npos);
  bar->SetStyle(pbstMarquee);
  bar->SetMarqueeInterval(50);
  const std::string text = WriteComponent(&form, TFormFormat::Text);
  EXPECT_NE(text.find("    Style = pbstMarquee\n    MarqueeInterval = 50\n"), std::string::npos)
      << text;
  std::unique_ptr<TComponent> back(ReadComponent(text));
  auto* b = As<TProgressBar>(back->FindComponent("Bar"));
  EXPECT_EQ(b->Style(), pbstMarquee);
  EXPECT_EQ(b->MarqueeInterval(), 50u);
  // Read from a file, the marquee runs once the form is loaded.
  EXPECT_TRUE(b->MarqueeRunning());
}

}  // namespace
}  // namespace zelvar
