#include "platform/streaming/FormText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>

#include "platform/core/Text.h"
#include "platform/core/ValueText.h"
#include "platform/streaming/Filer.h"

namespace zelvar {

std::string TTextMap::Describe(size_t offset) const {
  auto it = std::upper_bound(FMarks.begin(), FMarks.end(), offset,
                             [](size_t o, const TTextMark& m) { return o < m.Offset; });
  if (it == FMarks.begin()) return "line 1:1";
  --it;
  return "line " + std::to_string(it->Line) + ":" + std::to_string(it->Column);
}

// =============================================================================================
// Text to binary

namespace {

class TTextToBinary {
 public:
  TTextToBinary(std::string_view text, TTextMap* map)
      : P(TParser::TBorrow{}, text), Map(map), TextSize(text.size()) {}

  std::string Run() {
    Out.reserve(TextSize / 2 + 64);  // binary is about half the size of its text
    Out.append(kFormSignature);
    ConvertObject(1);
    if (P.Token() != TTokenKind::EndOfInput)
      P.Error("End of file expected but " + P.Describe() + " found");
    return std::move(Out);
  }

 private:
  // Whether a component's property list is over: only names of 3, 6 or 9 letters can be.
  bool AtEndOrObject() const {
    if (P.Token() != TTokenKind::Identifier) return false;
    size_t n = P.TokenText().size();
    if (n != 3 && n != 6 && n != 9) return false;
    return P.IsIdentifier("end") || AtObjectKeyword();
  }

  bool AtObjectKeyword() const {
    return P.Token() == TTokenKind::Identifier &&
           (P.IsIdentifier("object") || P.IsIdentifier("inherited") || P.IsIdentifier("inline"));
  }

  void Mark() {
    if (Map) Map->Add(Out.size(), P.Line(), P.Column());
  }

  void PutByte(uint8_t b) { Out.push_back(static_cast<char>(b)); }
  void PutU32(uint32_t v) {
    for (int i = 0; i < 4; ++i) PutByte(static_cast<uint8_t>(v >> (8 * i)));
  }
  void PutInteger(int64_t v) {
    if (v >= INT8_MIN && v <= INT8_MAX) {
      PutByte(vaInt8);
      PutByte(static_cast<uint8_t>(v));
    } else if (v >= INT16_MIN && v <= INT16_MAX) {
      PutByte(vaInt16);
      for (int i = 0; i < 2; ++i)
        PutByte(static_cast<uint8_t>(static_cast<uint64_t>(v) >> (8 * i)));
    } else if (v >= INT32_MIN && v <= INT32_MAX) {
      PutByte(vaInt32);
      for (int i = 0; i < 4; ++i)
        PutByte(static_cast<uint8_t>(static_cast<uint64_t>(v) >> (8 * i)));
    } else {
      PutByte(vaInt64);
      for (int i = 0; i < 8; ++i)
        PutByte(static_cast<uint8_t>(static_cast<uint64_t>(v) >> (8 * i)));
    }
  }
  void PutShortString(std::string_view s) {
    if (s.size() > 255) P.Error("Name longer than 255 bytes");
    PutByte(static_cast<uint8_t>(s.size()));
    Out.append(s);
  }
  std::string Identifier() {
    P.CheckIdentifier();
    std::string s(P.TokenText());
    P.Next();
    return s;
  }

  void ConvertObject(int depth) {
    if (depth > kMaxComponentNesting) P.Error("Objects nested too deeply");
    if (!AtObjectKeyword()) P.Error("'object' expected but " + P.Describe() + " found");
    uint8_t flags = P.IsIdentifier("inherited") ? ffInherited
                    : P.IsIdentifier("inline")  ? ffInline
                                                : 0;
    Mark();
    P.Next();
    std::string first = Identifier();
    std::string name, className;
    if (P.IsSymbol(':')) {
      P.Next();
      name = std::move(first);
      className = Identifier();
    } else {
      className = std::move(first);
    }
    bool hasPos = false;
    int64_t pos = 0;
    if (P.IsSymbol('[')) {
      P.Next();
      P.CheckToken(TTokenKind::Integer);
      pos = P.TokenInt();
      P.Next();
      P.CheckSymbol(']');
      P.Next();
      hasPos = true;
      flags |= ffChildPos;
    }
    if (flags) {
      PutByte(0xF0 | flags);
      if (hasPos) PutInteger(pos);
    }
    PutShortString(className);
    PutShortString(name);
    while (!AtEndOrObject()) ConvertProperty();
    PutByte(0);
    while (!P.IsIdentifier("end")) ConvertObject(depth + 1);
    PutByte(0);
    P.Next();
  }

