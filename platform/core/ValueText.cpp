#include "platform/core/ValueText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <type_traits>
#include <variant>

#include "platform/core/Exceptions.h"
#include "platform/core/Text.h"

namespace zelvar {

namespace {

bool IsLetter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}
bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}
bool IsIdentChar(char c) {
  return IsLetter(c) || IsDigit(c);
}
bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// A character for a message: printable ASCII quoted, anything else as its code.
std::string DescribeChar(char c) {
  auto b = static_cast<unsigned char>(c);
  if (b >= 33 && b <= 126) return std::string("'") + c + "'";
  return "#" + std::to_string(b);
}

// Once a string is wide, its quoted runs become one UTF-16 unit per byte, as other readers of
// the format make them; the file's bytes are not taken for any particular encoding.
void AppendBytesAsUnits(std::string_view bytes, std::u16string& out) {
  for (char c : bytes) out += static_cast<char16_t>(static_cast<unsigned char>(c));
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// TParser

TParser::TParser(TBorrow, std::string_view text) : FText(text) {
  Next();
}

TParser::TParser(std::string text) : FOwned(std::move(text)), FText(FOwned) {
  Next();
}

std::string_view TParser::TokenText() const {
  return FText.substr(FStart, FPos - FStart);
}

bool TParser::IsIdentifier(std::string_view word) const {
  return FKind == TTokenKind::Identifier && SameText(TokenText(), word);
}

void TParser::Advance() {
  char c = FText[FPos++];
  // CR LF counts once (at the LF); a lone CR ends a line too.
  if (c == '\n' || (c == '\r' && (FPos >= FText.size() || FText[FPos] != '\n'))) {
    ++FPosLine;
    FPosColumn = 1;
  } else {
    ++FPosColumn;
  }
}

void TParser::SkipBlanks() {
  while (FPos < FText.size()) {
    char c = FText[FPos];
    if (c == ' ' || c == '\t') {
      ++FPos;
      ++FPosColumn;
    } else if (c == '\n' || c == '\r') {
      Advance();
    } else {
      break;
    }
  }
}

TTokenKind TParser::Next() {
  SkipBlanks();
  FStart = FPos;
  FLine = FPosLine;
  FColumn = FPosColumn;
  FInt = 0;
  FFloat = 0;
  FString.clear();
  FWide.clear();
  FIsWide = false;
  if (FPos >= FText.size()) return FKind = TTokenKind::EndOfInput;

  char c = FText[FPos];
  char next = FPos + 1 < FText.size() ? FText[FPos + 1] : '\0';
  if (IsLetter(c)) {
    // No line ends inside a name: count the columns once.
    size_t from = FPos;
    while (FPos < FText.size() && IsIdentChar(FText[FPos])) ++FPos;
    FPosColumn += static_cast<int>(FPos - from);
    return FKind = TTokenKind::Identifier;
  }
  if (IsDigit(c) || (c == '-' && IsDigit(next)) || (c == '$' && HexDigitValue(next) >= 0)) {
    ScanNumber();
    return FKind;
  }
  if (c == '\'' || c == '#') {
    ScanString();
    return FKind = TTokenKind::String;
  }
  auto b = static_cast<unsigned char>(c);
  if (b < 33 || b > 126) ErrorAt("invalid character " + DescribeChar(c), FLine, FColumn);
  Advance();
  return FKind = TTokenKind::Symbol;
}

void TParser::ScanNumber() {
  auto digitsWhile = [this](auto pred) {
    size_t from = FPos;
    while (FPos < FText.size() && pred(FText[FPos])) Advance();
    return FPos - from;
  };
  bool isFloat = false;
  if (FText[FPos] == '$') {
    Advance();
    uint64_t value = 0;
    int significant = 0;
    while (FPos < FText.size() && HexDigitValue(FText[FPos]) >= 0) {
      auto digit = static_cast<uint64_t>(HexDigitValue(FText[FPos]));
      if ((value != 0 || digit != 0) && ++significant > 16)
        ErrorAt("integer out of range", FLine, FColumn);
      value = (value << 4) | digit;
      Advance();
    }
    // All 64 bits may be given: $FFFFFFFFFFFFFFFF is -1, as two's complement reads it.
    FInt = static_cast<int64_t>(value);
  } else {
    if (FText[FPos] == '-') Advance();
    digitsWhile(IsDigit);
    if (FPos < FText.size() && FText[FPos] == '.') {
      isFloat = true;
      Advance();
      digitsWhile(IsDigit);
    }
    if (FPos < FText.size() && (FText[FPos] == 'e' || FText[FPos] == 'E')) {
      isFloat = true;
      Advance();
      if (FPos < FText.size() && (FText[FPos] == '+' || FText[FPos] == '-')) Advance();
      if (digitsWhile(IsDigit) == 0) ErrorAt("digit expected in exponent", FPosLine, FPosColumn);
    }
  }
  // A suffix s, c or d marks a single, currency or date value, as other writers spell them.
  FFloatSuffix = '\0';
  if (FText[FStart] != '$' && FPos < FText.size() && std::strchr("sScCdD", FText[FPos]) &&
      (FPos + 1 >= FText.size() || !IsIdentChar(FText[FPos + 1]))) {
    FFloatSuffix = static_cast<char>(FText[FPos] | 0x20);
    isFloat = true;
    Advance();
  }
  // "12abc" is a typo, not a number followed by a name.
  if (FPos < FText.size() && IsIdentChar(FText[FPos])) ErrorAt("invalid number", FLine, FColumn);

  std::string_view text = TokenText();
  if (FFloatSuffix) text.remove_suffix(1);
  if (!isFloat) {
    FKind = TTokenKind::Integer;
    if (text[0] == '$') return;
    auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), FInt);
    if (ec != std::errc() || ptr != text.data() + text.size())
      ErrorAt("integer out of range", FLine, FColumn);
    return;
  }
  FKind = TTokenKind::Float;
  bool outOfRange = false;
  bool whole = ParseFloatC(text, FFloat, &outOfRange);
  // ERANGE also flags subnormal results, which are exact enough to keep; only a value that
  // became infinite or vanished to zero is out of range.
  bool lost = std::isinf(FFloat) ||
              (FFloat == 0 && text.find_first_of("123456789") < text.find_first_of("eE"));
  if (!whole || (outOfRange && lost)) ErrorAt("float out of range", FLine, FColumn);
}

