// The property editors, each driven through its dialog as a developer would: cells selected
// and edited, buttons pressed, then OK or Cancel.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "controls/ZelvarC.h"
#include "design/Zelvar32.h"
#include "design/ZelvarP.h"
#include "platform/backends/Headless.h"
#include "platform/controls/Grids.h"
#include "platform/forms/Forms.h"
#include "tests/TestSupport.h"
#include "tests/platform/designer/DesignerSupport.h"

namespace zelvar::test {
namespace {

using ::testing::ElementsAre;

TStep Select(const std::string& grid, int32_t col, int32_t row) {
  return [=](TForm& dialog) { As<TCustomGrid>(dialog.FindComponent(grid))->SelectCell(col, row); };
}
TStep Type(const std::string& grid, int32_t col, int32_t row, const std::string& text) {
  return
      [=](TForm& dialog) { As<TStringGrid>(dialog.FindComponent(grid))->EditCell(col, row, text); };
}

class PropertyEditors : public ::testing::Test {
 protected:
  void SetUp() override {
    Register();
    Form.reset(New<TForm>(nullptr));
    Form->SetBounds(0, 0, 500, 400);
    Designer = std::make_unique<TFormDesigner>(*Form);
    Z = New<TZelvar>(Form.get());
    Z->SetParent(Form.get());
    Z->SetNumPages(3);
    Z->setPage(1);
    Box = New<TABox>(Form.get());
    Box->SetParent(Z);
    for (int32_t p = 0; p <= 3; ++p) Box->ShowContainer()->Record(p) = {p, 10 * p, p % 2};
  }
  void TearDown() override {
    Application().SetBackend(nullptr);
    Designer.reset();
    Form.reset();
  }
  // Runs a property's editor; the steps act on the dialog it shows, one per idle turn.
  void Edit(TPersistent* c, const char* prop, std::vector<TStep> steps) {
    RunWithSteps(std::move(steps), [&] {
      GetPropertyEditor(Designer.get(), {c}, *c->ClassInfo().FindProp(prop))->Edit();
    });
  }
  std::vector<TAposRec> Places() const { return Box->ShowContainer()->Records(); }

