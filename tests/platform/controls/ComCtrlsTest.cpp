#include "platform/controls/ComCtrls.h"

#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <string>

#include "platform/controls/Register.h"
#include "platform/graphics/Bitmap.h"
#include "platform/streaming/FormFiles.h"

namespace zelvar {
namespace {

struct TPages {
  std::unique_ptr<TTabSheet> Form{New<TTabSheet>(nullptr)};  // a windowed root for the test
  TPageControl* Pages = nullptr;
  TTabSheet* Sheet[3] = {};

  TPages() {
    Form->SetName("Root");
    Form->SetBounds(0, 0, 400, 300);
    Pages = New<TPageControl>(Form.get());
    Pages->SetName("Pages");
    Pages->SetParent(Form.get());
    Pages->SetBounds(10, 10, 300, 200);
    for (int i = 0; i < 3; ++i) {
      Sheet[i] = New<TTabSheet>(Form.get());
      Sheet[i]->SetName("Sheet" + std::to_string(i));
      Sheet[i]->SetCaption("Page " + std::to_string(i));
      Sheet[i]->SetPageControl(Pages);
    }
  }
  std::string Shown() const {
    std::string s;
    for (TTabSheet* t : Sheet)
      if (t && t->Visible()) s += t->Name();
    return s;
  }
};

TEST(PageControl, OnlyTheActiveSheetShowsInTheDisplayArea) {
  TPages p;
  EXPECT_EQ(p.Pages->PageCount(), 3);
  EXPECT_EQ(p.Pages->ActivePage(), p.Sheet[0]);
  EXPECT_EQ(p.Shown(), "Sheet0");
  p.Pages->SetActivePage(p.Sheet[2]);
  EXPECT_EQ(p.Shown(), "Sheet2");
  EXPECT_EQ(p.Pages->ActivePageIndex(), 2);
  EXPECT_EQ(p.Sheet[2]->BoundsRect(), p.Pages->DisplayRect());
  EXPECT_GE(p.Pages->DisplayRect().Top, p.Pages->TabRect(0).Bottom);
  // A resize keeps the sheet filling the display area.
  p.Pages->SetBounds(10, 10, 250, 150);
  EXPECT_EQ(p.Sheet[2]->BoundsRect(), p.Pages->DisplayRect());
  EXPECT_THROW(p.Pages->Pages(3), EListError);
  EXPECT_THROW(p.Pages->SetActivePageIndex(3), EListError);
  TPageControl other(nullptr);
  EXPECT_THROW(p.Pages->SetActivePage(New<TTabSheet>(p.Form.get())), EInvalidOperation);
  EXPECT_THROW(other.SetActivePage(p.Sheet[0]), EInvalidOperation);
}

TEST(PageControl, AClickOnATabSwitchesPagesAndTellsTheOwner) {
  TPages p;
  int changes = 0;
  bool allow = true;
  p.Pages->OnChange = TNotifyEvent([&](TObject*) { ++changes; });
  p.Pages->OnChanging = TTabChangingEvent([&](TObject*, bool& a) { a = allow; });
  TRect tab = p.Pages->TabRect(1);
  EXPECT_EQ(tab.Left, p.Pages->TabRect(0).Right);
  p.Pages->MouseDown(mbLeft, {}, (tab.Left + tab.Right) / 2, (tab.Top + tab.Bottom) / 2);
  EXPECT_EQ(p.Pages->ActivePage(), p.Sheet[1]);
  EXPECT_EQ(p.Shown(), "Sheet1");
  EXPECT_EQ(changes, 1);
  allow = false;
  tab = p.Pages->TabRect(2);
  p.Pages->MouseDown(mbLeft, {}, tab.Left + 3, tab.Bottom - 3);
  EXPECT_EQ(p.Pages->ActivePage(), p.Sheet[1]);
  EXPECT_EQ(changes, 1);
  // A hidden tab takes no clicks and the others close up.
  allow = true;
  p.Sheet[0]->SetTabVisible(false);
  EXPECT_TRUE(p.Pages->TabRect(0).Empty());
  EXPECT_EQ(p.Pages->IndexOfTabAt(p.Pages->TabRect(1).Left + 1, p.Pages->TabRect(1).Top + 3), 1);
  // Setting the page from code fires nothing.
  p.Pages->SetActivePage(p.Sheet[2]);
  EXPECT_EQ(changes, 1);
}

TEST(PageControl, DeletingTheActiveSheetLeavesAValidActivePage) {
  TPages p;
  p.Pages->SetActivePage(p.Sheet[1]);
  delete p.Sheet[1];
  p.Sheet[1] = nullptr;
  EXPECT_EQ(p.Pages->ActivePage(), p.Sheet[2]);
  EXPECT_EQ(p.Shown(), "Sheet2");
  delete p.Sheet[2];
  p.Sheet[2] = nullptr;
  EXPECT_EQ(p.Pages->ActivePage(), p.Sheet[0]);
  EXPECT_TRUE(p.Sheet[0]->Visible());
  // Moving the last sheet elsewhere leaves the control empty.
  p.Sheet[0]->SetParent(p.Form.get());
  EXPECT_EQ(p.Pages->ActivePage(), nullptr);
  EXPECT_EQ(p.Pages->PageCount(), 0);
  EXPECT_EQ(p.Sheet[0]->PageControl(), nullptr);
}

TEST(TabSheet, FormFilesRebuildThePagesInPageOrder) {
  RegisterControls();
  TPages p;
  p.Sheet[2]->SetPageIndex(0);
  p.Pages->SetActivePage(p.Sheet[1]);
  std::string bytes = WriteComponent(p.Form.get());
  std::unique_ptr<TComponent> copy(ReadComponent(bytes));
  auto* pages = As<TPageControl>(copy->FindComponent("Pages"));
  ASSERT_EQ(pages->PageCount(), 3);
  EXPECT_EQ(pages->Pages(0)->Name(), "Sheet2");
  EXPECT_EQ(pages->Pages(1)->Caption(), "Page 0");
  EXPECT_EQ(pages->ActivePage()->Name(), "Sheet1");
  EXPECT_TRUE(pages->ActivePage()->Visible());
  EXPECT_FALSE(pages->Pages(0)->Visible());
  EXPECT_EQ(WriteComponent(copy.get()), bytes);
}

TEST(PageControl, TheSheetFollowsTheStripWhenTheFontGrows) {
  TPages p;
  p.Pages->Font()->SetSize(24);
  EXPECT_EQ(p.Sheet[0]->BoundsRect(), p.Pages->DisplayRect());
  EXPECT_GE(p.Sheet[0]->Top(), p.Pages->TabRect(0).Bottom);
}

TEST(PageControl, ExtremeTabSizesStayInRange) {
  TPages p;
  for (int32_t v : {INT32_MIN, INT32_MAX}) {
    p.Pages->SetTabWidth(v);
    p.Pages->SetTabHeight(v);
    for (int32_t i = 0; i < 3; ++i) EXPECT_GE(p.Pages->TabRect(i).Right, p.Pages->TabRect(i).Left);
    TBitmap picture(400, 300);
    p.Form->PaintControl(picture, {0, 0}, Rect(0, 0, 400, 300));
    for (int32_t xy : {INT32_MIN, 0, 20, INT32_MAX}) {
      p.Pages->IndexOfTabAt(xy, 5);
      p.Pages->MouseDown(mbLeft, {}, xy, xy);
    }
  }
}

}  // namespace
}  // namespace zelvar
