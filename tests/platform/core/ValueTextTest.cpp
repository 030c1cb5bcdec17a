#include "platform/core/ValueText.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <limits>

#include "platform/core/Exceptions.h"

namespace zelvar {
namespace {

std::string ErrorOf(std::string_view text) {
  try {
    ParseValue(text);
  } catch (const EParserError& e) {
    return e.Message();
  }
  return "no error";
}

TEST(ValueTextTest, ParsesEveryKind) {
  const std::pair<const char*, TValue> cases[] = {
      {"-123", int64_t{-123}},
      {"$7F", int64_t{127}},
      {"$0000000000000000FF", int64_t{255}},
      {"$FFFFFFFFFFFFFFFF", int64_t{-1}},
      {"-9223372036854775808", std::numeric_limits<int64_t>::min()},
      {"1.5", 1.5L},
      {"-2.5E3", -2500.0L},
      {"1e-2", 0.01L},
      {"'it''s'", "it's"},
      {"'a'#13#10'b'", "a\r\nb"},
      {"#233", std::u16string(u"\u00E9")},
      {"'caf\xC3\xA9'", "caf\xC3\xA9"},  // UTF-8 in quotes stays bytes while narrow...
      // ...and gives one unit per byte once wide, as other readers of the format do.
      {"'\xC3\xA9'#8364", std::u16string(u"\u00C3\u00A9\u20AC")},
      {"Form2.Button2", TIdent{"Form2.Button2"}},
      {"Form2 . Button2", TIdent{"Form2.Button2"}},
      {"asTabbed", TIdent{"asTabbed"}},
      {"tRUE", true},
      {"False", false},
      {"NIL", TNil{}},
      {"[fsBold, fsItalic]", TSetValue{{"fsBold", "fsItalic"}}},
      {"[ ]", TSetValue{}},
      {"(1 'x' (nil) ())", TValueList{1, "x", TValueList{TNil{}}, TValueList{}}},
      {"{0a1B}", TBinary{{0x0A, 0x1B}}},
      {"{\n  01 02\r\n  03\n}", TBinary{{1, 2, 3}}},
      {"{}", TBinary{}},
  };
  for (const auto& [text, expected] : cases) EXPECT_EQ(ParseValue(text), expected) << text;
}

TEST(ValueTextTest, StringContinuesAfterPlus) {
  EXPECT_EQ(ParseValue("'abc' +\n  'def'\n  + #33"), TValue("abcdef!"));
  // A wide piece makes the whole value wide.
  EXPECT_EQ(ParseValue("'a' + #300"), TValue(std::u16string(u"a\u012C")));
  // Length only matters in binary form.
  std::string longText = "'" + std::string(300, 'x') + "'";
  EXPECT_TRUE(ParseValue(longText).Is<std::string>());
}

TEST(ValueTextTest, FormatsCanonicallyAndReadsBack) {
  const char* canonical[] = {
      "-123",
      "0",
      "''",
      "'it''s'",
      "'a'#13#10'b'",
      "#0",
      "#233",
      "'x'#8364'y'",
      "Form2.Button2",
      "True",
      "False",
      "nil",
      "[a, b]",
      "[]",
      "('Dialog' 'Page 1')",
      "(1 (2 ()) {})",
      "()",
      "{0100000002000000}",
      "1.5",
      "-2500.0",
      "1E20",
      "1E-5",
      "-0.0",
  };
  for (const char* text : canonical) {
    TValue v = ParseValue(text);
    EXPECT_EQ(FormatValue(v), text);
    EXPECT_EQ(ParseValue(FormatValue(v)), v) << text;
  }
}

TEST(ValueTextTest, FloatsReadBackExactly) {
  const long double values[] = {0.1L,     1.0L / 3,      LDBL_MAX, -LDBL_MAX,
                                LDBL_MIN, LDBL_TRUE_MIN, 100.0L,   123456789012345678.0L};
  for (long double v : values) {
    std::string text = FormatValue(v);
    EXPECT_NE(text.find_first_of(".E"), std::string::npos) << text;
    EXPECT_EQ(ParseValue(text), TValue(v)) << text;
  }
}

TEST(ValueTextTest, QuotesBytesAndUnits) {
  EXPECT_EQ(QuoteString(std::u16string_view(u"\u20AC ok")), "#8364' ok'");
  EXPECT_EQ(QuoteString(std::string_view("")), "''");
  // Bytes that spell UTF-8 text keep their characters inside the quotes; control bytes stay
  // escaped. Bytes that are not UTF-8 (Latin-1, a cut sequence, an overlong form, a
  // surrogate) are escaped one by one as before.
  EXPECT_EQ(QuoteString(std::string_view("\xC3\xA9'x\x7F")), "'\xC3\xA9''x'#127");
  EXPECT_EQ(QuoteString(std::string_view("Zur\xC3\xBC"
                                         "ck\r\n\xE2\x82\xAC\xF0\x9F\x98\x80")),
            "'Zur\xC3\xBC"
            "ck'#13#10'\xE2\x82\xAC\xF0\x9F\x98\x80'");
  EXPECT_EQ(QuoteString(std::string_view("\xC3\xBC\xFC")), "#195#188#252");
  EXPECT_EQ(QuoteString(std::string_view("a\xE2\x82")), "'a'#226#130");
  EXPECT_EQ(QuoteString(std::string_view("\xC0\xAF")), "#192#175");
  EXPECT_EQ(QuoteString(std::string_view("\xED\xA0\x80")), "#237#160#128");
  // Read back, UTF-8 text is the same bytes again: a byte string, not a wide one.
  for (std::string_view bytes : {"Zur\xC3\xBC"
                                 "ck",
                                 "'\xE2\x82\xAC'\t", "\xF4\x8F\xBF\xBF"}) {
    TValue back = ParseValue(QuoteString(bytes));
    ASSERT_TRUE(back.Is<std::string>()) << QuoteString(bytes);
    EXPECT_EQ(back.As<std::string>(), bytes);
  }
}

TEST(ValueTextTest, ErrorsNameLineAndColumn) {
  const std::pair<const char*, const char*> cases[] = {
      {"'abc", "unterminated string at line 1:1"},
      {"(1\n  'ab\n'", "unterminated string at line 2:3"},
      {"{0G}", "invalid character 'G' in binary data at line 1:3"},
      {"{ 0A1 }", "odd number of hex digits in binary data at line 1:5"},
      {"{0A\n 1B", "unterminated binary data at line 1:1"},
      {")", "value expected but ')' found at line 1:1"},
      {"", "value expected but end of input found at line 1:1"},
      {"1 2", "unexpected integer 2 after the value at line 1:3"},
      {"'a' 'b'", "unexpected string after the value at line 1:5"},
      {"9223372036854775808", "integer out of range at line 1:1"},
      {"-9223372036854775809", "integer out of range at line 1:1"},
      {"$10000000000000000", "integer out of range at line 1:1"},
      {"1E5000", "float out of range at line 1:1"},
      {"1E-5000", "float out of range at line 1:1"},
      {"1E+", "digit expected in exponent at line 1:4"},
      {"12abc", "invalid number at line 1:1"},
      {"'x'#65536", "character code out of range at line 1:4"},
      {"'x'#", "digit expected after '#' at line 1:5"},
      {"'a' +\n", "string expected after '+' but end of input found at line 2:1"},
      {"'a' + 1", "string expected after '+' but integer 1 found at line 1:7"},
      {"<\n  item\n  end>", "collections are not supported in a value at line 1:1"},
      {"(1 2", "')' expected but end of input found at line 1:5"},
      {"[a,]", "identifier expected but ']' found at line 1:4"},
      {"[a b]", "']' expected but identifier 'b' found at line 1:4"},
      {"Form2.", "identifier expected but end of input found at line 1:7"},
      {"\x01", "invalid character #1 at line 1:1"},
  };
  for (const auto& [text, message] : cases) EXPECT_EQ(ErrorOf(text), message) << text;
}

TEST(ValueTextTest, NestingIsBounded) {
  auto nested = [](int depth) { return std::string(depth, '(') + std::string(depth, ')'); };
  EXPECT_NO_THROW(ParseValue(nested(kMaxValueNesting)));
  EXPECT_EQ(ErrorOf(nested(kMaxValueNesting + 1)),
            "lists nested too deeply at line 1:" + std::to_string(kMaxValueNesting + 1));
  EXPECT_EQ(ErrorOf(std::string(100000, '(')), ErrorOf(nested(kMaxValueNesting + 1)));
}

// The form reader walks headers and property names token by token, reading values in between.
TEST(ParserTest, TokensForTheFormReader) {
  TParser p(
      "OBJECT Form1: TForm1\r\n"
      "  Data = {\n"
      "    0A1B\n"
      "  }\n"
      "\tTag = $10 end");
  EXPECT_TRUE(p.IsIdentifier("object"));
  EXPECT_EQ(p.Next(), TTokenKind::Identifier);
  EXPECT_EQ(p.TokenText(), "Form1");
  EXPECT_EQ(p.Next(), TTokenKind::Symbol);
  EXPECT_EQ(p.Symbol(), ':');
  EXPECT_EQ(p.Next(), TTokenKind::Identifier);
  EXPECT_EQ(p.Next(), TTokenKind::Identifier);
  EXPECT_EQ(std::pair(p.Line(), p.Column()), std::pair(2, 3));
  p.Next();
  p.CheckSymbol('=');
  p.Next();
  EXPECT_EQ(p.ReadBinary(), (std::vector<uint8_t>{0x0A, 0x1B}));
  EXPECT_TRUE(p.IsIdentifier("Tag"));
  EXPECT_EQ(std::pair(p.Line(), p.Column()), std::pair(5, 2));
  p.Next();
  p.Next();
  EXPECT_EQ(p.Token(), TTokenKind::Integer);
  EXPECT_EQ(p.TokenInt(), 16);
  p.Next();
  try {
    p.CheckSymbol('=');
    FAIL() << "no error";
  } catch (const EParserError& e) {
    EXPECT_EQ(e.Message(), "'=' expected but identifier 'end' found at line 5:12");
  }
  EXPECT_EQ(p.Next(), TTokenKind::EndOfInput);
  EXPECT_EQ(p.Next(), TTokenKind::EndOfInput);
}

}  // namespace
}  // namespace zelvar
