#include "platform/core/SysUtils.h"

#include "platform/core/Exceptions.h"

namespace zelvar {

std::string IntToStr(int64_t value) {
  return std::to_string(value);
}

std::string IntToHex(int64_t value, int digits) {
  return HexText(static_cast<uint64_t>(value), digits < 0 ? 0 : static_cast<size_t>(digits));
}

bool TryStrToInt(std::string_view s, int32_t& value) {
  size_t i = 0;
  while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
  bool hex = false;
  if (i < s.size() && s[i] == '$') {
    hex = true;
    ++i;
  } else if (i + 1 < s.size() && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
    hex = true;
    i += 2;
  }
  if (i == s.size()) return false;
  // Magnitudes stop growing past the 32-bit range, so long inputs cannot overflow.
  const uint64_t limit = hex ? 0xFFFFFFFFu : (negative ? 0x80000000u : 0x7FFFFFFFu);
  uint64_t magnitude = 0;
  for (; i < s.size(); ++i) {
    const int d = hex ? HexDigitValue(s[i]) : (s[i] >= '0' && s[i] <= '9' ? s[i] - '0' : -1);
    if (d < 0) return false;
    magnitude = magnitude * (hex ? 16 : 10) + static_cast<uint64_t>(d);
    if (magnitude > limit) return false;
  }
  // Unsigned wrap-around gives the 32-bit two's complement without signed overflow.
  uint32_t bits = static_cast<uint32_t>(magnitude);
  if (negative) bits = 0u - bits;
  value = static_cast<int32_t>(bits);
  return true;
}

int32_t StrToInt(std::string_view s) {
  int32_t value = 0;
  if (!TryStrToInt(s, value)) {
    throw EConvertError("'" + std::string(s) + "' is not a valid integer value");
  }
  return value;
}

int32_t StrToIntDef(std::string_view s, int32_t def) {
  int32_t value = 0;
  return TryStrToInt(s, value) ? value : def;
}

}  // namespace zelvar
