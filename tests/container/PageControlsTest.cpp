// The controls of a page in a wizard built by code: placing them on pages without showing
// those pages, and where the focus goes after a page change.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <utility>

#include "controls/ZelvarC.h"
#include "platform/backends/Headless.h"
#include "platform/controls/Edit.h"
#include "platform/streaming/FormFiles.h"
#include "tests/TestSupport.h"
#include "tests/container/ContainerSupport.h"
#include "zelvar/zelvar.h"

namespace zelvar::test {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

// A wizard of three pages with the default bar, on page 1, as a program builds it.
class CodeBuiltWizard : public ContainerTest {
 protected:
  void SetUp() override {
    ContainerTest::SetUp();
    Initialize();  // a form file names the classes
    Z->UseDefaultButtons();
    Z->setPage(1);
    Z->OnPageChange = TPageChangeEvent([this](TZelvar*, int32_t) { ++PageChanges; });
  }
  template <class T>
  T* Make(const char* name) {
    T* c = New<T>(Form.get());
    c->SetName(name);
    return c;
  }
  int PageChanges = 0;
};

// Each page-bound class, made on the form under a name.
const std::vector<std::pair<const char*, std::function<TControl*(TComponent*)>>> kPageBound = {
    {"TABox", [](TComponent* o) { return New<TABox>(o); }},
    {"TAGroupBox", [](TComponent* o) { return New<TAGroupBox>(o); }},
    {"TAPanel", [](TComponent* o) { return New<TAPanel>(o); }},
    {"TAPageControl", [](TComponent* o) { return New<TAPageControl>(o); }},
    {"TAImage", [](TComponent* o) { return New<TAImage>(o); }},
    {"TAJumpBitBtn", [](TComponent* o) { return New<TAJumpBitBtn>(o); }},
    {"TAJumpRadioBtn", [](TComponent* o) { return New<TAJumpRadioBtn>(o); }},
};

TEST_F(CodeBuiltWizard, EveryPageBoundClassIsPlacedWithoutShowingItsPage) {
  for (const auto& [cls, make] : kPageBound) {
    SCOPED_TRACE(cls);
    TControl* c = make(Form.get());
    Z->Place(c, 2, {10, 20, 110, 60});
    EXPECT_EQ(c->Parent(), Z);
    EXPECT_FALSE(c->Visible());
    EXPECT_EQ(c->Left(), kParkedLeft);
    auto& list = *static_cast<TAposList*>(c->FieldAddress("FAposList").Get());
    EXPECT_THAT(Shown(list), ElementsAre(0, 0, 1, 0));
    EXPECT_EQ(list.Record(2), (TAposRec{10, 20, 1}));
    // Placed again, on the page shown: there at once.
    Z->Place(c, 1, {5, 6, 55, 36});
    EXPECT_TRUE(c->Visible());
    EXPECT_TRUE(c->Enabled());
    EXPECT_EQ(c->BoundsRect(), (TRect{5, 6, 55, 36}));
    EXPECT_THAT(Shown(list), ElementsAre(0, 1, 0, 0));
    delete c;
  }
  EXPECT_EQ(Z->Page(), 1);
  EXPECT_EQ(PageChanges, 0);
}

TEST_F(CodeBuiltWizard, EachPageShowsThePlacedControlsAtTheirBoundsAndAFileKeepsThem) {
  auto* welcome = Make<TAPanel>("Welcome");
  auto* options = Make<TAGroupBox>("Options");
  auto* logo = Make<TAImage>("Logo");
  Z->Place(welcome, 1, {8, 8, 208, 108});
  Z->Place(options, 2, {16, 24, 216, 124});
  Z->Place(logo, 3, {0, 0, 32, 32});
  EXPECT_TRUE(welcome->Visible());
  EXPECT_FALSE(options->Visible());
  EXPECT_FALSE(logo->Visible());
  Z->Nextclick(nullptr);
  EXPECT_FALSE(welcome->Visible());
  EXPECT_TRUE(options->Visible());
  EXPECT_EQ(options->BoundsRect(), (TRect{16, 24, 216, 124}));
  Z->Nextclick(nullptr);
  EXPECT_TRUE(logo->Visible());
  EXPECT_EQ(logo->BoundsRect(), (TRect{0, 0, 32, 32}));

  std::unique_ptr<TComponent> copy(ReadComponent(WriteComponent(Form.get(), TFormFormat::Text)));
  auto& z = *As<TZelvar>(copy->FindComponent("Zelvar1"));
  auto* w = As<TAPanel>(copy->FindComponent("Welcome"));
  auto* o = As<TAGroupBox>(copy->FindComponent("Options"));
  EXPECT_EQ(w->GetParentInWizard(), &z);
  z.setPage(2);
  EXPECT_FALSE(w->Visible());
  EXPECT_EQ(o->BoundsRect(), (TRect{16, 24, 216, 124}));
  z.setPage(1);
  EXPECT_EQ(w->BoundsRect(), (TRect{8, 8, 208, 108}));
  EXPECT_FALSE(o->Visible());
}

TEST_F(CodeBuiltWizard, PlacingRefusesWhatCannotBePlacedAndChangesNothing) {
  // A second container on the form: the controls made after it follow the first.
  auto* second = New<TZelvar>(Form.get());
  second->SetName("Zelvar2");
  auto* box = Make<TABox>("Box1");
  EXPECT_EQ(MessageOf<EListError>([&] {
              Z->Place(box, 4, {0, 0, 10, 10});
            }),
            "Cannot place Box1 on page 4: Zelvar1 has pages 0 to 3");
  EXPECT_THAT(MessageOf<EListError>([&] {
                Z->Place(box, -1, {0, 0, 10, 10});
              }),
              HasSubstr("page -1"));
  EXPECT_EQ(MessageOf<EComponentError>([&] {
              second->Place(box, 1, {0, 0, 10, 10});
            }),
            "Cannot place Box1: it follows Zelvar1, not Zelvar2");
  auto* edit = Make<TEdit>("Edit1");
  EXPECT_EQ(MessageOf<EComponentError>([&] {
              Z->Place(edit, 1, {0, 0, 10, 10});
            }),
            "Cannot place Edit1: TEdit is not page-bound (it publishes no SetNewPosition, "
            "FAposList and FZelvar)");
  TForm other(nullptr);
  other.SetName("Form2");
  New<TZelvar>(&other);
  auto* stranger = New<TABox>(&other);
  stranger->SetName("Box2");
  EXPECT_EQ(MessageOf<EComponentError>([&] {
              Z->Place(stranger, 1, {0, 0, 10, 10});
            }),
            "Cannot place Box2: it belongs to Form2, and Zelvar1 to Form1");
  EXPECT_EQ(box->Parent(), nullptr);
  EXPECT_EQ(box->Width(), 50);
  EXPECT_THAT(Shown(*box->ShowContainer()), ElementsAre(0, 1, 0, 0));
  EXPECT_EQ(edit->Parent(), nullptr);
}

// ---------------------------------------------------------------------------------------------
// The focus after a page change

class PageFocus : public CodeBuiltWizard {
 protected:
  void SetUp() override {
    CodeBuiltWizard::SetUp();
    // Page 1 says something; page 2 asks for a name; page 3 says goodbye.
    Z->Place(Make<TAPanel>("Hello"), 1, {8, 8, 208, 108});
    auto* ask = Make<TAPanel>("Ask");
    Z->Place(ask, 2, {8, 8, 208, 108});
    // Ahead of the page in tab order, but on every page: not the page's own.
    Shared = Make<TEdit>("Shared");
    Shared->SetParent(Z);
    Shared->SetTabOrder(0);
    Second = Make<TEdit>("Second");
    Second->SetParent(ask);
    NameEdit = Make<TEdit>("NameEdit");
    NameEdit->SetParent(ask);
    NameEdit->SetTabOrder(0);
    Z->Place(Make<TAPanel>("Bye"), 3, {8, 8, 208, 108});
    Z->setPage(1);
  }
  TWinControl* Focused() const { return Form->ActiveControl(); }
  TEdit* Shared = nullptr;
  TEdit* Second = nullptr;
  TEdit* NameEdit = nullptr;
};

TEST_F(PageFocus, ThePagesFirstControlElseTheDefaultButtonHasTheFocus) {
  EXPECT_EQ(Focused(), Z->NextButton());
  Z->Nextclick(nullptr);
  EXPECT_EQ(Focused(), NameEdit);
  Z->Nextclick(nullptr);
  EXPECT_EQ(Focused(), Z->NextButton());  // it finishes here
  Z->Changeclick(nullptr);
  EXPECT_EQ(Focused(), Z->OKButton());
}

TEST_F(PageFocus, EnterGoesOnFromPageToPageToTheEnd) {
  auto backend = std::make_unique<THeadlessBackend>();
  std::vector<std::pair<int32_t, TWinControl*>> seen;
  backend->OnIdle = [&] {
    seen.emplace_back(Z->Page(), Focused());
    Form->DispatchKey(TMessage::KeyDown, VK_RETURN, {}, 0);
    return true;
  };
  Application().SetBackend(std::move(backend));
  int32_t result = Z->Execute(1);
  Application().SetBackend(nullptr);
  EXPECT_EQ(result, mrOk);
  EXPECT_THAT(seen, ElementsAre(std::pair<int32_t, TWinControl*>{1, Z->NextButton()},
                                std::pair<int32_t, TWinControl*>{2, NameEdit},
                                std::pair<int32_t, TWinControl*>{3, Z->NextButton()}));
}

TEST_F(PageFocus, ADisabledNextLeavesNoFocusOnAHiddenControl) {
  Z->Nextclick(nullptr);
  ASSERT_EQ(Focused(), NameEdit);
  // The last page waits for something before it lets the wizard finish.
  Z->OnPageChange =
      TPageChangeEvent([](TZelvar* z, int32_t) { z->BtnFinish()->SetEnabled(false); });
  Z->Nextclick(nullptr);
  EXPECT_EQ(Focused(), nullptr);
  // Once it is enabled, Enter reaches it.
  Z->BtnFinish()->SetEnabled(true);
  Form->Show();
  Form->DispatchKey(TMessage::KeyDown, VK_RETURN, {}, 0);
  Form->Hide();
  EXPECT_EQ(Form->ModalResult(), mrOk);
}

TEST_F(PageFocus, TheTabbedStyleAndTheDesignerLeaveTheFocusAlone) {
  Z->SetStyle(asTabbed);
  Form->SetFocusedControl(Shared);
  Z->setPage(2);
  EXPECT_EQ(Focused(), Shared);
  Z->SetStyle(asWizard);
  Z->setPage(1);
  EXPECT_EQ(Focused(), Z->NextButton());
  Form->SetDesigning(true);
  Z->setPage(2);
  EXPECT_EQ(Focused(), Z->NextButton());
}

}  // namespace
}  // namespace zelvar::test
