// Forms read at other pixels per inch than the screen's: the arithmetic, what scales, glyphs
// that stay sharp, and forms written back as they were designed.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <sstream>

#include "platform/controls/Edit.h"
#include "platform/controls/ExtCtrls.h"
#include "platform/controls/Grids.h"
#include "platform/controls/Image.h"
#include "platform/controls/ListBox.h"
#include "platform/controls/Register.h"
#include "platform/controls/StdCtrls.h"
#include "platform/forms/Forms.h"
#include "platform/graphics/Bitmap.h"
#include "platform/streaming/FormFiles.h"
#include "platform/streaming/FormText.h"
#include "tests/TestSupport.h"

namespace zelvar {
namespace {

// ZELVAR_DPI for one scope.
struct TScreenDpi : test::TEnvVar {
  explicit TScreenDpi(const char* dpi) : TEnvVar("ZELVAR_DPI", dpi) {}
};

TEST(Scaling, MulDivRoundsHalvesAwayFromZeroAndUpScalingGoesBackExactly) {
  EXPECT_EQ(MulDiv(3, 1, 2), 2);
  EXPECT_EQ(MulDiv(-3, 1, 2), -2);
  EXPECT_EQ(MulDiv(7, 144, 96), 11);  // 10.5
  EXPECT_EQ(MulDiv(-11, 192, 96), -22);
  EXPECT_EQ(MulDiv(5, 96, 144), 3);
  for (auto [m, d] : {std::pair{120, 96}, {144, 96}, {192, 96}, {200, 96}, {288, 96}})
    for (int64_t x = -300; x <= 3000; ++x) ASSERT_EQ(MulDiv(MulDiv(x, m, d), d, m), x) << m;
}

TEST(Scaling, GlyphsZoomByTheNearestWholeFactorAndNotBelowOneAndAHalf) {
  EXPECT_EQ(GlyphZoomFor(96, 96), 1);
  EXPECT_EQ(GlyphZoomFor(120, 96), 1);
  EXPECT_EQ(GlyphZoomFor(143, 96), 1);
  EXPECT_EQ(GlyphZoomFor(144, 96), 2);
  EXPECT_EQ(GlyphZoomFor(192, 96), 2);
  EXPECT_EQ(GlyphZoomFor(240, 96), 3);
  EXPECT_EQ(GlyphZoomFor(288, 96), 3);
  EXPECT_EQ(GlyphZoomFor(48, 96), 1);
  EXPECT_EQ(GlyphZoomFor(96, 0), 1);

  TBitmap glyph(2, 2);
  glyph.ScanLine(0)[0] = 0xFF102030;
  glyph.ScanLine(0)[1] = 0xFF405060;
  glyph.ScanLine(1)[0] = 0xFF708090;
  glyph.ScanLine(1)[1] = 0xFFA0B0C0;
  glyph.SetTransparent(true);
  TBitmap big;
  big.AssignMagnified(glyph, 3);
  ASSERT_EQ(big.Width(), 6);
  ASSERT_EQ(big.Height(), 6);
  EXPECT_TRUE(big.Transparent());
  for (int32_t y = 0; y < 6; ++y)
    for (int32_t x = 0; x < 6; ++x) EXPECT_EQ(big.Image().At(x, y), glyph.Image().At(x / 3, y / 3));
  // Past the picture limit the glyph stays as it is rather than allocating gigabytes.
  big.AssignMagnified(glyph, 1 << 20);
  EXPECT_EQ(big.Image(), glyph.Image());

  // A kept copy follows what is drawn on the picture and the zoom asked for.
  TMagnifiedCopy kept;
  EXPECT_EQ(&kept.Of(glyph, 1), &glyph);
  EXPECT_EQ(kept.Of(glyph, 2).Image().At(3, 3), 0xFFA0B0C0);
  glyph.ScanLine(1)[1] = 0xFF000000;
  EXPECT_EQ(kept.Of(glyph, 2).Image().At(3, 3), 0xFF000000);
  EXPECT_EQ(kept.Of(glyph, 3).Width(), 6);
}

TEST(Scaling, ZelvarDpiTakesAWholeNumberAndIgnoresTheRestAloud) {
  std::ostringstream err;
  {
    TScreenDpi dpi("192");
    EXPECT_EQ(DpiFromEnvironment(err), 192);
    EXPECT_EQ(Application().PixelsPerInch(), 192);
  }
  EXPECT_EQ(DpiFromEnvironment(err), 0);
  EXPECT_EQ(err.str(), "");
  for (const char* bad : {"abc", "0", "-96", "96dpi", "99999"}) {
    TScreenDpi dpi(bad);
    EXPECT_EQ(DpiFromEnvironment(err), 0) << bad;
    EXPECT_NE(err.str().find(std::string("ZELVAR_DPI=") + bad + " is ignored"), std::string::npos)
        << err.str();
  }
  // The headless screen is a classic one.
  Application().UseHeadless();
  EXPECT_EQ(Application().PixelsPerInch(), 96);
}

// A 96-dpi form with controls that keep sizes of their own, and glyphs of two colours.
std::string DesignedForm(int32_t pixelsPerInch = 96, bool scaled = true) {
  RegisterControls();
  RegisterClasses<TForm>();
  TForm form(nullptr);
  form.SetName("Form1");
  form.SetBounds(10, 20, 320, 240);
  form.SetClientWidth(301);
  form.SetClientHeight(201);
  form.SetPixelsPerInch(pixelsPerInch);
  form.SetScaled(scaled);
  auto* panel = New<TPanel>(&form);
  panel->SetName("Top");
  panel->SetParent(&form);
  panel->SetAlign(alTop);
  panel->SetHeight(41);
  auto* label = New<TButton>(&form);
  label->SetName("Note");
  label->SetParent(panel);
  label->SetBounds(7, 5, 63, 13);
  label->Font()->SetHeight(-13);
  auto* list = New<TListBox>(&form);
  list->SetName("Choices");
  list->SetParent(&form);
  list->SetBounds(9, 51, 121, 97);
  list->SetItemHeight(15);
  auto* image = New<TImage>(&form);
  image->SetName("Picture");
  image->SetParent(&form);
  image->SetBounds(151, 51, 8, 8);
  TBitmap picture(4, 4);
  for (int32_t y = 0; y < 4; ++y)
    for (int32_t x = 0; x < 4; ++x) picture.ScanLine(y)[x] = (x + y) % 2 ? 0xFFFF0000 : 0xFF0000FF;
  image->Picture()->Bitmap()->Assign(&picture);
  return WriteComponent(&form);
}

std::unique_ptr<TForm> Read(const std::string& bytes) {
  return std::unique_ptr<TForm>(As<TForm>(ReadComponent(bytes)));
}

TEST(Scaling, AFormReadOnAFinerScreenScalesAndIsWrittenBackAsDesigned) {
  const std::string bytes = DesignedForm();
  TScreenDpi dpi("192");
  std::unique_ptr<TForm> form = Read(bytes);
  EXPECT_EQ(form->PixelsPerInch(), 96);
  EXPECT_EQ(form->ShownPixelsPerInch(), 192);
  // The form keeps its place and frame; its client area doubles.
  EXPECT_EQ(form->Left(), 10);
  EXPECT_EQ(form->ClientWidth(), 602);
  EXPECT_EQ(form->ClientHeight(), 402);
  auto& panel = *As<TPanel>(form->FindComponent("Top"));
  EXPECT_EQ(panel.BoundsRect(), Rect(0, 0, 602, 82));
  auto& label = *As<TButton>(form->FindComponent("Note"));
  EXPECT_EQ(label.BoundsRect(), Rect(14, 10, 14 + 126, 10 + 26));
  EXPECT_EQ(label.Font()->Height(), -26);
  EXPECT_EQ(form->Font()->Height(), -22);
  auto& list = *As<TListBox>(form->FindComponent("Choices"));
  EXPECT_EQ(list.BoundsRect(), Rect(18, 102, 18 + 242, 102 + 194));
  EXPECT_EQ(list.ItemHeight(), 30);
  auto& image = *As<TImage>(form->FindComponent("Picture"));
  EXPECT_EQ(image.BoundsRect(), Rect(302, 102, 318, 118));

  // The picture shows twice as big, each of its pixels a 2 by 2 square of its own colour.
  const TImageData& shot = form->Snapshot().Image();
  const TImageData& picture = image.Picture()->Bitmap()->Image();
  for (int32_t y = 0; y < 8; ++y)
    for (int32_t x = 0; x < 8; ++x)
      ASSERT_EQ(shot.At(302 + x, 102 + y), picture.At(x / 2, y / 2)) << x << "," << y;

  // Written back, the form is the one designed, byte for byte, and still shows scaled.
  EXPECT_EQ(WriteComponent(form.get()), bytes);
  EXPECT_EQ(form->ClientWidth(), 602);
  EXPECT_EQ(list.ItemHeight(), 30);
  EXPECT_EQ(WriteComponent(form.get(), TFormFormat::Text), ObjectBinaryToText(bytes));
}

TEST(Scaling, FractionalFactorsRoundAsMulDivAndKeepGlyphsAsTheyAre) {
  const std::string bytes = DesignedForm();
  TScreenDpi dpi("120");
  std::unique_ptr<TForm> form = Read(bytes);
  EXPECT_EQ(form->ClientWidth(), 376);  // 301 * 1.25 = 376.25
  auto& label = *As<TButton>(form->FindComponent("Note"));
  EXPECT_EQ(label.BoundsRect(), Rect(9, 6, 9 + 79, 6 + 16));  // 8.75, 6.25, 78.75, 16.25
  EXPECT_EQ(form->FormGlyphZoom(), 1);
  EXPECT_EQ(WriteComponent(form.get()), bytes);
}

TEST(Scaling, ScaledFalseOrTheScreensOwnDpiLeaveTheFormAlone) {
  const std::string unscaled = DesignedForm(96, false);
  {
    TScreenDpi dpi("192");
    std::unique_ptr<TForm> form = Read(unscaled);
    EXPECT_EQ(form->ClientWidth(), 301);
    EXPECT_EQ(form->ShownPixelsPerInch(), 96);
    EXPECT_EQ(form->FormGlyphZoom(), 1);
    EXPECT_EQ(WriteComponent(form.get()), unscaled);
  }
  // A form designed at 192 shows as designed on a 192 screen, and keeps its PixelsPerInch.
  const std::string fine = DesignedForm(192);
  EXPECT_NE(ObjectBinaryToText(fine).find("  PixelsPerInch = 192\n"), std::string::npos);
  EXPECT_EQ(ObjectBinaryToText(DesignedForm()).find("PixelsPerInch"), std::string::npos);
  TScreenDpi dpi("192");
  std::unique_ptr<TForm> form = Read(fine);
  EXPECT_EQ(form->ClientWidth(), 301);
  EXPECT_EQ(WriteComponent(form.get()), fine);
}

TEST(Scaling, AFormBuiltInCodeScalesAsItFirstShowsButADesignedFormInsideItDoesNot) {
  const std::string bytes = DesignedForm();
  TScreenDpi dpi("192");
  TForm form(nullptr);
  form.SetClientWidth(200);
  auto* edit = New<TEdit>(&form);
  edit->SetParent(&form);
  edit->SetBounds(10, 20, 100, 21);
  auto* grid = New<TStringGrid>(&form);
  grid->SetParent(&form);
  grid->SetRowHeights(1, 30);
  // A form the designer shows inside its own keeps its sizes: the file gets them back.
  TFormReadOptions designing;
  designing.Designing = true;
  std::unique_ptr<TForm> designed(As<TForm>(ReadComponent(bytes, designing)));
  designed->SetParent(&form);
  form.Show();
  EXPECT_EQ(form.ClientWidth(), 400);
  EXPECT_EQ(edit->BoundsRect(), Rect(20, 40, 220, 82));
  EXPECT_EQ(grid->DefaultRowHeight(), 2 * TCustomGrid::kDefaultRowHeight);
  EXPECT_EQ(grid->RowHeights(0), 2 * TCustomGrid::kDefaultRowHeight);
  EXPECT_EQ(grid->RowHeights(1), 60);
  EXPECT_EQ(designed->ClientWidth(), 301);
  EXPECT_EQ(WriteComponent(designed.get()), bytes);
  // Once: shown again, it stays as it is.
  form.Hide();
  form.Show();
  EXPECT_EQ(form.ClientWidth(), 400);
  designed->SetParent(nullptr);
}

TEST(Scaling, APixelsPerInchOutOfRangeIsRefusedByName) {
  TForm form(nullptr);
  EXPECT_THROW(form.SetPixelsPerInch(0), EPropertyError);
  EXPECT_THROW(form.SetPixelsPerInch(kMaxPixelsPerInch + 1), EPropertyError);
  EXPECT_EQ(form.PixelsPerInch(), 96);
  std::string text = ObjectBinaryToText(DesignedForm());
  text.insert(text.find("  object "), "  PixelsPerInch = -96\n");
  EXPECT_THAT(test::MessageOf<EReadError>([&] { Read(ObjectTextToBinary(text)); }),
              ::testing::HasSubstr("PixelsPerInch -96 is out of range"));
}

}  // namespace
}  // namespace zelvar
