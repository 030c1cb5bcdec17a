// What a screen reader hears of the wizard: the page change announced, page-bound controls
// coming and going as children, and the tabs of the tabbed style.

#include <gtest/gtest.h>

#include "controls/ZelvarC.h"
#include "platform/controls/Accessibility.h"
#include "tests/container/ContainerSupport.h"

namespace zelvar::test {
namespace {

class WizardAccessible : public ContainerTest {
 protected:
  void SetUp() override {
    ContainerTest::SetUp();
    Key = AccessibleHub().AddListener([this](const TAccessibleEvent& e) { Events.push_back(e); });
  }
  void TearDown() override {
    AccessibleHub().RemoveListener(Key);
    ContainerTest::TearDown();
  }
  std::vector<TAccessibleEvent> Of(TAccessibleEventKind kind) const {
    std::vector<TAccessibleEvent> out;
    for (const TAccessibleEvent& e : Events)
      if (e.Kind == kind) out.push_back(e);
    return out;
  }

  std::vector<TAccessibleEvent> Events;
  int32_t Key = 0;
};

TEST_F(WizardAccessible, APageChangeIsAnnouncedWithItsPositionAndName) {
  Z->setPage(1);
  auto* names = new TStringList;
  for (const char* n : {"Settings", "Welcome", "Licence"}) names->Add(n);
  Z->setpagenames(names);
  delete names;
  Events.clear();
  Z->setPage(2);
  std::vector<TAccessibleEvent> said = Of(aeAnnouncement);
  ASSERT_EQ(said.size(), 1u);
  EXPECT_EQ(said[0].Text, "Step 2 of 3: Licence");
  EXPECT_EQ(said[0].Node, TAccessibleNode{Z});
  // A page without a name says where it is; the dialog page says its name.
  Z->setPage(3);
  Z->setPage(0);
  said = Of(aeAnnouncement);
  ASSERT_EQ(said.size(), 3u);
  EXPECT_EQ(said[1].Text, "Step 3 of 3");
  EXPECT_EQ(said[2].Text, "Settings");
  // Asking for the page shown changes nothing and says nothing.
  Z->setPage(0);
  EXPECT_EQ(Of(aeAnnouncement).size(), 3u);
}

TEST_F(WizardAccessible, PageBoundControlsLeaveAndJoinTheTreeWithTheirPage) {
  RegisterZelvarC();
  Z->setPage(1);
  auto* panel = New<TAPanel>(Form.get());
  panel->SetParent(Z);
  Z->Place(panel, 2, {10, 10, 110, 60});
  EXPECT_EQ(AccessibleIndex({panel}), -1);
  Events.clear();
  Z->Nextclick(nullptr);
  ASSERT_EQ(Z->Page(), 2);
  std::vector<TAccessibleEvent> added = Of(aeChildAdded);
  ASSERT_EQ(added.size(), 1u);
  EXPECT_EQ(added[0].Node, TAccessibleNode{Z});
  EXPECT_EQ(added[0].Child, TAccessibleNode{panel});
  // The index is the one the panel had as it showed: the bar's buttons are laid out after it.
  EXPECT_GE(added[0].Index, 0);
  EXPECT_GE(AccessibleIndex({panel}), 0);
  Events.clear();
  Z->Backclick(nullptr);
  std::vector<TAccessibleEvent> removed = Of(aeChildRemoved);
  ASSERT_EQ(removed.size(), 1u);
  EXPECT_EQ(removed[0].Child, TAccessibleNode{panel});
  EXPECT_GE(removed[0].Index, 0);
  EXPECT_EQ(AccessibleIndex({panel}), -1);
}

TEST_F(WizardAccessible, TheTabbedStyleIsATabListWhoseTabsChangeThePage) {
  Z->setPage(1);
  Z->SetStyle(asTabbed);
  EXPECT_EQ(DescribeNode({Z}).Role, arPageTabList);
  std::vector<TAccessibleNode> children = AccessibleChildren({Z});
  ASSERT_GE(children.size(), 3u);
  EXPECT_EQ(DescribeNode(children[0]).Role, arPageTab);
  EXPECT_TRUE(DescribeNode(children[0]).States.Contains(astSelected));
  DoAccessibleAction(children[2], 0);
  EXPECT_EQ(Z->Page(), 3);
  EXPECT_TRUE(DescribeNode(children[2]).States.Contains(astSelected));
  Z->SetStyle(asWizard);
  EXPECT_EQ(DescribeNode({Z}).Role, arPanel);
}

// Selecting a tab is a click on it: the wizard's rules decide, and a refused change leaves the
// tab unselected.
TEST_F(WizardAccessible, SelectingATabAsksTheWizardLikeAClick) {
  Z->setPage(1);
  Z->SetStyle(asTabbed);
  ASSERT_TRUE(OffersAccessibleSelection({Z}));
  EXPECT_TRUE(SelectAccessibleChild({Z}, 1));
  EXPECT_EQ(Z->Page(), 2);
  EXPECT_EQ(AccessibleSelectedChildren({Z}), std::vector<int32_t>{1});
  int asked = 0;
  Z->OnCanPageChange = TCanPageChangeEvent([&](TZelvar*, int32_t, int32_t&) {
    ++asked;
    return false;
  });
  EXPECT_FALSE(SelectAccessibleChild({Z}, 2));
  EXPECT_EQ(asked, 1);
  EXPECT_EQ(Z->Page(), 2);
  EXPECT_FALSE(ClearAccessibleSelection({Z}));
}

}  // namespace
}  // namespace zelvar::test
