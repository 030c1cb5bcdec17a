#include "platform/graphics/TextRender.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/core/Exceptions.h"
#include "tests/TestSupport.h"

namespace zelvar::test {
namespace {

constexpr uint32_t kInk = 0xFF123456;
constexpr uint32_t kPaper = 0xFFFFFFFF;

struct TCanvas {
  TImageData Image;
  TSurface Surface;
  TCanvas(int32_t w, int32_t h, uint32_t fill = kPaper)
      : Image(w, h, fill), Surface{Image.Pixels.data(), w, h, Rect(0, 0, w, h)} {}
  // The smallest rectangle around every pixel that is not paper; empty if there is none.
  TRect Ink() const {
    TRect r{Image.Width, Image.Height, 0, 0};
    for (int32_t y = 0; y < Image.Height; ++y) {
      for (int32_t x = 0; x < Image.Width; ++x) {
        if (Image.At(x, y) != kPaper) {
          r = {std::min(r.Left, x), std::min(r.Top, y), std::max(r.Right, x + 1),
               std::max(r.Bottom, y + 1)};
        }
      }
    }
    return r.Empty() ? TRect{} : r;
  }
};

TFontSpec Font(int32_t size, bool bold = false, bool italic = false, std::string name = "") {
  TFontSpec f;
  f.Size = size;
  f.Bold = bold;
  f.Italic = italic;
  if (!name.empty()) f.Name = name;
  return f;
}

TEST(TextRender, DefaultFontHasDialogSizedMetrics) {
  const TTextMetrics m = MeasureText(TFontSpec{}, "Wizard");
  EXPECT_GE(m.Height, 11);
  EXPECT_LE(m.Height, 16);
  EXPECT_GE(m.Width, 25);
  EXPECT_LE(m.Width, 60);
  EXPECT_TRUE(m.Ascent > m.Height / 2 && m.Ascent < m.Height) << m.Ascent;
  EXPECT_EQ(TextHeight(TFontSpec{}), m.Height);
}

TEST(TextRender, FontNamesMapOntoFaces) {
  for (const char* text : {"Wizard - Page 1 of 2", "iiii", "WWWW"}) {
    const TTextMetrics m = MeasureText(TFontSpec{}, text);
    for (const char* name : {"Arial", "Tahoma", "No Such Font"}) {
      const TTextMetrics n = MeasureText(Font(8, false, false, name), text);
      EXPECT_TRUE(n.Width == m.Width && n.Height == m.Height && n.Ascent == m.Ascent) << name;
    }
  }
  const TFontSpec courier = Font(8, false, false, "Courier New");
  EXPECT_EQ(TextWidth(courier, "iiii"), TextWidth(courier, "WWWW"));
  EXPECT_LT(TextWidth(TFontSpec{}, "iiii"), TextWidth(TFontSpec{}, "WWWW"));
}

TEST(TextRender, WidthAddsUpWithoutKerningAndGrowsWithWeightAndSize) {
  for (int32_t size : {8, 13, 30}) {
    EXPECT_EQ(TextWidth(Font(size), ""), 0);
    // "AV" and "To" are kerning pairs: without kerning they add up like any other.
    for (auto [a, b] : {std::pair{"A", "V"},
                        {"T", "o"},
                        {"Wizard", " - Page 1 of 2"},
                        {"Gr\xC3\xBC\xC3\x9F", "e \xE2\x82\xAC"}}) {
      EXPECT_EQ(TextWidth(Font(size), std::string(a) + b),
                TextWidth(Font(size), a) + TextWidth(Font(size), b))
          << a << b << " " << size;
    }
  }
  EXPECT_GT(TextWidth(Font(8, true), "Wizard"), TextWidth(Font(8), "Wizard"));
  EXPECT_GT(TextHeight(Font(12)), TextHeight(Font(8)));
  // Sizes are taken as 1..500 points.
  EXPECT_EQ(TextWidth(Font(-7), "Wizard"), TextWidth(Font(1), "Wizard"));
  EXPECT_EQ(TextWidth(Font(100000), "W"), TextWidth(Font(500), "W"));
  EXPECT_GT(TextHeight(Font(500)), TextHeight(Font(499)));
}

TEST(TextRender, InkStaysInsideTheTextCellInExactlyTheColour) {
  for (int32_t size : {8, 12, 24}) {
    for (bool bold : {false, true}) {
      for (const char* text : {"Wizard", "Hello, World!", "< Back  Next >", "\xC3\x84\xC3\x96 g"}) {
        const TTextMetrics m = MeasureText(Font(size, bold), text);
        TCanvas c(m.Width + 40, m.Height + 40);
        DrawText(c.Surface, 20, 20, Font(size, bold), text, kInk);
        const TRect ink = c.Ink();
        EXPECT_FALSE(ink.Empty());
        EXPECT_TRUE(ink.Left >= 20 && ink.Right <= 20 + m.Width && ink.Top >= 20 &&
                    ink.Bottom <= 20 + m.Height)
            << text << " " << size;
        for (uint32_t p : c.Image.Pixels) ASSERT_TRUE(p == kPaper || p == kInk) << std::hex << p;
      }
    }
  }
  // 'j' reaches left of its origin in DejaVu: text may overhang by that glyph's bearing only.
  TCanvas j(100, 60), jig(100, 60);
  DrawText(j.Surface, 20, 10, Font(24), "j", kInk);
  DrawText(jig.Surface, 20, 10, Font(24), "jig", kInk);
  EXPECT_EQ(jig.Ink().Left, j.Ink().Left);
}

TEST(TextRender, DrawingAdvancesByTheMeasuredWidth) {
  TCanvas whole(200, 30), pieces(200, 30);
  DrawText(whole.Surface, 3, 5, Font(10), "Next > Finish", kInk);
  DrawText(pieces.Surface, 3, 5, Font(10), "Next >", kInk);
  DrawText(pieces.Surface, 3 + TextWidth(Font(10), "Next >"), 5, Font(10), " Finish", kInk);
  EXPECT_EQ(whole.Image, pieces.Image);
}

TEST(TextRender, NothingOutsideTheClipChanges) {
  constexpr uint32_t kSentinel = 0xFF00FF00;
  for (bool italic : {false, true}) {
    TFontSpec f = Font(14, false, italic);
    f.Underline = f.StrikeOut = true;
    for (auto [x, y] : {std::pair{0, 0}, {20, 5}, {-9, 14}, {30, -6}, {38, 2}}) {
      TCanvas c(60, 30, kSentinel);
      c.Surface.Clip = Rect(13, 9, 47, 21);
      DrawText(c.Surface, x, y, f, "Wizard gj", kInk);
      int inside = 0;
      for (int32_t py = 0; py < 30; ++py) {
        for (int32_t px = 0; px < 60; ++px) {
          const uint32_t p = c.Image.At(px, py);
          const bool in = c.Surface.Clip.Contains(px, py);
          inside += in && p == kInk;
          ASSERT_TRUE(in || p == kSentinel) << px << "," << py;
        }
      }
      EXPECT_GT(inside, 0) << x << "," << y;
    }
  }
  // A full block far bigger than the surface, off every edge, fills the clip and no more.
  TCanvas small(16, 16, kSentinel);
  small.Surface.Clip = Rect(4, 4, 12, 12);
  DrawText(small.Surface, -200, -300, Font(500), "\xE2\x96\x88", kInk);
  for (int32_t py = 0; py < 16; ++py) {
    for (int32_t px = 0; px < 16; ++px) {
      ASSERT_EQ(small.Image.At(px, py), small.Surface.Clip.Contains(px, py) ? kInk : kSentinel);
    }
  }
}

TEST(TextRender, UnderlineBelowAndStrikeOutAboveTheBaselineSpanTheWidth) {
  const TTextMetrics m = MeasureText(Font(12), "Wizard");
  for (bool underline : {true, false}) {
    TFontSpec lined = Font(12);
    (underline ? lined.Underline : lined.StrikeOut) = true;
    TCanvas plain(m.Width + 20, m.Height + 20), with(m.Width + 20, m.Height + 20);
    DrawText(plain.Surface, 10, 10, Font(12), "Wizard", kInk);
    DrawText(with.Surface, 10, 10, lined, "Wizard", kInk);
    // Every added pixel is in a row the line fills exactly from x to x + Width.
    std::vector<int32_t> rows;
    for (int32_t y = 0; y < with.Image.Height; ++y) {
      std::vector<int32_t> added;
      for (int32_t x = 0; x < with.Image.Width; ++x) {
        if (with.Image.At(x, y) != plain.Image.At(x, y)) added.push_back(x);
      }
      if (added.empty()) continue;
      rows.push_back(y);
      EXPECT_GE(added.front(), 10);
      EXPECT_LT(added.back(), 10 + m.Width);
      for (int32_t x = 10; x < 10 + m.Width; ++x) EXPECT_EQ(with.Image.At(x, y), kInk) << x;
    }
    ASSERT_FALSE(rows.empty());
    const int32_t baseline = 10 + m.Ascent;
    EXPECT_TRUE(underline ? rows.front() >= baseline && rows.back() < 10 + m.Height
                          : rows.front() > 10 && rows.back() < baseline);
  }
}

TEST(TextRender, MalformedUtf8CountsAsReplacementCharacters) {
  const TFontSpec f;
  const int32_t fffd = TextWidth(f, "\xEF\xBF\xBD"), ab = TextWidth(f, "ab");
  ASSERT_GT(fffd, 0);
  // One replacement per maximal ill-formed subpart; the text around it still reads.
  const std::vector<std::pair<std::string, int32_t>> bad = {
      {"\xFF", 1},               // never valid
      {"\xE2\x82", 1},           // truncated
      {"\xC0\xAF", 2},           // overlong
      {"\xE0\x80\xAF", 3},       // overlong
      {"\xED\xA0\x80", 3},       // surrogate
      {"\xF4\x90\x80\x80", 4}};  // past U+10FFFF
  for (const auto& [middle, count] : bad) {
    EXPECT_EQ(TextWidth(f, "a" + middle + "b"), ab + count * fffd) << count;
  }
  EXPECT_EQ(TextWidth(f, "ab\xF0\x9F\x98"), ab + fffd);  // cut at the end
  TCanvas c(100, 20);
  DrawText(c.Surface, 0, 0, f, std::string("\x80\xBF\xC2\xE0\x80\xF8\x00\xFE", 8), kInk);
  EXPECT_FALSE(c.Ink().Empty());
}

TEST(TextRender, SwitchingSizesKeepsEachSizesMetrics) {
  ReleaseTextResources();
  const int32_t fresh = TextWidth(Font(9), "Wizard");
  ReleaseTextResources();
  TextWidth(Font(40), "z");
  EXPECT_EQ(TextWidth(Font(9), "Wizard"), fresh);
}

// Where Debian's fonts-dejavu-core puts the faces.
const std::filesystem::path kDejaVuDir = "/usr/share/fonts/truetype/dejavu";

// A scratch directory of the test's own, removed after.
std::filesystem::path ScratchDir(const std::string& kind) {
  const auto dir = std::filesystem::temp_directory_path() /
                   ("zelvar-" + kind + "-" + std::to_string(getpid()) + "-" +
                    ::testing::UnitTest::GetInstance()->current_test_info()->name());
  std::filesystem::create_directories(dir);
  return dir;
}

// Points ZELVAR_FONT_DIR at an empty directory of its own and puts everything back after.
class TextFontDirTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FDir = ScratchDir("fonts");
    FFontDir.emplace("ZELVAR_FONT_DIR", FDir.c_str());
    ReleaseTextResources();
  }
  void TearDown() override {
    FFontDir.reset();
    ReleaseTextResources();
    std::filesystem::remove_all(FDir);
  }
  std::filesystem::path FDir;
  std::optional<TEnvVar> FFontDir;
};

