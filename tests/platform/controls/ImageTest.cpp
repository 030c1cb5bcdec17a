#include "platform/controls/Image.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/controls/ComCtrls.h"
#include "platform/controls/Register.h"
#include "platform/graphics/Bitmap.h"
#include "platform/streaming/FormFiles.h"

namespace zelvar {
namespace {

void FillQuad(TBitmap& b) {
  b.SetSize(2, 2);
  b.Canvas()->SetPixel(0, 0, clRed);
  b.Canvas()->SetPixel(1, 0, clBlue);
  b.Canvas()->SetPixel(0, 1, clLime);
  b.Canvas()->SetPixel(1, 1, clYellow);
}

TEST(Image, PictureDataSurvivesFormFiles) {
  RegisterControls();
  auto root = std::unique_ptr<TTabSheet>(New<TTabSheet>(nullptr));
  root->SetName("Root");
  auto* image = New<TImage>(root.get());
  image->SetName("Image1");
  image->SetParent(root.get());
  TBitmap quad;
  FillQuad(quad);
  image->Picture()->Assign(&quad);
  image->SetStretch(true);
  std::string bytes = WriteComponent(root.get());
  // The classic layout: the class name as a short string, then the bitmap's own block.
  size_t at = bytes.find("\x07TBitmap");
  ASSERT_NE(at, std::string::npos);
  const auto* len = reinterpret_cast<const unsigned char*>(bytes.data() + at + 8);
  uint32_t n = len[0] | len[1] << 8 | len[2] << 16 | static_cast<uint32_t>(len[3]) << 24;
  EXPECT_EQ(bytes.substr(at + 12, 2), "BM");
  EXPECT_LE(at + 12 + n, bytes.size());
  for (TFormFormat format : {TFormFormat::Binary, TFormFormat::Text}) {
    std::unique_ptr<TComponent> copy(ReadComponent(WriteComponent(root.get(), format)));
    auto* read = As<TImage>(copy->FindComponent("Image1"));
    EXPECT_TRUE(read->Stretch());
    ASSERT_EQ(read->Picture()->Width(), 2);
    EXPECT_EQ(read->Picture()->Bitmap()->Image(), quad.Image());
  }
  EXPECT_THROW(ReadComponent(std::string(bytes).replace(at + 1, 7, "TIconXX")), EReadError);
}

TEST(Image, StretchScalesAndCenterCentres) {
  TImage image(nullptr);
  image.SetBounds(0, 0, 20, 10);
  TBitmap quad;
  FillQuad(quad);
  image.Picture()->Assign(&quad);
  auto paint = [&] {
    auto b = std::make_unique<TBitmap>(20, 10);
    b->Canvas()->Brush()->SetColor(clWhite);
    b->Canvas()->FillRect(Rect(0, 0, 20, 10));
    image.PaintControl(*b, {0, 0}, Rect(0, 0, 20, 10));
    return b;
  };
  image.SetStretch(true);
  auto s = paint();
  EXPECT_EQ(s->Canvas()->Pixel(9, 4), clRed);
  EXPECT_EQ(s->Canvas()->Pixel(10, 4), clBlue);
  EXPECT_EQ(s->Canvas()->Pixel(0, 5), clLime);
  EXPECT_EQ(s->Canvas()->Pixel(19, 9), clYellow);
  image.SetStretch(false);
  image.SetCenter(true);
  auto c = paint();
  EXPECT_EQ(c->Canvas()->Pixel(9, 4), clRed);
  EXPECT_EQ(c->Canvas()->Pixel(10, 5), clYellow);
  EXPECT_EQ(c->Canvas()->Pixel(8, 4), clWhite);
  image.SetAutoSize(true);
  EXPECT_EQ(image.Width(), 2);
  EXPECT_EQ(image.Height(), 2);
}

}  // namespace
}  // namespace zelvar
