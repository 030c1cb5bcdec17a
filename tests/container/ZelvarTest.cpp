// The container's state: construction at run time and in the designer, the language file,
// form files with history and sizes, Loaded, and the two broadcasts.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <utility>

#include "platform/core/Paths.h"
#include "platform/core/TypInfo.h"
#include "platform/streaming/FormFiles.h"
#include "platform/streaming/FormText.h"
#include "tests/TestSupport.h"
#include "tests/container/ContainerSupport.h"

namespace zelvar::test {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Not;

std::vector<int32_t> Items(const TIntegerList& list) {
  return list.Items();
}

TEST_F(ContainerTest, RunTimeContainerHasEmptyTextsAndThreePageNames) {
  auto form = std::unique_ptr<TForm>(New<TForm>(nullptr));
  form->SetBounds(0, 0, 320, 240);
  auto* z = New<TZelvar>(form.get());
  EXPECT_EQ(z->NumPages(), 2);
  EXPECT_EQ(z->Page(), 0);
  EXPECT_EQ(z->PageNames()->ToVector(), (std::vector<std::string>{"Dialog", "Page 1", "Page 2"}));
  EXPECT_EQ(z->BtnNext()->Text(), "");
  EXPECT_EQ(z->CaptionWizard(), "");
  EXPECT_EQ(z->CaptionDialog(), "");
  EXPECT_FALSE(z->ButtonsReady());
  EXPECT_EQ(z->Align(), alClient);
  EXPECT_FALSE(z->TabStop());
  EXPECT_EQ(z->ButtonWidth(), 90);
  EXPECT_EQ(z->ButtonHeight(), 25);
  EXPECT_EQ(z->StartPage(), 1);
  EXPECT_THAT(Items(*z->BLWizard()), ElementsAre(1, 2, 8, 3, 4, 5, 6));
  EXPECT_THAT(Items(*z->BLDialog()), ElementsAre(1, 2, 8, 3, 6));
  EXPECT_EQ(z->WizardWidth(), 320);
  EXPECT_EQ(z->DialogHeight(), 240);
  // The six buttons, owned by the container, with their names and classes.
  std::vector<std::pair<std::string, std::string>> buttons;
  for (int i = 0; i < z->GetComponentCount(); ++i)
    buttons.emplace_back(z->GetComponent(i)->Name(), z->GetComponent(i)->ClassName());
  EXPECT_EQ(buttons,
            (std::vector<std::pair<std::string, std::string>>{{"ChangeButton", "TDesignButton"},
                                                              {"HelpButton", "TDesignButton"},
                                                              {"CancelButton", "TBitBtn"},
                                                              {"BackButton", "TDesignButton"},
                                                              {"NextButton", "TDesignButton"},
                                                              {"OKButton", "TBitBtn"}}));
  EXPECT_EQ(z->NextButton()->Tag(), -1);
  EXPECT_TRUE(z->CancelButton()->Cancel());
  EXPECT_EQ(z->NextButton()->Parent(), z);
}

// A wizard a program builds: three pages and the default bar, shown at once.
TEST_F(ContainerTest, DefaultButtonsGiveACodeBuiltWizardItsBar) {
  Z->UseDefaultButtons();
  EXPECT_TRUE(Z->ButtonsReady());
  EXPECT_EQ(Form->Caption(), "Dialog");
  EXPECT_TRUE(Z->OKButton()->Default());
  Z->setPage(1);
  EXPECT_EQ(Form->Caption(), "Wizard - Page 1 of 3");
  for (TBitBtn* b :
       {static_cast<TBitBtn*>(Z->ChangeButton()), Z->CancelButton(),
        static_cast<TBitBtn*>(Z->BackButton()), static_cast<TBitBtn*>(Z->NextButton())}) {
    EXPECT_NE(b->Left(), kParkedLeft) << b->Name();
    EXPECT_FALSE(b->Glyph()->Empty()) << b->Name();
  }
  EXPECT_EQ(Z->HelpButton()->Left(), kParkedLeft);
  EXPECT_EQ(Z->OKButton()->Left(), kParkedLeft);
  EXPECT_EQ(Z->ChangeButton()->Caption(), "&Dialog");
  EXPECT_EQ(Z->CancelButton()->Caption(), "&Cancel");
  EXPECT_EQ(Z->BackButton()->Caption(), "&Back");
  EXPECT_EQ(Z->NextButton()->Caption(), "&Next");
  EXPECT_EQ(Z->NextButton()->Layout(), blGlyphRight);
  EXPECT_TRUE(Z->NextButton()->Default());
  EXPECT_TRUE(Z->NextButton()->Enabled());
  EXPECT_FALSE(Z->BackButton()->Enabled());
  Z->Nextclick(nullptr);
  Z->Nextclick(nullptr);
  EXPECT_EQ(Z->NextButton()->Caption(), "&Finish");
  EXPECT_TRUE(Z->NextButton()->Enabled());
  EXPECT_TRUE(Z->NextButton()->Default());
  EXPECT_TRUE(Z->BackButton()->Enabled());
}

// The texts of the nine descriptions and the two captions as a form file holds them.
std::string ButtonData(TForm& form) {
  std::string text = ObjectBinaryToText(WriteComponent(&form, TFormFormat::Binary));
  size_t from = text.find("CaptionDialog"), to = text.find("WayList.");
  EXPECT_NE(to, std::string::npos);
  return text.substr(from, to - from);
}

TEST_F(ContainerTest, DefaultButtonsAreWhatTheDesignerStartsWith) {
  Z->UseDefaultButtons();
  TForm designed(nullptr);
  designed.SetDesigning(true);
  designed.SetBounds(100, 100, 400, 300);
  auto* z = New<TZelvar>(&designed);
  z->SetName("Zelvar1");
  z->SetNumPages(3);
  const std::string data = ButtonData(*Form);
  EXPECT_THAT(data, HasSubstr("BtnNext.Text = '&Next'"));
  EXPECT_EQ(data, ButtonData(designed));
}

TEST_F(ContainerTest, ShiftHeldAtCreationShowsTheBanner) {
  EXPECT_TRUE(Z->HideBanner());
  Application().Backend().SetKeyState(VK_SHIFT, true);
  auto* shown = New<TZelvar>(Form.get());
  Application().Backend().SetKeyState(VK_SHIFT, false);
  EXPECT_FALSE(shown->HideBanner());
}

TEST_F(ContainerTest, AnOwnerThatIsNoFormIsRefusedBeforeAnythingIsBuilt) {
  TComponent owner(nullptr);
  EXPECT_THAT(MessageOf<EInvalidCast>([&] { New<TZelvar>(&owner); }), HasSubstr("TForm"));
  EXPECT_EQ(owner.GetComponentCount(), 0);
}

TEST_F(ContainerTest, TheBroadcastsReachEveryComponentLastFirst) {
  std::vector<TPageProbe*> order;
  TPageProbe::CallOrder = &order;
  TPageProbe* a = AddProbe();
  TPageProbe* b = AddProbe();
  Z->SetNumPages(5);
  EXPECT_THAT(a->Counts, ElementsAre(6));
  EXPECT_THAT(order, ElementsAre(b, a));
  order.clear();
  Z->setPage(2);
  EXPECT_THAT(a->Positions, ElementsAre(2));
  EXPECT_THAT(order, ElementsAre(b, a));
  // Not a positive count: nothing is told.
  Z->SetNumPages(0);
  Z->SetNumPages(-4);
  EXPECT_THAT(a->Counts, ElementsAre(6));
  EXPECT_EQ(Z->NumPages(), 5);
}

TEST_F(ContainerTest, AFailingControlUndoesThePageChange) {
  TPageProbe* early = AddProbe();
  TPageProbe* failing = AddProbe();
  TPageProbe* late = AddProbe();
  failing->OnPosition = [](int32_t n) {
    if (n == 2) throw EListError("List index out of bounds (2)");
  };
  Z->setPage(1);
  EXPECT_THAT(MessageOf<EListError>([&] { Z->setPage(2); }), HasSubstr("(2)"));
  // Everyone was told of page 2 and then of page 1 again: the form is back where it was.
  EXPECT_THAT(early->Positions, ElementsAre(1, 2, 1));
  EXPECT_THAT(late->Positions, ElementsAre(1, 2, 1));
  EXPECT_THAT(failing->Positions, ElementsAre(1, 1));
  EXPECT_EQ(Z->Page(), 1);
  EXPECT_TRUE(Z->RecordSize());
  EXPECT_TRUE(Z->ButtonsReady());
  Z->setPage(3);
  EXPECT_THAT(failing->Positions, ElementsAre(1, 1, 3));
}

TEST_F(ContainerTest, AMethodOfAnotherShapeIsReportedAfterTheOthersAreTold) {
  TPageProbe* probe = AddProbe();
  New<TMisshapenProbe>(Form.get());
  AddProbe();
  EXPECT_THAT(MessageOf<EInvalidCast>([&] { Z->setPage(1); }),
              HasSubstr("SetNewPosition has the signature void ()"));
  EXPECT_THAT(probe->Positions, ElementsAre(1, 0));
  EXPECT_EQ(Z->Page(), 0);
}

TEST_F(ContainerTest, AComponentFreedDuringTheBroadcastIsNotCalled) {
  TPageProbe* victim = AddProbe();
  TPageProbe* killer = AddProbe();
  bool done = false;
  killer->OnPosition = [&](int32_t) {
    if (!done) delete victim;
    done = true;
  };
  Z->setPage(1);  // the killer comes first (last component first); AddressSanitizer watches
  EXPECT_EQ(Form->GetComponentCount(), 2);
}

// A control laid out along the form's top, which runs a hook when the form resizes it.
class TResizeHook : public TGraphicControl {
 public:
  using TGraphicControl::TGraphicControl;
  void SetBounds(int32_t left, int32_t top, int32_t width, int32_t height) override {
    TGraphicControl::SetBounds(left, top, width, height);
    if (auto hook = std::exchange(OnResized, nullptr)) hook();
  }
  std::function<void()> OnResized;
};

TEST_F(ContainerTest, ComponentsThatComeOrGoWhileTheFormResizesAreToldAsTheyAreThen) {
  std::vector<TPageProbe*> order;
  TPageProbe::CallOrder = &order;
  TPageProbe* stays = AddProbe();
  TPageProbe* goes = AddProbe();
  auto* hook = New<TResizeHook>(Form.get());
  hook->SetParent(Form.get());
  hook->SetAlign(alTop);
  Z->setWizardWidth(500);  // on the dialog page: the form keeps its size
  TPageProbe* comes = nullptr;
  hook->OnResized = [&] {
    comes = AddProbe();  // first, so that it cannot take the place of the one that goes
    delete goes;         // AddressSanitizer watches
  };
  order.clear();
  stays->Positions.clear();
  Z->setPage(1);  // into the wizard: the form takes the wizard's width
  EXPECT_EQ(Form->Width(), 500);
  ASSERT_NE(comes, nullptr);
  EXPECT_THAT(comes->Positions, ElementsAre(1));
  EXPECT_THAT(stays->Positions, ElementsAre(1));
  EXPECT_THAT(order, ElementsAre(comes, stays));
}

TEST_F(ContainerTest, PageCountBelowThePageMovesToTheNewLastPage) {
  Z->setPage(3);
  Z->SetNumPages(2);
  EXPECT_EQ(Z->Page(), 2);
  EXPECT_EQ(Z->PageNames()->Count(), 3);
  Z->SetNumPages(4);
  EXPECT_EQ(Z->PageNames()->Get(4), "Page 4");
  EXPECT_THAT(MessageOf<EListError>([&] { Z->SetNumPages(2000000000); }),
              HasSubstr("NumPages 2000000000"));
  EXPECT_EQ(Z->NumPages(), 4);
}

// ---------------------------------------------------------------------------------------------
// The language file

class LanguageFile : public ::testing::Test {
 protected:
  void SetUp() override {
    Dir = fs::path(::testing::TempDir()) / ("zelvar-lang-" + std::to_string(::getpid()));
    fs::remove_all(Dir);
    fs::create_directories(Dir);
    SetProgramDir(Dir.string());
    Form.reset(New<TForm>(nullptr));
    Form->SetDesigning(true);
  }
  void TearDown() override {
    Form.reset();
    SetProgramDir("");
    fs::remove_all(Dir);
  }
  void Write(const std::string& text) { std::ofstream(Dir / "Zelvar.ini") << text; }
  TZelvar* Make() { return New<TZelvar>(Form.get()); }

