#include "platform/graphics/Codecs.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "platform/core/Exceptions.h"

namespace zelvar::test {
namespace {

std::string Le16(uint32_t v) {
  return {static_cast<char>(v & 0xFF), static_cast<char>(v >> 8)};
}
std::string Le32(uint32_t v) {
  return Le16(v & 0xFFFF) + Le16(v >> 16);
}
uint32_t Get32(const std::string& s, size_t at) {
  uint32_t v = 0;
  for (size_t i = 0; i < 4; ++i)
    v |= static_cast<uint32_t>(static_cast<uint8_t>(s[at + i])) << 8 * i;
  return v;
}
std::string Bytes(std::initializer_list<int> bytes) {
  std::string s;
  for (int b : bytes) s.push_back(static_cast<char>(b));
  return s;
}

// A BMP file put together field by field, so that the reader is checked against the format
// rather than against our own writer.
struct TBmp {
  uint32_t HeaderSize = 40;
  int32_t Width = 0, Height = 0;
  uint32_t Bpp = 8, Compression = 0, ClrUsed = 0;
  std::vector<uint32_t> Palette;  // 0xRRGGBB
  std::vector<uint32_t> Masks;    // inside the larger headers, after a 40-byte one
  std::string Pixels;

  std::string Build() const {
    std::string info;
    if (HeaderSize == 12) {
      info = Le32(12) + Le16(static_cast<uint32_t>(Width)) + Le16(static_cast<uint32_t>(Height)) +
             Le16(1) + Le16(Bpp);
    } else {
      info = Le32(HeaderSize) + Le32(static_cast<uint32_t>(Width)) +
             Le32(static_cast<uint32_t>(Height)) + Le16(1) + Le16(Bpp) + Le32(Compression) +
             Le32(static_cast<uint32_t>(Pixels.size())) + Le32(0) + Le32(0) + Le32(ClrUsed) +
             Le32(0);
      for (uint32_t m : Masks) info += Le32(m);
      if (info.size() < HeaderSize) info.resize(HeaderSize, '\0');
    }
    for (uint32_t c : Palette) info += HeaderSize == 12 ? Le32(c).substr(0, 3) : Le32(c);
    const uint32_t offBits = static_cast<uint32_t>(14 + info.size());
    return "BM" + Le32(offBits + static_cast<uint32_t>(Pixels.size())) + Le32(0) + Le32(offBits) +
           info + Pixels;
  }
};

TBmp Bmp(int32_t width, int32_t height, uint32_t bpp, uint32_t compression = 0,
         std::string pixels = {}, uint32_t headerSize = 40) {
  TBmp b;
  b.HeaderSize = headerSize;
  b.Width = width;
  b.Height = height;
  b.Bpp = bpp;
  b.Compression = compression;
  b.Pixels = std::move(pixels);
  return b;
}

const uint32_t kPal[] = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080,
                         0x008080, 0xC0C0C0, 0x808080, 0xFF0000, 0x00FF00, 0xFFFF00,
                         0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
uint32_t P(int i) {
  return 0xFF000000 | kPal[i];
}
TBmp Paletted(int32_t width, int32_t height, uint32_t bpp, std::string pixels) {
  TBmp b = Bmp(width, height, bpp, 0, std::move(pixels));
  b.ClrUsed = 16;
  b.Palette.assign(std::begin(kPal), std::end(kPal));
  return b;
}
TImageData Image(int32_t width, int32_t height, std::vector<uint32_t> pixels) {
  TImageData image(width, height);
  image.Pixels = std::move(pixels);
  return image;
}

TEST(BmpRead, PalettedDepthsBottomUpAndTopDown) {
  // 4 bits, 3x2, rows of 4 bytes, bottom row first.
  EXPECT_EQ(ReadBmp(Paletted(3, 2, 4, Bytes({0x12, 0x30, 0, 0, 0x45, 0x60, 0, 0})).Build()),
            Image(3, 2, {P(4), P(5), P(6), P(1), P(2), P(3)}));
  // 1 bit, 10 pixels a row, top-down.
  EXPECT_EQ(ReadBmp(Paletted(10, -2, 1, Bytes({0xA0, 0x40, 0, 0, 0x01, 0x80, 0, 0})).Build()),
            Image(10, 2, {P(1), P(0), P(1), P(0), P(0), P(0), P(0), P(0), P(0), P(1),  //
                          P(0), P(0), P(0), P(0), P(0), P(0), P(0), P(1), P(1), P(0)}));
  // 8 bits with a V4 header and a table of clrUsed entries; index 200 lies past it.
  TBmp v4 = Paletted(3, 1, 8, Bytes({15, 200, 7, 0}));
  v4.HeaderSize = 108;
  EXPECT_EQ(ReadBmp(v4.Build()), Image(3, 1, {P(15), 0xFF000000, P(7)}));
}

TEST(BmpRead, CoreHeaderUsesThreeByteColours) {
  TBmp core = Bmp(2, 1, 1, 0, {}, 12);
  core.Palette = {0x102030, 0x405060};
  core.Pixels = Bytes({0x40, 0, 0, 0});
  EXPECT_EQ(ReadBmp(core.Build()), Image(2, 1, {0xFF102030, 0xFF405060}));
  core.Bpp = 24;
  core.Palette.clear();
  core.Pixels = Bytes({1, 2, 3, 4, 5, 6, 0, 0});
  EXPECT_EQ(ReadBmp(core.Build()), Image(2, 1, {0xFF030201, 0xFF060504}));
}

TEST(BmpRead, DirectColourDepthsComeBackOpaque) {
  TBmp b = Bmp(2, 1, 16);
  b.Pixels = Le16(0x7C00) + Le16(0x0200) + Bytes({0, 0});  // 555: red, half green
  EXPECT_EQ(ReadBmp(b.Build()), Image(2, 1, {0xFFFF0000, 0xFF008400}));
  b.Compression = 3;
  b.Masks = {0xF800, 0x07E0, 0x001F};
  b.Pixels = Le16(0x07E0) + Le16(0x001F);  // 565 with the masks after the header
  EXPECT_EQ(ReadBmp(b.Build()), Image(2, 1, {0xFF00FF00, 0xFF0000FF}));

  TBmp rgb32 = Bmp(2, -1, 32);
  rgb32.Pixels = Bytes({1, 2, 3, 0, 4, 5, 6, 0x80});
  EXPECT_EQ(ReadBmp(rgb32.Build()), Image(2, 1, {0xFF030201, 0xFF060504}));
  // V5 with masks in the header and an unusual channel order.
  TBmp v5 = Bmp(1, 1, 32, 3, {}, 124);
  v5.Masks = {0x0000FF00, 0x00FF0000, 0xFF000000, 0x000000FF};
  v5.Pixels = Le32(0x11223344);
  EXPECT_EQ(ReadBmp(v5.Build()), Image(1, 1, {0xFF332211}));
}

TEST(BmpRead, Rle8RunsLiteralsAndDeltas) {
  TBmp b = Paletted(4, 3, 8, Bytes({4, 1, 0, 0,              // bottom row: four of 1, line end
                                    0, 3, 2, 3, 1, 0, 1, 2,  // literal 2 3 1 (padded), one 2
                                    0, 0, 0, 2, 2, 0,        // line end, skip two
                                    2, 3, 0, 1}));           // two of 3, bitmap end
  b.Compression = 1;
  EXPECT_EQ(ReadBmp(b.Build()), Image(4, 3,
                                      {P(0), P(0), P(3), P(3),  //
                                       P(2), P(3), P(1), P(2),  //
                                       P(1), P(1), P(1), P(1)}));
  // A delta upwards leaves the pixels between at colour 0.
  b = Paletted(3, 3, 8, Bytes({1, 1, 0, 2, 1, 2, 1, 2, 0, 1}));
  b.Compression = 1;
  EXPECT_EQ(ReadBmp(b.Build()),
            Image(3, 3, {P(0), P(0), P(2), P(0), P(0), P(0), P(1), P(0), P(0)}));
}

TEST(BmpRead, Rle4NibblesAndPadding) {
  TBmp b = Paletted(5, 2, 4,
                    Bytes({0, 5, 0x12, 0x34, 0x50, 0,  // literal of 5, padded
                           0, 0,                       // line end
                           3, 0x67, 0, 2, 1, 0,        // 6 7 6, skip one
                           1, 0x80, 0, 1}));           // one 8, bitmap end
  b.Compression = 2;
  EXPECT_EQ(ReadBmp(b.Build()), Image(5, 2,
                                      {P(6), P(7), P(6), P(0), P(8),  //
                                       P(1), P(2), P(3), P(4), P(5)}));
}

// Distinct colours: multiplying by an odd number is a bijection on 24 bits.
uint32_t Colour(uint32_t k) {
  return 0xFF000000 | (k * 2654435761u & 0xFFFFFF);
}

class BmpWriteDepth : public ::testing::TestWithParam<std::pair<uint32_t, uint32_t>> {};

TEST_P(BmpWriteDepth, SmallestExactFormatRoundTrips) {
  const auto [colours, bpp] = GetParam();
  const int32_t width = 13, height = static_cast<int32_t>(colours / 13 + 3);
  TImageData image(width, height);
  for (size_t i = 0; i < image.Pixels.size(); ++i) image.Pixels[i] = Colour(i % colours);

  const std::string file = WriteBmp(image);
  const uint32_t stride = (width * bpp + 31) / 32 * 4;
  const uint32_t tableSize = bpp == 24 ? 0 : colours;
  EXPECT_EQ(file.substr(0, 2), "BM");
  EXPECT_EQ(Get32(file, 2), file.size());
  EXPECT_EQ(Get32(file, 10), 54 + 4 * tableSize);
  EXPECT_EQ(Get32(file, 14), 40u);
  EXPECT_EQ(Get32(file, 22), static_cast<uint32_t>(height));  // bottom-up
  EXPECT_EQ(Get32(file, 28) & 0xFFFF, bpp);
  EXPECT_EQ(Get32(file, 34), stride * height);
  EXPECT_EQ(Get32(file, 38), 3780u);
  EXPECT_EQ(Get32(file, 46), tableSize);
  EXPECT_EQ(ReadBmp(file), image);
}

INSTANTIATE_TEST_SUITE_P(Colours, BmpWriteDepth,
                         ::testing::Values(std::pair{1u, 4u}, std::pair{2u, 4u}, std::pair{16u, 4u},
                                           std::pair{17u, 8u}, std::pair{200u, 8u},
                                           std::pair{256u, 8u}, std::pair{257u, 24u},
                                           std::pair{1000u, 24u}));

TEST(BmpWrite, DropsAlphaAndListsColoursInOrderOfAppearance) {
  const TImageData image = Image(2, 2, {0x80112233, 0xFF445566, 0x00112233, 0xFF778899});
  const std::string file = WriteBmp(image);
  EXPECT_EQ(file.substr(54, 12), Le32(0x112233) + Le32(0x445566) + Le32(0x778899));
  EXPECT_EQ(ReadBmp(file), Image(2, 2, {0xFF112233, 0xFF445566, 0xFF112233, 0xFF778899}));
  EXPECT_EQ(ReadBmp(WriteBmp(TImageData())), TImageData());
  EXPECT_THROW(WriteBmp(Image(2, 2, {1, 2, 3})), EInvalidGraphic);
}

// Every shorter prefix of a valid file, up to an optional tail, fails cleanly; EXPECT_THROW
// also fails on any other exception type.
void ExpectEveryTruncationFails(const std::string& file, size_t optionalTail = 0) {
  ASSERT_NO_THROW(ReadImage(file));
  for (size_t n = 0; n < file.size() - optionalTail; ++n)
    EXPECT_THROW(ReadImage(file.substr(0, n)), EInvalidGraphic) << "length " << n;
}

TEST(BmpMalformed, EveryTruncationFails) {
  ExpectEveryTruncationFails(WriteBmp(Image(3, 2, {P(1), P(2), P(3), P(4), P(5), P(6)})));
  ExpectEveryTruncationFails(WriteBmp(Image(1, 2, {Colour(1), Colour(2)})));
  TImageData many(17, 17);
  for (size_t i = 0; i < many.Pixels.size(); ++i) many.Pixels[i] = Colour(i);
  ExpectEveryTruncationFails(WriteBmp(many));
  TBmp rle = Paletted(3, 2, 4, Bytes({3, 0x12, 0, 0, 0, 3, 0x45, 0x60, 0, 1}));
  rle.Compression = 2;
  ExpectEveryTruncationFails(rle.Build());
}

void ExpectInvalid(const TBmp& b, const std::string& words) {
  try {
    ReadBmp(b.Build());
    ADD_FAILURE() << "read without complaint; expected " << words;
  } catch (const EInvalidGraphic& e) {
    EXPECT_NE(e.Message().find(words), std::string::npos) << e.Message();
  }
}

TEST(BmpMalformed, HugeOrImpossibleSizes) {
  for (auto [w, h] : std::vector<std::pair<int32_t, int32_t>>{
           {0x7FFFFFFF, 1}, {1, INT32_MIN}, {-4, 4}, {16385, 1}, {16384, 16384}})
    ExpectInvalid(Bmp(w, h, 24), "out of range");
  // Plausible size, but the pixels are not there: refused before allocating.
  ExpectInvalid(Bmp(8000, 8000, 32, 0, "abcd"), "truncated");
}

TEST(BmpRead, ZeroWidthHasRowsButNoPixels) {
  const TImageData image = ReadBmp(Bmp(0, 3, 24).Build());
  EXPECT_EQ(image.Width, 0);
  EXPECT_EQ(image.Height, 3);
  EXPECT_EQ(ReadBmp(WriteBmp(image)), image);
}

TEST(BmpMalformed, BadFields) {
  ExpectInvalid(Bmp(1, 1, 8, 0, {}, 64), "header size 64");
  ExpectInvalid(Bmp(1, 1, 7, 0, "...."), "bits per pixel");
  ExpectInvalid(Bmp(1, 1, 8, 4), "compression 4");
  ExpectInvalid(Bmp(1, 1, 24, 3), "bit fields");
  ExpectInvalid(Bmp(1, 1, 4, 1), "RLE");
  ExpectInvalid(Paletted(2, 2, 8, Bytes({1, 1, 0, 1})), "pixel data truncated");
  TBmp topDownRle = Paletted(1, -1, 8, Bytes({1, 1, 0, 1}));
  topDownRle.Compression = 1;
  ExpectInvalid(topDownRle, "top-down");
  TBmp shortTable = Paletted(1, 1, 8, Bytes({0, 0, 0, 0}));
  shortTable.ClrUsed = 0;  // claims 256 entries, has 16
  ExpectInvalid(shortTable, "colour table");
}

TEST(BmpMalformed, RleMustStayInsideTheImage) {
  const std::vector<std::string> streams = {
      Bytes({5, 1, 0, 1}),                    // run past the row end
      Bytes({0, 5, 1, 2, 3, 4, 5, 0, 0, 1}),  // literal past the row end
      Bytes({0, 2, 5, 0, 0, 1}),              // delta past the row end
      Bytes({0, 2, 0, 3, 0, 1}),              // delta above the top
      Bytes({0, 0, 0, 0, 1, 1, 0, 1}),        // pixels after the last row
      Bytes({4, 1, 0, 0}),                    // no end of bitmap
      Bytes({0, 4, 1, 1}),                    // literal cut short
  };
  for (const std::string& s : streams) {
    TBmp b = Paletted(4, 2, 8, s);
    b.Compression = 1;
    EXPECT_THROW(ReadBmp(b.Build()), EInvalidGraphic);
  }
}

TEST(PngCodec, RoundTripKeepsAlphaAndColourUnderZeroAlpha) {
  const TImageData image = Image(3, 2,
                                 {0xFF102030, 0x80FFFFFF, 0x00123456,  //
                                  0x01000000, 0xFEABCDEF, 0xFF000000});
  const std::string file = WritePng(image);
  EXPECT_EQ(file[25], 6);  // colour type RGBA
  EXPECT_EQ(ReadPng(file), image);
  EXPECT_EQ(ReadImage(file), image);
}

TEST(PngCodec, OpaqueImagesHaveNoAlphaChannel) {
  TImageData image(40, 7);
  for (size_t i = 0; i < image.Pixels.size(); ++i) image.Pixels[i] = Colour(i);
  const std::string file = WritePng(image);
  EXPECT_EQ(file[25], 2);  // colour type RGB
  EXPECT_EQ(ReadPng(file), image);
  EXPECT_THROW(WritePng(TImageData()), EInvalidGraphic);
}

uint32_t Crc32(const std::string& s) {
  uint32_t crc = 0xFFFFFFFF;
  for (char c : s) {
    crc ^= static_cast<uint8_t>(c);
    for (int k = 0; k < 8; ++k) crc = crc & 1 ? 0xEDB88320 ^ (crc >> 1) : crc >> 1;
  }
  return ~crc;
}

// A valid PNG whose header claims another size; the CRC is kept right so libpng reads on.
std::string WithSize(std::string png, uint32_t width, uint32_t height) {
  const auto be = [](uint32_t v) {
    return std::string{static_cast<char>(v >> 24), static_cast<char>(v >> 16),
                       static_cast<char>(v >> 8), static_cast<char>(v)};
  };
  png.replace(16, 8, be(width) + be(height));
  return png.replace(29, 4, be(Crc32(png.substr(12, 17))));
}

TEST(PngMalformed, DamageFailsCleanly) {
  const std::string file = WritePng(Image(2, 2, {0x11223344, 0xFF000000, 0, 0x80808080}));
  // libpng stops reading once it has the pixels, so a missing IEND chunk goes unnoticed.
  ExpectEveryTruncationFails(file, 12);
  EXPECT_EQ(ReadPng(file.substr(0, file.size() - 12)), ReadPng(file));
  std::string crc = file;
  crc[20] ^= 1;  // IHDR content without fixing its CRC
  EXPECT_THROW(ReadPng(crc), EInvalidGraphic);
  EXPECT_THROW(ReadPng(WithSize(file, 20000, 1)), EInvalidGraphic);
  try {
    ReadPng(WithSize(file, 16000, 4000));
    ADD_FAILURE() << "a 60-byte file claimed 64 M pixels";
  } catch (const EInvalidGraphic& e) {
    EXPECT_NE(e.Message().find("too short"), std::string::npos) << e.Message();
  }
  EXPECT_THROW(ReadPng(WithSize(file, 2, 3)), EInvalidGraphic);  // image data runs out
  EXPECT_THROW(ReadImage("GIF89a"), EInvalidGraphic);
}

TEST(ImageFiles, SaveByExtensionLoadByContent) {
  const std::string base = ::testing::TempDir() + "zelvar_codec_" + std::to_string(getpid());
  const TImageData image = Image(2, 1, {0xFF010203, 0xFFA0B0C0});
  SaveImageFile(base + ".PNG", image);
  SaveImageFile(base + ".bmp", image);
  EXPECT_EQ(LoadImageFile(base + ".PNG"), image);
  EXPECT_EQ(LoadImageFile(base + ".bmp"), image);
  EXPECT_EQ(DetectImageFormat(WriteBmp(image)), TImageFormat::Bmp);
  EXPECT_THROW(SaveImageFile(base + ".gif", image), EInvalidGraphic);
  try {
    LoadImageFile(base + ".missing.png");
    ADD_FAILURE();
  } catch (const EInvalidGraphic& e) {
    EXPECT_NE(e.Message().find(base + ".missing.png"), std::string::npos) << e.Message();
  }
  std::remove((base + ".PNG").c_str());
  std::remove((base + ".bmp").c_str());
}

}  // namespace
}  // namespace zelvar::test
