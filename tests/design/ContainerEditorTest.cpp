// The container editor's verbs and the package's registration, on a form in the designer.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "controls/ZelvarC.h"
#include "design/Zelvar32.h"
#include "design/ZelvarP.h"
#include "platform/controls/StdCtrls.h"
#include "platform/forms/Forms.h"
#include "tests/TestSupport.h"

namespace zelvar::test {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

class ContainerEditor : public ::testing::Test {
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
  }
  void TearDown() override {
    Designer.reset();
    Form.reset();
  }
  template <class T>
  T* Make(TWinControl* parent, TRect r) {
    T* c = New<T>(Form.get());
    c->SetParent(parent);
    c->SetBounds(r.Left, r.Top, r.Width(), r.Height());
    return c;
  }
  std::vector<std::string> Verbs(TComponent* c) {
    auto editor = GetComponentEditor(c, Designer.get());
    std::vector<std::string> v;
    for (int i = 0; i < editor->GetVerbCount(); ++i) v.push_back(editor->GetVerb(i));
    return v;
  }
  void Verb(TComponent* c, int index) { GetComponentEditor(c, Designer.get())->ExecuteVerb(index); }

  std::unique_ptr<TForm> Form;
  std::unique_ptr<TFormDesigner> Designer;
  TZelvar* Z = nullptr;
};

TEST_F(ContainerEditor, TheContainerHasFourVerbsAndEveryBoxOne) {
  EXPECT_THAT(Verbs(Z), ElementsAre("Insert covered controls", "Aktivate Jump controls",
                                    "Disable Jump controls", "Set size to Dialog size"));
  Z->setPage(0);
  EXPECT_EQ(Verbs(Z)[3], "Set size to Wizard size");
  for (TComponent* c : {static_cast<TComponent*>(Make<TABox>(Z, {0, 0, 10, 10})),
                        static_cast<TComponent*>(Make<TAGroupBox>(Z, {0, 0, 10, 10})),
                        static_cast<TComponent*>(Make<TAPanel>(Z, {0, 0, 10, 10})),
                        static_cast<TComponent*>(Make<TAForm>(Z, {0, 0, 10, 10}))})
    EXPECT_THAT(Verbs(c), ElementsAre("Insert covered controls")) << c->ClassName();
  EXPECT_THAT(Verbs(Make<TAImage>(Z, {0, 0, 10, 10})), ElementsAre());
  EXPECT_THAT(Verbs(Make<TAPageControl>(Z, {0, 0, 10, 10})), ElementsAre());
}

TEST_F(ContainerEditor, InsertCoveredControlsGathersWhatLiesWhollyOverTheBox) {
  auto* box = Make<TABox>(Z, {100, 50, 200, 150});
  auto* inside = Make<TButton>(Z, {120, 80, 150, 105});
  auto* exact = Make<TAPanel>(Z, {100, 50, 200, 150});
  auto* beyond = Make<TButton>(Z, {100, 50, 201, 70});
  auto* elsewhere = Make<TAPanel>(Form.get(), {110, 60, 120, 70});  // another parent
  auto* nested = Make<TButton>(beyond, {0, 0, 5, 5});
  int before = Designer->ModifiedCount();
  Verb(box, 0);
  EXPECT_EQ(inside->Parent(), box);
  EXPECT_EQ(inside->BoundsRect(), (TRect{20, 30, 50, 55}));
  EXPECT_EQ(exact->Parent(), box);
  EXPECT_EQ(exact->BoundsRect(), (TRect{0, 0, 100, 100}));
  EXPECT_EQ(exact->GetParentInWizard(), box);  // recorded for the mode shown
  EXPECT_EQ(beyond->Parent(), Z);
  EXPECT_EQ(elsewhere->Parent(), Form.get());
  EXPECT_EQ(nested->Parent(), beyond);
  EXPECT_GT(Designer->ModifiedCount(), before);
  // The container gathers from its own parent, the form.
  Verb(Z, 0);
  EXPECT_EQ(elsewhere->Parent(), Z);
}