TEST_F(TextFontDirTest, MissingFontsRaiseNamingTheFile) {
  try {
    TextHeight(TFontSpec{});
    FAIL() << "no font, no exception";
  } catch (const EInvalidGraphic& e) {
    EXPECT_NE(e.Message().find((FDir / "DejaVuSans.ttf").string()), std::string::npos);
  }
  EXPECT_THROW(TextWidth(TFontSpec{}, "x"), EInvalidGraphic);
}

TEST_F(TextFontDirTest, MissingStylesAreMadeUpFromTheRegularFace) {
  std::filesystem::create_symlink(kDejaVuDir / "DejaVuSans.ttf", FDir / "DejaVuSans.ttf");
  const int32_t regular = TextWidth(Font(12), "Wizard");
  EXPECT_GT(TextWidth(Font(12, true), "Wizard"), regular);
  EXPECT_EQ(TextWidth(Font(12, false, true), "Wizard"), regular);  // a shear keeps advances
  EXPECT_EQ(TextWidth(Font(12, false, false, "Courier"), "Wizard"), regular);  // Sans instead
  // The shear leans the stem, so it covers more columns than the upright one.
  TCanvas up(80, 40), slanted(80, 40);
  DrawText(up.Surface, 10, 5, Font(12), "l", kInk);
  DrawText(slanted.Surface, 10, 5, Font(12, false, true), "l", kInk);
  ASSERT_FALSE(up.Ink().Empty());
  EXPECT_GT(slanted.Ink().Width(), up.Ink().Width());
}

