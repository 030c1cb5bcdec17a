// The page header: where the banner's parts stand, the page area below it, what it draws
// (title, subtitle, image, separator), the watermark's pages, and a form without any of it
// keeping its bytes.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "container/ZelvarA.h"
#include "platform/controls/ExtCtrls.h"
#include "platform/streaming/FormFiles.h"
#include "tests/TestSupport.h"
#include "tests/container/ContainerSupport.h"

namespace zelvar::test {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

constexpr TColor kRed = static_cast<TColor>(0x0000FF), kGreen = static_cast<TColor>(0x00FF00);

// A colour as the form's picture holds it.
uint32_t Px(TColor c) {
  return ColorToPixel(c) & 0xFFFFFF;
}

void Fill(TBitmap& b, int32_t w, int32_t h, TColor colour) {
  b.SetSize(w, h);
  b.Canvas()->Brush()->SetColor(colour);
  b.Canvas()->FillRect({0, 0, w, h});
}

TEST(HeaderLayout, TextAndImageAreCentredInTheBannerAboveItsSeparator) {
  // Text block 16 + 4 + 13 = 33 high, image 40: the image decides, with 8 around it.
  THeaderLayout l = CalcHeaderLayout(500, 16, 13, {48, 40});
  EXPECT_EQ(l.Separator, 56);
  EXPECT_EQ(l.Height, 58);
  EXPECT_EQ(l.Image, (TRect{500 - 8 - 48, 8, 500 - 8, 48}));
  EXPECT_EQ(l.Title, (TPoint{16, 11}));
  EXPECT_EQ(l.Subtitle, (TPoint{32, 11 + 16 + 4}));
  // Without an image the text decides, and there is no image rectangle.
  l = CalcHeaderLayout(500, 16, 13, {0, 0});
  EXPECT_EQ(l.Height, 33 + 16 + 2);
  EXPECT_EQ(l.Title.Y, 8);
  EXPECT_EQ(l.Image.Width(), 0);
}

class Header : public ContainerTest {
 protected:
  void SetUp() override { ContainerTest::SetUp(); }
  uint32_t At(int32_t x, int32_t y) {
    TPoint o = Z->FormOrigin();
    return Form->Snapshot().Image().At(o.X + x, o.Y + y) & 0xFFFFFF;
  }
};

TEST_F(Header, TheBannerTakesTheTopOfThePageAreaAndDrawsItsParts) {
  Z->PageNames()->Clear();
  for (const char* name : {"Dialog", "Welcome", "Folder", "Install"}) Z->PageNames()->Add(name);
  Z->PageSubtitles()->Add("");
  Z->PageSubtitles()->Add("Read this first");
  TBitmap image;
  Fill(image, 32, 32, kRed);
  Z->SetHeaderImage(&image);
  Z->setPage(1);
  auto* panel = New<TPanel>(Form.get());
  panel->SetParent(Z);
  panel->SetAlign(alClient);
  EXPECT_EQ(Z->GetClientRect().Top, 0);
  EXPECT_EQ(Z->HeaderLayout().Height, 0);

  Z->SetHeaderStyle(hsBanner);
  const THeaderLayout l = Z->HeaderLayout();
  TCanvas& c = *Z->Canvas();
  c.Font()->Assign(Z->Font());
  const int32_t textHeight = c.TextHeight("X");
  EXPECT_EQ(l.Height, std::max(2 * textHeight + 4, 32) + 16 + 2);
  EXPECT_EQ(Z->GetClientRect().Top, l.Height);
  EXPECT_EQ(panel->Top(), l.Height);

  // The separator: dark, then light, across the whole width.
  EXPECT_EQ(At(0, l.Separator), Px(clBtnShadow));
  EXPECT_EQ(At(Z->Width() - 1, l.Separator), Px(clBtnShadow));
  EXPECT_EQ(At(0, l.Separator + 1), Px(clBtnHighlight));
  // The image at the right edge, 8 in.
  EXPECT_EQ(l.Image.Right, Z->Width() - 8);
  EXPECT_EQ(At(l.Image.Right - 1, l.Image.Top), Px(kRed));
  EXPECT_EQ(At(l.Image.Right, l.Image.Top), Px(clWindow));
  EXPECT_EQ(At(l.Image.Left, l.Image.Bottom - 1), Px(kRed));
  // The title's ink starts in its row at its left, none above it; the subtitle's below.
  const TImageData& shot = Form->Snapshot().Image();
  const TPoint o = Z->FormOrigin();
  auto inkIn = [&](int32_t x0, int32_t x1, int32_t y0, int32_t y1) {
    for (int32_t y = y0; y < y1; ++y)
      for (int32_t x = x0; x < x1; ++x)
        if ((shot.At(o.X + x, o.Y + y) & 0xFFFFFF) != Px(clWindow)) return true;
    return false;
  };
  EXPECT_FALSE(inkIn(0, l.Image.Left, 0, l.Title.Y));
  EXPECT_FALSE(inkIn(0, l.Title.X, 0, l.Separator));
  EXPECT_TRUE(
      inkIn(l.Title.X, l.Title.X + c.TextWidth("Welcome") + 4, l.Title.Y, l.Title.Y + textHeight));
  EXPECT_TRUE(inkIn(l.Subtitle.X, l.Subtitle.X + c.TextWidth("Read"), l.Subtitle.Y,
                    l.Subtitle.Y + textHeight));
  EXPECT_FALSE(inkIn(l.Title.X, l.Subtitle.X, l.Subtitle.Y, l.Separator));

  Z->SetHeaderStyle(hsNone);
  EXPECT_EQ(panel->Top(), 0);
}

TEST_F(Header, TheWatermarkStandsOnTheFirstAndLastPagesOrThoseListed) {
  TBitmap mark;
  Fill(mark, 40, 60, kGreen);
  Z->SetWatermarkImage(&mark);
  Z->setPage(1);
  EXPECT_TRUE(Z->ShowsWatermark());
  EXPECT_EQ(Z->GetClientRect().Left, 40);
  EXPECT_EQ(At(5, 5), Px(kGreen));
  Z->setPage(2);
  EXPECT_FALSE(Z->ShowsWatermark());
  EXPECT_EQ(Z->GetClientRect().Left, 0);
  EXPECT_NE(At(5, 5), Px(kGreen));
  Z->setPage(3);
  EXPECT_TRUE(Z->ShowsWatermark());
  Z->WatermarkPages()->Add(2);
  Z->setPage(2);
  EXPECT_TRUE(Z->ShowsWatermark());
  Z->setPage(3);
  EXPECT_FALSE(Z->ShowsWatermark());
  // With a banner, the watermark starts below it.
  Z->setPage(2);
  Z->SetHeaderStyle(hsBanner);
  EXPECT_EQ(At(5, Z->HeaderLayout().Height + 1), Px(kGreen));
  Z->setPage(0);
  EXPECT_FALSE(Z->ShowsWatermark());
}

TEST_F(Header, NothingIsWrittenUntilSetAndEverythingReadsBack) {
  RegisterZelvarA();
  Form->SetFormClassName("TForm1");
  const std::string before = WriteComponent(Form.get(), TFormFormat::Text);
  for (const char* name : {"HeaderStyle", "PageSubtitles", "HeaderImage", "Watermark"})
    EXPECT_THAT(before, Not(HasSubstr(name)));
  Z->SetHeaderStyle(hsBanner);
  Z->PageSubtitles()->Add("-");
  TBitmap image;
  Fill(image, 8, 8, kRed);
  Z->SetHeaderImage(&image);
  Z->SetWatermarkImage(&image);
  Z->WatermarkPages()->Add(3);
  TFormReadOptions options;
  options.CreateRoot = [](const std::string& cls, TComponent* owner) -> TComponent* {
    TForm* f = New<TForm>(owner);
    f->SetFormClassName(cls);
    return f;
  };
  std::unique_ptr<TForm> copy(
      As<TForm>(ReadComponent(WriteComponent(Form.get(), TFormFormat::Binary), options)));
  auto& z = *As<TZelvar>(copy->FindComponent("Zelvar1"));
  EXPECT_EQ(z.HeaderStyle(), hsBanner);
  EXPECT_EQ(z.PageSubtitles()->Count(), 1);
  EXPECT_EQ(z.HeaderImage()->Width(), 8);
  EXPECT_EQ(z.WatermarkImage()->Height(), 8);
  EXPECT_EQ(z.WatermarkPages()->Count(), 1);
  Z->SetHeaderStyle(hsNone);
  Z->PageSubtitles()->Clear();
  Z->SetHeaderImage(nullptr);
  Z->SetWatermarkImage(nullptr);
  Z->WatermarkPages()->Clear();
  EXPECT_EQ(WriteComponent(Form.get(), TFormFormat::Text), before);
}

}  // namespace
}  // namespace zelvar::test
