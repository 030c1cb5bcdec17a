#include "platform/controls/ComCtrls.h"

#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <string>

#include "platform/controls/Image.h"
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

void FillQuad(TBitmap& b) {
  b.SetSize(2, 2);
  b.Canvas()->SetPixel(0, 0, clRed);
  b.Canvas()->SetPixel(1, 0, clBlue);
  b.Canvas()->SetPixel(0, 1, clLime);
  b.Canvas()->SetPixel(1, 1, clYellow);
}

TEST(Image, PictureDataSurvivesFormFiles) {
  RegisterControls();
  auto root = std::unique_ptr<TTabSheet>(New<TTabSheet>(nullptr));
  root->SetName("Root");
  auto* image = New<TImage>(root.get());
  image->SetName("Image1");
  image->SetParent(root.get());
  TBitmap quad;
  FillQuad(quad);
  image->Picture()->Assign(&quad);
  image->SetStretch(true);
  std::string bytes = WriteComponent(root.get());
  // The classic layout: the class name as a short string, then the bitmap's own block.
  size_t at = bytes.find("\x07TBitmap");
  ASSERT_NE(at, std::string::npos);
  const auto* len = reinterpret_cast<const unsigned char*>(bytes.data() + at + 8);
  uint32_t n = len[0] | len[1] << 8 | len[2] << 16 | static_cast<uint32_t>(len[3]) << 24;
  EXPECT_EQ(bytes.substr(at + 12, 2), "BM");
  EXPECT_LE(at + 12 + n, bytes.size());
  for (TFormFormat format : {TFormFormat::Binary, TFormFormat::Text}) {
    std::unique_ptr<TComponent> copy(ReadComponent(WriteComponent(root.get(), format)));
    auto* read = As<TImage>(copy->FindComponent("Image1"));
    EXPECT_TRUE(read->Stretch());
    ASSERT_EQ(read->Picture()->Width(), 2);
    EXPECT_EQ(read->Picture()->Bitmap()->Image(), quad.Image());
  }
  EXPECT_THROW(ReadComponent(std::string(bytes).replace(at + 1, 7, "TIconXX")), EReadError);
}

TEST(Image, StretchScalesAndCenterCentres) {
  TImage image(nullptr);
  image.SetBounds(0, 0, 20, 10);
  TBitmap quad;
  FillQuad(quad);
  image.Picture()->Assign(&quad);
  auto paint = [&] {
    auto b = std::make_unique<TBitmap>(20, 10);
    b->Canvas()->Brush()->SetColor(clWhite);
    b->Canvas()->FillRect(Rect(0, 0, 20, 10));
    image.PaintControl(*b, {0, 0}, Rect(0, 0, 20, 10));
    return b;
  };
  image.SetStretch(true);
  auto s = paint();
  EXPECT_EQ(s->Canvas()->Pixel(9, 4), clRed);
  EXPECT_EQ(s->Canvas()->Pixel(10, 4), clBlue);
  EXPECT_EQ(s->Canvas()->Pixel(0, 5), clLime);
  EXPECT_EQ(s->Canvas()->Pixel(19, 9), clYellow);
  image.SetStretch(false);
  image.SetCenter(true);
  auto c = paint();
  EXPECT_EQ(c->Canvas()->Pixel(9, 4), clRed);
  EXPECT_EQ(c->Canvas()->Pixel(10, 5), clYellow);
  EXPECT_EQ(c->Canvas()->Pixel(8, 4), clWhite);
  image.SetAutoSize(true);
  EXPECT_EQ(image.Width(), 2);
  EXPECT_EQ(image.Height(), 2);
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
