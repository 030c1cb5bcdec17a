#include "platform/forms/KeyNames.h"

#include <cctype>
#include <charconv>
#include <utility>

#include "platform/controls/Controls.h"
#include "platform/core/Text.h"

namespace zelvar {

std::optional<TKeyName> KeyByName(std::string_view name) {
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

std::optional<uint16_t> ModifierKey(std::string_view name) {
  if (SameText(name, "Shift")) return VK_SHIFT;
  if (SameText(name, "Ctrl")) return VK_CONTROL;
  if (SameText(name, "Alt")) return VK_MENU;
  return std::nullopt;
}

}  // namespace zelvar