  fs::path Dir;
  std::unique_ptr<TForm> Form;
};

TEST_F(LanguageFile, MissingFileGivesTheEnglishDefaults) {
  TZelvar* z = Make();
  EXPECT_EQ(z->BtnNext()->Text(), "&Next");
  EXPECT_EQ(z->BtnNext()->Layout(), blGlyphRight);
  EXPECT_EQ(z->BtnBack()->Text(), "&Back");
  EXPECT_EQ(z->BtnChangeWizard()->Text(), "&Wizard");
  EXPECT_FALSE(z->BtnWizardOK()->Show());
  EXPECT_FALSE(z->BtnHelp()->Show());
  EXPECT_TRUE(z->BtnFinish()->Show());
  EXPECT_TRUE(z->BtnHelp()->Enabled());
  EXPECT_EQ(z->CaptionWizard(), "Wizard - Page %d of %d");
  EXPECT_EQ(z->CaptionDialog(), "Dialog");
  // Every glyph is a strip of two images.
  EXPECT_EQ(z->BtnNext()->GetNumGlyphs(), 2);
  EXPECT_EQ(z->BtnCancel()->GetGlyph()->Width(), 2 * z->BtnCancel()->GetGlyph()->Height());
  EXPECT_TRUE(z->ButtonsReady());
  EXPECT_EQ(Form->Caption(), "Dialog");
  // The design buttons take clicks in the designer; Cancel and OK do not.
  EXPECT_FALSE(z->NextButton()->IsDesigning());
  EXPECT_FALSE(z->ChangeButton()->IsDesigning());
  EXPECT_TRUE(z->OKButton()->IsDesigning());
  EXPECT_TRUE(z->CancelButton()->IsDesigning());
}

TEST_F(LanguageFile, OneKeyChangesOneTextAndAMissingSectionChangesNone) {
  Write("[Option]\nLanguage=deutsch\n\n[deutsch]\nNext=&Weiter\n");
  TZelvar* z = Make();
  EXPECT_EQ(z->BtnNext()->Text(), "&Weiter");
  EXPECT_EQ(z->BtnBack()->Text(), "&Back");
  EXPECT_EQ(z->CaptionDialog(), "Dialog");

  Write("[Option]\nLanguage=klingon\n[deutsch]\nNext=&Weiter\nCaptionDialog=Dialog!\n");
  TZelvar* other = Make();
  EXPECT_EQ(other->BtnNext()->Text(), "&Next");
  EXPECT_EQ(other->CaptionDialog(), "Dialog");
}

TEST_F(LanguageFile, RunTimeCreationNeverReadsItButDefaultButtonsDo) {
  Write("[Option]\nLanguage=deutsch\n[deutsch]\nNext=&Weiter\nCaptionWizard=Seite %d von %d\n");
  Form->SetDesigning(false);
  TZelvar* z = Make();
  EXPECT_EQ(z->BtnNext()->Text(), "");
  z->SetParent(Form.get());
  z->UseDefaultButtons();
  z->setPage(1);
  EXPECT_EQ(z->NextButton()->Caption(), "&Weiter");
  EXPECT_EQ(z->BackButton()->Caption(), "&Back");
  EXPECT_EQ(Form->Caption(), "Seite 1 von 2");
}

// ---------------------------------------------------------------------------------------------
// Form files

class ContainerFiles : public ContainerTest {
 protected:
  void SetUp() override {
    ContainerTest::SetUp();
    RegisterZelvarA();
    Form->SetFormClassName("TForm1");
  }
  std::unique_ptr<TForm> ReadBack(const std::string& bytes) {
    TFormReadOptions options;
    options.CreateRoot = [](const std::string& cls, TComponent* owner) -> TComponent* {
      TForm* f = New<TForm>(owner);
      f->SetFormClassName(cls);
      return f;
    };
    return std::unique_ptr<TForm>(As<TForm>(ReadComponent(bytes, options)));
  }
  static TZelvar& ZelvarOf(TForm& form) { return *As<TZelvar>(form.FindComponent("Zelvar1")); }
};

TEST_F(ContainerFiles, ConfirmCancelIsWrittenOnlyWhenSet) {
  const std::string before = WriteComponent(Form.get(), TFormFormat::Text);
  EXPECT_THAT(before, Not(HasSubstr("ConfirmCancel")));
  Z->SetConfirmCancel(ccIfModified);
  std::unique_ptr<TForm> copy = ReadBack(WriteComponent(Form.get(), TFormFormat::Binary));
  EXPECT_EQ(ZelvarOf(*copy).ConfirmCancel(), ccIfModified);
  Z->SetConfirmCancel(ccNever);
  EXPECT_EQ(WriteComponent(Form.get(), TFormFormat::Text), before);
}

TEST_F(ContainerFiles, HistorySizesAndPageSurviveBothFormats) {
  Z->setPage(1);
  Z->Jump(3);
  Z->Jump(2);
  Z->setWizardWidth(500);
  Z->setDialogHeight(222);
  Z->BtnNext()->SetText("&Weiter");
  for (TFormFormat format : {TFormFormat::Binary, TFormFormat::Text}) {
    std::unique_ptr<TForm> copy = ReadBack(WriteComponent(Form.get(), format));
    TZelvar& z = ZelvarOf(*copy);
    EXPECT_THAT(Items(z.History()), ElementsAre(1, 3));
    EXPECT_EQ(z.Page(), 2);
    EXPECT_EQ(z.WizardWidth(), 500);
    EXPECT_EQ(z.DialogHeight(), 222);
    EXPECT_EQ(z.WizardHeight(), Z->WizardHeight());
    EXPECT_EQ(z.BtnNext()->Text(), "&Weiter");
    EXPECT_EQ(z.NumPages(), 3);
    // Loaded makes the form a centred dialog, still scaled to a finer screen.
    EXPECT_EQ(copy->Position(), poScreenCenter);
    EXPECT_EQ(copy->BorderStyle(), bsDialog);
    EXPECT_TRUE(copy->Scaled());
    // The buttons belong to the container, not to the file.
    EXPECT_EQ(z.GetComponentCount(), 6);
    EXPECT_EQ(copy->GetComponentCount(), 1);
  }
}

TEST_F(ContainerFiles, ReadButtonDataWinsUntilTheDefaultsAreAskedFor) {
  Z->UseDefaultButtons();
  Z->BtnNext()->SetText("&Weiter");
  Z->BtnHelp()->SetShow(true);
  Z->SetCaptionWizard("Seite %d");
  std::unique_ptr<TForm> copy = ReadBack(WriteComponent(Form.get(), TFormFormat::Text));
  TZelvar& z = ZelvarOf(*copy);
  EXPECT_EQ(z.BtnNext()->Text(), "&Weiter");
  EXPECT_TRUE(z.BtnHelp()->Show());
  EXPECT_EQ(z.CaptionWizard(), "Seite %d");
  z.setPage(1);
  EXPECT_NE(z.HelpButton()->Left(), kParkedLeft);
  z.UseDefaultButtons();
  EXPECT_EQ(z.NextButton()->Caption(), "&Next");
  EXPECT_EQ(z.HelpButton()->Left(), kParkedLeft);
  EXPECT_EQ(copy->Caption(), "Wizard - Page 1 of 3");
}

TEST_F(ContainerFiles, EmptyHistoryWritesItsCountOnlyAndFormSizeIsSixteenBytes) {
  std::string text = ObjectBinaryToText(WriteComponent(Form.get(), TFormFormat::Binary));
  EXPECT_THAT(text, HasSubstr("HistoryNumPages = 0\n"));
  EXPECT_THAT(text, Not(HasSubstr("HistoryData")));
  EXPECT_THAT(text, HasSubstr("FormSize = {\n      2C010000900100002C01000090010000\n"));
  // Published properties come first, in their declared order, then the defined ones.
  EXPECT_LT(text.find("NumPages = 3"), text.find("CaptionDialog"));
  EXPECT_LT(text.find("BLDialog.Data"), text.find("ButtonStyle"));
  EXPECT_LT(text.find("TabSpaceY"), text.find("HistoryNumPages"));
}

TEST_F(ContainerFiles, BackIsOfferedAfterLoadingWithoutHistoryPastPageOne) {
  Z->SetUseHistory(false);
  Z->setPage(3);
  Z->BtnBack()->SetEnabled(false);
  std::unique_ptr<TForm> copy = ReadBack(WriteComponent(Form.get(), TFormFormat::Text));
  EXPECT_TRUE(ZelvarOf(*copy).BtnBack()->Enabled());
}

TEST_F(ContainerFiles, DamagedBlocksFailTheWholeRead) {
  std::string text = ObjectBinaryToText(WriteComponent(Form.get(), TFormFormat::Binary));
  std::string shortSize = text;
  shortSize.replace(shortSize.find("2C010000900100002C01000090010000"), 32, "2C0100009001");
  EXPECT_THAT(MessageOf<EReadError>([&] { ReadBack(shortSize); }), HasSubstr("FormSize"));
  std::string longSize = text;
  longSize.replace(longSize.find("2C010000900100002C01000090010000"), 32,
                   "2C010000900100002C0100009001000000");
  EXPECT_THAT(MessageOf<EReadError>([&] { ReadBack(longSize); }), HasSubstr("16"));
  std::string history = text;
  history.replace(history.find("HistoryNumPages = 0"), 19, "HistoryNumPages = 2");
  EXPECT_THAT(MessageOf<EReadError>([&] { ReadBack(history); }),
              HasSubstr("HistoryNumPages is 2 but HistoryData holds 0"));
}

// A list's count whose "Data" is missing would keep the count beside the old records, as the
// history's would: the file is refused and nothing of the read survives.
TEST_F(ContainerFiles, ListCountsWithoutTheirDataFailTheWholeRead) {
  const std::string text = ObjectBinaryToText(WriteComponent(Form.get(), TFormFormat::Binary));
  // The text with the count line of one list set to count and its "Data" block taken out.
  auto damaged = [&](const std::string& countName, const std::string& count) {
    std::string t = text;
    size_t line = t.find(countName + " = ");
    EXPECT_NE(line, std::string::npos) << countName;
    size_t end = t.find('\n', line);
    t.replace(line, end - line, countName + " = " + count);
    std::string list = countName.substr(0, countName.find('.'));
    if (size_t data = t.find(list + ".Data = {"); data != std::string::npos) {
      size_t from = t.rfind('\n', data) + 1;
      t.erase(from, t.find("}\n", data) + 2 - from);
    }
    return t;
  };
  TComponent owner(nullptr);
  TFormReadOptions options;
  options.Owner = &owner;
  options.CreateRoot = [](const std::string& cls, TComponent* o) -> TComponent* {
    TForm* f = New<TForm>(o);
    f->SetFormClassName(cls);
    return f;
  };
  auto readError = [&](const std::string& t) {
    return MessageOf<EReadError>([&] { delete ReadComponent(t, options); });
  };
  EXPECT_THAT(readError(damaged("BLWizard.Num", "3")),
              HasSubstr("Zelvar1: BLWizard.Num is 3 but BLWizard.Data holds "));
  EXPECT_THAT(readError(damaged("BLDialog.Num", "3")),
              HasSubstr("Zelvar1: BLDialog.Num is 3 but BLDialog.Data holds 5 items"));
  EXPECT_THAT(readError(damaged("WayList.NumPages", "2")),
              HasSubstr("Zelvar1: WayList.NumPages is 2 but WayList.Data holds 0 entries"));
  EXPECT_EQ(owner.GetComponentCount(), 0);
  // A count of 0 without data is an empty list, as written.
  std::unique_ptr<TComponent> empty(ReadComponent(damaged("BLDialog.Num", "0"), options));
  EXPECT_EQ(ZelvarOf(*As<TForm>(empty.get())).BLDialog()->ItemCount(), 0);
}

TEST_F(ContainerFiles, TheHistoryRulesAreStoredOnlyWhileTheyHoldPages) {
  const std::string plain = ObjectBinaryToText(WriteComponent(Form.get(), TFormFormat::Binary));
  EXPECT_THAT(plain, Not(HasSubstr("SkipOnBack")));
  EXPECT_THAT(plain, Not(HasSubstr("CommitPages")));
  Z->SkipOnBack()->Add(2);
  Z->SkipOnBack()->Add(3);
  Z->CommitPages()->Add(1);
  const std::string text = ObjectBinaryToText(WriteComponent(Form.get(), TFormFormat::Binary));
  EXPECT_THAT(text,
              HasSubstr("SkipOnBack.Num = 2\n    SkipOnBack.Data = {\n      0200000003000000\n"));
  EXPECT_LT(text.find("TabOrder"), text.find("SkipOnBack"));
  for (TFormFormat format : {TFormFormat::Binary, TFormFormat::Text}) {
    std::unique_ptr<TForm> copy = ReadBack(WriteComponent(Form.get(), format));
    EXPECT_THAT(Items(*ZelvarOf(*copy).SkipOnBack()), ElementsAre(2, 3));
    EXPECT_THAT(Items(*ZelvarOf(*copy).CommitPages()), ElementsAre(1));
  }
  // Emptied again, the form writes what it wrote before.
  Z->SkipOnBack()->Clear();
  Z->CommitPages()->Clear();
  EXPECT_EQ(ObjectBinaryToText(WriteComponent(Form.get(), TFormFormat::Binary)), plain);
  // A count without its pages is refused like the other lists'.
  std::string damaged = text;
  damaged.replace(damaged.find("CommitPages.Num = 1"), 19, "CommitPages.Num = 4");
  damaged.erase(damaged.find("    CommitPages.Data"),
                damaged.find("}\n", damaged.find("CommitPages.Data")) + 2 -
                    damaged.find("    CommitPages.Data"));
  EXPECT_THAT(MessageOf<EReadError>([&] { ReadBack(damaged); }),
              HasSubstr("Zelvar1: CommitPages.Num is 4 but CommitPages.Data holds 0"));
}

}  // namespace
}  // namespace zelvar::test
