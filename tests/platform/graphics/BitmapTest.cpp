#include "platform/graphics/Bitmap.h"

#include <gtest/gtest.h>

#include <memory>

#include "platform/core/TypInfo.h"
#include "platform/graphics/Canvas.h"
#include "platform/graphics/Resources.h"
#include "platform/streaming/FormFiles.h"

namespace zelvar {
namespace {

// A component with a glyph, as buttons keep theirs: a nested bitmap written as "Glyph.Data".
class TGlyphHolder : public TComponent {
  ZELVAR_CLASS(TGlyphHolder, TComponent)

 public:
  explicit TGlyphHolder(TComponent* owner) : TComponent(owner) {}
  ~TGlyphHolder() override { delete Glyph; }
  TBitmap* Glyph = new TBitmap;
};

const TClassInfo& TGlyphHolder::StaticClassInfo() {
  static const auto info =
      TClassBuilder<TGlyphHolder>("TGlyphHolder").Property("Glyph", &TGlyphHolder::Glyph).Build();
  return *info;
}

TEST(Bitmap, SizeKeepsSharedPixelsAndRefusesNonsense) {
  TBitmap b(4, 3);
  b.Canvas()->SetPixel(1, 1, clRed);
  b.SetSize(6, 2);
  EXPECT_EQ(b.Canvas()->Pixel(1, 1), clRed);
  EXPECT_EQ(b.Canvas()->Pixel(5, 0), clWhite);
  EXPECT_THROW(b.SetSize(-1, 4), EInvalidGraphic);
  EXPECT_THROW(b.SetSize(1 << 20, 1 << 20), EInvalidGraphic);
  EXPECT_EQ(b.Width(), 6);
  EXPECT_THROW(b.ScanLine(2), EListError);
}

TEST(Bitmap, TravelsInFormFilesAsDataBehindItsLength) {
  RegisterClasses<TGlyphHolder>();
  TGlyphHolder h(nullptr);
  h.SetName("H");
  h.Glyph->SetSize(5, 3);
  h.Glyph->Canvas()->Brush()->SetColor(clNavy);
  h.Glyph->Canvas()->FillRect(Rect(0, 0, 2, 3));
  h.Glyph->Canvas()->SetPixel(4, 2, clYellow);
  std::string bytes = WriteComponent(&h);
  size_t at = bytes.find("\x0AGlyph.Data\x0A");
  ASSERT_NE(at, std::string::npos);
  // The binary value holds a 4-byte length, then a BMP file of exactly that length.
  const unsigned char* p = reinterpret_cast<const unsigned char*>(bytes.data()) + at + 12;
  uint32_t block = p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24;
  uint32_t length = p[4] | p[5] << 8 | p[6] << 16 | static_cast<uint32_t>(p[7]) << 24;
  EXPECT_EQ(length + 4, block);
  EXPECT_EQ(p[8], 'B');
  EXPECT_EQ(p[9], 'M');

  std::unique_ptr<TComponent> copy(ReadComponent(WriteComponent(&h, TFormFormat::Text)));
  EXPECT_EQ(As<TGlyphHolder>(copy.get())->Glyph->Image(), h.Glyph->Image());

  // A block whose length disagrees with its bytes fails the read.
  std::string bad = bytes;
  bad[at + 12 + 4] = static_cast<char>(p[4] + 1);
  EXPECT_THROW(delete ReadComponent(bad), EReadError);
}

TEST(Bitmap, ResourcesLoadByNameAndMissingOnesGiveNothing) {
  HMODULE module = RegisterModule("BitmapTest");
  RegisterBitmapResource(module, "DOT", TImageData(2, 2, 0xFF00FF00));
  TBitmap b;
  b.LoadFromResource(LoadBitmapA(module, "dot"));
  EXPECT_EQ(b.Width(), 2);
  EXPECT_EQ(b.Canvas()->Pixel(1, 1), clLime);
  EXPECT_EQ(LoadBitmapA(module, "NOPE"), nullptr);
  b.LoadFromResource(LoadBitmapA(module, "NOPE"));
  EXPECT_TRUE(b.Empty());
}

}  // namespace
}  // namespace zelvar
