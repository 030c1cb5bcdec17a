// The words and names that the script runner and its command tables share.

#include "tools/ScriptSupport.h"

#include <gtest/gtest.h>

#include <memory>

#include "platform/controls/Controls.h"
#include "tests/TestSupport.h"
#include "tools/Script.h"

namespace zelvar::tool {
namespace {

using test::MessageOf;

TEST(ScriptSupport, KeysByNameLetterDigitAndFunctionNumber) {
  auto key = [](const char* name) {
    std::optional<TKeyName> k = ParseKey(name);
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

TEST(ScriptSupport, ModifiersInAnyCaseAndNothingElse) {
  EXPECT_EQ(ParseModifier("shift"), VK_SHIFT);
  EXPECT_EQ(ParseModifier("CTRL"), VK_CONTROL);
  EXPECT_EQ(ParseModifier("Alt"), VK_MENU);
  EXPECT_EQ(MessageOf<EScriptUsage>([] { ParseModifier("Win"); }),
            "'Win' is not Shift, Ctrl or Alt");
}

TEST(ScriptSupport, ColoursAreSixHexDigitsAfterAHash) {
  EXPECT_EQ(ParseColour("#00FF7f"), 0x00FF7Fu);
  EXPECT_EQ(ColourText(0x00FF7F), "#00FF7F");
  EXPECT_EQ(ColourText(0xAB123456), "#123456");  // the alpha byte is not part of the text
  for (const char* bad : {"", "00FF7F", "#FF00", "#FF00001", "#GG0000", "#+F0000", "# F0000"})
    EXPECT_EQ(MessageOf<EScriptUsage>([bad] { ParseColour(bad); }),
              "'" + std::string(bad) + "' is not a colour: write #RRGGBB")
        << bad;
}

TEST(ScriptSupport, IntegersAreWholeAndInRange) {
  EXPECT_EQ(ParseInt("-3"), -3);
  EXPECT_EQ(ParseInt("2147483647"), INT32_MAX);
  for (const char* bad : {"", "+1", " 1", "1.5", "0x10", "2147483648", "seven"})
    EXPECT_EQ(MessageOf<EScriptUsage>([bad] { ParseInt(bad); }),
              "'" + std::string(bad) + "' is not an integer")
        << bad;
}

TEST(ScriptSupport, PathsSplitAtTheFirstDot) {
  EXPECT_EQ(SplitPath("Zelvar1.BtnNext.Caption"),
            std::make_pair(std::string("Zelvar1"), std::string("BtnNext.Caption")));
  for (const char* bad : {"Caption", ".Caption", "Button1."})
    EXPECT_EQ(MessageOf<EScriptUsage>([bad] { SplitPath(bad); }),
              "'" + std::string(bad) + "' names no property: write NAME.PROPERTY")
        << bad;
}

TEST(ScriptSupport, ModalResultsByNameOrNumber) {
  EXPECT_EQ(ModalResultText(mrNone), "mrNone");
  EXPECT_EQ(ModalResultText(mrCancel), "mrCancel");
  EXPECT_EQ(ModalResultText(mrAll), "mrAll");
  EXPECT_EQ(ModalResultText(mrAll + 1), "9");
  EXPECT_EQ(ModalResultText(-1), "-1");
}

TEST(ScriptSupport, NamesAreFoundLevelFirstAndPredicatesDepthFirst) {
  // Root owns Panel (which owns a Dup) and then a Dup of its own.
  auto root = std::make_unique<TComponent>(nullptr);
  auto* panel = new TComponent(root.get());
  panel->SetName("Panel");
  auto* inner = new TComponent(panel);
  inner->SetName("Dup");
  auto* outer = new TComponent(root.get());
  outer->SetName("Dup");
  auto* unnamed = new TComponent(inner);

  EXPECT_EQ(FindComponentIn(root.get(), "dup"), outer);  // the owner's own first, any case
  EXPECT_EQ(FindComponentIn(root.get(), "Panel"), panel);
  EXPECT_EQ(FindComponentIn(root.get(), "Missing"), nullptr);
  auto named = [](const TComponent& c) { return c.Name() == "Dup"; };
  EXPECT_EQ(FindComponentWhere(root.get(), named), inner);  // into Panel before its sibling
  auto nameless = [](const TComponent& c) { return c.Name().empty(); };
  EXPECT_EQ(FindComponentWhere(root.get(), nameless), unnamed);
  EXPECT_EQ(FindComponentWhere(unnamed, nameless), nullptr);  // the owner itself is not asked

  EXPECT_EQ(FormName(*panel), "Panel");
  EXPECT_EQ(FormName(*unnamed), "TComponent");
}

}  // namespace
}  // namespace zelvar::tool
