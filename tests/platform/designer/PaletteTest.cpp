// The component palette: its pages and entries as the registry holds them, choosing through
// presses on the form, what it draws, its hints, and the Standard page's pictures.

#include "platform/designer/Palette.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "design/Zelvar32.h"
#include "platform/backends/HeadlessInput.h"
#include "platform/controls/Edit.h"
#include "platform/controls/ExtCtrls.h"
#include "platform/controls/Memo.h"
#include "platform/controls/StdCtrls.h"
#include "platform/core/TimerQueue.h"
#include "platform/forms/Forms.h"
#include "tests/TestSupport.h"

namespace zelvar::test {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

const char* const kStandard[] = {"TLabel",       "TEdit",        "TMemo",        "TButton",
                                 "TBitBtn",      "TCheckBox",    "TRadioButton", "TListBox",
                                 "TComboBox",    "TScrollBar",   "TGroupBox",    "TPanel",
                                 "TImage",       "TPageControl", "TStringGrid",  "TDrawGrid",
                                 "TProgressBar", "TTimer",       "TPopupMenu"};

class Palette : public ::testing::Test {
 protected:
  void SetUp() override {
    Register();  // the package's page, as the designer loads it
    RegisterStandardPalette();
    Form = std::make_unique<TForm>(nullptr);
    Form->SetBounds(0, 0, 700, 300);
    Pal = New<TComponentPalette>(Form.get());
    Pal->SetParent(Form.get());
    Pal->SetAlign(alTop);
    Pal->OnSelect = [this](TObject*) { ++Selects; };
  }

  TPoint At(const TRect& r) {
    return {Pal->FormOrigin().X + (r.Left + r.Right) / 2,
            Pal->FormOrigin().Y + (r.Top + r.Bottom) / 2};
  }
  void Press(const TRect& r) { PressAt(*Form, At(r), mbLeft); }
  void MoveTo(TPoint p) {
    TMessage m;
    m.Kind = TMessage::MouseMove;
    m.X = p.X;
    m.Y = p.Y;
    DeliverInput(*Form, m);
  }
  // A pixel of the form's picture in the palette's coordinates.
  TColor Pixel(int32_t x, int32_t y) {
    const TPoint o = Pal->FormOrigin();
    return PixelToColor(Form->Snapshot().Image().At(o.X + x, o.Y + y));
  }

  std::unique_ptr<TForm> Form;
  TComponentPalette* Pal = nullptr;
  int Selects = 0;
};

TEST_F(Palette, ListsThePagesInRegistrationOrderWithTheirClasses) {
  ASSERT_EQ(Pal->PageCount(), static_cast<int32_t>(PalettePages().size()));
  const int32_t zelvar = Pal->PageOf("TZelvar"), standard = Pal->PageOf("tlabel");
  ASSERT_GE(zelvar, 0);
  ASSERT_GE(standard, 0);
  EXPECT_EQ(Pal->PageOf("TAPageControl"), zelvar);
  EXPECT_EQ(Pal->PageOf("TTimer"), standard);
  EXPECT_EQ(Pal->PageOf("TNoSuchClass"), -1);
  // The tabs stand left to right in the registry's order.
  for (int32_t p = 1; p < Pal->PageCount(); ++p)
    EXPECT_LT(Pal->TabRect(p - 1).Left, Pal->TabRect(p).Left);

  const TPalettePage& page = PalettePages()[static_cast<size_t>(standard)];
  EXPECT_EQ(page.Name, "Standard");
  std::vector<std::string> names;
  for (const TPaletteEntry& e : page.Entries) names.push_back(e.Class->Name);
  EXPECT_THAT(names, ::testing::ElementsAreArray(kStandard));
  EXPECT_EQ(PalettePages()[static_cast<size_t>(zelvar)].Entries.size(), 10u);

  // A second registration adds neither a page nor an entry.
  const size_t pages = PalettePages().size();
  RegisterStandardPalette();
  EXPECT_EQ(PalettePages().size(), pages);
  EXPECT_EQ(PalettePages()[static_cast<size_t>(standard)].Entries.size(), std::size(kStandard));
}

TEST_F(Palette, EveryStandardPictureIs24By24AndNotBlank) {
  for (const char* name : kStandard) {
    std::string upper = name;
    for (char& c : upper) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c);
    const TImageData* image = LoadBitmapA(StandardPaletteImages(), upper);
    ASSERT_NE(image, nullptr) << name;
    EXPECT_EQ(image->Width, 24) << name;
    EXPECT_EQ(image->Height, 24) << name;
    const uint32_t background = image->At(0, 23);
    const auto drawn = std::count_if(image->Pixels.begin(), image->Pixels.end(),
                                     [&](uint32_t p) { return p != background; });
    EXPECT_GT(drawn, 40) << name;
  }
  // The page's entries carry them.
  const TPalettePage& page = PalettePages()[static_cast<size_t>(Pal->PageOf("TLabel"))];
  for (const TPaletteEntry& e : page.Entries) EXPECT_NE(e.Image, nullptr) << e.Class->Name;
}

