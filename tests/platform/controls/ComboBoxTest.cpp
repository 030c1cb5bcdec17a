#include "platform/controls/ComboBox.h"

#include <gtest/gtest.h>

#include <memory>

#include "platform/controls/Register.h"
#include "platform/graphics/Bitmap.h"
#include "platform/streaming/FormFiles.h"

namespace zelvar {
namespace {

TEST(ComboBox, PickFiresOnChangeButSettingItemIndexDoesNot) {
  TComboBox combo(nullptr);
  combo.Items()->SetText("alpha\nbeta\ngamma");
  int changes = 0;
  combo.OnChange = TNotifyEvent([&](TObject* sender) {
    EXPECT_EQ(sender, &combo);
    ++changes;
  });
  combo.SetItemIndex(1);
  EXPECT_EQ(combo.Text(), "beta");
  EXPECT_EQ(changes, 0);
  combo.Pick(2);
  EXPECT_EQ(combo.ItemIndex(), 2);
  EXPECT_EQ(combo.Text(), "gamma");
  EXPECT_EQ(changes, 1);
  // Arrows pick as they go, and stop at the ends without a change.
  uint16_t key = VK_DOWN;
  combo.KeyDown(key, {});
  EXPECT_EQ(changes, 1);
  key = VK_UP;
  combo.KeyDown(key, {});
  EXPECT_EQ(combo.ItemIndex(), 1);
  EXPECT_EQ(changes, 2);
  combo.SetItemIndex(-1);
  EXPECT_EQ(combo.Text(), "");
  EXPECT_EQ(changes, 2);
}

TEST(ComboBox, ItemIndexOutOfRangeRaises) {
  TComboBox combo(nullptr);
  combo.Items()->SetText("a\nb");
  combo.SetItemIndex(1);
  int changes = 0;
  combo.OnChange = TNotifyEvent([&](TObject*) { ++changes; });
  EXPECT_THROW(combo.SetItemIndex(2), EListError);
  EXPECT_THROW(combo.SetItemIndex(-2), EListError);
  EXPECT_THROW(combo.Pick(5), EListError);
  EXPECT_EQ(combo.ItemIndex(), 1);
  EXPECT_EQ(changes, 0);
  // The current item going away leaves no current item.
  combo.Items()->Delete(1);
  EXPECT_EQ(combo.ItemIndex(), -1);
}

TEST(ComboBox, ADropDownListShowsOnlyItems) {
  TComboBox combo(nullptr);
  combo.Items()->SetText("One\nTwo");
  combo.SetText("free text");
  EXPECT_EQ(combo.Text(), "free text");
  EXPECT_EQ(combo.ItemIndex(), -1);
  combo.SetStyle(csDropDownList);
  combo.SetText("two");
  EXPECT_EQ(combo.ItemIndex(), 1);
  EXPECT_EQ(combo.Text(), "Two");
  combo.SetText("three");
  EXPECT_EQ(combo.ItemIndex(), -1);
  EXPECT_EQ(combo.Text(), "");
}

TEST(ComboBox, PaintsASunkenFieldAndADropDownButton) {
  TComboBox combo(nullptr);
  TBitmap b(combo.Width(), combo.Height());
  combo.PaintControl(b, {0, 0}, Rect(0, 0, combo.Width(), combo.Height()));
  TRect button = combo.ButtonRect();
  ASSERT_FALSE(button.Empty());
  EXPECT_EQ(button.Right, combo.Width() - 2);
  EXPECT_EQ(b.Canvas()->Pixel(0, 0), ColorToRGB(clBtnShadow));
  EXPECT_EQ(b.Canvas()->Pixel(combo.Width() - 1, combo.Height() - 1), ColorToRGB(clBtnHighlight));
  EXPECT_EQ(b.Canvas()->Pixel(button.Left - 3, combo.Height() / 2), ColorToRGB(clWindow));
  EXPECT_EQ(b.Canvas()->Pixel(button.Left + 2, button.Top + 2), ColorToRGB(clBtnFace));
  // The arrow's widest row lies at the middle of the button, two rows above centre.
  int32_t cx = (button.Left + button.Right) / 2, cy = (button.Top + button.Bottom) / 2;
  EXPECT_EQ(b.Canvas()->Pixel(cx, cy - 2), ColorToRGB(clBtnText));
  EXPECT_EQ(b.Canvas()->Pixel(cx, cy + 1), ColorToRGB(clBtnText));
  EXPECT_EQ(b.Canvas()->Pixel(cx - 3, cy + 1), ColorToRGB(clBtnFace));
}

TEST(ComboBox, FormFilesKeepItemsTextAndStyle) {
  RegisterControls();
  TComboBox combo(nullptr);
  combo.SetName("Combo1");
  combo.SetStyle(csDropDownList);
  combo.Items()->SetText("red\ngreen");
  combo.SetItemIndex(1);
  std::unique_ptr<TComponent> copy(ReadComponent(WriteComponent(&combo)));
  auto* c = As<TComboBox>(copy.get());
  EXPECT_EQ(c->Style(), csDropDownList);
  EXPECT_EQ(c->Items()->Count(), 2);
  EXPECT_EQ(c->ItemIndex(), 1);
  EXPECT_EQ(c->Text(), "green");
}

}  // namespace
}  // namespace zelvar
