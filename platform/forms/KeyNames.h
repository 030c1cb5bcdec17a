#pragma once
// Keys by the names people write them in (scripts, a program's headless steps), and the key
// that types a character: one table, so every way of pressing a key by name agrees.

#include <cstdint>
#include <optional>
#include <string_view>

namespace zelvar {

// A key with the character it types (0 for none): a control character travels with the key
// down, a printable one as text input.
struct TKeyName {
  uint16_t Key = 0;
  char Char = 0;
};

// Left, Right, Up, Down, Tab, Enter, Escape, Space, Backspace, Delete, Home, End, PageUp,
// PageDown, Insert, F1…F12, a letter or a digit; any case.
std::optional<TKeyName> KeyByName(std::string_view name);
// The key that types c on a US keyboard (a line break is Enter), if one does; other
// characters are typed as text input alone, as an input method would.
std::optional<TKeyName> KeyForChar(char32_t c);
// Shift, Ctrl or Alt (any case) as its virtual key.
std::optional<uint16_t> ModifierKey(std::string_view name);

}  // namespace zelvar
