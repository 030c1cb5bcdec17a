#include "platform/graphics/Graphics.h"

#include <gtest/gtest.h>

#include <initializer_list>

#include "platform/core/TypInfo.h"

namespace zelvar {
namespace {

TEST(Graphics, ColoursAndFontsByName) {
  EXPECT_EQ(ColorToPixel(clBtnShadow), 0xFF808080u);
  EXPECT_EQ(ColorToPixel(clHighlight), 0xFF000080u);
  EXPECT_EQ(ColorToPixel(RGB(1, 2, 3)), 0xFF010203u);
  TFont font;
  EXPECT_EQ(font.Size(), 8);
  EXPECT_EQ(font.Height(), -11);
  SetPropText(&font, "Color", "clBtnFace");
  EXPECT_EQ(font.Color(), clBtnFace);
  EXPECT_EQ(GetPropText(&font, "Color"), "clBtnFace");
  SetPropText(&font, "Color", "255");
  EXPECT_EQ(GetPropText(&font, "Color"), "clRed");
  SetPropText(&font, "Color", "12345");
  EXPECT_EQ(GetPropText(&font, "Color"), "12345");
  SetPropText(&font, "Style", "[fsBold, fsUnderline]");
  SetPropText(&font, "Size", "12");
  EXPECT_EQ(font.Height(), -16);
  EXPECT_EQ(GetPropText(&font, "Charset"), "DEFAULT_CHARSET");
  EXPECT_THROW(SetPropText(&font, "Color", "clPlaid"), EPropertyConvertError);
}

TEST(Graphics, AFontIsDefaultUntilAnyOfItsPartsChanges) {
  TFont font;
  EXPECT_TRUE(IsDefaultFont(font));
  for (auto change : std::initializer_list<void (*)(TFont&)>{
           [](TFont& f) { f.SetCharset(SYMBOL_CHARSET); },
           [](TFont& f) { f.SetColor(clRed); },
           [](TFont& f) { f.SetHeight(f.Height() - 5); },
           [](TFont& f) { f.SetName("Courier"); },
           [](TFont& f) { f.SetPitch(fpFixed); },
           [](TFont& f) { f.SetStyle({fsBold}); },
       }) {
    TFont changed;
    change(changed);
    EXPECT_FALSE(IsDefaultFont(changed));
  }
}

}  // namespace
}  // namespace zelvar
