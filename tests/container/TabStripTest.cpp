// Painting and the tab strip, checked on the pixels of the form's bitmap with positions taken
// from the canvas's text metrics; sizing per mode, and the arrow keys.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <climits>

#include "platform/controls/ExtCtrls.h"
#include "tests/TestSupport.h"
#include "tests/container/ContainerSupport.h"

namespace zelvar::test {
namespace {

using ::testing::ElementsAre;

constexpr uint32_t kSilver = 0xC0C0C0, kWhite = 0xFFFFFF, kGrey = 0x808080, kBlack = 0x000000;

class Painting : public ContainerTest {
 protected:
  // The pixel at x, y of the container, as the form shows it now.
  uint32_t At(int32_t x, int32_t y) {
    TPoint o = Z->FormOrigin();
    return Form->Snapshot().Image().At(o.X + x, o.Y + y) & 0xFFFFFF;
  }
  int32_t TextW(const std::string& s) { return Z->Canvas()->TextWidth(s); }
  int32_t RowH() { return Z->Canvas()->TextHeight("X") + Z->TabSpaceY(); }
  std::vector<int32_t> Rows() { return Z->TabRows()->Items(); }
  // The stored (last drawn) tab widths of pages 1..NumPages.
  std::vector<int32_t> Widths() {
    std::vector<int32_t> w;
    for (int32_t p = 1; p <= Z->NumPages(); ++p)
      w.push_back(static_cast<int32_t>(Z->PageNames()->Objects(p)));
    return w;
  }
};

TEST_F(Painting, TheSeparatorLiesAboveTheButtons) {
  Z->setPage(1);
  const int32_t y1 = Z->Height() - Z->CancelButton()->Height() - 8;
  EXPECT_EQ(At(5, y1), kWhite);
  EXPECT_EQ(At(5, y1 - 1), kGrey);
  EXPECT_EQ(At(Z->Width() - 1, y1), kWhite);  // the line's end point is outside the container
  EXPECT_EQ(At(5, y1 + 1), kSilver);
  EXPECT_EQ(Z->GetClientRect(), (TRect{0, 0, Z->Width(), y1 - 2}));
  Z->SetSeparator(false);
  EXPECT_EQ(At(5, y1), kSilver);
  EXPECT_EQ(At(5, y1 - 1), kSilver);
  EXPECT_EQ(Z->GetClientRect().Bottom, Z->Height() - Z->ButtonHeight() - 10);
  Z->SetStyle(asNone);
  EXPECT_EQ(Z->GetClientRect(), (TRect{0, 0, Z->Width(), Z->Height()}));
}

TEST_F(Painting, OneRowOfTabsKeepsItsNaturalWidths) {
  Z->SetStyle(asTabbed);  // from the dialog page to page 1
  ASSERT_EQ(Z->Page(), 1);
  EXPECT_THAT(Rows(), ElementsAre(3));
  const int32_t th = Z->tabheight();
  EXPECT_EQ(th, RowH() + 2);
  EXPECT_EQ(Z->GetClientRect(), (TRect{1, th + 1, Z->Width() - 2, Z->Height() - 2}));
  Z->setPage(2);
  Form->Snapshot();
  const int32_t w1 = TextW("Page 1") + 16, w2 = TextW("Page 2") + 16, w3 = TextW("Page 3") + 16;
  EXPECT_THAT(Widths(), ElementsAre(w1, w2, w3));
  // Unselected tabs stand at y = 2 with a white top edge; the selected one rises to y = 0.
  EXPECT_EQ(At(5, 2), kWhite);
  EXPECT_EQ(At(5, 0), kSilver);
  EXPECT_EQ(At(2 + w1 + 3, 0), kWhite);
  EXPECT_EQ(At(2 + w1 - 2, 5), kWhite);   // the selected tab overlaps its left neighbour
  EXPECT_EQ(At(2 + w1 + w2, 1), kBlack);  // its right edge, one pixel out
  // Right of the last tab and along the top the strip is silver.
  const int32_t end = 2 + w1 + w2 + w3;
  EXPECT_EQ(At(end + 1, th / 2), kSilver);
  EXPECT_EQ(At(Z->Width() - 5, 1), kSilver);
  // The page frame: white on the left, black outside at the bottom and right.
  EXPECT_EQ(At(0, th + 5), kWhite);
  EXPECT_EQ(At(10, Z->Height() - 1), kBlack);
  EXPECT_EQ(At(10, Z->Height() - 2), kGrey);
  // The selected tab's caption stands at x + extra / 2, y + TabSpaceY / 2.
  TRect cell{2 + w1 + 8, 2 + 4, 2 + w1 + 8 + TextW("Page 2"), 2 + 4 + Z->Canvas()->TextHeight("X")};
  bool ink = false;
  for (int32_t y = cell.Top; y < cell.Bottom; ++y)
    for (int32_t x = cell.Left; x < cell.Right; ++x) ink |= At(x, y) == kBlack;
  EXPECT_TRUE(ink);
}

TEST_F(Painting, SeveralRowsAreStretchedAndTheCurrentRowIsLowest) {
  // Ten equal tabs of which four fit in a row.
  Z->SetNumPages(10);
  for (int32_t p = 1; p <= 10; ++p) Z->PageNames()->Put(p, "Tab");
  const int32_t tab = TextW("Tab") + 16;
  Form->SetClientWidth(4 * tab + 4 + tab / 2);
  Z->SetStyle(asTabbed);
  EXPECT_THAT(Rows(), ElementsAre(4, 3, 3));
  EXPECT_TRUE(Z->tabinline(4, 0));
  EXPECT_TRUE(Z->tabinline(5, 1));
  EXPECT_FALSE(Z->tabinline(0, 0));
  Form->Snapshot();
  // Every row is stretched to W - 4.
  std::vector<int32_t> w = Widths();
  const int32_t room = Z->Width() - 4;
  EXPECT_EQ(w[0] + w[1] + w[2] + w[3], room);
  EXPECT_EQ(w[4] + w[5] + w[6], room);
  EXPECT_EQ(w[7] + w[8] + w[9], room);
  // Page 1's row is drawn lowest: a press in the bottom row's first tab selects page 1.
  const int32_t rh = RowH();
  Z->tabclick(5, 2 + 2 * rh + 3);
  EXPECT_EQ(Z->Page(), 1);
  // A press in the top visual row hits the first row that does not hold the page.
  Z->tabclick(5, 3);
  EXPECT_EQ(Z->Page(), 5);
  Form->Snapshot();
  // Now row 1 is lowest and row 0 moved back above row 2's place: the top row is row 0.
  Z->tabclick(5, 3);
  EXPECT_EQ(Z->Page(), 1);
  // Left of a row's first tab, and right of all tabs of one row, nothing is selected.
  Z->tabclick(1, 3);
  EXPECT_EQ(Z->Page(), 1);
}

TEST_F(Painting, ANameWiderThanTheStripGetsARowOfItsOwn) {
  Z->SetNumPages(4);
  Z->PageNames()->Put(2, std::string(200, 'W'));
  Z->SetStyle(asTabbed);
  std::vector<int32_t> rows = Rows();
  int32_t total = 0;
  for (int32_t n : rows) {
    EXPECT_GE(n, 1);
    total += n;
  }
  EXPECT_EQ(total, 4);
  Form->Snapshot();  // and drawing them divides by no empty row
  Z->setPage(3);
  Form->Snapshot();
}

TEST_F(Painting, PressesOnTheStripSelectPagesAtRunTimeAndInTheDesigner) {
  Z->SetStyle(asTabbed);
  Form->Snapshot();
  const int32_t w1 = TextW("Page 1") + 16;
  const int32_t th = Z->tabheight();
  Z->MouseDown(mbLeft, {ssLeft}, 2 + w1 + 3, 5);
  EXPECT_EQ(Z->Page(), 2);
  Z->MouseDown(mbLeft, {ssLeft}, 5, th);  // below the strip: the page's area
  EXPECT_EQ(Z->Page(), 2);
  Form->SetDesigning(true);
  Form->Snapshot();
  EXPECT_EQ(Z->CMDesignHitTest(5, th + 3, {ssLeft}), 0);
  EXPECT_EQ(Z->CMDesignHitTest(5, 5, {ssLeft, ssShift}), 0);
  EXPECT_EQ(Z->CMDesignHitTest(5, 5, {ssLeft}), 1);
  EXPECT_EQ(Z->Page(), 1);
}

TEST_F(Painting, PressesFollowTheCaptionsNotTheLastPainting) {
  // Before any painting, a press finds its tab from the captions.
  Z->SetStyle(asTabbed);
  const int32_t w1 = TextW("Page 1") + 16;
  Z->tabclick(2 + w1 + 3, 5);
  EXPECT_EQ(Z->Page(), 2);
  Form->Snapshot();
  // A longer first name moves the second tab right at once, painted again or not.
  Z->PageNames()->Put(1, "A much longer first page");
  const int32_t longer = TextW("A much longer first page") + 16;
  Z->tabclick(2 + w1 + 3, 5);
  EXPECT_EQ(Z->Page(), 1);
  Z->tabclick(2 + longer + 3, 5);
  EXPECT_EQ(Z->Page(), 2);
}

TEST_F(Painting, TheFocusedContainerFramesItsSelectedTab) {
  Z->SetStyle(asTabbed);
  Z->SetTabStop(true);
  Form->Show();
  Z->SetFocus();
  // Page 1 selected at x = 2: its caption at 2 + 8, 2 + 4; the dotted frame two pixels out,
  // drawn by inverting the silver face.
  const int32_t left = 2 + 8 - 2, top = 2 + 4 - 2;
  EXPECT_EQ(At(left, top), kSilver ^ 0xFFFFFF);
  Form->SetFocusedControl(nullptr);
  EXPECT_EQ(At(left, top), kSilver);
  Form->Hide();
}

TEST_F(Painting, HoldingShiftAtCreationShowsTheBanner) {
  Application().Backend().SetKeyState(VK_SHIFT, true);
  auto form = std::unique_ptr<TForm>(New<TForm>(nullptr));
  form->SetBounds(0, 0, 400, 300);
  auto* z = New<TZelvar>(form.get());
  z->SetParent(form.get());
  Application().Backend().SetKeyState(VK_SHIFT, false);
  const TImageData& image = form->Snapshot().Image();
  int ink = 0;
  for (int32_t y = 0; y < z->Canvas()->TextHeight("X"); ++y)
    for (int32_t x = 0; x < 60; ++x) ink += (image.At(x, y) & 0xFFFFFF) != kSilver;
  EXPECT_GT(ink, 0);
  EXPECT_EQ(At(10, 5), kSilver);  // the fixture's container, made without Shift
}

TEST_F(Painting, RowsWithNoHeightHoldNoTab) {
  Z->SetStyle(asTabbed);
  Form->Snapshot();
  const int32_t text = Z->Canvas()->TextHeight("X");
  for (int32_t space : {-text, -text - 1, INT32_MIN}) {
    SCOPED_TRACE(space);
    Z->SetTabSpaceY(space);
    Form->Snapshot();
    EXPECT_EQ(Z->tabheight(), 2);
    for (int32_t y : {INT32_MIN, 0, 1, 2, 3, 20, INT32_MAX})
      for (int32_t x : {INT32_MIN, 0, 3, 10, 50, INT32_MAX}) {
        Z->MouseDown(mbLeft, {ssLeft}, x, y);
        Z->tabclick(x, y);
      }
    EXPECT_EQ(Z->Page(), 1);
  }
}

TEST_F(Painting, ThePagesStartBelowTheStripWhateverRebuildsIt) {
  Z->SetNumPages(10);
  for (int32_t p = 1; p <= 10; ++p) Z->PageNames()->Put(p, "Tab " + std::to_string(p));
  Z->SetAlign(alClient);
  Form->SetClientWidth(600);
  auto* panel = New<TPanel>(Form.get());
  panel->SetParent(Z);
  panel->SetAlign(alClient);
  auto below = [&](const char* after) {
    SCOPED_TRACE(after);
    // A strip taller than the container leaves the pages no height.
    TRect client = Z->GetClientRect();
    client.Bottom = std::max(client.Bottom, client.Top);
    EXPECT_EQ(panel->BoundsRect(), client);
    if (Z->Style() == asTabbed) {
      EXPECT_EQ(panel->Top(), Z->tabheight() + 1);
    }
  };
  Z->SetStyle(asTabbed);
  below("the style");
  ASSERT_EQ(Rows().size(), 1u);
  Form->SetClientWidth(170);
  ASSERT_GE(Rows().size(), 3u);
  below("a narrower form");
  Form->SetClientWidth(600);
  below("a wider form");
  Z->SetTabSpaceY(20);
  below("TabSpaceY");
  Z->SetTabSpaceX(200);
  below("TabSpaceX");
  Z->SetNumPages(30);
  below("more pages");
  Z->SetNumPages(2);
  below("fewer pages");
  Z->SetStyle(asWizard);
  below("the wizard style");
  Z->SetStyle(asTabbed);
  below("the tabbed style again");
  Z->SetStyle(asNone);
  below("no style");
}

TEST_F(ContainerTest, ExtremePropertyValuesLayOutPaintAndHitTest) {
  // Whatever a form file holds for the bar's and the strip's sizes, or the container's bounds:
  // the layout, the painting and the presses stay within the integers.
  auto press = [&] {
    for (int32_t x : {INT32_MIN, 0, 5, 200, INT32_MAX})
      for (int32_t y : {INT32_MIN, 0, 5, 200, INT32_MAX}) {
        Z->MouseDown(mbLeft, {ssLeft}, x, y);
        Z->MouseUp(mbLeft, {ssLeft}, x, y);
        Z->CMDesignHitTest(x, y, {ssLeft});
        Form->ControlAt(x, y);
      }
  };
  for (ZelvarStyle style : {asWizard, asTabbed}) {
    for (int32_t v : {INT32_MIN, INT32_MAX}) {
      SCOPED_TRACE(std::to_string(style) + " " + std::to_string(v));
      Z->SetStyle(style);
      Z->SetButtonWidth(v);
      Z->SetButtonHeight(v);
      Z->SetTabSpaceX(v);
      Z->SetTabSpaceY(v);
      Z->setPage(2);
      Form->Snapshot();
      press();
      EXPECT_GE(Z->tabheight(), 0);
      Z->SetBounds(v, v, v, v);
      Z->SetClientWidth(v);
      Z->SetClientHeight(v);
      Z->Realign();
      Form->Snapshot();
      press();
      Z->SetBounds(0, 0, 400, 300);
      Z->setPage(1);
      Form->Snapshot();
      press();
    }
  }
}

// ---------------------------------------------------------------------------------------------
// Sizing and keys

TEST_F(ContainerTest, ResizingInTheDesignerRecordsTheSizeOfTheModeShown) {
  Form->SetDesigning(true);
  const int32_t wizardW = Z->WizardWidth();
  Form->SetBounds(100, 100, 500, 350);
  EXPECT_EQ(Z->DialogWidth(), 500);
  EXPECT_EQ(Z->DialogHeight(), 350);
  EXPECT_EQ(Z->WizardWidth(), wizardW);
  Z->setPage(1);  // switches to the wizard size, which is not recorded as a change
  EXPECT_EQ(Form->Width(), wizardW);
  EXPECT_EQ(Z->DialogWidth(), 500);
  Form->SetBounds(100, 100, 420, 330);
  EXPECT_EQ(Z->WizardWidth(), 420);
  EXPECT_EQ(Z->DialogWidth(), 500);
  // At run time nothing is recorded.
  Form->SetDesigning(false);
  Form->SetBounds(100, 100, 333, 222);
  EXPECT_EQ(Z->WizardWidth(), 420);
}

TEST_F(ContainerTest, ArrowKeysStepThroughThePages) {
  EXPECT_EQ(Z->WMGetDlgCode(), DLGC_WANTARROWS);
  uint16_t key = VK_LEFT;
  Z->KeyDown(key, {});
  EXPECT_EQ(key, VK_LEFT);  // not on the dialog page
  key = VK_RIGHT;
  Z->KeyDown(key, {});
  EXPECT_EQ(key, 0);
  EXPECT_EQ(Z->Page(), 1);
  key = VK_LEFT;
  Z->KeyDown(key, {});
  EXPECT_EQ(key, VK_LEFT);
  Z->setPage(3);
  key = VK_RIGHT;
  Z->KeyDown(key, {});
  EXPECT_EQ(key, VK_RIGHT);
  // Through the form, to the focused container.
  Z->SetTabStop(true);
  Form->Show();
  Z->SetFocus();
  Form->DispatchKey(TMessage::KeyDown, VK_LEFT, {}, 0);
  EXPECT_EQ(Z->Page(), 2);
  EXPECT_THAT(Z->History().Items(), ElementsAre());
  Form->Hide();
}

}  // namespace
}  // namespace zelvar::test
