#pragma once
// The small SysUtils conversions the toolkit leans on: integer text in Delphi's forms. The
// case-insensitive comparisons Delphi's SysUtils also has live with the rest of the text
// routines in Text.h, which this header brings along.

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/core/Text.h"

namespace zelvar {

std::string IntToStr(int64_t value);
// Two's complement of the full 64 bits for negative values, upper-case digits, at least
// `digits` of them.
std::string IntToHex(int64_t value, int digits);

// Optional leading blanks, an optional sign, then decimal digits or '$' (or "0x") and hex
// digits. The result must fit in 32 bits; hex may use all 32 ($FFFFFFFF is -1), as Delphi's
// Val allows. Raises EConvertError "'<s>' is not a valid integer value" otherwise.
int32_t StrToInt(std::string_view s);
int32_t StrToIntDef(std::string_view s, int32_t def);
bool TryStrToInt(std::string_view s, int32_t& value);

}  // namespace zelvar
