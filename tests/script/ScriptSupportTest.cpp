// The words and names that the script runner and its command tables share.

#include "script/ScriptSupport.h"

#include <gtest/gtest.h>

#include "platform/controls/Controls.h"
#include "script/Script.h"
#include "tests/TestSupport.h"

namespace zelvar::script {
namespace {

using test::MessageOf;

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

}  // namespace
}  // namespace zelvar::script