  std::unique_ptr<TForm> Form;
  std::unique_ptr<TFormDesigner> Designer;
  TZelvar* Z = nullptr;
  TABox* Box = nullptr;
};

TEST_F(PropertyEditors, CancelLeavesTheListsButStillUpdatesAndMarks) {
  std::vector<std::string> names = Z->PageNames()->ToVector();
  int marks = Designer->ModifiedCount();
  auto marked = [&] {
    bool more = Designer->ModifiedCount() > marks;
    marks = Designer->ModifiedCount();
    return more;
  };
  Edit(Z, "PageNames",
       {Select("PageList", 1, 3), Press("Button5"), Press("Button4"), Type("PageList", 1, 2, "x"),
        Press("Button6")});
  EXPECT_EQ(Z->PageNames()->ToVector(), names);
  EXPECT_TRUE(marked());
  Edit(Z, "BLWizard", {Select("LayoutGrid", 0, 2), Press("Button3"), Press("Button2")});
  EXPECT_THAT(Z->BLWizard()->Items(), ElementsAre(1, 2, 8, 3, 4, 5, 6));
  EXPECT_TRUE(marked());
  Edit(Box, "ShowContainer", {Select("ShowGrid", 0, 1), Press("Button1")});
  EXPECT_EQ(Places()[1], (TAposRec{1, 10, 1}));
  EXPECT_TRUE(marked());
  Edit(Z, "WayList", {Press("Button8"), Press("Button3")});
  EXPECT_EQ(Z->WayList()->EntryCount(), 0);
  EXPECT_TRUE(marked());
}

TEST_F(PropertyEditors, AnEmptyWayListOpensWithOneStepThatOKStores) {
  Edit(Z, "WayList", {Press("Button2")});
  ASSERT_EQ(Z->WayList()->EntryCount(), 1);
  EXPECT_EQ(Z->WayList()->Entry(0), (TPageRec{1, gpNext}));
  EXPECT_EQ(Z->WayList()->Count(), 1);
}

TEST_F(PropertyEditors, NewPagesGetEmptyPlacesAndRemovedOnesTakeTheirs) {
  // Add two pages, delete old page 2: pages 0, 1, 3, 4, 5.
  Edit(Z, "PageNames",
       {Press("Button5"), Press("Button5"), Select("PageList", 1, 3), Press("Button4"),
        Press("Button7")});
  EXPECT_EQ(Z->NumPages(), 4);
  EXPECT_EQ(Z->PageNames()->ToVector(),
            (std::vector<std::string>{"Dialog", "Page 1", "Page 3", "Page 4", "Page 5"}));
  EXPECT_THAT(Places(), ElementsAre(TAposRec{0, 0, 0}, TAposRec{1, 10, 1}, TAposRec{3, 30, 1},
                                    TAposRec{0, 0, 0}, TAposRec{0, 0, 0}));
  // Removing pages in the dialog does not ask the page-count question: no box appears, and
  // the one step left to run would fail the test if one did.
  Edit(Z, "PageNames", {Select("PageList", 1, 5), Press("Button4"), Press("Button7")});
  EXPECT_EQ(Z->NumPages(), 3);
  EXPECT_EQ(Places().size(), 4u);
}

TEST_F(PropertyEditors, TheLayoutEditorKeepsEveryButtonKind) {
  Edit(Z, "BLDialog",
       {Select("LayoutGrid", 0, 4), Press("Button5"), Press("Button5"), Select("LayoutGrid", 0, 0),
        Press("Button6"), Press("Button4"), Press("Button1")});
  EXPECT_THAT(Z->BLDialog()->Items(), ElementsAre(2, 1, 8, 3, 7, 7, 6));
}

TEST_F(PropertyEditors, AShortNameListGrowsToHoldEveryPageTheDialogShowed) {
  Z->PageNames()->Clear();
  Z->PageNames()->Add("Dialog");
  Z->PageNames()->Add("Start");
  Edit(Z, "PageNames",
       {Type("PageList", 1, 3, "Two"), Type("PageList", 1, 4, "Three"), Press("Button7")});
  EXPECT_EQ(Z->PageNames()->ToVector(),
            (std::vector<std::string>{"Dialog", "Start", "Two", "Three"}));
}

// Positions 1 to 4 show pages 1, 2, 3, 3; position 1 jumps to 4 and position 3 to 2.
TEST_F(PropertyEditors, TheWayListFollowsThePagesAndLosesTheStepsOfDeletedOnes) {
  TPageList& way = *Z->WayList();
  for (TPageRec rec : {TPageRec{1, 4}, TPageRec{2, gpNext}, TPageRec{3, 2}, TPageRec{3, gpFinish}})
    way.AddPage(rec);
  Z->SetWayListEnabled(true);
  Z->setPage(4);
  const int marks = Designer->ModifiedCount();
  // Delete page 2 and add one: the count stays 3, with pages 0, 1, 3 and the new 4.
  Edit(Z, "PageNames",
       {Select("PageList", 1, 3), Press("Button4"), Press("Button5"), Press("Button7")});
  EXPECT_GT(Designer->ModifiedCount(), marks);
  EXPECT_EQ(Z->NumPages(), 3);
  // Page 2's step is gone, old page 3 is now page 2, and the jump to the removed position 2
  // has become a plain Next.
  EXPECT_THAT(way.Entries(),
              ElementsAre(TPageRec{1, 3}, TPageRec{2, gpNext}, TPageRec{2, gpFinish}));
  EXPECT_EQ(way.Count(), 3);
  // The container followed its step from position 4 to 3.
  EXPECT_EQ(Z->Page(), 3);

  // Pages 1 and 2 change places, and their steps' numbers with them; nothing is removed.
  Edit(Z, "PageNames", {Select("PageList", 1, 3), Press("Button1"), Press("Button7")});
  EXPECT_THAT(way.Entries(),
              ElementsAre(TPageRec{2, 3}, TPageRec{1, gpNext}, TPageRec{1, gpFinish}));
}

TEST_F(PropertyEditors, TheDesignerIsToldEvenWhenTheUpdateFails) {
  Z->setPage(0);
  Z->OnPageChange = TPageChangeEvent([](TZelvar*, int32_t) { throw Exception("page refused"); });
  const int marks = Designer->ModifiedCount();
  EXPECT_EQ(MessageOf<Exception>([&] { Edit(Z, "BLWizard", {Press("Button1")}); }), "page refused");
  EXPECT_EQ(Designer->ModifiedCount(), marks + 1);
  Z->OnPageChange.Clear();
}

TEST_F(PropertyEditors, AnEmptyLayoutShowsNoRowAndOffersOnlyInsertSpace) {
  Z->BLDialog()->Clear();
  Z->BLDialog()->SetCount(0);
  auto grid = [](TForm& d) { return As<TDrawGrid>(d.FindComponent("LayoutGrid")); };
  auto enabled = [](TForm& d, const char* name) {
    return As<TControl>(d.FindComponent(name))->Enabled();
  };
  Edit(Z, "BLDialog",
       {[&](TForm& d) {
          EXPECT_EQ(grid(d)->RowCount(), 0);
          EXPECT_FALSE(enabled(d, "Button3"));  // Up
          EXPECT_FALSE(enabled(d, "Button4"));  // Down
          EXPECT_FALSE(enabled(d, "Button6"));  // Delete Space
          EXPECT_TRUE(enabled(d, "Button5"));
        },
        Press("Button4"), Press("Button5"),
        [&](TForm& d) {
          EXPECT_EQ(grid(d)->RowCount(), 1);
          EXPECT_TRUE(enabled(d, "Button4"));
          EXPECT_TRUE(enabled(d, "Button6"));
        },
        Press("Button4"), Press("Button3"), Press("Button6"),
        [&](TForm& d) {
          EXPECT_EQ(grid(d)->RowCount(), 0);
          EXPECT_FALSE(enabled(d, "Button6"));
        },
        Press("Button5"), Press("Button1")});
  EXPECT_THAT(Z->BLDialog()->Items(), ElementsAre(bcSpace));
}

TEST_F(PropertyEditors, PageSetsAreTypedAsTheirPageNumbers) {
  auto editor = [&](const char* prop) {
    return GetPropertyEditor(Designer.get(), {Z}, *Z->ClassInfo().FindProp(prop));
  };
  EXPECT_EQ(editor("SkipOnBack")->GetValue(), "");
  // Any order, any parting, each page once.
  editor("SkipOnBack")->SetValue("3,1  3");
  EXPECT_THAT(Z->SkipOnBack()->Items(), ElementsAre(1, 3));
  EXPECT_EQ(Z->SkipOnBack()->Count(), 2);
  EXPECT_EQ(editor("SkipOnBack")->GetValue(), "1, 3");
  // A page the wizard lacks, or no number, is refused by name and changes nothing.
  EXPECT_EQ(MessageOf<EPropertyError>([&] { editor("SkipOnBack")->SetValue("2, 4"); }),
            "SkipOnBack: page 4 does not exist (the pages are 1 to 3)");
  EXPECT_EQ(MessageOf<EPropertyError>([&] { editor("CommitPages")->SetValue("x"); }),
            "CommitPages: 'x' is not a page number");
  EXPECT_EQ(editor("SkipOnBack")->GetValue(), "1, 3");
  editor("SkipOnBack")->SetValue("");
  EXPECT_EQ(Z->SkipOnBack()->Count(), 0);
}

}  // namespace
}  // namespace zelvar::test
