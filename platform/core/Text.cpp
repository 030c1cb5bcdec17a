#include "platform/core/Text.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <clocale>
#include <cstdlib>

namespace zelvar {

// =============================================================================================
// UTF-8 characters

TUtf8Char DecodeUtf8Slow(std::string_view s, size_t i) {
  const auto b0 = static_cast<unsigned char>(s[i]);
  constexpr TUtf8Char kBad{kReplacementChar, 1, false};
  size_t extra = 0;
  char32_t cp = 0;
  // The second byte's range rules out overlong forms, surrogates and code points past
  // U+10FFFF, so no check is needed once the sequence is complete.
  unsigned char lo = 0x80, hi = 0xBF;
  if (b0 >= 0xC2 && b0 <= 0xDF) {
    extra = 1;
    cp = b0 & 0x1F;
  } else if (b0 >= 0xE0 && b0 <= 0xEF) {
    extra = 2;
    cp = b0 & 0x0F;
    if (b0 == 0xE0) lo = 0xA0;  // overlong
    if (b0 == 0xED) hi = 0x9F;  // surrogates
  } else if (b0 >= 0xF0 && b0 <= 0xF4) {
    extra = 3;
    cp = b0 & 0x07;
    if (b0 == 0xF0) lo = 0x90;  // overlong
    if (b0 == 0xF4) hi = 0x8F;  // past U+10FFFF
  } else {
    return kBad;  // a continuation byte, C0, C1 or F5 and above: never a lead
  }
  for (size_t k = 1; k <= extra; ++k) {
    if (i + k >= s.size()) return {kReplacementChar, static_cast<uint8_t>(k), false};
    const auto b = static_cast<unsigned char>(s[i + k]);
    if (b < lo || b > hi) return {kReplacementChar, static_cast<uint8_t>(k), false};
    lo = 0x80;
    hi = 0xBF;
    cp = (cp << 6) | (b & 0x3F);
  }
  return {cp, static_cast<uint8_t>(extra + 1), true};
}

size_t PrevCharBoundary(std::string_view s, size_t i) {
  // Every byte that is not a continuation byte starts a character, and a character is at
  // most four bytes: walk forward from the last such byte before i.
  i = std::min(i, s.size());
  if (i == 0) return 0;
  const size_t floor = i >= 4 ? i - 4 : 0;
  size_t start = i - 1;
  while (start > floor && (static_cast<unsigned char>(s[start]) & 0xC0) == 0x80) --start;
  if ((static_cast<unsigned char>(s[start]) & 0xC0) == 0x80) return i - 1;  // a stray byte
  size_t last = start;
  while (start < i) {
    last = start;
    start = NextCharBoundary(s, start);
  }
  return last;
}

// =============================================================================================
// UTF-8 strings

namespace {

// Hands each code point of well-formed text to emit; false at the first ill-formed byte.
template <class Emit>
bool DecodeStrict(std::string_view in, Emit&& emit) {
  for (size_t i = 0; i < in.size();) {
    const TUtf8Char c = DecodeUtf8Char(in, i);
    if (!c.Valid) return false;
    emit(c.Code);
    i += c.Length;
  }
  return true;
}

}  // namespace

bool IsValidUtf8(std::string_view s) {
  return DecodeStrict(s, [](char32_t) {});
}

bool Utf8ToUtf16(std::string_view in, std::u16string& out) {
  return DecodeStrict(in, [&out](char32_t c) {
    if (c >= 0x10000) {
      c -= 0x10000;
      out += static_cast<char16_t>(0xD800 + (c >> 10));
      out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
    } else {
      out += static_cast<char16_t>(c);
    }
  });
}

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

std::string Utf16ToUtf8(std::u16string_view units) {
  std::string out;
  for (size_t i = 0; i < units.size(); ++i) {
    char32_t c = units[i];
    if (c >= 0xD800 && c < 0xDC00 && i + 1 < units.size() && units[i + 1] >= 0xDC00 &&
        units[i + 1] < 0xE000) {
      c = 0x10000 + ((c - 0xD800) << 10) + (units[i + 1] - 0xDC00);
      ++i;
    } else if (c >= 0xD800 && c < 0xE000) {
      c = kReplacementChar;
    }
    AppendUtf8(out, c);
  }
  return out;
}

// =============================================================================================
// ASCII case

std::string UpperCase(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = UpperChar(c);
  return out;
}

std::string LowerCase(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = LowerChar(c);
  return out;
}

bool IsBlank(std::string_view s) {
  return std::all_of(s.begin(), s.end(),
                     [](char c) { return static_cast<unsigned char>(c) <= ' '; });
}

bool SameText(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (UpperChar(a[i]) != UpperChar(b[i])) return false;
  return true;
}

int CompareText(std::string_view a, std::string_view b) {
  const size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    const auto ca = static_cast<unsigned char>(UpperChar(a[i]));
    const auto cb = static_cast<unsigned char>(UpperChar(b[i]));
    if (ca != cb) return ca < cb ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

// =============================================================================================
// Hex digits

void AppendHex(std::string& out, std::string_view bytes) {
  size_t at = out.size();
  out.resize(at + 2 * bytes.size());
  for (char c : bytes) {
    auto b = static_cast<unsigned char>(c);
    out[at++] = kHexDigits[b >> 4];
    out[at++] = kHexDigits[b & 15];
  }
}

std::string HexText(uint64_t value, size_t minDigits) {
  char digits[16];
  auto [end, ec] = std::to_chars(digits, digits + sizeof digits, value, 16);
  const auto n = static_cast<size_t>(end - digits);
  std::string out(n < minDigits ? minDigits - n : 0, '0');
  for (const char* p = digits; p != end; ++p) out += UpperChar(*p);
  return out;
}

// =============================================================================================
// C-locale numbers

namespace {

locale_t CLocale() {
  static const locale_t locale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
  return locale;
}

template <class F, class Convert>
bool ParseWhole(std::string_view text, F& value, bool* outOfRange, Convert convert) {
  if (text.empty()) return false;
  const std::string copy(text);  // the C routines need a terminator
  char* end = nullptr;
  errno = 0;
  value = convert(copy.c_str(), &end, CLocale());
  if (outOfRange) *outOfRange = errno == ERANGE;
  return end == copy.c_str() + copy.size();
}

}  // namespace

bool ParseFloatC(std::string_view text, float& value, bool* outOfRange) {
  return ParseWhole(text, value, outOfRange, strtof_l);
}
bool ParseFloatC(std::string_view text, double& value, bool* outOfRange) {
  return ParseWhole(text, value, outOfRange, strtod_l);
}
bool ParseFloatC(std::string_view text, long double& value, bool* outOfRange) {
  return ParseWhole(text, value, outOfRange, strtold_l);
}

std::string FormatScientific(long double value, int decimals) {
  // to_chars is locale-independent and rounds exactly as printf does.
  if (decimals < 0) decimals = 0;
  std::string out(static_cast<size_t>(decimals) + 16, '\0');
  auto [end, ec] = std::to_chars(out.data(), out.data() + out.size(), value,
                                 std::chars_format::scientific, decimals);
  out.resize(ec == std::errc() ? static_cast<size_t>(end - out.data()) : 0);
  return out;
}

}  // namespace zelvar
