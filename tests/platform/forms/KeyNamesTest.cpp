// Keys by name, as scripts and a program's headless steps press them.

#include "platform/forms/KeyNames.h"

#include <gtest/gtest.h>

#include <utility>

#include "platform/controls/Controls.h"

namespace zelvar {
namespace {

TEST(KeyNames, NamedKeysLettersDigitsAndFunctionNumbers) {
  auto key = [](const char* name) {
    std::optional<TKeyName> k = KeyByName(name);
    return k ? std::make_pair(int{k->Key}, int{k->Char}) : std::make_pair(-1, -1);
  };
  EXPECT_EQ(key("Left"), std::make_pair(int{VK_LEFT}, 0));
  EXPECT_EQ(key("ENTER"), std::make_pair(int{VK_RETURN}, int{'\r'}));
  EXPECT_EQ(key("escape"), std::make_pair(int{VK_ESCAPE}, 27));
  EXPECT_EQ(key("Space"), std::make_pair(int{VK_SPACE}, int{' '}));
  // A letter is its upper-case key and types the lower-case letter, whichever case is named.
  EXPECT_EQ(key("q"), std::make_pair(int{'Q'}, int{'q'}));
  EXPECT_EQ(key("Q"), std::make_pair(int{'Q'}, int{'q'}));
  EXPECT_EQ(key("7"), std::make_pair(int{'7'}, int{'7'}));
  EXPECT_EQ(key("F1"), std::make_pair(int{VK_F1}, 0));
  EXPECT_EQ(key("f12"), std::make_pair(VK_F1 + 11, 0));
  for (const char* bad : {"", "F0", "F13", "F1x", "F-1", "ab", "%", "Shift"})
    EXPECT_EQ(key(bad), std::make_pair(-1, -1)) << bad;
}

TEST(KeyNames, CharactersAndModifiers) {
  EXPECT_EQ(KeyForChar('\n')->Key, VK_RETURN);
  EXPECT_EQ(KeyForChar('a')->Key, 'A');
  EXPECT_EQ(KeyForChar(' ')->Char, ' ');
  EXPECT_FALSE(KeyForChar(U'\u00e9'));  // typed as text alone
  EXPECT_EQ(ModifierKey("ctrl"), VK_CONTROL);
  EXPECT_FALSE(ModifierKey("Win"));
}

}  // namespace
}  // namespace zelvar
