#include "platform/core/Format.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <optional>

#include "platform/core/Exceptions.h"
#include "platform/core/Text.h"

namespace zelvar {

namespace {

// Significant digits of an extended value, as Delphi's FloatToDecimal takes them.
constexpr int kFloatDigits = 18;

// A float's magnitude as decimal digits: d1.d2d3... times 10^Exp. Zero has no digits (or
// only zeros).
struct TDecimal {
  std::string Digits;
  int Exp = 0;

  char DigitAt(int i) const {
    return i >= 0 && i < static_cast<int>(Digits.size()) ? Digits[static_cast<size_t>(i)] : '0';
  }
  bool IsZero() const { return Digits.find_first_not_of('0') == std::string::npos; }
};

// Delphi first reduces an extended to 18 significant digits and then rounds those half away
// from zero; doing the same gives its results on ties (Format('%.0f', [2.5]) is '3', where C
// would say '2').
TDecimal ToDecimal(long double magnitude) {
  TDecimal d;
  if (magnitude == 0) return d;
  std::string s = FormatScientific(magnitude, kFloatDigits - 1);
  // s is "d.ddd...e+XX"
  const size_t e = s.find('e');
  d.Digits = s.substr(0, 1) + s.substr(2, e - 2);
  d.Exp = std::atoi(s.c_str() + e + 1);
  return d;
}

// Keeps `count` significant digits, rounding half up on the first one dropped.
TDecimal RoundDigits(const TDecimal& d, int count) {
  if (d.IsZero() || count < 0) return TDecimal{};
  TDecimal r;
  r.Exp = d.Exp;
  r.Digits = d.Digits.substr(0, std::min(d.Digits.size(), static_cast<size_t>(count)));
  r.Digits.resize(static_cast<size_t>(count), '0');
  if (d.DigitAt(count) >= '5') {
    int i = count - 1;
    while (i >= 0 && r.Digits[static_cast<size_t>(i)] == '9') {
      r.Digits[static_cast<size_t>(i)] = '0';
      --i;
    }
    if (i >= 0) {
      ++r.Digits[static_cast<size_t>(i)];
    } else {
      r.Digits.insert(r.Digits.begin(), '1');
      ++r.Exp;
    }
  }
  if (r.IsZero()) return TDecimal{};
  return r;
}

// "ddd.ddd" with `decimals` places; the value must already be rounded to them.
std::string FixedText(const TDecimal& d, int decimals, bool thousands) {
  std::string out;
  const int top = std::max(d.Exp, 0);
  for (int place = top; place >= 0; --place) {
    out += d.DigitAt(d.Exp - place);
    if (thousands && place > 0 && place % 3 == 0) out += ',';
  }
  if (decimals > 0) {
    out += '.';
    for (int k = 1; k <= decimals; ++k) out += d.DigitAt(d.Exp + k);
  }
  return out;
}

std::string ExponentText(int exp) {
  std::string digits = std::to_string(std::abs(exp));
  if (digits.size() < 3) digits.insert(0, 3 - digits.size(), '0');
  return std::string(exp < 0 ? "E-" : "E+") + digits;
}

std::string Scientific(const TDecimal& d, size_t digits) {
  std::string out(1, d.DigitAt(0));
  if (digits > 1) {
    out += '.';
    for (size_t i = 1; i < digits; ++i) out += d.DigitAt(static_cast<int>(i));
  }
  return out + ExponentText(d.Exp);
}

// `precision` < 0: none given.
std::string FloatText(long double value, char type, int precision) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
  const TDecimal exact = ToDecimal(std::fabs(value));
  std::string body;
  TDecimal shown;
  switch (type) {
    case 'F':
    case 'N': {
      const int decimals = std::min(precision < 0 ? 2 : precision, kFloatDigits);
      shown = RoundDigits(exact, exact.Exp + 1 + decimals);
      body = FixedText(shown, decimals, type == 'N');
      break;
    }
    case 'E': {
      const int digits = std::clamp(precision < 0 ? 15 : precision, 1, kFloatDigits);
      shown = RoundDigits(exact, digits);
      body = Scientific(shown, static_cast<size_t>(digits));
      break;
    }
    default: {  // 'G': the shorter of fixed and scientific, trailing zeros dropped
      const int digits = std::clamp(precision < 0 ? 15 : precision, 1, kFloatDigits);
      shown = RoundDigits(exact, digits);
      const size_t last = shown.Digits.find_last_not_of('0');
      shown.Digits.resize(last == std::string::npos ? 0 : last + 1);
      const int count = static_cast<int>(shown.Digits.size());
      if (shown.IsZero()) {
        body = "0";
      } else if (shown.Exp < digits && shown.Exp >= -5) {
        body = FixedText(shown, std::max(count - 1 - shown.Exp, 0), false);
      } else {
        body = Scientific(shown, shown.Digits.size());
      }
      break;
    }
  }
  // A value that rounds to zero shows no sign.
  return value < 0 && !shown.IsZero() ? "-" + body : body;
}

class TFormatter {
 public:
  TFormatter(std::string_view fmt, std::span<const TVarRec> args) : FFmt(fmt), FArgs(args) {}

  std::string Run() {
    while (FPos < FFmt.size()) {
      const size_t percent = FFmt.find('%', FPos);
      if (percent == std::string_view::npos) {
        FOut += FFmt.substr(FPos);
        break;
      }
      FOut += FFmt.substr(FPos, percent - FPos);
      FPos = percent + 1;
      Conversion();
    }
    return std::move(FOut);
  }

