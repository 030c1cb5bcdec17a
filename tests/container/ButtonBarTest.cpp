// The button bar: which description each button shows in each mode, where the two groups
// stand, the tab order the walk leaves, glyphs and their marks, and a pass that changes
// nothing writing nothing.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "controls/ZelvarC.h"
#include "tests/TestSupport.h"
#include "tests/container/ContainerSupport.h"

namespace zelvar::test {
namespace {

using ::testing::ElementsAre;

// A form being designed, so the container takes the language defaults and lays its bar out.
class ButtonBar : public ::testing::Test {
 protected:
  void SetUp() override {
    Form.reset(New<TForm>(nullptr));
    Form->SetDesigning(true);
    Form->SetBounds(0, 0, 600, 400);
    Z = New<TZelvar>(Form.get());
    Z->SetName("Zelvar1");
    Z->SetParent(Form.get());
    Z->SetNumPages(3);
  }
  // Where the n-th shown button of the left or right group stands (90 wide, 4 apart).
  static int32_t LeftSlot(int32_t n) { return 4 + n * 94; }
  int32_t RightSlot(int32_t n) const { return Z->Width() - 94 - n * 94; }
  void SetOrder(TIntegerList& list, std::initializer_list<int32_t> codes) {
    list.Clear();
    for (int32_t c : codes) list.Add(c);
    Z->ShowButtons();
  }

