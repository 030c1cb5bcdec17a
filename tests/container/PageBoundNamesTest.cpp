#include "container/PageBoundNames.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "platform/core/TypInfo.h"
#include "tests/container/ContainerSupport.h"

namespace zelvar::test {
namespace {

using ::testing::Optional;

// Not a jump radio button, but it publishes what the container reads of one.
class TJumpChoice : public TComponent {
  ZELVAR_CLASS(TJumpChoice, TComponent)

 public:
  using TComponent::TComponent;
  int32_t FJumpPage = 0;
  TJumpMode FJumpMode = jmAbsolut;
  bool FChecked = false;
  bool FEnabled = true;
};

// Publishes the names, but its page is text and not a page number.
class TTextJump : public TJumpChoice {
  ZELVAR_CLASS(TTextJump, TJumpChoice)

 public:
  explicit TTextJump(TComponent* owner) : TJumpChoice(owner) { FChecked = true; }
  std::string FJumpText = "3";
};

const TClassInfo& TJumpChoice::StaticClassInfo() {
  static const auto info =
      TClassBuilder<TJumpChoice>("TJumpChoice")
          .Property("JumpPage", &TJumpChoice::FJumpPage, &TJumpChoice::FJumpPage)
          .Property("JumpMode", &TJumpChoice::FJumpMode, &TJumpChoice::FJumpMode)
          .Property("Checked", &TJumpChoice::FChecked, &TJumpChoice::FChecked)
          .Property("Enabled", &TJumpChoice::FEnabled, &TJumpChoice::FEnabled)
          .Build();
  return *info;
}

const TClassInfo& TTextJump::StaticClassInfo() {
  static const auto info = TClassBuilder<TTextJump>("TTextJump")
                               .Property("JumpPage", &TTextJump::FJumpText, &TTextJump::FJumpText)
                               .Build();
  return *info;
}

TEST(PageBoundNames, JumpTargetsAreAbsoluteOrRelativeAndNeverOverflow) {
  EXPECT_EQ(JumpTarget(jmAbsolut, 4, 2), 4);
  EXPECT_EQ(JumpTarget(jmAbsolut, -1, 2), -1);
  EXPECT_EQ(JumpTarget(jmRelativ, 2, 3), 5);
  EXPECT_EQ(JumpTarget(jmRelativ, -2, 3), 1);
  EXPECT_EQ(JumpTarget(jmRelativ, INT32_MAX, 1), -1);
  EXPECT_EQ(JumpTarget(jmRelativ, INT32_MIN, -1), -1);
  EXPECT_EQ(JumpTarget(jmRelativ, INT32_MAX, 0), INT32_MAX);
}

TEST(PageBoundNames, ClassesTakePartByWhatTheyPublish) {
  EXPECT_TRUE(TJumpRoles(TJumpChoice::StaticClassInfo()).TakesPart());
  EXPECT_FALSE(TJumpRoles(TTextJump::StaticClassInfo()).TakesPart());
  EXPECT_FALSE(TJumpRoles(TPageProbe::StaticClassInfo()).TakesPart());

  const TPlaceRoles probe(TPageProbe::StaticClassInfo());
  EXPECT_NE(probe.Method, nullptr);
  EXPECT_NE(probe.Invoke, nullptr);
  EXPECT_EQ(probe.AposList, nullptr);
  const TPlaceRoles misshapen(TMisshapenProbe::StaticClassInfo());
  EXPECT_NE(misshapen.Method, nullptr);
  EXPECT_EQ(misshapen.Invoke, nullptr);  // called through the checked path, which raises
  EXPECT_EQ(TNumAposMethod(TMisshapenProbe::StaticClassInfo()).Method, nullptr);
}

TEST_F(ContainerTest, AnyClassThatPublishesTheJumpNamesChoosesWhereNextLeads) {
  Z->SetNumPages(6);
  Z->setPage(2);
  New<TTextJump>(Form.get());  // checked, but its page is text: passed over
  auto* choice = New<TJumpChoice>(Form.get());
  choice->FJumpPage = 5;
  const TJumpRoles roles(choice->ClassInfo());
  EXPECT_EQ(roles.Choice(*choice, 2), std::nullopt);  // not checked
  EXPECT_EQ(Z->getjumppage(), 3);
  choice->FChecked = true;
  EXPECT_THAT(roles.Choice(*choice, 2), Optional(5));
  EXPECT_EQ(Z->getjumppage(), 5);
  choice->FJumpMode = jmRelativ;
  choice->FJumpPage = 3;
  EXPECT_EQ(Z->getjumppage(), 5);
  choice->FEnabled = false;
  EXPECT_EQ(Z->getjumppage(), 3);
  choice->FEnabled = true;
  // Without ButtonMode it cannot be switched on in the designer: there it is inert.
  Form->SetDesigning(true);
  EXPECT_EQ(roles.Choice(*choice, 2), std::nullopt);
  EXPECT_EQ(Z->getjumppage(), 3);
}

}  // namespace
}  // namespace zelvar::test
