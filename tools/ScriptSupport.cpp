#include "tools/ScriptSupport.h"

#include <cctype>
#include <charconv>
#include <cstdio>

#include "platform/controls/Controls.h"
#include "platform/core/Text.h"
#include "tools/Script.h"

namespace zelvar::tool {

TComponent* FindComponentIn(const TComponent* owner, std::string_view name) {
  if (TComponent* c = owner->FindComponent(name)) return c;
  for (int i = 0; i < owner->GetComponentCount(); ++i)
    if (TComponent* c = FindComponentIn(owner->GetComponent(i), name)) return c;
  return nullptr;
}

std::string FormName(const TComponent& c) {
  return c.Name().empty() ? c.ClassName() : c.Name();
}

std::string ModalResultText(int32_t result) {
  static const char* const names[] = {"mrNone",   "mrOk",  "mrCancel", "mrAbort", "mrRetry",
                                      "mrIgnore", "mrYes", "mrNo",     "mrAll"};
  if (result >= 0 && result <= mrAll) return names[result];
  return std::to_string(result);
}

int32_t ParseInt(const std::string& word) {
  int32_t v = 0;
  const char* end = word.data() + word.size();
  auto [p, ec] = std::from_chars(word.data(), end, v);
  if (word.empty() || ec != std::errc() || p != end)
    throw EScriptUsage("'" + word + "' is not an integer");
  return v;
}

std::pair<std::string, std::string> SplitPath(const std::string& path) {
  size_t dot = path.find('.');
  if (dot == std::string::npos || dot == 0 || dot + 1 == path.size())
    throw EScriptUsage("'" + path + "' names no property: write NAME.PROPERTY");
  return {path.substr(0, dot), path.substr(dot + 1)};
}

std::optional<TKeyName> ParseKey(const std::string& name) {
  static const std::pair<const char*, TKeyName> named[] = {
      {"Left", {VK_LEFT, 0}},      {"Right", {VK_RIGHT, 0}},   {"Up", {VK_UP, 0}},
      {"Down", {VK_DOWN, 0}},      {"Tab", {VK_TAB, '\t'}},    {"Enter", {VK_RETURN, '\r'}},
      {"Escape", {VK_ESCAPE, 27}}, {"Space", {VK_SPACE, ' '}}, {"Backspace", {VK_BACK, '\b'}},
      {"Delete", {VK_DELETE, 0}},  {"Home", {VK_HOME, 0}},     {"End", {VK_END, 0}},
      {"PageUp", {VK_PRIOR, 0}},   {"PageDown", {VK_NEXT, 0}}, {"Insert", {VK_INSERT, 0}},
  };
  for (const auto& [n, k] : named)
    if (SameText(name, n)) return k;
  if (name.size() == 1) {
    char c = name[0];
    if (std::isalpha(static_cast<unsigned char>(c)))
      return TKeyName{static_cast<uint16_t>(UpperChar(c)), LowerChar(c)};
    if (std::isdigit(static_cast<unsigned char>(c))) return TKeyName{static_cast<uint16_t>(c), c};
  }
  if (name.size() >= 2 && (name[0] == 'F' || name[0] == 'f')) {
    int n = 0;
    const char* end = name.data() + name.size();
    auto [p, ec] = std::from_chars(name.data() + 1, end, n);
    if (ec == std::errc() && p == end && n >= 1 && n <= 12)
      return TKeyName{static_cast<uint16_t>(VK_F1 + n - 1), 0};
  }
  return std::nullopt;
}

std::optional<TKeyName> KeyForChar(char32_t c) {
  if (c == '\n' || c == '\r') return TKeyName{VK_RETURN, '\r'};
  if (c == '\t') return TKeyName{VK_TAB, '\t'};
  if (c == '\b') return TKeyName{VK_BACK, '\b'};
  if (c > 0x7F) return std::nullopt;
  char ch = static_cast<char>(c);
  if (ch == ' ') return TKeyName{VK_SPACE, ' '};
  if (std::isalpha(static_cast<unsigned char>(ch)))
    return TKeyName{static_cast<uint16_t>(UpperChar(ch)), ch};
  if (std::isdigit(static_cast<unsigned char>(ch))) return TKeyName{static_cast<uint16_t>(ch), ch};
  return std::nullopt;
}

uint16_t ParseModifier(const std::string& name) {
  if (SameText(name, "Shift")) return VK_SHIFT;
  if (SameText(name, "Ctrl")) return VK_CONTROL;
  if (SameText(name, "Alt")) return VK_MENU;
  throw EScriptUsage("'" + name + "' is not Shift, Ctrl or Alt");
}

std::string ColourText(uint32_t rgb) {
  char buf[8];
  std::snprintf(buf, sizeof buf, "#%06X", static_cast<unsigned>(rgb & 0xFFFFFF));
  return buf;
}

uint32_t ParseColour(const std::string& word) {
  uint32_t v = 0;
  const char* end = word.data() + word.size();
  if (word.size() == 7 && word[0] == '#') {
    auto [p, ec] = std::from_chars(word.data() + 1, end, v, 16);
    if (ec == std::errc() && p == end) return v;
  }
  throw EScriptUsage("'" + word + "' is not a colour: write #RRGGBB");
}

}  // namespace zelvar::tool