// Fonts as a program finds them, through fontconfig.
class TextFontConfigTest : public ::testing::Test {
 protected:
  void SetUp() override { ReleaseTextResources(); }
  void TearDown() override { ReleaseTextResources(); }
  TEnvVar FNoFontDir{"ZELVAR_FONT_DIR", nullptr};
};

TEST_F(TextFontConfigTest, FindsTheSameDejaVuFacesAsTheFontDirectory) {
  const std::string_view sans[] = {"DejaVu Sans"};
  const std::optional<TFontFace> bold = FindFontFace(sans, true, false);
  ASSERT_TRUE(bold);
  EXPECT_EQ(bold->File, (kDejaVuDir / "DejaVuSans-Bold.ttf").string());
  EXPECT_TRUE(bold->Bold);
  EXPECT_FALSE(bold->Italic);
  // Every family and style measures as the files of the font directory do, so pictures made
  // either way are the same.
  std::vector<int32_t> found, named;
  auto measureAll = [](std::vector<int32_t>& out) {
    ReleaseTextResources();
    for (const char* name : {"MS Sans Serif", "Courier New", "Times New Roman"}) {
      for (int style = 0; style < 4; ++style) {
        const TFontSpec f = Font(11, (style & 2) != 0, (style & 1) != 0, name);
        out.push_back(TextWidth(f, "Setup Wizard 1.0"));
        out.push_back(TextHeight(f));
      }
    }
  };
  measureAll(found);
  {
    TEnvVar dir("ZELVAR_FONT_DIR", kDejaVuDir.c_str());
    measureAll(named);
  }
  EXPECT_EQ(found, named);
}