  std::unique_ptr<TForm> Form;
  TZelvar* Z = nullptr;
};

TEST_F(ButtonBar, TheDefaultsShowWhatAUserExpectsInEachMode) {
  Z->setPage(1);
  EXPECT_EQ(Z->ChangeButton()->Caption(), "&Dialog");
  EXPECT_EQ(Z->ChangeButton()->Left(), 4);
  EXPECT_EQ(Z->HelpButton()->Left(), kParkedLeft);
  EXPECT_FALSE(Z->HelpButton()->Enabled());
  EXPECT_EQ(Z->NextButton()->Left(), RightSlot(0));
  EXPECT_EQ(Z->BackButton()->Left(), RightSlot(1));
  EXPECT_EQ(Z->CancelButton()->Left(), RightSlot(2));
  EXPECT_EQ(Z->OKButton()->Left(), kParkedLeft);
  EXPECT_EQ(Z->NextButton()->Top(), Z->Height() - Z->ChangeButton()->Height() - 3);
  EXPECT_TRUE(Z->NextButton()->Default());
  EXPECT_EQ(Z->NextButton()->Layout(), blGlyphRight);
  Z->setPage(3);
  EXPECT_EQ(Z->NextButton()->Caption(), "&Finish");
  EXPECT_TRUE(Z->NextButton()->Default());
  Z->setPage(0);
  EXPECT_EQ(Z->ChangeButton()->Caption(), "&Wizard");
  EXPECT_EQ(Z->OKButton()->Left(), RightSlot(0));
  EXPECT_EQ(Z->OKButton()->Caption(), "&OK");
  EXPECT_EQ(Z->CancelButton()->Left(), RightSlot(1));
  EXPECT_TRUE(Z->OKButton()->Default());
  EXPECT_FALSE(Z->NextButton()->Default());
  EXPECT_EQ(Z->NextButton()->Left(), kParkedLeft);
  EXPECT_FALSE(Z->BackButton()->Enabled());
}

TEST_F(ButtonBar, MiddleAndSpacesPlaceTheGroups) {
  Z->setPage(1);
  Z->BtnHelp()->SetShow(true);
  SetOrder(*Z->BLWizard(), {bcMiddle, bcChange, bcHelp, bcCancel});
  EXPECT_EQ(Z->CancelButton()->Left(), RightSlot(0));
  EXPECT_EQ(Z->HelpButton()->Left(), RightSlot(1));
  EXPECT_EQ(Z->ChangeButton()->Left(), RightSlot(2));
  SetOrder(*Z->BLWizard(), {bcSpace, bcChange, bcSpace, bcSpace, bcHelp, bcMiddle});
  EXPECT_EQ(Z->ChangeButton()->Left(), 4 + 8);
  EXPECT_EQ(Z->HelpButton()->Left(), 4 + 8 + 94 + 16);
  // Buttons the order leaves out have no place in this mode.
  EXPECT_EQ(Z->NextButton()->Left(), kParkedLeft);
  EXPECT_FALSE(Z->NextButton()->Enabled());
  // Without a Middle everything stands at the left; a code twice keeps its first place.
  SetOrder(*Z->BLWizard(), {bcCancel, bcNext, bcCancel});
  EXPECT_EQ(Z->CancelButton()->Left(), LeftSlot(0));
  EXPECT_EQ(Z->NextButton()->Left(), LeftSlot(1));
}

TEST_F(ButtonBar, HiddenButtonsAreParkedDisabledAndStillTakeATabPosition) {
  auto* box = New<TABox>(Form.get());
  box->SetParent(Z);
  Z->setPage(1);
  EXPECT_THAT(Z->TabListRef(),
              ElementsAre(box, Z->ChangeButton(), Z->HelpButton(), Z->CancelButton(),
                          Z->BackButton(), Z->NextButton(), Z->OKButton()));
  // Shown but not enabled: a visible, disabled button.
  Z->BtnCancel()->SetEnabled(false);
  EXPECT_EQ(Z->CancelButton()->Left(), RightSlot(2));
  EXPECT_FALSE(Z->CancelButton()->Enabled());
  // Codes the dialog ignores leave no gap but move the tab counter on.
  Z->setPage(0);
  SetOrder(*Z->BLDialog(), {bcChange, bcBack, bcNext, bcHelp, bcMiddle, bcCancel, bcOK});
  EXPECT_EQ(Z->ChangeButton()->Left(), LeftSlot(0));
  EXPECT_EQ(Z->HelpButton()->Left(), kParkedLeft);
  EXPECT_EQ(Z->OKButton()->Left(), RightSlot(0));
}

TEST_F(ButtonBar, AShownWizardOKFinishesOnTheLastPage) {
  Z->BtnWizardOK()->SetShow(true);
  Z->setPage(1);
  EXPECT_EQ(Z->OKButton()->Left(), RightSlot(0));
  EXPECT_EQ(Z->OKButton()->Caption(), "&OK");
  EXPECT_EQ(Z->NextButton()->Left(), RightSlot(1));
  EXPECT_TRUE(Z->NextButton()->Default());
  Z->setPage(3);
  EXPECT_EQ(Z->OKButton()->Caption(), "&Finish");
  EXPECT_EQ(Z->NextButton()->Caption(), "&Next");
  EXPECT_TRUE(Z->OKButton()->Default());
  EXPECT_FALSE(Z->NextButton()->Default());
}

TEST_F(ButtonBar, GlyphsFollowTheirRecordsAndTheShowGlyphSwitch) {
  Z->setPage(1);
  const TBitmap& next = *Z->NextButton()->Glyph();
  EXPECT_EQ(next.Width(), Z->BtnNext()->GetGlyph()->Width());
  EXPECT_EQ(Z->NextButton()->NumGlyphs(), 2);
  Z->setshowglyph(false);
  EXPECT_TRUE(Z->NextButton()->Glyph()->Empty());
  EXPECT_EQ(Z->NextButton()->Tag(), 0);
  Z->setshowglyph(true);
  EXPECT_EQ(Z->NextButton()->Glyph()->Width(), 32);
  // A new glyph reaches the button at once.
  TBitmap strip(30, 10);
  Z->BtnChangeDialog()->SetGlyph(&strip);
  EXPECT_EQ(Z->ChangeButton()->Glyph()->Width(), 30);
  EXPECT_EQ(Z->ChangeButton()->NumGlyphs(), 3);
  // Strips that do not divide keep the count; more than four images count as one; nil keeps it.
  TBitmap odd(31, 10), wide(50, 10);
  Z->BtnChangeDialog()->SetGlyph(&odd);
  EXPECT_EQ(Z->BtnChangeDialog()->GetNumGlyphs(), 3);
  Z->BtnChangeDialog()->SetGlyph(&wide);
  EXPECT_EQ(Z->BtnChangeDialog()->GetNumGlyphs(), 1);
  Z->BtnChangeDialog()->SetGlyph(nullptr);
  EXPECT_TRUE(Z->BtnChangeDialog()->GetGlyph()->Empty());
  EXPECT_EQ(Z->BtnChangeDialog()->GetNumGlyphs(), 1);
  Z->BtnChangeDialog()->SetNumGlyphs(9);
  EXPECT_EQ(Z->BtnChangeDialog()->GetNumGlyphs(), 4);
}

TEST_F(ButtonBar, APassThatChangesNothingWritesNothing) {
  Z->setPage(2);
  Form->Snapshot();
  ASSERT_FALSE(Form->NeedsRepaint());
  std::vector<TWinControl*> tabs = Z->TabListRef();
  Z->ShowButtons();
  Z->ShowButtons();
  EXPECT_FALSE(Form->NeedsRepaint());
  EXPECT_EQ(Z->TabListRef(), tabs);
  Z->BtnNext()->SetText("&Weiter");
  EXPECT_TRUE(Form->NeedsRepaint());
  EXPECT_EQ(Z->NextButton()->Caption(), "&Weiter");
}

TEST_F(ButtonBar, OtherStylesShowNoButtons) {
  Z->setPage(1);
  for (ZelvarStyle style : {asNone, asTabbed}) {
    Z->SetStyle(style);
    for (int i = 0; i < Z->GetComponentCount(); ++i) {
      auto* b = As<TBitBtn>(Z->GetComponent(i));
      EXPECT_EQ(b->Left(), kParkedLeft) << b->Name();
      EXPECT_FALSE(b->Enabled()) << b->Name();
    }
    Z->SetStyle(asWizard);
    EXPECT_EQ(Z->NextButton()->Left(), RightSlot(0));
  }
}

TEST_F(ButtonBar, WidthHeightAndStyleReachEveryButton) {
  Z->setPage(1);
  Z->SetButtonWidth(70);
  Z->SetButtonHeight(30);
  Z->SetButtonStyle(bsNew);
  for (int i = 0; i < Z->GetComponentCount(); ++i) {
    auto* b = As<TBitBtn>(Z->GetComponent(i));
    EXPECT_EQ(b->Width(), 70);
    EXPECT_EQ(b->Height(), 30);
    EXPECT_EQ(b->Style(), bsNew);
  }
  EXPECT_EQ(Z->NextButton()->Left(), Z->Width() - 70 - 4);
  EXPECT_EQ(Z->NextButton()->Top(), Z->Height() - 30 - 3);
  EXPECT_EQ(Z->BackButton()->Left(), Z->Width() - 2 * 74);
}

}  // namespace
}  // namespace zelvar::test
