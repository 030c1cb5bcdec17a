#include "platform/controls/ListBox.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/controls/Register.h"
#include "platform/streaming/FormFiles.h"
#include "tests/platform/controls/ControlsSupport.h"

namespace zelvar {
namespace {

using test::Middle;
using test::Sys;

// A list box on a stand-in form, counting its clicks.
struct TBoxOnForm {
  test::TStdTestForm Form{nullptr};
  TListBox* Box = test::Make<TListBox>(&Form, 10, 10);
  int Clicks = 0;
  explicit TBoxOnForm(std::vector<std::string> items = {}) {
    for (const auto& s : items) Box->Items()->Add(s);
    Box->OnClick = TNotifyEvent([this](TObject*) { ++Clicks; });
    Box->SetFocus();
  }
  void Key(uint16_t key, TShiftState shift = {}) {
    uint16_t k = key;
    Box->KeyDown(k, shift);
  }
  void Type(char32_t c) { Box->KeyPress(c); }
  void Click(int32_t index, TShiftState shift = {}) {
    const TPoint p = Middle(Box->ItemRect(index));
    Box->MouseDown(mbLeft, shift, p.X, p.Y);
    Box->MouseUp(mbLeft, shift, p.X, p.Y);
  }
  std::vector<int32_t> Selection() const {
    std::vector<int32_t> out;
    for (int32_t i = 0; i < Box->Count(); ++i)
      if (Box->Selected(i)) out.push_back(i);
    return out;
  }
};

std::vector<std::string> Numbered(int n) {
  std::vector<std::string> out;
  for (int i = 0; i < n; ++i) out.push_back("Item " + std::to_string(i));
  return out;
}

TEST(ListBox, AnIndexOutsideTheItemsIsAListErrorNamingIt) {
  TBoxOnForm f({"a", "b", "c"});
  auto message = [](auto&& call) {
    try {
      call();
    } catch (const EListError& e) {
      return std::string(e.what());
    }
    return std::string("no error");
  };
  EXPECT_NE(message([&] { f.Box->SetItemIndex(3); }).find("(3)"), std::string::npos);
  EXPECT_NE(message([&] { f.Box->SetItemIndex(-2); }).find("(-2)"), std::string::npos);
  EXPECT_NE(message([&] { f.Box->Selected(7); }).find("(7)"), std::string::npos);
  EXPECT_NE(message([&] { f.Box->SetSelected(-1, true); }).find("(-1)"), std::string::npos);
  EXPECT_EQ(f.Box->ItemIndex(), -1);
  f.Box->SetItemIndex(2);
  f.Box->SetItemIndex(-1);
  EXPECT_EQ(f.Selection(), std::vector<int32_t>{});
  EXPECT_EQ(f.Clicks, 0);  // setting from code is quiet
}

TEST(ListBox, ASortedBoxKeepsItsItemsInOrderAndItemIndexFollowsTheItem) {
  TBoxOnForm f({"pear", "Apple", "fig"});
  f.Box->SetItemIndex(0);  // pear
  f.Box->SetSorted(true);
  EXPECT_EQ(f.Box->Items()->ToVector(), (std::vector<std::string>{"Apple", "fig", "pear"}));
  EXPECT_EQ(f.Box->ItemIndex(), 2);
  f.Box->Items()->Add("banana");
  f.Box->Items()->Insert(0, "zucchini");  // a sorted box puts it in its place
  EXPECT_EQ(f.Box->Items()->ToVector(),
            (std::vector<std::string>{"Apple", "banana", "fig", "pear", "zucchini"}));
  EXPECT_EQ(f.Box->ItemIndex(), 3);
  EXPECT_TRUE(f.Box->Selected(3));
  f.Box->Items()->Put(3, "avocado");  // renamed, it moves, and stays current
  EXPECT_EQ(f.Box->Items()->Get(1), "avocado");
  EXPECT_EQ(f.Box->ItemIndex(), 1);
  f.Box->Items()->Delete(0);
  EXPECT_EQ(f.Box->ItemIndex(), 0);
  f.Box->Items()->Delete(0);  // the current item goes: none is current
  EXPECT_EQ(f.Box->ItemIndex(), -1);
  EXPECT_EQ(f.Box->SelCount(), 0);
}

TEST(ListBox, KeysMoveTheSelectionAndClick) {
  TBoxOnForm f(Numbered(30));
  const int32_t rows = f.Box->VisibleRows();
  ASSERT_GT(rows, 2);
  f.Key(VK_DOWN);
  EXPECT_EQ(f.Box->ItemIndex(), 0);
  f.Key(VK_DOWN);
  f.Key(VK_DOWN);
  f.Key(VK_UP);
  EXPECT_EQ(f.Box->ItemIndex(), 1);
  f.Key(VK_NEXT);
  EXPECT_EQ(f.Box->ItemIndex(), 1 + rows - 1);
  f.Key(VK_END);
  EXPECT_EQ(f.Box->ItemIndex(), 29);
  EXPECT_EQ(f.Box->TopIndex(), 30 - rows);  // scrolled so the item shows, box full
  f.Key(VK_DOWN);                           // at the end: nothing changes, no click
  f.Key(VK_HOME);
  EXPECT_EQ(f.Box->ItemIndex(), 0);
  EXPECT_EQ(f.Box->TopIndex(), 0);
  EXPECT_EQ(f.Clicks, 7);
  EXPECT_EQ(f.Selection(), std::vector<int32_t>{0});
}

TEST(ListBox, TypingALetterCyclesThroughTheItemsStartingWithIt) {
  TBoxOnForm f({"Banana", "apple", "blueberry", "Cherry", "bilberry"});
  f.Type('b');
  EXPECT_EQ(f.Box->ItemIndex(), 0);
  f.Type('B');
  EXPECT_EQ(f.Box->ItemIndex(), 2);
  f.Type('b');
  EXPECT_EQ(f.Box->ItemIndex(), 4);
  f.Type('b');
  EXPECT_EQ(f.Box->ItemIndex(), 0);
  f.Type('x');  // no item: stays
  EXPECT_EQ(f.Box->ItemIndex(), 0);
  f.Type('a');
  EXPECT_EQ(f.Box->ItemIndex(), 1);
}

TEST(ListBox, MultiSelectTogglesByClickAndSpace) {
  TBoxOnForm f(Numbered(5));
  f.Box->SetMultiSelect(true);
  f.Box->SetExtendedSelect(false);
  f.Click(1);
  f.Click(3);
  EXPECT_EQ(f.Selection(), (std::vector<int32_t>{1, 3}));
  f.Click(1);
  EXPECT_EQ(f.Selection(), std::vector<int32_t>{3});
  f.Key(VK_DOWN);  // moves the focus only
  EXPECT_EQ(f.Box->ItemIndex(), 2);
  f.Key(VK_SPACE);
  EXPECT_EQ(f.Selection(), (std::vector<int32_t>{2, 3}));
  EXPECT_EQ(f.Box->SelCount(), 2);
  f.Box->SetMultiSelect(false);  // one selected item again: the current one
  EXPECT_EQ(f.Selection(), std::vector<int32_t>{2});
}

TEST(ListBox, ExtendedSelectTakesCtrlAndShiftClicksAndDrags) {
  TBoxOnForm f(Numbered(8));
  f.Box->SetHeight(200);  // every item shows
  f.Box->SetMultiSelect(true);
  f.Click(2);
  f.Click(5, {ssShift});
  EXPECT_EQ(f.Selection(), (std::vector<int32_t>{2, 3, 4, 5}));
  f.Click(7, {ssCtrl});
  f.Click(3, {ssCtrl});
  EXPECT_EQ(f.Selection(), (std::vector<int32_t>{2, 4, 5, 7}));
  f.Click(1, {ssShift});  // from the last Ctrl+click
  EXPECT_EQ(f.Selection(), (std::vector<int32_t>{1, 2, 3}));
  f.Click(6);
  EXPECT_EQ(f.Selection(), std::vector<int32_t>{6});
  f.Key(VK_UP, {ssShift});
  f.Key(VK_UP, {ssShift});
  EXPECT_EQ(f.Selection(), (std::vector<int32_t>{4, 5, 6}));

  const TPoint from = Middle(f.Box->ItemRect(1));
  const TPoint to = Middle(f.Box->ItemRect(3));
  f.Box->MouseDown(mbLeft, {}, from.X, from.Y);
  f.Box->MouseMove({ssLeft}, to.X, to.Y);
  f.Box->MouseUp(mbLeft, {}, to.X, to.Y);
  EXPECT_EQ(f.Selection(), (std::vector<int32_t>{1, 2, 3}));
  EXPECT_EQ(f.Box->ItemIndex(), 3);
}

TEST(ListBox, ABarShowsWhenItemsOverflowAndScrollsThem) {
  TBoxOnForm f(Numbered(3));
  EXPECT_TRUE(f.Box->ScrollBar().Bounds().Empty());
  const TRect wide = f.Box->ItemsArea();
  for (const auto& s : Numbered(40)) f.Box->Items()->Add(s);
  const TScrollBarPart& bar = f.Box->ScrollBar();
  ASSERT_FALSE(bar.Bounds().Empty());
  EXPECT_EQ(f.Box->ItemsArea().Right, wide.Right - ScrollBarWidth());
  const int32_t last = 43 - f.Box->VisibleRows();

  const TPoint down = Middle(bar.Layout().More);
  f.Box->MouseDown(mbLeft, {}, down.X, down.Y);
  f.Box->MouseUp(mbLeft, {}, down.X, down.Y);
  EXPECT_EQ(f.Box->TopIndex(), 1);
  EXPECT_EQ(f.Clicks, 0);  // scrolling is no click on an item
  EXPECT_EQ(f.Box->ItemIndex(), -1);
  const TRect track = bar.Layout().Track;
  f.Box->MouseDown(mbLeft, {}, down.X, track.Bottom - 1);
  f.Box->MouseUp(mbLeft, {}, down.X, track.Bottom - 1);
  EXPECT_EQ(f.Box->TopIndex(), 1 + f.Box->VisibleRows() - 1);
  // The thumb dragged to the bottom shows the last item.
  const TPoint grab = Middle(bar.Layout().Thumb);
  f.Box->MouseDown(mbLeft, {}, grab.X, grab.Y);
  f.Box->MouseMove({ssLeft}, grab.X, grab.Y + 1000);
  f.Box->MouseUp(mbLeft, {}, grab.X, grab.Y + 1000);
  EXPECT_EQ(f.Box->TopIndex(), last);
  EXPECT_EQ(bar.Position(), last);
  EXPECT_EQ(f.Box->ItemAtPos(5, f.Box->ItemsArea().Top), last);
  // The wheel scrolls three lines a notch and leaves the selection alone.
  f.Box->SetItemIndex(last);
  EXPECT_TRUE(f.Box->DoMouseWheel({}, 2 * WHEEL_DELTA, {5, 5}));
  EXPECT_EQ(f.Box->TopIndex(), last - 2 * kWheelScrollLines);
  EXPECT_EQ(f.Box->ItemIndex(), last);
  f.Box->DoMouseWheel({}, 100 * WHEEL_DELTA, {5, 5});
  EXPECT_EQ(f.Box->TopIndex(), 0);
  // Fewer items again: the bar goes and the box is full from the top.
  f.Box->Items()->SetText("one\ntwo");
  EXPECT_TRUE(bar.Bounds().Empty());
  EXPECT_EQ(f.Box->TopIndex(), 0);
}

TEST(ListBox, PaintsItemsAtTheFontsLineHeightWithTheSelectionHighlighted) {
  TBoxOnForm f({"one", "two", "three"});
  TCanvas measure(nullptr);
  measure.Font()->Assign(f.Box->Font());
  const int32_t h = measure.TextHeight("0");
  EXPECT_EQ(f.Box->ItemHeight(), h);
  const TRect area = f.Box->ItemsArea();
  EXPECT_EQ(f.Box->ItemRect(1), Rect(area.Left, area.Top + h, area.Right, area.Top + 2 * h));
  f.Box->SetItemIndex(1);
  test::TShot shot(f.Form, *f.Box);
  EXPECT_EQ(shot(0, 0), Sys(clBtnShadow));  // sunken
  EXPECT_EQ(shot(1, 1), Sys(cl3DDkShadow));
  const TRect sel = f.Box->ItemRect(1);
  EXPECT_EQ(shot(sel.Right - 3, sel.Top + 1), Sys(clHighlight));
  EXPECT_EQ(shot(sel.Right - 3, sel.Top - 1), Sys(clWindow));
  EXPECT_EQ(shot(sel.Right - 3, sel.Bottom), Sys(clWindow));
  // The focused item wears a dotted frame: some of its edge is not highlight.
  int32_t dots = 0;
  for (int32_t x = sel.Left; x < sel.Right; ++x) dots += shot(x, sel.Top) != Sys(clHighlight);
  EXPECT_GT(dots, 0);
  // Text in the highlight colour, inside the item, left-aligned two pixels in.
  int32_t inkLeft = area.Right;
  for (int32_t y = sel.Top + 1; y < sel.Bottom - 1; ++y)
    for (int32_t x = sel.Left + 1; x < sel.Right - 1; ++x)
      if (shot(x, y) == Sys(clHighlightText)) inkLeft = std::min(inkLeft, x);
  EXPECT_GE(inkLeft, sel.Left + 2);
  EXPECT_LT(inkLeft, sel.Left + 2 + measure.TextWidth("t"));
  // A set height wins over the font's.
  f.Box->SetItemHeight(20);
  EXPECT_EQ(f.Box->ItemRect(2).Top, area.Top + 40);
}

TEST(ListBox, FormFilesKeepItemsStringsAndTheModes) {
  RegisterControls();
  TListBox box(nullptr);
  box.SetName("List1");
  box.Items()->SetText("gamma\nalpha\nbeta");
  box.SetSorted(true);
  box.SetMultiSelect(true);
  const std::string text = WriteComponent(&box, TFormFormat::Text);
  EXPECT_NE(text.find("Items.Strings = (\n    'alpha'"), std::string::npos) << text;
  EXPECT_EQ(text.find("ItemHeight"), std::string::npos);  // follows the font
  box.SetItemHeight(18);
  for (TFormFormat format : {TFormFormat::Binary, TFormFormat::Text}) {
    std::unique_ptr<TComponent> copy(ReadComponent(WriteComponent(&box, format)));
    auto* c = As<TListBox>(copy.get());
    EXPECT_EQ(c->Items()->ToVector(), (std::vector<std::string>{"alpha", "beta", "gamma"}));
    EXPECT_TRUE(c->Sorted());
    EXPECT_TRUE(c->MultiSelect());
    EXPECT_EQ(c->ItemHeight(), 18);
  }
}

}  // namespace
}  // namespace zelvar
