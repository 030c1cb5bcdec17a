#pragma once
// Text as the toolkit handles it: UTF-8 with one validity rule, ASCII case, hex digits and
// numbers that read and write the same whatever the program's locale.
//
// Sections: UTF-8 characters, UTF-8 strings, ASCII case, hex digits, C-locale numbers.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace zelvar {

// ---------------------------------------------------------------------------------------------
// UTF-8 characters
//
// Well-formed UTF-8 has no overlong forms, no surrogates (U+D800 to U+DFFF) and nothing past
// U+10FFFF. A sequence that breaks off is one ill-formed character as long as its longest
// well-formed beginning (Unicode's "maximal subpart"), so a stray byte never swallows the
// characters after it and every reader splits text at the same places.

inline constexpr char32_t kReplacementChar = 0xFFFD;

struct TUtf8Char {
  char32_t Code;   // kReplacementChar when not Valid
  uint8_t Length;  // bytes taken, 1 to 4
  bool Valid;
};

TUtf8Char DecodeUtf8Slow(std::string_view s, size_t i);

// The character that starts at byte i (i < s.size()).
inline TUtf8Char DecodeUtf8Char(std::string_view s, size_t i) {
  const auto b = static_cast<unsigned char>(s[i]);
  if (b < 0x80) return {b, 1, true};  // most text: no table, no loop
  return DecodeUtf8Slow(s, i);
}

// Character boundaries for carets, backspace and clipping: the first byte after the character
// at i (i < s.size()), and the first byte of the character that ends at i (0 < i <= s.size(),
// i a boundary).
inline size_t NextCharBoundary(std::string_view s, size_t i) {
  return i + DecodeUtf8Char(s, i).Length;
}
size_t PrevCharBoundary(std::string_view s, size_t i);

// ---------------------------------------------------------------------------------------------
// UTF-8 strings

bool IsValidUtf8(std::string_view s);
// Well-formed UTF-8 to UTF-16, appended to out; false, with out unspecified, for anything else.
bool Utf8ToUtf16(std::string_view in, std::u16string& out);
// A code point up to U+10FFFF that is not a surrogate, as UTF-8.
void AppendUtf8(std::string& out, char32_t c);
// UTF-16 to UTF-8; a lone surrogate has no UTF-8 form and becomes U+FFFD.
std::string Utf16ToUtf8(std::u16string_view units);

// ---------------------------------------------------------------------------------------------
// ASCII case
//
// Names, keys and keywords fold only A-Z and a-z, whatever the locale: UTF-8 bytes above ASCII
// are never changed, so folding cannot break a character.

constexpr char UpperChar(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}
constexpr char LowerChar(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}
std::string UpperCase(std::string_view s);
std::string LowerCase(std::string_view s);

bool SameText(std::string_view a, std::string_view b);
// <0, 0 or >0; letters compare as upper case, like Delphi's CompareText, so '_' sorts after
// letters.
int CompareText(std::string_view a, std::string_view b);

// True when s holds only spaces and control characters (tabs, line breaks): Trim empties it.
bool IsBlank(std::string_view s);

// ---------------------------------------------------------------------------------------------
// Hex digits

inline constexpr char kHexDigits[] = "0123456789ABCDEF";

inline constexpr auto kHexValues = [] {
  std::array<int8_t, 256> t{};
  for (auto& v : t) v = -1;
  for (int i = 0; i < 10; ++i) t['0' + i] = static_cast<int8_t>(i);
  for (int i = 0; i < 6; ++i) {
    t['a' + i] = static_cast<int8_t>(10 + i);
    t['A' + i] = static_cast<int8_t>(10 + i);
  }
  return t;
}();

// 0 to 15 for a hex digit in either case, -1 for any other character.
inline int HexDigitValue(char c) {
  return kHexValues[static_cast<unsigned char>(c)];
}

// Two upper-case digits per byte.
void AppendHex(std::string& out, std::string_view bytes);
// Upper-case digits, at least minDigits of them.
std::string HexText(uint64_t value, size_t minDigits = 0);

// ---------------------------------------------------------------------------------------------
// C-locale numbers
//
// Form files and format strings always use '.' as the decimal point; the C library's number
// routines follow the global locale, which a host program may have set to one with a comma.

// The whole of text as a number, rounded once to F; false when text is not all one number.
// outOfRange, when given, says whether the value overflowed or underflowed (ERANGE), which
// also flags an exact subnormal.
bool ParseFloatC(std::string_view text, float& value, bool* outOfRange = nullptr);
bool ParseFloatC(std::string_view text, double& value, bool* outOfRange = nullptr);
bool ParseFloatC(std::string_view text, long double& value, bool* outOfRange = nullptr);

// A finite value as printf's "%.*e" writes it in the C locale: d.ddd...e+XX with `decimals`
// digits after the point.
std::string FormatScientific(long double value, int decimals);

}  // namespace zelvar