TEST_F(Palette, PressesChooseEntriesTheArrowAndPages) {
  const int32_t standard = Pal->PageOf("TLabel"), zelvar = Pal->PageOf("TZelvar");
  Press(Pal->TabRect(standard));
  EXPECT_EQ(Pal->ActivePage(), standard);
  EXPECT_EQ(Selects, 0);  // a page is no choice
  EXPECT_TRUE(Pal->EntryRect("TZelvar").Empty());

  Press(Pal->EntryRect("TEdit"));
  EXPECT_EQ(Pal->Selected(), &TEdit::StaticClassInfo());
  EXPECT_EQ(Selects, 1);
  // Another page: the choice stays, its entry is not shown.
  Press(Pal->TabRect(zelvar));
  EXPECT_EQ(Pal->ActivePage(), zelvar);
  EXPECT_TRUE(Pal->EntryRect("TEdit").Empty());
  EXPECT_EQ(Pal->Selected(), &TEdit::StaticClassInfo());

  Press(Pal->ArrowRect());
  EXPECT_EQ(Pal->Selected(), nullptr);
  EXPECT_EQ(Selects, 2);

  // Choosing in code shows the page; a second press on the chosen entry goes back to the arrow.
  Pal->SetSelected(&TLabel::StaticClassInfo());
  EXPECT_EQ(Pal->ActivePage(), standard);
  EXPECT_EQ(Selects, 2);
  Press(Pal->EntryRect("TLabel"));
  EXPECT_EQ(Pal->Selected(), nullptr);
  EXPECT_EQ(Selects, 3);
}

TEST_F(Palette, BadPagesAndClassesRaise) {
  EXPECT_THAT(MessageOf<EListError>([&] { Pal->SetActivePage(Pal->PageCount()); }),
              HasSubstr("out of bounds"));
  EXPECT_THAT(MessageOf<EListError>([&] { Pal->TabRect(-1); }), HasSubstr("out of bounds"));
  EXPECT_THAT(MessageOf<EInvalidOperation>([&] { Pal->SetSelected(&TForm::StaticClassInfo()); }),
              HasSubstr("TForm"));
  EXPECT_TRUE(Pal->EntryRect("TNoSuchClass").Empty());
}

TEST_F(Palette, TheChosenEntryIsSunkenAndEachPictureShows) {
  Pal->SetSelected(&TMemo::StaticClassInfo());
  const TRect chosen = Pal->EntryRect("TMemo"), other = Pal->EntryRect("TEdit");
  ASSERT_FALSE(chosen.Empty());
  EXPECT_EQ(Pixel(chosen.Left, chosen.Top), ColorToRGB(clBtnShadow));
  EXPECT_EQ(Pixel(chosen.Right - 1, chosen.Bottom - 1), ColorToRGB(clBtnHighlight));
  EXPECT_EQ(Pixel(other.Left, other.Top), ColorToRGB(clBtnFace));
  EXPECT_EQ(Pixel(other.Right - 1, other.Bottom - 1), ColorToRGB(clBtnFace));
  // The arrow is up while an entry is chosen.
  EXPECT_EQ(Pixel(Pal->ArrowRect().Left, Pal->ArrowRect().Top), ColorToRGB(clBtnFace));

  // Every shown entry's picture, unpressed two pixels in from its button, pressed three.
  for (const TPaletteEntry& e : PalettePages()[static_cast<size_t>(Pal->ActivePage())].Entries) {
    const TRect r = Pal->EntryRect(e.Class->Name);
    if (r.Empty()) continue;
    const int32_t offset = e.Class == Pal->Selected() ? 3 : 2;
    const TImageData& image = *e.Image;
    int32_t checked = 0;
    for (int32_t y = 0; y < 24; ++y)
      for (int32_t x = 0; x < 24; ++x) {
        if (image.At(x, y) == image.At(0, 23)) continue;
        EXPECT_EQ(Pixel(r.Left + offset + x, r.Top + offset + y), PixelToColor(image.At(x, y)))
            << e.Class->Name << " at " << x << "," << y;
        ++checked;
      }
    EXPECT_GT(checked, 0) << e.Class->Name;
  }
}

