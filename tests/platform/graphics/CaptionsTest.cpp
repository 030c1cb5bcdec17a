#include "platform/graphics/Captions.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "platform/graphics/Bitmap.h"

namespace zelvar {
namespace {

TEST(Captions, StripAccelFindsTheFirstMarkedCharacter) {
  TAccelText t = StripAccel("&Next");
  EXPECT_EQ(t.Text, "Next");
  EXPECT_EQ(t.AccelStart, 0u);
  EXPECT_EQ(t.AccelLength, 1u);
  t = StripAccel("Fish && &Chips &Now");
  EXPECT_EQ(t.Text, "Fish & Chips Now");
  EXPECT_EQ(t.AccelStart, 7u);
  EXPECT_EQ(t.AccelLength, 1u);
  // The accelerator is a whole UTF-8 character.
  t = StripAccel("S&\xC3\xBC\x64");
  EXPECT_EQ(t.Text, "S\xC3\xBC\x64");
  EXPECT_EQ(t.AccelStart, 1u);
  EXPECT_EQ(t.AccelLength, 2u);
  // No mark, or one at the very end: no accelerator, and the text as it is.
  for (const char* plain : {"Plain", "Trailing&", ""}) {
    t = StripAccel(plain);
    EXPECT_EQ(t.Text, plain);
    EXPECT_EQ(t.AccelLength, 0u) << plain;
  }
}

// The accelerator is one character as it is drawn, so its underline covers exactly that.
TEST(Captions, TheAcceleratorIsOneCharacterAsDrawn) {
  const std::pair<const char*, size_t> cases[] = {
      {"&Zack", 1},               // ASCII
      {"&\xC3\xBC!", 2},          // a two-byte character
      {"&\xF0\x9F\x98\x80!", 4},  // a four-byte one
      {"&\xE2\x82x", 2},          // a truncated sequence is one replacement
      {"&\xC0\xAFx", 1},          // so is each byte of an overlong form
      {"&\xF0\x9F", 2}};          // cut off at the end
  for (const auto& [caption, length] : cases) {
    TAccelText t = StripAccel(caption);
    EXPECT_EQ(t.AccelStart, 0u) << caption;
    EXPECT_EQ(t.AccelLength, length) << caption;
    EXPECT_EQ(t.Text, std::string(caption + 1));
  }
}

TEST(Captions, IsAccelMatchesTheMarkedLetterInEitherCase) {
  EXPECT_TRUE(IsAccel('N', "&Next"));
  EXPECT_TRUE(IsAccel('n', "&Next"));
  EXPECT_TRUE(IsAccel('c', "Fish && &Chips"));
  EXPECT_FALSE(IsAccel('F', "Fish && &Chips"));
  EXPECT_FALSE(IsAccel('&', "A && B"));
  EXPECT_FALSE(IsAccel('N', "Next"));
  EXPECT_FALSE(IsAccel('x', "Trailing&"));
}

TEST(Captions, MeasuredAndDrawnWithoutTheirMarks) {
  TBitmap marked(80, 20), plain(80, 20);
  for (TBitmap* b : {&marked, &plain}) {
    b->Canvas()->Brush()->SetColor(clWhite);
    b->Canvas()->FillRect(Rect(0, 0, 80, 20));
  }
  TCanvas& c = *marked.Canvas();
  EXPECT_EQ(CaptionWidth(c, "&Back"), c.TextWidth("Back"));
  EXPECT_EQ(CaptionHeight(c), c.TextHeight("0"));
  // A caption without a mark draws as plain text, on a clear brush, which it puts back.
  c.Brush()->SetStyle(bsSolid);
  DrawCaption(c, 2, 2, "A && B");
  EXPECT_EQ(c.Brush()->Style(), bsSolid);
  plain.Canvas()->Brush()->SetStyle(bsClear);
  plain.Canvas()->TextOut(2, 2, "A & B");
  EXPECT_EQ(marked.Image(), plain.Image());
}

}  // namespace
TEST(Captions, EllipsizedCaptionsFitAndKeepTheirMarksWhole) {
  TBitmap bitmap;
  bitmap.SetSize(10, 10);
  TCanvas& c = *bitmap.Canvas();
  EXPECT_EQ(EllipsizeCaption(c, "&Next", 1000), "&Next");
  const std::string shortened = EllipsizeCaption(c, "&Weiter zur nächsten Seite", 60);
  EXPECT_THAT(shortened, ::testing::EndsWith("\u2026"));
  EXPECT_LE(CaptionWidth(c, shortened), 60);
  EXPECT_GT(CaptionWidth(c, EllipsizeCaption(c, "&Weiter zur nächsten Seite", 80)),
            CaptionWidth(c, shortened));
  // A cut between a mark and its letter drops the mark rather than underline the ellipsis.
  const int32_t justEllipsis = c.TextWidth("\u2026");
  EXPECT_EQ(EllipsizeCaption(c, "&Weiter", justEllipsis), "\u2026");
  EXPECT_EQ(EllipsizeCaption(c, "Weiter", justEllipsis - 1), "");
}

}  // namespace zelvar