TEST_F(ContainerEditor, TheJumpVerbsSwitchEveryJumpControlOfTheForm) {
  auto* jump = Make<TAJumpBitBtn>(Z, {10, 10, 85, 35});
  auto* radio = Make<TAJumpRadioBtn>(Z, {10, 50, 150, 67});
  EXPECT_TRUE(jump->IsDesigning());
  Verb(Z, 1);
  EXPECT_FALSE(jump->IsDesigning());
  EXPECT_FALSE(radio->ButtonMode());
  // Now a click in the designer jumps.
  jump->SetJumpPage(3);
  TPoint at = jump->FormOrigin();
  Form->DispatchMouse(TMessage::MouseDown, mbLeft, {ssLeft}, at.X + 5, at.Y + 5);
  Form->DispatchMouse(TMessage::MouseUp, mbLeft, {}, at.X + 5, at.Y + 5);
  EXPECT_EQ(Z->Page(), 3);
  Verb(Z, 2);
  EXPECT_TRUE(jump->IsDesigning());
  EXPECT_TRUE(radio->ButtonMode());
  Z->setPage(1);
  jump->ShowContainer()->Record(1).Shown = 1;
  Z->setPage(1);
  at = jump->FormOrigin();
  Form->DispatchMouse(TMessage::MouseDown, mbLeft, {ssLeft}, at.X + 5, at.Y + 5);
  Form->DispatchMouse(TMessage::MouseUp, mbLeft, {}, at.X + 5, at.Y + 5);
  EXPECT_EQ(Z->Page(), 1);
  EXPECT_THAT(Designer->Selection(), ElementsAre(jump));
}

TEST_F(ContainerEditor, TheSizeVerbGivesTheFormTheOtherModesSize) {
  Z->setWizardWidth(450);
  Z->setWizardHeight(330);
  Z->setDialogWidth(300);
  Z->setDialogHeight(200);
  Z->setPage(3);
  Verb(Z, 3);
  EXPECT_EQ(Form->Width(), 300);
  EXPECT_EQ(Form->Height(), 200);
  // The designer records a resized form for the mode it shows: the wizard now has that size.
  EXPECT_EQ(Z->WizardWidth(), 300);
  Z->setWizardWidth(450);
  Z->setWizardHeight(330);
  Z->setPage(0);
  Verb(Z, 3);
  EXPECT_EQ(Form->Width(), 450);
  EXPECT_EQ(Form->Height(), 330);
}

TEST_F(ContainerEditor, ABoxOnAComponentThatIsNoFormIsRefused) {
  auto* box = Make<TABox>(Z, {0, 0, 50, 50});
  TComponent holder(nullptr);
  Form->RemoveComponent(box);
  holder.InsertComponent(box);
  EXPECT_THAT(MessageOf<EInvalidCast>([&] { Verb(box, 0); }), HasSubstr("TForm"));
  holder.RemoveComponent(box);
  Form->InsertComponent(box);
}

TEST_F(ContainerEditor, RegisterPutsTheTenComponentsOnTheirPage) {
  const TPalettePage* page = nullptr;
  for (const TPalettePage& p : PalettePages())
    if (p.Name == "Zelvar") page = &p;
  ASSERT_NE(page, nullptr);
  std::vector<std::string> names;
  for (const TPaletteEntry& e : page->Entries) names.push_back(e.Class->Name);
  EXPECT_THAT(names,
              ElementsAre("TZelvar", "TABox", "TAGroupBox", "TAPanel", "TAImage", "TAJumpBitBtn",
                          "TAJumpRadioBtn", "TAForm", "TAPageControl", "TAStepList"));
  EXPECT_NE(page->Entries[0].Image, nullptr);
  EXPECT_NE(page->Entries[9].Image, nullptr);
  EXPECT_NE(page->Entries[1].Image, nullptr);
  EXPECT_EQ(page->Entries[2].Image, nullptr);
  EXPECT_NE(page->Entries[7].Image, nullptr);
  // The property editors the package binds.
  auto valueOf = [&](TPersistent* c, const char* prop) {
    return GetPropertyEditor(Designer.get(), {c}, *c->ClassInfo().FindProp(prop))->GetValue();
  };
  EXPECT_EQ(valueOf(Z, "PageNames"), "[PageNames]");
  EXPECT_EQ(valueOf(Z, "WayList"), "[WayList]");
  EXPECT_EQ(valueOf(Z, "BLWizard"), "[ButtonLayout]");
  EXPECT_EQ(valueOf(Z, "BLDialog"), "[ButtonLayout]");
  EXPECT_EQ(valueOf(Z, "BtnNext"), "(TButtonData)");
  EXPECT_EQ(valueOf(Z, "NumPages"), "3");
  EXPECT_EQ(valueOf(Make<TAImage>(Z, {0, 0, 9, 9}), "ShowContainer"), "[ShowContainer]");
  auto names2 = GetPropertyEditor(Designer.get(), {Z}, *Z->ClassInfo().FindProp("PageNames"));
  EXPECT_EQ(names2->GetAttributes(), TPropertyAttributes{paDialog});
}

}  // namespace
}  // namespace zelvar::test