void TParser::ScanString() {
  // One pass builds the bytes; only a string that turns out wide is read again for its units,
  // so ordinary strings cost no UTF-16 work.
  for (;;) {
    if (FPos >= FText.size()) break;
    char c = FText[FPos];
    if (c == '\'') {
      Advance();
      for (;;) {
        size_t stop = FPos;
        while (stop < FText.size() && FText[stop] != '\'' && FText[stop] != '\n' &&
               FText[stop] != '\r')
          ++stop;
        if (stop >= FText.size() || FText[stop] != '\'')
          ErrorAt("unterminated string", FLine, FColumn);
        FString.append(FText, FPos, stop - FPos);
        FPosColumn += static_cast<int>(stop - FPos + 1);
        FPos = stop + 1;
        if (FPos < FText.size() && FText[FPos] == '\'') {
          FString += '\'';
          Advance();
        } else {
          break;
        }
      }
    } else if (c == '#') {
      uint32_t code = ScanCharCode();
      if (code > 127) FIsWide = true;
      // Above 255 the byte form is unused: the string is wide.
      FString += static_cast<char>(code & 0xFF);
    } else {
      break;
    }
  }
  if (FIsWide) WidenString();
}

uint32_t TParser::ScanCharCode() {
  int line = FPosLine, column = FPosColumn;
  Advance();
  if (FPos >= FText.size() || !IsDigit(FText[FPos]))
    ErrorAt("digit expected after '#'", FPosLine, FPosColumn);
  uint32_t code = 0;
  while (FPos < FText.size() && IsDigit(FText[FPos])) {
    code = code * 10 + static_cast<uint32_t>(FText[FPos] - '0');
    if (code > 0xFFFF) ErrorAt("character code out of range", line, column);
    Advance();
  }
  return code;
}