  void ConvertProperty() { ConvertPropertyIn(-1); }

  // A dotted name, built in a buffer that lives as long as the converter.
  void ReadDottedName() {
    P.CheckIdentifier();
    Name.assign(P.TokenText());
    while (P.Next() == TTokenKind::Symbol && P.Symbol() == '.') {
      P.Next();
      P.CheckIdentifier();
      Name += '.';
      Name += P.TokenText();
    }
  }

  void ConvertValue(int depth) {
    switch (P.Token()) {
      case TTokenKind::Integer:
        PutInteger(P.TokenInt());
        P.Next();
        return;
      case TTokenKind::Float:
        ConvertFloat();
        P.Next();
        return;
      case TTokenKind::String:
        ConvertString();
        return;
      case TTokenKind::Identifier: {
        if (P.IsIdentifier("True")) {
          PutByte(vaTrue);
          P.Next();
        } else if (P.IsIdentifier("False")) {
          PutByte(vaFalse);
          P.Next();
        } else if (P.IsIdentifier("nil")) {
          PutByte(vaNil);
          P.Next();
        } else {
          ReadDottedName();
          PutByte(vaIdent);
          PutShortString(Name);
        }
        return;
      }
      case TTokenKind::Symbol:
        break;
      case TTokenKind::EndOfInput:
        P.Error("Value expected but end of file found");
    }
    if (depth >= kMaxValueNesting) P.Error("Values nested too deeply");
    switch (P.Symbol()) {
      case '[':
        PutByte(vaSet);
        P.Next();
        while (!P.IsSymbol(']')) {
          PutShortString(Identifier());
          if (P.IsSymbol(',')) {
            P.Next();
            if (P.IsSymbol(']')) P.Error("Identifier expected but ']' found");
          } else if (!P.IsSymbol(']')) {
            P.Error("',' or ']' expected but " + P.Describe() + " found");
          }
        }
        PutByte(0);
        P.Next();
        return;
      case '(':
        PutByte(vaList);
        P.Next();
        while (!P.IsSymbol(')')) ConvertValue(depth + 1);
        PutByte(0);
        P.Next();
        return;
      case '{': {
        // The length goes in front once the bytes are counted.
        PutByte(vaBinary);
        size_t lengthAt = Out.size();
        PutU32(0);
        P.ReadBinaryInto(Out);
        size_t n = Out.size() - lengthAt - 4;
        if (n > UINT32_MAX) P.Error("Binary value too long");
        for (int i = 0; i < 4; ++i) Out[lengthAt + i] = static_cast<char>(n >> (8 * i));
        return;
      }
      case '<':
        ConvertCollection(depth);
        return;
      default:
        P.Error("Value expected but " + P.Describe() + " found");
    }
  }

  template <class T>
  void PutRaw(T v, size_t n) {
    uint8_t b[sizeof(T) > 16 ? sizeof(T) : 16] = {};
    std::memcpy(b, &v, sizeof v);
    Out.append(reinterpret_cast<const char*>(b), n);
  }

  // Singles and dates are parsed at their own precision: rounding the extended value again
  // could miss the shortest text's value by one unit.
  template <class F>
  F ParseAs(const char* what) {
    std::string_view text = P.TokenText();
    text.remove_suffix(1);  // the suffix
    F v = 0;
    bool whole = ParseFloatC(text, v);
    bool lost = std::isinf(v) || (v == 0 && static_cast<long double>(P.TokenFloat()) != 0);
    if (!whole || lost) P.Error(std::string("Value out of range for a ") + what);
    return v;
  }

  void ConvertFloat() {
    long double v = P.TokenFloat();
    switch (P.FloatSuffix()) {
      case 's': {
        auto f = ParseAs<float>("single");
        PutByte(vaSingle);
        PutRaw(f, 4);
        return;
      }
      case 'd': {
        auto d = ParseAs<double>("date");
        PutByte(vaDate);
        PutRaw(d, 8);
        return;
      }
      case 'c':
        PutByte(vaCurrency);
        PutRaw(CurrencyUnits(), 8);
        return;
      default:
        PutByte(vaExtended);
        PutRaw(v, 10);
    }
  }

