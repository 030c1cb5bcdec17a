#include "platform/core/Format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "platform/core/Exceptions.h"

namespace zelvar {
namespace {

std::string InvalidMessage(std::string_view fmt) {
  return "Format '" + std::string(fmt) + "' invalid or incompatible with argument";
}

TEST(Format, Integers) {
  EXPECT_EQ(Format("%d|%5d|%-5d|%.4d|%6.3d", {42, 42, 42, -42, 7}), "42|   42|42   |-0042|   007");
  // Unlike C's %.0d, a zero precision still shows the zero.
  EXPECT_EQ(Format("%.0d", {0}), "0");
  EXPECT_EQ(Format("%d", {std::numeric_limits<int64_t>::min()}), "-9223372036854775808");
  EXPECT_EQ(Format("%d", {std::numeric_limits<uint64_t>::max()}), "18446744073709551615");
  // A negative Integer is its 32-bit pattern; wider values keep all 64 bits.
  EXPECT_EQ(Format("%u|%u|%u", {-1, 7u, int64_t{-5000000000}}),
            "4294967295|7|18446744068709551616");
  EXPECT_EQ(Format("%x|%.4x|%X|%x", {255, 10, -1, int64_t{-5000000000}}),
            "FF|000A|FFFFFFFF|FFFFFFFED5FA0E00");
}

TEST(Format, Strings) {
  EXPECT_EQ(Format("[%s][%6s][%-6s][%.2s][%.9s]", {"abc", "abc", "abc", "abc", "abc"}),
            "[abc][   abc][abc   ][ab][abc]");
  const std::string owned = "own";
  const std::string_view view = "view";
  const char* null = nullptr;
  EXPECT_EQ(Format("%s %s %s.", {owned, view, null}), "own view .");
  // Type letters are case-insensitive.
  EXPECT_EQ(Format("%S=%D", {"n", 3}), "n=3");
}

TEST(Format, StarIndexAndPercent) {
  EXPECT_EQ(Format("Wizard - Page %d of %d", {2, 5}), "Wizard - Page 2 of 5");
  EXPECT_EQ(Format("[%*d][%-*s][%*.*d]", {4, 7, 3, "a", 6, 3, 5}), "[   7][a  ][   005]");
  // A negative '*' width pads nothing, a negative precision counts as none.
  EXPECT_EQ(Format("[%*d][%.*s]", {-4, 7, -1, "abc"}), "[7][abc]");
  // After an index the following conversions go on from the next argument.
  EXPECT_EQ(Format("%1:s %0:s %s", {"a", "b"}), "b a b");
  EXPECT_EQ(Format("%s %0:s %s %2:-3d|", {"x", "y", 2}), "x x y 2  |");
  EXPECT_EQ(Format("100%% %d%%", {5}), "100% 5%");
  EXPECT_EQ(Format("%d", {1, "unused"}), "1");
  EXPECT_EQ(Format("", {}), "");
  const std::vector<TVarRec> args{std::string("v"), 3.5};
  EXPECT_EQ(Format("%s%.1f", args), "v3.5");
}

TEST(Format, Floats) {
  EXPECT_EQ(Format("%f|%.0f|%.3f", {1234.5678, 1234.5678, -0.5}), "1234.57|1235|-0.500");
  // Ties round away from zero, as Delphi does, even where the binary value is exact.
  EXPECT_EQ(Format("%.0f|%.0f|%.2f|%.1f", {2.5, -3.5, 0.125, 0.05}), "3|-4|0.13|0.1");
  // A negative value that rounds to zero loses its sign.
  EXPECT_EQ(Format("%.1f|%f", {-0.04, -0.0}), "0.0|0.00");
  EXPECT_EQ(Format("%.30f", {0.5}), "0.500000000000000000");  // at most 18 decimals
  EXPECT_EQ(Format("%8.2f|%-7.1f|", {3.14159, 2.0}), "    3.14|2.0    |");
  EXPECT_EQ(Format("%n|%.0n|%n", {1234567.891, -999.5, 12.0}), "1,234,567.89|-1,000|12.00");
  EXPECT_EQ(Format("%e|%.3e|%.2e|%.1e", {1.5, -1234.5, 0.000123, 9.6}),
            "1.50000000000000E+000|-1.23E+003|1.2E-004|1E+001");
  EXPECT_EQ(Format("%g|%g|%g|%g|%g", {0.1, 123456.0, 0.0, -2.5, 1.0 / 3}),
            "0.1|123456|0|-2.5|0.333333333333333");
  // Scientific once the integer digits exceed the precision or the value is below 0.00001.
  EXPECT_EQ(Format("%.3g|%g|%g|%g", {123456.0, 1e20, 0.00001, 0.000001}),
            "1.23E+005|1E+020|0.00001|1E-006");
  EXPECT_EQ(Format("%.3g", {999.9}), "1E+003");
  EXPECT_EQ(Format("%f|%e|%5g|%g", {std::nan(""), std::numeric_limits<double>::infinity(),
                                    -std::numeric_limits<double>::infinity(), 1.5f}),
            "NAN|INF| -INF|1.5");
  const long double big = std::numeric_limits<long double>::max();
  EXPECT_EQ(Format("%g", {big}), "1.18973149535723E+4932");
  EXPECT_EQ(Format("%.0f", {big}).size(), 4933u);
}

TEST(Format, MismatchesRaiseConvertError) {
  struct TCase {
    const char* Fmt;
    std::vector<TVarRec> Args;
  };
  const TCase cases[] = {
      {"%d %d", {1}},              // too few arguments
      {"%s", {}},                  //
      {"%d", {"1"}},               // string for an integer conversion
      {"%u", {"1"}},               //
      {"%x", {"1"}},               //
      {"%d", {1.0}},               // float for an integer conversion
      {"%*d", {"4", 1}},           // '*' needs an integer
      {"%.*d", {2.0, 1}},          //
      {"%f", {1}},                 // integer for a float conversion
      {"%e", {1}},                 //
      {"%g", {"1"}},               // string for a float conversion
      {"%n", {"1"}},               //
      {"%s", {1}},                 // integer or float for %s
      {"%s", {1.0}},               //
      {"%k", {1}},                 // unknown type letters
      {"%m", {1.0}},               //
      {"%p", {1}},                 //
      {"%5%", {1}},                //
      {"%--5d", {1}},              //
      {"abc%", {1}},               // ends after '%'
      {"%5", {1}},                 //
      {"%-", {1}},                 //
      {"%.3", {1}},                //
      {"%2:d", {1, 2}},            // index out of range
      {"%99999999999999:d", {1}},  //
      {"%*:d", {-1, 1}},           //
      {"%99999999999999d", {1}},   // absurd widths
      {"%*d", {100000, 1}},        //
      {"%.100000d", {1}},          //
  };
  for (const TCase& c : cases) {
    try {
      Format(c.Fmt, c.Args);
      ADD_FAILURE() << c.Fmt << " was accepted";
    } catch (const EConvertError& e) {
      EXPECT_EQ(e.Message(), InvalidMessage(c.Fmt));
    }
  }
  // A long precision for a string is only a limit, not a request for output.
  EXPECT_EQ(Format("%.99999999999999s", {"ok"}), "ok");
}

TEST(Format, ShortFormatsNeverFailOtherwise) {
  // Every two-character conversion against each kind of argument: either a result or an
  // EConvertError, nothing else (the sanitizer build checks for anything undefined).
  const std::vector<TVarRec> argSets[] = {{}, {-7}, {2.5}, {"s"}, {3, 1.5, "x"}};
  for (const auto& args : argSets) {
    for (int a = 32; a < 127; ++a) {
      for (int b = 32; b < 127; ++b) {
        const std::string fmt = {'%', static_cast<char>(a), static_cast<char>(b)};
        try {
          Format(fmt, args);
        } catch (const EConvertError& e) {
          ASSERT_EQ(e.Message(), InvalidMessage(fmt));
        }
      }
    }
  }
}

}  // namespace
}  // namespace zelvar
