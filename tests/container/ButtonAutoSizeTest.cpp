// Buttons that fit their captions, on the container with a German and an overlong language
// file, in both modes (the widths themselves are BarLayoutTest's).

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "container/BarLayout.h"
#include "container/ZelvarA.h"
#include "platform/core/Paths.h"
#include "platform/graphics/Captions.h"
#include "platform/streaming/FormFiles.h"
#include "tests/TestSupport.h"

namespace zelvar::test {
namespace {

namespace fs = std::filesystem;
using ::testing::EndsWith;
using ::testing::HasSubstr;
using ::testing::Not;

// The container at run time with a language file beside the program.
class AutoSizeButtons : public ::testing::Test {
 protected:
  void SetUp() override {
    Dir = fs::path(::testing::TempDir()) / ("zelvar-autosize-" + std::to_string(::getpid()));
    fs::remove_all(Dir);
    fs::create_directories(Dir);
    SetProgramDir(Dir.string());
  }
  void TearDown() override {
    Form.reset();
    SetProgramDir("");
    fs::remove_all(Dir);
  }
  void Make(const std::string& language, int32_t width) {
    std::ofstream(Dir / "Zelvar.ini") << "[Option]\nLanguage=lang\n[lang]\n" << language;
    Form.reset(New<TForm>(nullptr));
    Form->SetBounds(100, 100, width, 300);
    Z = New<TZelvar>(Form.get());
    Z->SetName("Zelvar1");
    Z->SetParent(Form.get());
    Z->SetNumPages(3);
    Z->UseDefaultButtons();
    Z->setPage(1);
  }
  std::vector<TBitBtn*> Shown() const {
    std::vector<TBitBtn*> out;
    for (TBitBtn* b : {static_cast<TBitBtn*>(Z->ChangeButton()), Z->CancelButton(),
                       static_cast<TBitBtn*>(Z->BackButton()),
                       static_cast<TBitBtn*>(Z->NextButton()), Z->OKButton()})
      if (b->Left() != kParkedLeft) out.push_back(b);
    return out;
  }
  // Every shown button lies inside the bar and no two overlap.
  void ExpectOneRow() const {
    std::vector<TBitBtn*> shown = Shown();
    for (TBitBtn* b : shown) {
      EXPECT_GE(b->Left(), 0) << b->Name();
      EXPECT_LE(b->Left() + b->Width(), Z->Width()) << b->Name();
      for (TBitBtn* other : shown) {
        if (other == b) continue;
        EXPECT_TRUE(b->Left() + b->Width() <= other->Left() ||
                    other->Left() + other->Width() <= b->Left())
            << b->Name() << " overlaps " << other->Name();
      }
    }
  }
  int32_t TextRoom(const TBitBtn& b) const {
    TBitmap bitmap;
    bitmap.SetSize(1, 1);
    bitmap.Canvas()->Font()->Assign(Z->Font());
    return CaptionWidth(*bitmap.Canvas(), b.Caption());
  }

  fs::path Dir;
  std::unique_ptr<TForm> Form;
  TZelvar* Z = nullptr;
};

const char* const kGerman =
    "Next=&Weiter\nBack=&Zurück\nCancel=&Abbrechen\nFinish=&Fertigstellen\n"
    "ChangeDialog=&Dialogansicht wechseln\nChangeZelvar=&Assistent\nDialogOK=&OK\n";

TEST_F(AutoSizeButtons, GermanCaptionsWidenTheirGroupAndSwitchingOffRestoresTheBar) {
  Make(kGerman, 700);
  EXPECT_EQ(Z->ChangeButton()->Width(), 90);
  Z->SetButtonAutoSize(true);
  const int32_t change = Z->ChangeButton()->Width();
  EXPECT_GT(change, 90);
  EXPECT_GE(change, TextRoom(*Z->ChangeButton()) + 2 * 10);
  EXPECT_EQ(Z->ChangeButton()->Caption(), "&Dialogansicht wechseln");
  // Cancel, Back and Next are one group: one width, at least ButtonWidth.
  EXPECT_EQ(Z->CancelButton()->Width(), Z->BackButton()->Width());
  EXPECT_EQ(Z->BackButton()->Width(), Z->NextButton()->Width());
  EXPECT_GE(Z->NextButton()->Width(), 90);
  EXPECT_EQ(Z->NextButton()->Left() + Z->NextButton()->Width(), Z->Width() - 4);
  ExpectOneRow();
  // A wider ButtonWidth is still the least a button gets, where the bar has the room.
  Form->SetWidth(1400);
  Z->SetButtonWidth(260);
  EXPECT_EQ(Z->NextButton()->Width(), 260);
  EXPECT_EQ(Z->ChangeButton()->Width(), 260);
  Z->SetButtonWidth(90);
  Z->SetButtonAutoSize(false);
  for (TBitBtn* b : Shown()) EXPECT_EQ(b->Width(), 90) << b->Name();
  EXPECT_EQ(Z->NextButton()->Left(), Z->Width() - 94);
}

const char* const kLong =
    "Next=&Next step of this rather long installation procedure\n"
    "Back=&Back to the step before this one, please\n"
    "Cancel=&Cancel everything that has been chosen so far\n"
    "ChangeDialog=&Dialog view with every option on one page\n"
    "ChangeZelvar=&Wizard view\nDialogOK=&OK\n";

TEST_F(AutoSizeButtons, AWizardTooNarrowShortensCaptionsInsteadOfOverlapping) {
  Make(kLong, 500);
  Z->SetButtonAutoSize(true);
  EXPECT_EQ(Form->Width(), 500);
  ExpectOneRow();
  for (TBitBtn* b : Shown()) {
    EXPECT_THAT(b->Caption(), EndsWith("\u2026")) << b->Name();
    EXPECT_LE(TextRoom(*b), b->Width()) << b->Name();
  }
  // The descriptions keep their texts: only what the buttons show is shortened.
  EXPECT_EQ(Z->BtnNext()->Text(), "&Next step of this rather long installation procedure");
  // Widening the form gives the captions back.
  Form->SetWidth(2000);
  ExpectOneRow();
  EXPECT_EQ(Z->NextButton()->Caption(), "&Next step of this rather long installation procedure");
}

TEST_F(AutoSizeButtons, ADialogTooNarrowGrowsTheFormAroundItsCentre) {
  Make(kLong, 400);
  Z->SetButtonAutoSize(true);
  Z->setPage(0);
  EXPECT_GT(Form->Width(), 400);
  EXPECT_EQ(Form->Left() + Form->Width() / 2, 100 + 400 / 2);
  ExpectOneRow();
  EXPECT_EQ(Z->CancelButton()->Caption(), "&Cancel everything that has been chosen so far");
  EXPECT_EQ(Z->ChangeButton()->Caption(), "&Wizard view");
  EXPECT_GE(Z->CancelButton()->Width(), TextRoom(*Z->CancelButton()));
}

TEST_F(AutoSizeButtons, IsWrittenOnlyWhenSet) {
  Make(kGerman, 600);
  const std::string before = WriteComponent(Form.get(), TFormFormat::Text);
  EXPECT_THAT(before, Not(HasSubstr("ButtonAutoSize")));
  Z->SetButtonAutoSize(true);
  EXPECT_THAT(WriteComponent(Form.get(), TFormFormat::Text), HasSubstr("ButtonAutoSize = True"));
  Z->SetButtonAutoSize(false);
  EXPECT_EQ(WriteComponent(Form.get(), TFormFormat::Text), before);
}

}  // namespace
}  // namespace zelvar::test