  // A currency value is a count of ten-thousandths; read exactly from the digits.
  int64_t CurrencyUnits() {
    std::string_view text = P.TokenText();
    text.remove_suffix(1);
    bool negative = !text.empty() && text[0] == '-';
    if (negative) text.remove_prefix(1);
    if (text.find_first_of("eE") != std::string_view::npos) {
      long double units = std::roundl(P.TokenFloat() * 10000);
      if (!(units >= -9223372036854775807.0L - 1 && units < 9223372036854775808.0L))
        P.Error("Value out of range for a currency");
      return static_cast<int64_t>(units);
    }
    size_t dot = text.find('.');
    std::string_view whole = text.substr(0, dot);
    std::string_view frac =
        dot == std::string_view::npos ? std::string_view{} : text.substr(dot + 1);
    if (frac.size() > 4) P.Error("A currency value has at most four decimals");
    unsigned __int128 units = 0;
    for (char c : whole) {
      units = units * 10 + static_cast<unsigned>(c - '0');
      if (units > (static_cast<unsigned __int128>(1) << 64))
        P.Error("Value out of range for a currency");
    }
    for (size_t i = 0; i < 4; ++i)
      units = units * 10 + (i < frac.size() ? static_cast<unsigned>(frac[i] - '0') : 0);
    unsigned __int128 limit = (static_cast<unsigned __int128>(1) << 63) - (negative ? 0 : 1);
    if (units > limit) P.Error("Value out of range for a currency");
    return negative ? static_cast<int64_t>(-static_cast<__int128>(units))
                    : static_cast<int64_t>(units);
  }

  void ConvertString() {
    std::u16string wide;
    std::string bytes;
    bool isWide = false;
    while (true) {
      P.CheckToken(TTokenKind::String);
      if (P.TokenIsWide() && !isWide) {
        // A wide piece makes the whole string wide; the bytes so far become one unit each.
        isWide = true;
        for (char c : bytes) wide += static_cast<char16_t>(static_cast<unsigned char>(c));
      }
      if (isWide) {
        wide += P.TokenAsWide();
      } else {
        bytes += P.TokenString();
      }
      P.Next();
      if (!P.IsSymbol('+')) break;
      P.Next();
    }
    if (isWide) {
      PutByte(vaWString);
      PutU32(static_cast<uint32_t>(wide.size()));
      for (char16_t u : wide) {
        PutByte(static_cast<uint8_t>(u));
        PutByte(static_cast<uint8_t>(u >> 8));
      }
    } else if (bytes.size() > 255) {
      PutByte(vaLString);
      PutU32(static_cast<uint32_t>(bytes.size()));
      Out.append(bytes);
    } else {
      PutByte(vaString);
      PutByte(static_cast<uint8_t>(bytes.size()));
      Out.append(bytes);
    }
  }

  void ConvertCollection(int depth) {
    PutByte(vaCollection);
    P.Next();
    while (!P.IsSymbol('>')) {
      if (!P.IsIdentifier("item")) P.Error("'item' expected but " + P.Describe() + " found");
      P.Next();
      if (P.IsSymbol('[')) {
        P.Next();
        P.CheckToken(TTokenKind::Integer);
        PutInteger(P.TokenInt());
        P.Next();
        P.CheckSymbol(']');
        P.Next();
      }
      PutByte(vaList);
      while (!P.IsIdentifier("end")) ConvertPropertyIn(depth);
      PutByte(0);
      P.Next();
    }
    PutByte(0);
    P.Next();
  }

  void ConvertPropertyIn(int depth) {
    Mark();
    ReadDottedName();
    PutShortString(Name);
    P.CheckSymbol('=');
    P.Next();
    ConvertValue(depth + 1);
  }

  TParser P;
  TTextMap* Map;
  size_t TextSize;
  std::string Out;
  std::string Name;
};

}  // namespace

std::string ObjectTextToBinary(std::string_view text, TTextMap* map) {
  return TTextToBinary(text, map).Run();
}

void ObjectTextToBinary(TStream& input, TStream& output) {
  output.WriteBuffer(ObjectTextToBinary(input.ReadAll()));
}

// =============================================================================================
// Binary to text

namespace {

class TBinaryToText {
 public:
  explicit TBinaryToText(std::string_view binary) : R(binary), Data(binary.data()) {}

