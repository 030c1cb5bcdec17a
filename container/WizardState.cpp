// Writing and reading a wizard's saved state as INI keys.

#include "container/WizardState.h"

#include <string>

#include "platform/core/Exceptions.h"
#include "platform/core/SysUtils.h"

namespace zelvar {

namespace {

constexpr int32_t kVersion = 1;
// More is no form anybody made; the limit keeps a damaged file from costing memory.
constexpr int32_t kMaxValues = 100000;
constexpr int32_t kMaxHistory = 100000;
constexpr int32_t kMaxSize = 1 << 16;

std::string Quote(std::string_view text) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out = "\"";
  for (char ch : text) {
    const auto c = static_cast<unsigned char>(ch);
    switch (c) {
      case '\\':
        out += "\\\\";
        break;
      case '"':
        out += "\\\"";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (c < 0x20 || c == 0x7f) {
          out += "\\x";
          out += kHex[c >> 4];
          out += kHex[c & 15];
        } else {
          out += ch;
        }
    }
  }
  return out + '"';
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// The text of a quoted value (the file has already taken the outer quotes away, so what
// arrives is the inside); false for an escape that does not parse.
bool Unescape(std::string_view in, std::string& out) {
  out.clear();
  for (size_t i = 0; i < in.size(); ++i) {
    if (in[i] != '\\') {
      out += in[i];
      continue;
    }
    if (++i == in.size()) return false;
    switch (in[i]) {
      case '\\':
        out += '\\';
        break;
      case '"':
        out += '"';
        break;
      case 'n':
        out += '\n';
        break;
      case 'r':
        out += '\r';
        break;
      case 't':
        out += '\t';
        break;
      case 'x': {
        if (in.size() - i < 3) return false;
        const int hi = HexDigit(in[i + 1]), lo = HexDigit(in[i + 2]);
        if (hi < 0 || lo < 0) return false;
        out += static_cast<char>(hi * 16 + lo);
        i += 2;
        break;
      }
      default:
        return false;
    }
  }
  return true;
}

std::string Pair(int32_t a, int32_t b) {
  return IntToStr(a) + "," + IntToStr(b);
}

class TReader {
 public:
  TReader(const TIniFile& ini, std::string_view section) : FIni(ini), FSection(section) {}

  [[noreturn]] void Fail(std::string_view key, std::string_view why) const {
    throw EReadError("Wizard state [" + std::string(FSection) + "] of \"" + FIni.FileName() +
                     "\": " + std::string(key) + " " + std::string(why));
  }

  std::string Text(std::string_view key) const {
    if (!FIni.ValueExists(FSection, key)) Fail(key, "is missing");
    return FIni.ReadString(FSection, key, "");
  }

  int32_t Integer(std::string_view key) const {
    int32_t v = 0;
    if (!TryStrToInt(Text(key), v)) Fail(key, "is not an integer");
    return v;
  }

  std::vector<int32_t> Integers(std::string_view key, size_t limit) const {
    std::vector<int32_t> list;
    const std::string all = Text(key);
    std::string_view text = all;
    while (!text.empty()) {
      const size_t comma = text.find(',');
      int32_t v = 0;
      if (!TryStrToInt(Trim(text.substr(0, comma)), v))
        Fail(key, "holds an entry that is no integer");
      if (list.size() == limit) Fail(key, "holds too many entries");
      list.push_back(v);
      text = comma == std::string_view::npos ? std::string_view{} : text.substr(comma + 1);
    }
    return list;
  }

  void Size(std::string_view key, int32_t& width, int32_t& height) const {
    std::vector<int32_t> v = Integers(key, 2);
    if (v.size() != 2 || v[0] < 0 || v[1] < 0 || v[0] > kMaxSize || v[1] > kMaxSize)
      Fail(key, "is no width and height");
    width = v[0];
    height = v[1];
  }

  void Value(int32_t n, TInputValues& values) const {
    const std::string key = "Value" + IntToStr(n);
    const std::string line = Text(key);
    const size_t space1 = line.find(' ');
    const size_t space2 = space1 == std::string::npos ? space1 : line.find(' ', space1 + 1);
    if (space2 == std::string::npos) Fail(key, "is not NAME KIND \"TEXT\"");
    const std::string name = line.substr(0, space1);
    const std::string kindName = line.substr(space1 + 1, space2 - space1 - 1);
    std::string_view quoted = std::string_view(line).substr(space2 + 1);
    TInputValue value;
    const int kind = EnumTypeOf(TInputKind{}).ValueOf(kindName);
    if (name.empty() || kind < 0) Fail(key, "names no control and kind of value");
    value.Kind = static_cast<TInputKind>(kind);
    if (quoted.size() < 2 || quoted.front() != '"' || quoted.back() != '"' ||
        !Unescape(quoted.substr(1, quoted.size() - 2), value.Text))
      Fail(key, "has a value that is not one quoted text");
    if (!values.emplace(name, std::move(value)).second) Fail(key, "names " + name + " twice");
  }

 private:
  static std::string_view Trim(std::string_view s) {
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    return s;
  }

  const TIniFile& FIni;
  std::string_view FSection;
};

}  // namespace

TIniPairs WizardStatePairs(const TWizardState& state) {
  TIniPairs pairs;
  pairs.emplace_back("Version", IntToStr(kVersion));
  pairs.emplace_back("Page", IntToStr(state.Page));
  pairs.emplace_back("LastWizardPage", IntToStr(state.LastWizardPage));
  std::string history;
  for (int32_t p : state.History) history += (history.empty() ? "" : ",") + IntToStr(p);
  pairs.emplace_back("History", history);
  pairs.emplace_back("WizardSize", Pair(state.WizardWidth, state.WizardHeight));
  pairs.emplace_back("DialogSize", Pair(state.DialogWidth, state.DialogHeight));
  pairs.emplace_back("Values", IntToStr(static_cast<int32_t>(state.Values.size())));
  const TEnumTypeInfo& kinds = EnumTypeOf(TInputKind{});
  int32_t n = 0;
  for (const auto& [name, value] : state.Values)
    pairs.emplace_back("Value" + IntToStr(++n),
                       name + " " + kinds.NameOf(value.Kind) + " " + Quote(value.Text));
  return pairs;
}

TWizardState ReadWizardState(const TIniFile& ini, std::string_view section) {
  TReader r(ini, section);
  if (!ini.SectionExists(section))
    throw EReadError("\"" + ini.FileName() + "\" holds no wizard state [" + std::string(section) +
                     "]");
  if (r.Integer("Version") != kVersion) r.Fail("Version", "is not " + IntToStr(kVersion));
  TWizardState state;
  state.Page = r.Integer("Page");
  state.LastWizardPage = r.Integer("LastWizardPage");
  state.History = r.Integers("History", kMaxHistory);
  r.Size("WizardSize", state.WizardWidth, state.WizardHeight);
  r.Size("DialogSize", state.DialogWidth, state.DialogHeight);
  const int32_t count = r.Integer("Values");
  if (count < 0 || count > kMaxValues) r.Fail("Values", "is out of range");
  for (int32_t n = 1; n <= count; ++n) r.Value(n, state.Values);
  return state;
}

}  // namespace zelvar
