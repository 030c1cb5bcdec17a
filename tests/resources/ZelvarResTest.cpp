#include "resources/ZelvarRes.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <string>

namespace zelvar {
namespace {

const std::set<uint32_t> kVga = {
    0xFF000000, 0xFF800000, 0xFF008000, 0xFF808000, 0xFF000080, 0xFF800080, 0xFF008080, 0xFFC0C0C0,
    0xFF808080, 0xFFFF0000, 0xFF00FF00, 0xFFFFFF00, 0xFF0000FF, 0xFFFF00FF, 0xFF00FFFF, 0xFFFFFFFF};

struct TExpected {
  const char* Name;
  int32_t Width, Height;
};

const TExpected kGlyphs[] = {
    {"ARROWL", 32, 16},   {"ARROWR", 32, 16},       {"HELP", 36, 18},
    {"ZELVAROK", 36, 18}, {"DIALOGOK", 36, 18},     {"FINISH", 36, 18},
    {"CANCEL", 36, 18},   {"CHANGEZELVAR", 36, 18}, {"CHANGEDIALOG", 36, 18},
};
const char* const kPaletteImages[] = {"TZELVAR", "TABOX", "TAFORM", "TASTEPLIST"};

TEST(ZelvarRes, OneModuleNamedZelvar) {
  HMODULE m = ZelvarModule();
  ASSERT_NE(m, nullptr);
  EXPECT_EQ(ZelvarModule(), m);
  EXPECT_EQ(RegisterModule("ZELVAR"), m);
  EXPECT_NE(LoadBitmapA(m, "arrowl"), nullptr);
  EXPECT_EQ(LoadBitmapA(m, "NOSUCHGLYPH"), nullptr);
}

TEST(ZelvarRes, AllImagesPresentWithTheirSizes) {
  for (const TExpected& e : kGlyphs) {
    HBITMAP b = LoadBitmapA(ZelvarModule(), e.Name);
    ASSERT_NE(b, nullptr) << e.Name;
    EXPECT_EQ(b->Width, e.Width) << e.Name;
    EXPECT_EQ(b->Height, e.Height) << e.Name;
    EXPECT_EQ(b->Pixels.size(), static_cast<size_t>(e.Width) * e.Height) << e.Name;
  }
  for (const char* name : kPaletteImages) {
    HBITMAP b = LoadBitmapA(ZelvarModule(), name);
    ASSERT_NE(b, nullptr) << name;
    EXPECT_EQ(b->Width, 24) << name;
    EXPECT_EQ(b->Height, 24) << name;
  }
}

TEST(ZelvarRes, GlyphsAreSixteenColourStripsWithADisabledHalf) {
  constexpr uint32_t kGray = 0xFF808080, kWhite = 0xFFFFFFFF;
  for (const TExpected& e : kGlyphs) {
    SCOPED_TRACE(e.Name);
    HBITMAP b = LoadBitmapA(ZelvarModule(), e.Name);
    ASSERT_NE(b, nullptr);
    std::set<uint32_t> colours(b->Pixels.begin(), b->Pixels.end());
    EXPECT_LE(colours.size(), 16u);
    for (uint32_t c : colours) EXPECT_TRUE(kVga.count(c)) << std::hex << c;

    const int32_t w = b->Width / 2, h = b->Height;
    const uint32_t background = b->At(0, h - 1);
    EXPECT_EQ(b->At(w, h - 1), background) << "disabled half's transparent colour";
    EXPECT_NE(background, kGray);
    EXPECT_NE(background, kWhite);

    int pictured = 0, gray = 0, white = 0, differing = 0;
    for (int32_t y = 0; y < h; ++y) {
      for (int32_t x = 0; x < w; ++x) {
        const uint32_t normal = b->At(x, y), disabled = b->At(w + x, y);
        if (normal != background) ++pictured;
        if (normal != disabled) ++differing;
        if (disabled == kGray) {
          ++gray;
          // Gray stands exactly where the picture is: the halves line up.
          EXPECT_NE(normal, background) << "gray off the picture at " << x << "," << y;
        } else if (disabled == kWhite) {
          ++white;
        } else {
          EXPECT_EQ(disabled, background) << "at " << x << "," << y;
        }
      }
    }
    EXPECT_GT(pictured, 0);
    EXPECT_GT(gray, 0);
    EXPECT_GT(white, 0);
    EXPECT_GT(differing, 0);
  }
}

TEST(ZelvarRes, PaletteImagesArePictures) {
  for (const char* name : kPaletteImages) {
    SCOPED_TRACE(name);
    HBITMAP b = LoadBitmapA(ZelvarModule(), name);
    ASSERT_NE(b, nullptr);
    const uint32_t background = b->At(0, b->Height - 1);
    int pictured = 0;
    for (uint32_t c : b->Pixels) {
      EXPECT_EQ(c >> 24, 0xFFu);
      if (c != background) ++pictured;
    }
    EXPECT_GT(pictured, 0);
  }
}

}  // namespace
}  // namespace zelvar