  std::string Run() {
    Out.reserve(2 * 1024);
    R.ReadSignature();
    ConvertObject(0);
    // One file holds one form: bytes after it are damage, not something to drop silently.
    if (R.Remaining() != 0)
      R.ErrorAt(std::to_string(R.Remaining()) + " bytes after the end of the form", R.Position());
    return std::move(Out);
  }

 private:
  void Indent(int level) { Out.append(static_cast<size_t>(level) * 2, ' '); }
  void AppendInteger(int64_t v) {
    char digits[24];
    auto [end, ec] = std::to_chars(digits, digits + sizeof digits, v);
    Out.append(digits, end);
  }

  void ConvertObject(int level) {
    if (level >= kMaxComponentNesting) R.Error("Objects nested too deeply");
    uint8_t flags = 0;
    int64_t pos = 0;
    if ((R.PeekByte() & 0xF0) == 0xF0) {
      flags = static_cast<uint8_t>(R.PeekByte() & 0x0F);
      R.SetPosition(R.Position() + 1);
      if (flags & ffChildPos) pos = R.ReadInt64();
    }
    std::string_view className = Name(false);
    std::string_view name = Name(true);
    Indent(level);
    Out.append((flags & ffInherited) ? "inherited " : (flags & ffInline) ? "inline " : "object ");
    if (!name.empty()) {
      Out.append(name);
      Out.append(": ");
    }
    Out.append(className);
    if (flags & ffChildPos) {
      Out += '[';
      Out.append(std::to_string(pos));
      Out += ']';
    }
    Out += '\n';
    while (!R.EndOfList()) ConvertProperty(level + 1);
    NextByte();
    while (R.PeekByte() != vaNull) ConvertObject(level + 1);
    NextByte();
    Indent(level);
    Out.append("end\n");
  }

  uint8_t NextByte() { return static_cast<uint8_t>(R.ReadValue()); }

  void ConvertProperty(int level) {
    Indent(level);
    Out.append(Name(false));
    Out.append(" = ");
    ConvertValue(level, 0);
    Out += '\n';
  }

  void ConvertValue(int level, int depth) {
    size_t at = R.Position();
    TValueType t = R.ReadValue();
    switch (t) {
      case vaList: {
        if (depth >= kMaxValueNesting) R.ErrorAt("Lists nested too deeply", at);
        Out += '(';
        while (!R.EndOfList()) {
          Out += '\n';
          Indent(level + 1);
          ConvertValue(level + 1, depth + 1);
        }
        NextByte();
        Out += '\n';
        Indent(level);
        Out += ')';
        return;
      }
      case vaInt8:
      case vaInt16:
      case vaInt32:
      case vaInt64:
        Rewind(at);
        AppendInteger(R.ReadInt64());
        return;
      case vaExtended: {
        long double v = 0;
        std::memcpy(&v, Bytes(10), 10);
        Out.append(Finite(v, at));
        return;
      }
      case vaSingle: {
        float v = 0;
        std::memcpy(&v, Bytes(4), 4);
        Out.append(Finite(v, at));
        Out += 's';
        return;
      }
      case vaDate: {
        double v = 0;
        std::memcpy(&v, Bytes(8), 8);
        Out.append(Finite(v, at));
        Out += 'd';
        return;
      }
      case vaCurrency: {
        int64_t v = 0;
        std::memcpy(&v, Bytes(8), 8);
        Out.append(CurrencyText(v));
        return;
      }
      case vaUTF8String: {
        // Characters, as other readers of the text expect: one #n per UTF-16 unit.
        Rewind(at);
        std::string bytes = R.ReadTValue().As<std::string>();
        std::u16string units;
        if (Utf8ToUtf16(bytes, units))
          AppendQuotedString(Out, units);
        else
          AppendQuotedString(Out, bytes);
        return;
      }
      case vaString:
        AppendQuotedString(Out, R.ReadStrView());
        return;
      case vaLString:
        AppendQuotedString(Out, R.ReadBinaryBytes());  // the same framing: length, bytes
        return;
      case vaWString:
        Rewind(at);
        AppendQuotedString(Out, R.ReadTValue().As<std::u16string>());
        return;
      case vaIdent:
        Out.append(Name(false));
        return;
      case vaFalse:
        Out.append("False");
        return;
      case vaTrue:
        Out.append("True");
        return;
      case vaNil:
        Out.append("nil");
        return;
      case vaNull:
        R.ErrorAt("Value expected", at);
      case vaBinary: {
        // Sized once and filled in place: blocks are the bulk of many forms.
        std::string_view bytes = R.ReadBinaryBytes();
        size_t indent = static_cast<size_t>(level + 1) * 2;
        size_t lines = (bytes.size() + 31) / 32;
        size_t start = Out.size();
        Out.resize(start + 1 + lines * (1 + indent) + 2 * bytes.size() + 1 + indent - 2 + 1);
        char* p = Out.data() + start;
        *p++ = '{';
        for (size_t i = 0; i < bytes.size(); ++i) {
          if (i % 32 == 0) {
            *p++ = '\n';
            p = std::fill_n(p, indent, ' ');
          }
          auto b = static_cast<uint8_t>(bytes[i]);
          *p++ = kHexDigits[b >> 4];
          *p++ = kHexDigits[b & 15];
        }
        *p++ = '\n';
        p = std::fill_n(p, indent - 2, ' ');
        *p++ = '}';
        return;
      }
      case vaSet: {
        Out += '[';
        bool first = true;
        while (true) {
          std::string_view member = Name(true);
          if (member.empty()) break;
          if (!first) Out.append(", ");
          Out.append(member);
          first = false;
        }
        Out += ']';
        return;
      }
      case vaCollection: {
        if (depth >= kMaxValueNesting) R.ErrorAt("Collections nested too deeply", at);
        Out += '<';
        while (!R.EndOfList()) {
          Out += '\n';
          Indent(level + 1);
          Out.append("item");
          size_t itemAt = R.Position();
          TValueType it = R.NextValue();
          if (it != vaList) {
            int64_t order = R.ReadInt64();
            Out += '[';
            Out.append(std::to_string(order));
            Out += ']';
          }
          if (R.ReadValue() != vaList) R.ErrorAt("Collection item expected", itemAt);
          Out += '\n';
          while (!R.EndOfList()) {
            Indent(level + 2);
            Out.append(Name(false));
            Out.append(" = ");
            ConvertValue(level + 2, depth + 1);
            Out += '\n';
          }
          NextByte();
          Indent(level + 1);
          Out.append("end");
        }
        NextByte();
        Out += '>';
        return;
      }
    }
  }