TEST_F(TextFontConfigTest, AnUnknownFamilyFallsBackToASansFace) {
  const std::string_view unknown[] = {"Zelvar No Such Family"};
  const std::optional<TFontFace> any = FindFontFace(unknown, false, false);
  ASSERT_TRUE(any);
  EXPECT_TRUE(std::filesystem::exists(any->File)) << any->File;
  // The families are tried in order before that.
  const std::string_view then[] = {"Zelvar No Such Family", "DejaVu Sans Mono"};
  const std::optional<TFontFace> mono = FindFontFace(then, false, true);
  ASSERT_TRUE(mono);
  EXPECT_EQ(mono->File, (kDejaVuDir / "DejaVuSansMono-Oblique.ttf").string());
  EXPECT_TRUE(mono->Italic);
}

TEST_F(TextFontConfigTest, NoFontAtAllRaisesSayingWhatToInstall) {
  const std::filesystem::path dir = ScratchDir("fontconfig");
  const std::filesystem::path conf = dir / "fonts.conf";
  std::ofstream(conf) << "<?xml version=\"1.0\"?>\n<fontconfig></fontconfig>\n";
  {
    TEnvVar config("FONTCONFIG_FILE", conf.c_str());
    ReleaseTextResources();
    const std::string_view sans[] = {"DejaVu Sans"};
    EXPECT_FALSE(FindFontFace(sans, false, false));
    const std::string message = MessageOf<EInvalidGraphic>([] { TextHeight(TFontSpec{}); });
    EXPECT_NE(message.find("No sans-serif font found through fontconfig"), std::string::npos)
        << message;
    EXPECT_NE(message.find("install fonts-dejavu-core"), std::string::npos) << message;
    ReleaseTextResources();
  }
  std::filesystem::remove_all(dir);
  EXPECT_GT(TextHeight(TFontSpec{}), 0);  // the machine's own configuration again
}

}  // namespace
}  // namespace zelvar::test
