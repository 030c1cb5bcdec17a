#include "platform/core/Text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <vector>

namespace zelvar {
namespace {

// Code and length of every character of s, as a forward walk splits it.
std::vector<std::pair<char32_t, int>> Walk(std::string_view s) {
  std::vector<std::pair<char32_t, int>> out;
  for (size_t i = 0; i < s.size();) {
    TUtf8Char c = DecodeUtf8Char(s, i);
    out.emplace_back(c.Valid ? c.Code : 0, c.Length);
    i += c.Length;
  }
  return out;
}

using TWalk = std::vector<std::pair<char32_t, int>>;

TEST(Utf8Test, DecodesEachLengthUpToTheLastCodePoint) {
  EXPECT_EQ(Walk("a\xC3\xA4\xE2\x82\xAC\xF0\x9F\x98\x80"),
            (TWalk{{U'a', 1}, {0xE4, 2}, {0x20AC, 3}, {0x1F600, 4}}));
  EXPECT_EQ(Walk("\xF4\x8F\xBF\xBF"), (TWalk{{0x10FFFF, 4}}));
  EXPECT_EQ(Walk("\xEF\xBF\xBD"), (TWalk{{kReplacementChar, 3}}));  // a real U+FFFD is valid
}

TEST(Utf8Test, IllFormedSequencesTakeTheirMaximalSubpart) {
  // 0 marks an invalid character; its length is what a reader skips.
  const std::pair<std::string, TWalk> cases[] = {
      {"\xC0\xAF", {{0, 1}, {0, 1}}},                          // overlong, C0 is never a lead
      {"\xE0\x80\xAF", {{0, 1}, {0, 1}, {0, 1}}},              // overlong three-byte form
      {"\xF0\x8F\xBF\xBF", {{0, 1}, {0, 1}, {0, 1}, {0, 1}}},  // overlong four-byte form
      {"\xED\xA0\x80", {{0, 1}, {0, 1}, {0, 1}}},              // surrogate U+D800
      {"\xF4\x90\x80\x80", {{0, 1}, {0, 1}, {0, 1}, {0, 1}}},  // U+110000
      {"\xE2\x82", {{0, 2}}},                                  // truncated at the end
      {"\xF0\x9F\x98x", {{0, 3}, {U'x', 1}}},                  // truncated before ASCII
      {"\x80\xBFz", {{0, 1}, {0, 1}, {U'z', 1}}},              // stray continuation bytes
      {"\xF8\x88\x80\x80\x80", {{0, 1}, {0, 1}, {0, 1}, {0, 1}, {0, 1}}},
  };
  for (const auto& [text, walk] : cases)
    EXPECT_EQ(Walk(text), walk) << testing::PrintToString(text);
  EXPECT_EQ(DecodeUtf8Char("\xFF", 0).Code, kReplacementChar);
}

TEST(Utf8Test, PreviousBoundaryRetracesTheForwardWalk) {
  const std::string texts[] = {"",
                               "abc",
                               "a\xC3\xA4\xE2\x82\xAC\xF0\x9F\x98\x80",
                               "\x80\x80\x80\x80\x80",
                               "x\xE2\x82",
                               "\xF0\x9F\x98\x80\x80",
                               "\xC3\xA4\xBF\xBF\xBF\xBF",
                               "\xED\xA0\x80z",
                               "\xF4\x90\x80\x80",
                               "\xE2\x82\xE2\x82\xAC"};
  for (const std::string& s : texts) {
    std::vector<size_t> forward{0};
    while (forward.back() < s.size()) forward.push_back(NextCharBoundary(s, forward.back()));
    std::vector<size_t> backward{s.size()};
    while (backward.back() > 0) backward.push_back(PrevCharBoundary(s, backward.back()));
    std::reverse(backward.begin(), backward.end());
    EXPECT_EQ(backward, forward) << testing::PrintToString(s);
  }
  EXPECT_EQ(PrevCharBoundary("ab", 0), 0u);
}

TEST(Utf8Test, StringsConvertOnlyWhenWellFormed) {
  std::u16string units;
  EXPECT_TRUE(
      Utf8ToUtf16("Zur\xC3\xBC"
                  "ck \xF0\x9F\x98\x80",
                  units));
  EXPECT_EQ(units, u"Zur\u00FCck \U0001F600");
  EXPECT_TRUE(IsValidUtf8(""));
  EXPECT_TRUE(IsValidUtf8("\xF4\x8F\xBF\xBF"));
  for (const char* bad : {"\xC0\xAF", "\xED\xBF\xBF", "\xF4\x90\x80\x80", "ab\xE2\x82"}) {
    std::u16string out;
    EXPECT_FALSE(IsValidUtf8(bad)) << testing::PrintToString(bad);
    EXPECT_FALSE(Utf8ToUtf16(bad, out));
  }
}

TEST(Utf8Test, EncodesCodePointsAndUtf16) {
  std::string out;
  for (char32_t c : {U'A', U'\u00E4', U'\u20AC', U'\U0010FFFF'}) AppendUtf8(out, c);
  EXPECT_EQ(out, "A\xC3\xA4\xE2\x82\xAC\xF4\x8F\xBF\xBF");
  EXPECT_EQ(Utf16ToUtf8(u"Zur\u00FCck \U0001F600"),
            "Zur\xC3\xBC"
            "ck \xF0\x9F\x98\x80");
  // A lone surrogate, high or low, has no UTF-8 form.
  EXPECT_EQ(Utf16ToUtf8(std::u16string{u'a', 0xD800, u'b', 0xDC00}),
            "a\xEF\xBF\xBD"
            "b\xEF\xBF\xBD");
}

TEST(AsciiCaseTest, FoldsOnlyAsciiLetters) {
  EXPECT_TRUE(SameText("Wizard", "wIZARD"));
  EXPECT_FALSE(SameText("Wizard", "Wizards"));
  EXPECT_FALSE(SameText("\xC3\xA4", "\xC3\x84"));  // bytes above ASCII compare as they are
  EXPECT_FALSE(SameText("@", "`"));                // neighbours of the letters are not letters
  EXPECT_LT(CompareText("abc", "abd"), 0);
  EXPECT_GT(CompareText("b", "A"), 0);
  EXPECT_LT(CompareText("ab", "AB_"), 0);
  // Letters compare as upper case, so '_' (after 'Z') sorts after them.
  EXPECT_GT(CompareText("_", "a"), 0);
  EXPECT_EQ(UpperCase("Page 1 \xC3\xA4z"), "PAGE 1 \xC3\xA4Z");
  EXPECT_EQ(LowerCase("Page 1 \xC3\x84Z"), "page 1 \xC3\x84z");
}

TEST(HexTest, DigitsBothWays) {
  int digits = 0;
  for (int c = 0; c < 256; ++c) digits += HexDigitValue(static_cast<char>(c)) >= 0;
  EXPECT_EQ(digits, 22);
  EXPECT_EQ(HexDigitValue('f'), 15);
  EXPECT_EQ(HexDigitValue('A'), 10);
  EXPECT_EQ(HexDigitValue('g'), -1);
  std::string out = "{";
  AppendHex(out, std::string("\x00\x7F\xAB\xFF", 4));
  EXPECT_EQ(out, "{007FABFF");
  EXPECT_EQ(HexText(0), "0");
  EXPECT_EQ(HexText(0xABC, 5), "00ABC");
  EXPECT_EQ(HexText(std::numeric_limits<uint64_t>::max(), 2), "FFFFFFFFFFFFFFFF");
}

TEST(CLocaleNumbersTest, ParseWholeTextAtEachPrecision) {
  long double e = 0;
  double d = 0;
  float f = 0;
  EXPECT_TRUE(ParseFloatC("-2.5E3", e));
  EXPECT_EQ(e, -2500.0L);
  // Each precision rounds once from the digits: 0.1 as a float is not 0.1 as a double.
  EXPECT_TRUE(ParseFloatC("0.1", d));
  EXPECT_TRUE(ParseFloatC("0.1", f));
  EXPECT_EQ(d, 0.1);
  EXPECT_EQ(f, 0.1f);
  EXPECT_FALSE(ParseFloatC("1.5x", d));
  EXPECT_FALSE(ParseFloatC("", d));
  EXPECT_FALSE(ParseFloatC(std::string_view("1\0"
                                            "5",
                                            3),
                           d));

  bool outOfRange = false;
  EXPECT_TRUE(ParseFloatC("1e-5000", e, &outOfRange));
  EXPECT_TRUE(outOfRange);
  EXPECT_EQ(e, 0);
  EXPECT_TRUE(ParseFloatC("1e-310", d, &outOfRange));  // subnormal: flagged, yet kept
  EXPECT_TRUE(outOfRange);
  EXPECT_GT(d, 0);
  EXPECT_TRUE(ParseFloatC("1e300", d, &outOfRange));
  EXPECT_FALSE(outOfRange);
}

TEST(CLocaleNumbersTest, FormatsScientificAsPrintfDoes) {
  EXPECT_EQ(FormatScientific(2.5L, 3), "2.500e+00");
  EXPECT_EQ(FormatScientific(0.125L, 0), "1e-01");  // an exact tie goes to even
  EXPECT_EQ(FormatScientific(1e300L, 17), "1.00000000000000000e+300");
  char expected[64];
  std::snprintf(expected, sizeof expected, "%.*Le", 17, 1.0L / 3);
  EXPECT_EQ(FormatScientific(1.0L / 3, 17), expected);
}

// A host program may switch its thread or the whole process to a locale whose decimal point
// is a comma; form files and formats must not notice.
TEST(CLocaleNumbersTest, IgnoreTheProgramsLocale) {
  locale_t german = newlocale(LC_ALL_MASK, "de_DE.UTF-8", static_cast<locale_t>(nullptr));
  if (!german) GTEST_SKIP() << "the de_DE.UTF-8 locale is not installed";
  locale_t previous = uselocale(german);
  struct TBack {
    locale_t Previous, German;
    ~TBack() {
      uselocale(Previous);
      freelocale(German);
    }
  } back{previous, german};
  ASSERT_EQ(std::strtod("1,5", nullptr), 1.5);  // the locale is in force for this thread

  double d = 0;
  EXPECT_TRUE(ParseFloatC("1.5", d));
  EXPECT_EQ(d, 1.5);
  EXPECT_FALSE(ParseFloatC("1,5", d));
  EXPECT_EQ(FormatScientific(2.5L, 1), "2.5e+00");
}

}  // namespace
}  // namespace zelvar