  void Rewind(size_t at) { R.SetPosition(at); }

  const char* Bytes(size_t n) {
    size_t at = R.Position();
    if (n > R.Remaining()) R.ErrorAt("Unexpected end of stream", at + R.Remaining());
    R.SetPosition(at + n);
    return Data + at;
  }

  template <class F>
  std::string Finite(F v, size_t at) {
    if (!std::isfinite(v)) R.ErrorAt("Floating point value is not finite", at);
    return FormatFloat(v);
  }

  static std::string CurrencyText(int64_t v) {
    uint64_t abs = v < 0 ? 0 - static_cast<uint64_t>(v) : static_cast<uint64_t>(v);
    std::string text = v < 0 ? "-" : "";
    text += std::to_string(abs / 10000);
    if (uint64_t frac = abs % 10000) {
      std::string digits = std::to_string(frac);
      digits.insert(0, 4 - digits.size(), '0');
      while (digits.back() == '0') digits.pop_back();
      text += '.';
      text += digits;
    }
    return text + 'c';
  }

  // A name as text writes it bare: identifiers joined by dots. Anything else would not read
  // back as the same name, so it is refused.
  std::string_view Name(bool mayBeEmpty) {
    size_t at = R.Position();
    std::string_view name = R.ReadStrView();
    if (name.empty() && mayBeEmpty) return name;
    bool ok = !name.empty();
    bool segmentStart = true;
    for (char c : name) {
      bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
      bool digit = c >= '0' && c <= '9';
      if (c == '.') {
        ok = ok && !segmentStart;
        segmentStart = true;
      } else {
        ok = ok && (letter || (digit && !segmentStart));
        segmentStart = false;
      }
    }
    if (!ok || segmentStart) R.ErrorAt("Invalid name '" + std::string(name) + "'", at);
    return name;
  }

  TReader R;
  const char* Data;
  std::string Out;
};

}  // namespace

std::string ObjectBinaryToText(std::string_view binary) {
  return TBinaryToText(binary).Run();
}

void ObjectBinaryToText(TStream& input, TStream& output) {
  output.WriteBuffer(ObjectBinaryToText(input.ReadAll()));
}

}  // namespace zelvar