std::u16string TParser::TokenAsWide() const {
  if (FIsWide) return FWide;
  std::u16string units;
  AppendBytesAsUnits(FString, units);
  return units;
}

void TParser::WidenString() {
  // The token is known to be well formed: read its pieces again, now as UTF-16.
  size_t pos = FStart;
  std::string run;
  while (pos < FPos) {
    if (FText[pos] == '\'') {
      run.clear();
      ++pos;
      for (;;) {
        char d = FText[pos++];
        if (d == '\'') {
          if (pos < FPos && FText[pos] == '\'') {
            ++pos;
          } else {
            break;
          }
        }
        run += d;
      }
      AppendBytesAsUnits(run, FWide);
    } else {
      ++pos;  // '#''
      uint32_t code = 0;
      while (pos < FPos && IsDigit(FText[pos]))
        code = code * 10 + static_cast<uint32_t>(FText[pos++] - '0');
      FWide += static_cast<char16_t>(code);
    }
  }
}

std::vector<uint8_t> TParser::ReadBinary() {
  std::string bytes;
  ReadBinaryInto(bytes);
  return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

void TParser::ReadBinaryInto(std::string& out) {
  CheckSymbol('{');
  int line = FLine, column = FColumn;
  const char* text = FText.data();
  const size_t size = FText.size();
  for (;;) {
    // Pairs of hex digits are the bulk of a block: decode them without per-byte bookkeeping.
    size_t from = FPos;
    char chunk[64];
    size_t n = 0;
    while (FPos + 1 < size) {
      int high = HexDigitValue(text[FPos]);
      int low = HexDigitValue(text[FPos + 1]);
      if ((high | low) < 0) break;
      chunk[n++] = static_cast<char>((high << 4) | low);
      if (n == sizeof chunk) {
        out.append(chunk, n);
        n = 0;
      }
      FPos += 2;
    }
    out.append(chunk, n);
    FPosColumn += static_cast<int>(FPos - from);
    SkipBlanks();
    if (FPos >= size) ErrorAt("unterminated binary data", line, column);
    char c = text[FPos];
    if (c == '}') {
      Advance();
      break;
    }
    if (HexDigitValue(c) < 0)
      ErrorAt("invalid character " + DescribeChar(c) + " in binary data", FPosLine, FPosColumn);
    char d = FPos + 1 < size ? text[FPos + 1] : '}';
    if (HexDigitValue(d) >= 0) continue;  // the next pair, after blanks
    if (IsBlank(d) || d == '}')
      ErrorAt("odd number of hex digits in binary data", FPosLine, FPosColumn);
    ErrorAt("invalid character " + DescribeChar(d) + " in binary data", FPosLine, FPosColumn + 1);
  }
  Next();
}

std::string TParser::Describe() const {
  switch (FKind) {
    case TTokenKind::EndOfInput:
      return "end of input";
    case TTokenKind::Symbol:
      return DescribeChar(Symbol());
    case TTokenKind::Identifier:
      return "identifier '" + std::string(TokenText()) + "'";
    case TTokenKind::Integer:
      return "integer " + std::string(TokenText());
    case TTokenKind::Float:
      return "float " + std::string(TokenText());
    case TTokenKind::String:
      return "string";
  }
  return "token";
}

void TParser::CheckSymbol(char c) const {
  if (!IsSymbol(c)) Error(DescribeChar(c) + " expected but " + Describe() + " found");
}

void TParser::CheckIdentifier() const {
  CheckToken(TTokenKind::Identifier);
}

void TParser::CheckToken(TTokenKind kind) const {
  if (FKind == kind) return;
  static const char* const names[] = {"end of input", "symbol", "identifier",
                                      "integer",      "float",  "string"};
  Error(std::string(names[static_cast<int>(kind)]) + " expected but " + Describe() + " found");
}

void TParser::Error(std::string_view message) const {
  ErrorAt(message, FLine, FColumn);
}

void TParser::ErrorAt(std::string_view message, int line, int column) const {
  throw EParserError(std::string(message) + " at line " + std::to_string(line) + ":" +
                     std::to_string(column));
}

// ---------------------------------------------------------------------------------------------
// ParseValue

namespace {

TValue ParseValueAt(TParser& p, int depth) {
  switch (p.Token()) {
    case TTokenKind::Integer: {
      int64_t v = p.TokenInt();
      p.Next();
      return v;
    }
    case TTokenKind::Float: {
      long double v = p.TokenFloat();
      p.Next();
      return v;
    }
    case TTokenKind::String: {
      std::string narrow = p.TokenString();
      std::u16string wide = p.TokenAsWide();
      bool isWide = p.TokenIsWide();
      while (p.Next() == TTokenKind::Symbol && p.Symbol() == '+') {
        if (p.Next() != TTokenKind::String)
          p.Error("string expected after '+' but " + p.Describe() + " found");
        narrow += p.TokenString();
        wide += p.TokenAsWide();
        isWide = isWide || p.TokenIsWide();
      }
      if (isWide) return wide;
      return narrow;
    }
    case TTokenKind::Identifier: {
      std::string name(p.TokenText());
      bool dotted = false;
      while (p.Next() == TTokenKind::Symbol && p.Symbol() == '.') {
        p.Next();
        p.CheckIdentifier();
        name += '.';
        name += p.TokenText();
        dotted = true;
      }
      if (!dotted) {
        if (SameText(name, "True")) return true;
        if (SameText(name, "False")) return false;
        if (SameText(name, "nil")) return TNil{};
      }
      return TIdent{std::move(name)};
    }
    case TTokenKind::Symbol:
      switch (p.Symbol()) {
        case '[': {
          TSetValue set;
          if (p.Next() != TTokenKind::Symbol || p.Symbol() != ']') {
            for (;;) {
              p.CheckIdentifier();
              set.Members.emplace_back(p.TokenText());
              if (p.Next() != TTokenKind::Symbol || p.Symbol() != ',') break;
              p.Next();
            }
            p.CheckSymbol(']');
          }
          p.Next();
          return set;
        }
        case '(': {
          if (depth >= kMaxValueNesting) p.Error("lists nested too deeply");
          TValueList list;
          p.Next();
          while (!p.IsSymbol(')')) {
            if (p.Token() == TTokenKind::EndOfInput) p.CheckSymbol(')');
            list.push_back(ParseValueAt(p, depth + 1));
          }
          p.Next();
          return list;
        }
        case '{':
          return TBinary{p.ReadBinary()};
        case '<':
          p.Error("collections are not supported in a value");
        default:
          break;
      }
      break;
    case TTokenKind::EndOfInput:
      break;
  }
  p.Error("value expected but " + p.Describe() + " found");
}

}  // namespace

TValue ParseValue(TParser& parser) {
  return ParseValueAt(parser, 0);
}

TValue ParseValue(std::string_view text) {
  TParser parser(TParser::TBorrow{}, text);
  TValue value = ParseValue(parser);
  if (parser.Token() != TTokenKind::EndOfInput)
    parser.Error("unexpected " + parser.Describe() + " after the value");
  return value;
}

// ---------------------------------------------------------------------------------------------
// FormatValue

namespace {

template <class Unit>
void AppendQuoted(std::string& out, std::basic_string_view<Unit> units) {
  if (units.empty()) {
    out += "''";
    return;
  }
  // Bytes above ASCII go inside the quotes as they are when they spell UTF-8 text.
  uint32_t highest = 126;
  if constexpr (sizeof(Unit) == 1) {
    bool high = std::any_of(units.begin(), units.end(),
                            [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
    if (high && IsValidUtf8(units)) highest = 255;
  }
  auto plain = [highest](uint32_t c) { return c >= 32 && c <= highest && c != 127; };
  bool quoted = false;
  size_t i = 0;
  while (i < units.size()) {
    auto code = static_cast<uint32_t>(static_cast<std::make_unsigned_t<Unit>>(units[i]));
    if (plain(code)) {
      if (!quoted) out += '\'';
      quoted = true;
      // A run of plain characters in one append.
      size_t j = i;
      while (j < units.size()) {
        auto c = static_cast<uint32_t>(static_cast<std::make_unsigned_t<Unit>>(units[j]));
        if (!plain(c) || c == '\'') break;
        ++j;
      }
      if constexpr (sizeof(Unit) == 1) {
        out.append(reinterpret_cast<const char*>(units.data() + i), j - i);
      } else {
        for (size_t k = i; k < j; ++k) out += static_cast<char>(units[k]);
      }
      if (j < units.size() && units[j] == Unit('\'')) {
        out += "''";
        ++j;
      }
      i = j;
    } else {
      if (quoted) out += '\'';
      quoted = false;
      out += '#';
      char digits[8];
      auto [end, ec] = std::to_chars(digits, digits + sizeof digits, code);
      out.append(digits, end);
      ++i;
    }
  }
  if (quoted) out += '\'';
}

template <class Unit>
std::string Quote(std::basic_string_view<Unit> units) {
  std::string out;
  AppendQuoted(out, units);
  return out;
}

template <class F>
std::string FormatFloatOf(F v) {
  // No text form reads back as these; they are written as other writers spell them.
  if (std::isnan(v)) return "NAN";
  if (std::isinf(v)) return v < 0 ? "-INF" : "INF";
  char buf[64];
  auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v);  // shortest that reads back
  std::string s(buf, ec == std::errc() ? end : buf);
  size_t e = s.find('e');
  if (e == std::string::npos) {
    // Without '.' or 'E' it would read back as an integer.
    if (s.find('.') == std::string::npos) s += ".0";
    return s;
  }
  std::string out = s.substr(0, e) + "E";
  size_t i = e + 1;
  if (s[i] == '-') out += s[i];
  if (s[i] == '-' || s[i] == '+') ++i;
  while (i + 1 < s.size() && s[i] == '0') ++i;
  return out + s.substr(i);
}

}  // namespace

std::string FormatFloat(long double v) {
  return FormatFloatOf(v);
}
std::string FormatFloat(double v) {
  return FormatFloatOf(v);
}
std::string FormatFloat(float v) {
  return FormatFloatOf(v);
}

namespace {

struct TFormatter {
  std::string operator()(int64_t v) const { return std::to_string(v); }
  std::string operator()(long double v) const { return FormatFloat(v); }
  std::string operator()(const std::string& v) const { return QuoteString(v); }
  std::string operator()(const std::u16string& v) const { return QuoteString(v); }
  std::string operator()(const TIdent& v) const { return v.Name; }
  std::string operator()(bool v) const { return v ? "True" : "False"; }
  std::string operator()(const TNil&) const { return "nil"; }
  std::string operator()(const TSetValue& v) const {
    std::string out = "[";
    for (size_t i = 0; i < v.Members.size(); ++i) {
      if (i > 0) out += ", ";
      out += v.Members[i];
    }
    return out + "]";
  }
  std::string operator()(const TValueList& v) const {
    std::string out = "(";
    for (size_t i = 0; i < v.size(); ++i) {
      if (i > 0) out += ' ';
      out += std::visit(*this, v[i].V);
    }
    return out + ")";
  }
  std::string operator()(const TBinary& v) const {
    std::string out = "{";
    AppendHex(out, std::string_view(reinterpret_cast<const char*>(v.Bytes.data()), v.Bytes.size()));
    return out + "}";
  }
};

}  // namespace

std::string FormatValue(const TValue& value) {
  return std::visit(TFormatter{}, value.V);
}

void AppendQuotedString(std::string& out, std::string_view bytes) {
  AppendQuoted(out, bytes);
}
void AppendQuotedString(std::string& out, std::u16string_view units) {
  AppendQuoted(out, units);
}

std::string QuoteString(std::string_view bytes) {
  return Quote(bytes);
}
std::string QuoteString(std::u16string_view units) {
  return Quote(units);
}

}  // namespace zelvar