 private:
  [[noreturn]] void Fail() const {
    throw EConvertError("Format '" + std::string(FFmt) + "' invalid or incompatible with argument");
  }

  bool AtEnd() const { return FPos >= FFmt.size(); }
  char Peek() const { return AtEnd() ? '\0' : FFmt[FPos]; }

  const TVarRec& NextArg() {
    if (FArg >= FArgs.size()) Fail();
    return FArgs[FArg++];
  }

  // Digits or '*' (an integer argument); nullopt if neither is there. Long digit runs
  // saturate instead of overflowing; the limits below reject them.
  std::optional<int64_t> Number() {
    if (Peek() == '*') {
      ++FPos;
      const TVarRec& a = NextArg();
      if (const auto* i = std::get_if<int64_t>(&a.V)) return *i;
      if (const auto* u = std::get_if<uint64_t>(&a.V)) {
        return static_cast<int64_t>(std::min<uint64_t>(*u, INT64_MAX));
      }
      Fail();
    }
    if (Peek() < '0' || Peek() > '9') return std::nullopt;
    int64_t n = 0;
    while (Peek() >= '0' && Peek() <= '9') {
      n = std::min<int64_t>(n * 10 + (Peek() - '0'), int64_t{1} << 40);
      ++FPos;
    }
    return n;
  }

  void Conversion() {
    if (AtEnd()) Fail();
    if (Peek() == '%') {
      FOut += '%';
      ++FPos;
      return;
    }
    std::optional<int64_t> first = Number();
    if (Peek() == ':') {
      ++FPos;
      const int64_t index = first.value_or(0);
      if (index < 0 || static_cast<uint64_t>(index) >= FArgs.size()) Fail();
      FArg = static_cast<size_t>(index);
      first.reset();
    }
    bool left = false;
    if (!first) {
      if (Peek() == '-') {
        left = true;
        ++FPos;
      }
      first = Number();
    }
    // A negative width from '*' pads nothing.
    const int64_t width = std::max<int64_t>(first.value_or(0), 0);
    int64_t precision = -1;  // none
    if (Peek() == '.') {
      ++FPos;
      // A negative precision from '*' means none was given.
      precision = std::max<int64_t>(Number().value_or(0), -1);
    }
    if (AtEnd()) Fail();
    char type = FFmt[FPos++];
    type = UpperChar(type);
    if (width > kMaxFormatWidth) Fail();

    const TVarRec& arg = NextArg();
    std::string text;
    switch (type) {
      case 'D':
      case 'U':
      case 'X':
        if (!arg.IsInteger()) Fail();
        if (precision > kMaxFormatWidth) Fail();
        text = IntegerText(arg, type, static_cast<int>(std::max<int64_t>(precision, 0)));
        break;
      case 'S': {
        if (!arg.IsString()) Fail();
        const std::string& s = std::get<std::string>(arg.V);
        text = precision < 0 ? s : s.substr(0, static_cast<size_t>(precision));
        break;
      }
      case 'E':
      case 'F':
      case 'G':
      case 'N':
        if (!arg.IsFloat()) Fail();
        text = FloatText(std::get<long double>(arg.V), type,
                         static_cast<int>(std::min<int64_t>(precision, kFloatDigits)));
        break;
      default:
        Fail();
    }
    const size_t pad =
        text.size() < static_cast<size_t>(width) ? static_cast<size_t>(width) - text.size() : 0;
    if (!left) FOut.append(pad, ' ');
    FOut += text;
    if (left) FOut.append(pad, ' ');
  }

  static std::string IntegerText(const TVarRec& arg, char type, int minDigits) {
    bool negative = false;
    uint64_t magnitude = 0;
    if (const auto* i = std::get_if<int64_t>(&arg.V)) {
      const int64_t v = *i;
      if (type == 'D') {
        negative = v < 0;
        // Negating in unsigned arithmetic is defined even for INT64_MIN.
        magnitude = negative ? 0 - static_cast<uint64_t>(v) : static_cast<uint64_t>(v);
      } else if (v < 0 && v >= INT32_MIN) {
        // Delphi's Integer is 32 bits: -1 shows as 4294967295 or FFFFFFFF.
        magnitude = static_cast<uint32_t>(v);
      } else {
        magnitude = static_cast<uint64_t>(v);
      }
    } else {
      magnitude = std::get<uint64_t>(arg.V);
    }
    std::string digits = type == 'X' ? HexText(magnitude) : std::to_string(magnitude);
    if (digits.size() < static_cast<size_t>(minDigits)) {
      digits.insert(0, static_cast<size_t>(minDigits) - digits.size(), '0');
    }
    return negative ? "-" + digits : digits;
  }

  std::string_view FFmt;
  std::span<const TVarRec> FArgs;
  size_t FPos = 0;
  size_t FArg = 0;
  std::string FOut;
};

}  // namespace

std::string Format(std::string_view fmt, std::span<const TVarRec> args) {
  return TFormatter(fmt, args).Run();
}

std::string Format(std::string_view fmt, std::initializer_list<TVarRec> args) {
  return Format(fmt, std::span<const TVarRec>(args.begin(), args.size()));
}

std::string Format(std::string_view fmt, const std::vector<TVarRec>& args) {
  return Format(fmt, std::span<const TVarRec>(args));
}

}  // namespace zelvar
