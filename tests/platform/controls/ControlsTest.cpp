#include "platform/controls/Controls.h"

#include <gtest/gtest.h>

#include <memory>

#include "platform/core/TypInfo.h"
#include "platform/graphics/Bitmap.h"
#include "platform/streaming/FormFiles.h"

namespace zelvar {
namespace {

// A windowed test control that publishes what forms store and paints a colour.
class TTestBox : public TCustomControl {
  ZELVAR_CLASS(TTestBox, TCustomControl)

 public:
  explicit TTestBox(TComponent* owner) : TCustomControl(owner) {}
  std::vector<std::string>* Log = nullptr;
  void WMSetFocus() override {
    TCustomControl::WMSetFocus();
    if (Log) Log->push_back("enter " + Name());
  }
  void WMKillFocus() override {
    TCustomControl::WMKillFocus();
    if (Log) Log->push_back("exit " + Name());
  }

 protected:
  void Paint() override {
    Canvas()->Brush()->SetColor(Color());
    Canvas()->FillRect(GetClientRect());
  }
};

const TClassInfo& TTestBox::StaticClassInfo() {
  static const auto info = TClassBuilder<TTestBox>("TTestBox")
                               .Property("Align", &TTestBox::Align, &TTestBox::SetAlign)
                               .Default(alNone)
                               .Property("Color", &TTestBox::Color, &TTestBox::SetColor)
                               .Default(clBtnFace)
                               .Property("TabOrder", &TTestBox::TabOrder, &TTestBox::SetTabOrder)
                               .Default(-1)
                               .Property("TabStop", &TTestBox::TabStop, &TTestBox::SetTabStop)
                               .Default(false)
                               .Build();
  return *info;
}

TTestBox* Box(TComponent* owner, TWinControl* parent, const char* name, TRect r) {
  auto* b = New<TTestBox>(owner);
  b->SetName(name);
  b->SetBounds(r.Left, r.Top, r.Width(), r.Height());
  b->SetParent(parent);
  return b;
}

TEST(Controls, AlignmentFillsTheClientRectangleInTheClassicOrder) {
  TTestBox form(nullptr);
  form.SetBounds(0, 0, 200, 100);
  TTestBox* top = Box(&form, &form, "Top", Rect(0, 0, 10, 20));
  TTestBox* bottom = Box(&form, &form, "Bottom", Rect(0, 0, 10, 15));
  TTestBox* left = Box(&form, &form, "Left", Rect(0, 0, 30, 10));
  TTestBox* right = Box(&form, &form, "Right", Rect(0, 0, 25, 10));
  TTestBox* client = Box(&form, &form, "Client", Rect(0, 0, 1, 1));
  client->SetAlign(alClient);
  right->SetAlign(alRight);
  left->SetAlign(alLeft);
  bottom->SetAlign(alBottom);
  top->SetAlign(alTop);
  EXPECT_EQ(top->BoundsRect(), Rect(0, 0, 200, 20));
  EXPECT_EQ(bottom->BoundsRect(), Rect(0, 85, 200, 100));
  EXPECT_EQ(left->BoundsRect(), Rect(0, 20, 30, 85));
  EXPECT_EQ(right->BoundsRect(), Rect(175, 20, 200, 85));
  EXPECT_EQ(client->BoundsRect(), Rect(30, 20, 175, 85));
  // Resizing the parent lays them out again; a hidden control gives up its space.
  form.SetBounds(0, 0, 300, 100);
  EXPECT_EQ(client->BoundsRect(), Rect(30, 20, 275, 85));
  top->SetVisible(false);
  EXPECT_EQ(left->BoundsRect(), Rect(0, 0, 30, 85));
  // Too little room never gives negative sizes.
  form.SetBounds(0, 0, 40, 10);
  EXPECT_GE(client->Width(), 0);
  EXPECT_GE(client->Height(), 0);
}

TEST(Controls, TabOrderClampsAndShiftsTheOthers) {
  TTestBox form(nullptr);
  TTestBox* a = Box(&form, &form, "A", Rect(0, 0, 1, 1));
  TTestBox* b = Box(&form, &form, "B", Rect(0, 0, 1, 1));
  TTestBox* c = Box(&form, &form, "C", Rect(0, 0, 1, 1));
  EXPECT_EQ(c->TabOrder(), 2);
  c->SetTabOrder(0);
  EXPECT_EQ(a->TabOrder(), 1);
  EXPECT_EQ(b->TabOrder(), 2);
  a->SetTabOrder(99);  // clamped to the last position
  EXPECT_EQ(a->TabOrder(), 2);
  EXPECT_EQ(b->TabOrder(), 1);
  a->SetTabOrder(-5);
  EXPECT_EQ(a->TabOrder(), 0);
  // Asked before the control has a parent, the order applies once it has one.
  auto* d = New<TTestBox>(&form);
  d->SetTabOrder(1);
  d->SetParent(&form);
  EXPECT_EQ(d->TabOrder(), 1);
  delete b;
  EXPECT_EQ(form.TabList().size(), 3u);
}

TEST(Controls, FocusMovesInTabOrderAndSkipsWhatCannotTakeIt) {
  std::vector<std::string> log;
  TTestBox form(nullptr);
  TTestBox* a = Box(&form, &form, "A", Rect(0, 0, 1, 1));
  TTestBox* panel = Box(&form, &form, "Panel", Rect(0, 0, 1, 1));
  TTestBox* inner = Box(&form, panel, "Inner", Rect(0, 0, 1, 1));
  TTestBox* c = Box(&form, &form, "C", Rect(0, 0, 1, 1));
  for (TTestBox* t : {a, inner, c}) {
    t->SetTabStop(true);
    t->Log = &log;
  }
  form.SelectFirst();
  EXPECT_TRUE(a->Focused());
  EXPECT_EQ(form.FindNextControl(a, true, true), inner);  // into the panel, depth first
  EXPECT_EQ(form.FindNextControl(c, true, true), a);      // wraps round
  EXPECT_EQ(form.FindNextControl(a, false, true), c);
  panel->SetEnabled(false);
  EXPECT_EQ(form.FindNextControl(a, true, true), c);
  EXPECT_THROW(inner->SetFocus(), EInvalidOperation);
  c->SetFocus();
  EXPECT_EQ(log, (std::vector<std::string>{"enter A", "exit A", "enter C"}));
  delete c;  // the focused control goes: nothing dangles
  EXPECT_EQ(form.FocusedControl(), nullptr);
}

TEST(Controls, ChildrenPaintClippedToTheirParents) {
  TTestBox form(nullptr);
  form.SetBounds(0, 0, 20, 20);
  form.SetColor(clWhite);
  TTestBox* panel = Box(&form, &form, "Panel", Rect(5, 5, 15, 15));
  panel->SetColor(clBlue);
  TTestBox* child = Box(&form, panel, "Child", Rect(5, 5, 30, 30));  // runs past the panel
  child->SetColor(clRed);
  TBitmap bitmap(20, 20);
  form.PaintControl(bitmap, {0, 0}, Rect(0, 0, 20, 20));
  EXPECT_EQ(bitmap.Canvas()->Pixel(4, 4), clWhite);
  EXPECT_EQ(bitmap.Canvas()->Pixel(5, 5), clBlue);
  EXPECT_EQ(bitmap.Canvas()->Pixel(10, 10), clRed);  // the child's own 0, 0
  EXPECT_EQ(bitmap.Canvas()->Pixel(14, 14), clRed);
  EXPECT_EQ(bitmap.Canvas()->Pixel(15, 15), clWhite);  // beyond the panel: clipped
  child->SetVisible(false);
  form.PaintControl(bitmap, {0, 0}, Rect(0, 0, 20, 20));
  EXPECT_EQ(bitmap.Canvas()->Pixel(10, 10), clBlue);
}

TEST(Controls, FormFilesNestChildrenInTheirParents) {
  RegisterClasses<TTestBox>();
  TTestBox form(nullptr);
  form.SetName("Form1");
  TTestBox* panel = Box(&form, &form, "Panel", Rect(1, 2, 50, 40));
  Box(&form, panel, "Inner", Rect(3, 4, 10, 10))->SetTabStop(true);
  Box(&form, &form, "Other", Rect(0, 0, 5, 5));
  std::string text = WriteComponent(&form, TFormFormat::Text);
  EXPECT_NE(text.find("  object Panel: TTestBox\n    Left = 1\n    Top = 2\n    Width = 49\n"
                      "    Height = 38\n    TabOrder = 0\n    object Inner: TTestBox\n"),
            std::string::npos)
      << text;
  std::unique_ptr<TComponent> copy(ReadComponent(text));
  auto* inner = As<TTestBox>(copy->FindComponent("Inner"));
  EXPECT_EQ(inner->Parent(), copy->FindComponent("Panel"));
  EXPECT_TRUE(inner->TabStop());
  EXPECT_FALSE(inner->ControlState().Contains(csCreating));
  EXPECT_EQ(As<TTestBox>(copy->FindComponent("Other"))->TabOrder(), 1);
  EXPECT_EQ(WriteComponent(copy.get(), TFormFormat::Text), text);
}

TEST(Controls, TheFontIsStoredOnlyOnceChanged) {
  // The rule every control that publishes Font inherits.
  const TPropInfo* font = TControl::StaticClassInfo().FindProp("Font");
  ASSERT_NE(font, nullptr);
  EXPECT_FALSE(font->Published);
  TTestBox box(nullptr);
  EXPECT_FALSE(font->IsStored(&box));
  box.Font()->SetStyle({fsItalic});
  EXPECT_TRUE(font->IsStored(&box));
}

TEST(Controls, DestroyingAParentTakesItsChildren) {
  TTestBox form(nullptr);
  TTestBox* panel = Box(&form, &form, "Panel", Rect(0, 0, 10, 10));
  Box(&form, panel, "Inner", Rect(0, 0, 5, 5));
  EXPECT_EQ(form.GetComponentCount(), 2);
  delete panel;
  EXPECT_EQ(form.GetComponentCount(), 0);
  EXPECT_EQ(form.ControlCount(), 0);
  auto* loop = Box(&form, &form, "Loop", Rect(0, 0, 1, 1));
  EXPECT_THROW(form.SetParent(loop), EInvalidOperation);
}

// Counts its layouts.
class TCountingBox : public TTestBox {
 public:
  using TTestBox::TTestBox;
  int Layouts = 0;
  void AlignControls(TControl* changed, TRect& rect) override {
    ++Layouts;
    TTestBox::AlignControls(changed, rect);
  }
};

TEST(Controls, FreeingWhatAControlOwnsLaysEachParentOutAtMostOnce) {
  // Laying out what is left after every aligned child goes makes freeing n of them cost n
  // squared.
  TCountingBox root(nullptr);
  root.SetBounds(0, 0, 300, 200);
  auto* holder = New<TCountingBox>(&root);
  holder->SetParent(&root);
  holder->SetAlign(alClient);
  for (int i = 0; i < 50; ++i) {
    Box(&root, &root, ("Top" + std::to_string(i)).c_str(), Rect(0, 0, 10, 2))->SetAlign(alTop);
    Box(&root, holder, ("In" + std::to_string(i)).c_str(), Rect(0, 0, 3, 10))->SetAlign(alLeft);
  }
  // A child that leaves from the middle keeps the others in order.
  TControl* middle = root.Controls(20);
  TControl* next = root.Controls(21);
  delete middle;
  EXPECT_EQ(root.Controls(20), next);
  root.Layouts = holder->Layouts = 0;
  root.DestroyComponents();
  EXPECT_EQ(root.ControlCount(), 0);
  EXPECT_LE(root.Layouts, 1);
  // Aligned children that stay are laid out again once the others have gone.
  auto* stays = New<TTestBox>(nullptr);
  stays->SetParent(&root);
  stays->SetAlign(alTop);
  stays->SetHeight(5);
  auto* goes = Box(&root, &root, "Goes", Rect(0, 0, 10, 7));
  goes->SetAlign(alTop);
  goes->SetTop(-1);  // above the one that stays
  EXPECT_EQ(stays->Top(), 7);
  root.DestroyComponents();
  EXPECT_EQ(stays->Top(), 0);
  delete stays;
}

}  // namespace
}  // namespace zelvar