TEST_F(Palette, AClassWithoutPictureShowsABoxWithItsLetters) {
  Pal->SetActivePage(Pal->PageOf("TAGroupBox"));
  const TRect r = Pal->EntryRect("TAGroupBox");
  ASSERT_FALSE(r.Empty());
  // The box's black frame and white face, where a picture would stand.
  EXPECT_EQ(Pixel(r.Left + 3, r.Top + 3), clBlack);
  EXPECT_EQ(Pixel(r.Left + 4, r.Top + 4), clWhite);
  int32_t ink = 0;
  for (int32_t y = r.Top + 4; y < r.Bottom - 4; ++y)
    for (int32_t x = r.Left + 4; x < r.Right - 4; ++x) ink += Pixel(x, y) != clWhite;
  EXPECT_GT(ink, 5);  // "AG"
}

TEST_F(Palette, EntriesThatDoNotFitScrollWithTheArrows) {
  Form->SetBounds(0, 0, 300, 200);
  Pal->SetActivePage(Pal->PageOf("TLabel"));
  const TPaletteRow row = LayOutPaletteRow(Pal->Width(), 18, 0);
  ASSERT_FALSE(row.ScrollOn.Empty());
  EXPECT_GT(row.MaxScroll, 0);
  EXPECT_TRUE(Pal->EntryRect("TTimer").Empty());
  const TRect first = Pal->EntryRect("TLabel");
  EXPECT_LE(row.Entries[static_cast<size_t>(18 - row.MaxScroll - 1)].Right, row.ScrollBack.Left);

  Press(row.ScrollBack);  // already at the start
  EXPECT_EQ(Pal->EntryRect("TLabel"), first);
  Press(row.ScrollOn);
  EXPECT_TRUE(Pal->EntryRect("TLabel").Empty());
  EXPECT_EQ(Pal->EntryRect("TEdit"), first);

  // Choosing in code scrolls the entry into view.
  Pal->SetSelected(&TTimer::StaticClassInfo());
  EXPECT_FALSE(Pal->EntryRect("TTimer").Empty());
  Pal->SetSelected(&TLabel::StaticClassInfo());
  EXPECT_EQ(Pal->EntryRect("TLabel"), first);

  // A wide palette needs no arrows.
  EXPECT_TRUE(LayOutPaletteRow(2000, 18, 5).ScrollOn.Empty());
  EXPECT_EQ(LayOutPaletteRow(2000, 18, 5).Scroll, 0);
}

TEST_F(Palette, ItsHintNamesTheClassAfterThePointerRests) {
  Form->SetBounds(0, 0, 700, 300);
  Pal->SetActivePage(Pal->PageOf("TLabel"));
  const TPoint edit = At(Pal->EntryRect("TEdit"));
  MoveTo(edit);
  Timers().Advance(TForm::kHintPause - 1);
  EXPECT_EQ(Form->ShownHint(), "");
  Timers().Advance(1);
  EXPECT_EQ(Form->ShownHint(), "TEdit");
  // Another entry shows its name at once; the arrow has none.
  MoveTo(At(Pal->EntryRect("TMemo")));
  EXPECT_EQ(Form->ShownHint(), "TMemo");
  MoveTo(At(Pal->ArrowRect()));
  EXPECT_EQ(Form->ShownHint(), "");
  // A press hides it, and resting on afterwards does not bring it back.
  MoveTo(edit);
  EXPECT_EQ(Form->ShownHint(), "TEdit");
  Press(Pal->EntryRect("TEdit"));
  EXPECT_EQ(Form->ShownHint(), "");
  Timers().Advance(2 * TForm::kHintPause);
  EXPECT_EQ(Form->ShownHint(), "");
}

}  // namespace
}  // namespace zelvar::test
