// The embedded form host, the design-time painting of boxes, and a form of page-bound
// controls written, read back and driven through its pages.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "controls/ZelvarC.h"
#include "platform/streaming/FormFiles.h"
#include "tests/TestSupport.h"
#include "tests/container/ContainerSupport.h"

namespace zelvar::test {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

// Counts the forms alive that the host was given.
int gLiveForms = 0;
class TCountedForm : public TForm {
 public:
  explicit TCountedForm(TComponent* owner) : TForm(owner) { ++gLiveForms; }
  ~TCountedForm() override { --gLiveForms; }
};

class FormHost : public ContainerTest {
 protected:
  void SetUp() override {
    ContainerTest::SetUp();
    gLiveForms = 0;
    Host = New<TAForm>(Form.get());
    Host->SetName("AForm1");
    Host->SetParent(Z);
    Host->SetBounds(10, 10, 200, 100);
    // Shown on page 1 only.
    for (int p = 0; p <= 3; ++p) Host->ShowContainer()->Record(p) = {10, 10, p == 1 ? 1 : 0};
    Host->OnGetForm = TGetFormEvent([this]() -> TForm* {
      Given.push_back(New<TCountedForm>(nullptr));
      return Given.back();
    });
    Host->OnFreeForm = TFreeFormEvent([this](TAForm* sender, TForm* form) {
      EXPECT_EQ(sender, Host);
      Freed.push_back(form);
    });
  }
  TAForm* Host = nullptr;
  std::vector<TForm*> Given, Freed;
};

TEST_F(FormHost, OnDemandFreeGetsAFreshFormEachTimeThePageShows) {
  Host->SetFormCreate(fcOnDemandFree);
  Z->setPage(1);
  Z->setPage(2);
  EXPECT_EQ(gLiveForms, 0);
  Z->setPage(1);
  ASSERT_EQ(Given.size(), 2u);
  EXPECT_THAT(Freed, ElementsAre(Given[0]));
  EXPECT_EQ(Host->HostedForm(), Given[1]);
  EXPECT_EQ(gLiveForms, 1);
}

TEST_F(FormHost, OnDemandKeepsTheFormUntilTheHostGoes) {
  Host->SetFormCreate(fcOnDemand);
  Z->setPage(1);
  Z->setPage(2);
  Z->setPage(1);
  EXPECT_EQ(Given.size(), 1u);
  EXPECT_TRUE(Freed.empty());
  // Hidden with its host only: the form itself stays visible inside it.
  Z->setPage(2);
  EXPECT_FALSE(Host->Visible());
  EXPECT_TRUE(Given[0]->Visible());
  delete Host;
  EXPECT_THAT(Freed, ElementsAre(Given[0]));
  EXPECT_EQ(gLiveForms, 0);
}

TEST_F(FormHost, TheHostedFormFillsTheHostWithoutBorder) {
  Z->setPage(1);
  TForm* f = Host->HostedForm();
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(f->BorderStyle(), bsNone);
  EXPECT_EQ(f->WindowState(), wsMaximized);
  EXPECT_EQ(f->Parent(), Host);
  EXPECT_TRUE(f->Visible());
  EXPECT_EQ(f->BoundsRect(), Host->GetClientRect());
  Host->SetBounds(10, 10, 150, 90);
  EXPECT_EQ(f->BoundsRect(), (TRect{0, 0, 150, 90}));
}

TEST_F(FormHost, OnFreeFormIsANoticeAndAFormFreedElsewhereIsLetGo) {
  Host->SetFormCreate(fcOnDemandFree);
  // A handler that frees the form itself must not make the host free it again.
  Host->OnFreeForm = TFreeFormEvent([this](TAForm*, TForm* form) {
    Freed.push_back(form);
    delete form;
  });
  Z->setPage(1);
  Z->setPage(2);
  EXPECT_EQ(gLiveForms, 0);
  Z->setPage(1);
  delete Host->HostedForm();
  EXPECT_EQ(Host->HostedForm(), nullptr);
  Z->setPage(2);
  Z->setPage(1);
  EXPECT_EQ(Given.size(), 3u);
  EXPECT_EQ(Freed.size(), 1u);
}

TEST_F(FormHost, NoFormIsEmbeddedWhenNoneIsGivenOrTheGivenOneCannotBe) {
  Host->OnGetForm = TGetFormEvent([]() -> TForm* { return nullptr; });
  Z->setPage(1);
  EXPECT_EQ(Host->HostedForm(), nullptr);
  Host->OnGetForm = TGetFormEvent([this]() -> TForm* { return Form.get(); });
  Z->setPage(2);
  EXPECT_THAT(MessageOf<EInvalidOperation>([&] { Z->setPage(1); }),
              HasSubstr("cannot host the form it stands on"));
  EXPECT_EQ(Host->HostedForm(), nullptr);
}

TEST_F(FormHost, OnCreateAsksOnceTheFormFileIsReadEvenWhenHidden) {
  RegisterClass(TForm::StaticClassInfo());
  RegisterZelvarA();
  RegisterZelvarC();
  Host->SetFormCreate(fcOnCreate);
  Host->OnGetForm = TGetFormEvent([]() -> TForm* { return nullptr; }, "GetPage");
  Z->setPage(2);  // the host is hidden on the page the form is stored with
  std::string file = WriteComponent(Form.get(), TFormFormat::Text);
  EXPECT_THAT(file, HasSubstr("OnGetForm = GetPage"));
  int calls = 0;
  TFormReadOptions options;
  options.FindHandler = [&](const std::string& name) -> TGenericHandler {
    EXPECT_EQ(name, "GetPage");
    return [&](TEventCall& call) {
      ++calls;
      call.ObjectResult = New<TCountedForm>(nullptr);
    };
  };
  std::unique_ptr<TComponent> copy(ReadComponent(file, options));
  auto* host = As<TAForm>(copy->FindComponent("AForm1"));
  EXPECT_EQ(calls, 1);
  ASSERT_NE(host->HostedForm(), nullptr);
  EXPECT_TRUE(host->HostedForm()->Visible());
  EXPECT_FALSE(host->Visible());
  copy.reset();
  EXPECT_EQ(gLiveForms, 0);
}

// ---------------------------------------------------------------------------------------------
// Design-time painting

// The bounds of the pixels not of colour rgb inside r of the form's image; empty when none.
TRect InkBounds(const TImageData& image, const TRect& r, uint32_t rgb) {
  TRect b{INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};
  for (int32_t y = r.Top; y < r.Bottom; ++y)
    for (int32_t x = r.Left; x < r.Right; ++x)
      if ((image.At(x, y) & 0xFFFFFF) != rgb) {
        b.Left = std::min(b.Left, x);
        b.Top = std::min(b.Top, y);
        b.Right = std::max(b.Right, x + 1);
        b.Bottom = std::max(b.Bottom, y + 1);
      }
  return b.Left == INT32_MAX ? TRect{} : b;
}

TEST_F(FormHost, InTheDesignerTheHostShowsItsNameInTheMiddle) {
  Host->OnGetForm.Clear();  // a hosted form would cover the host
  Form->SetDesigning(true);
  Z->setPage(1);
  Host->SetName("Welcome");
  const TImageData& image = Form->Snapshot().Image();
  TPoint at = Host->FormOrigin();
  TCanvas& canvas = *Host->Canvas();
  int32_t tw = canvas.TextWidth("Welcome"), th = canvas.TextHeight("Welcome");
  TRect text{at.X + 200 / 2 - tw / 2, at.Y + 100 / 2 - th / 2, 0, 0};
  text.Right = text.Left + tw;
  text.Bottom = text.Top + th;
  // Inside the solid frame, all that is not the form's face is the name, within its cell.
  TRect inner{at.X + 1, at.Y + 1, at.X + 199, at.Y + 99};
  TRect ink = InkBounds(image, inner, 0xC0C0C0);

  ASSERT_FALSE(ink.Empty());
  EXPECT_GE(ink.Left, text.Left);
  EXPECT_LE(ink.Right, text.Right);
  EXPECT_GE(ink.Top, text.Top);
  EXPECT_LE(ink.Bottom, text.Bottom);
  // The frame is solid black all round.
  for (int32_t x = 0; x < 200; ++x) EXPECT_EQ(image.At(at.X + x, at.Y) & 0xFFFFFF, 0u) << x;
  for (int32_t y = 0; y < 100; ++y) EXPECT_EQ(image.At(at.X + 199, at.Y + y) & 0xFFFFFF, 0u) << y;
}

TEST_F(FormHost, ABoxHasADottedOutlineInTheDesignerAndNoneAtRunTime) {
  auto* box = New<TABox>(Form.get());
  box->SetParent(Z);
  Z->setPage(1);
  box->ShowContainer()->Record(1) = {40, 150, 1};
  Z->setPage(1);
  TPoint at = box->FormOrigin();
  auto topRow = [&] {
    const TImageData& image = Form->Snapshot().Image();
    std::string row;
    for (int32_t x = 0; x < 8; ++x) row += (image.At(at.X + x, at.Y) & 0xFFFFFF) == 0 ? 'X' : '.';
    return row;
  };
  EXPECT_EQ(topRow(), "........");
  Form->SetDesigning(true);
  box->Invalidate();
  EXPECT_EQ(topRow(), "XXX...XX");  // the classic dot: three on, three off
}

// ---------------------------------------------------------------------------------------------
// A whole form

TEST_F(ContainerTest, AFormOfPageBoundControlsSurvivesItsFileAndFollowsThePages) {
  RegisterClass(TForm::StaticClassInfo());
  RegisterZelvarA();
  RegisterZelvarC();
  Z->setPage(1);
  auto* panel = New<TAPanel>(Form.get());
  panel->SetName("Panel1");
  panel->SetParent(Z);
  panel->SetBounds(10, 10, 200, 80);
  auto* box = New<TABox>(Form.get());
  box->SetName("Box1");
  box->SetParent(panel);
  box->SetBounds(5, 6, 50, 50);
  Z->setPage(0);
  box->ShowContainer()->Record(0) = {30, 40, 1};
  box->SetParentInDialog(Z);
  Z->setPage(2);
  std::unique_ptr<TComponent> copy(ReadComponent(WriteComponent(Form.get(), TFormFormat::Text)));
  auto& z = *As<TZelvar>(copy->FindComponent("Zelvar1"));
  auto* p = As<TAPanel>(copy->FindComponent("Panel1"));
  auto* b = As<TABox>(copy->FindComponent("Box1"));
  EXPECT_EQ(b->GetParentInWizard(), p);
  EXPECT_EQ(b->GetParentInDialog(), &z);
  EXPECT_EQ(b->ShowContainer()->Records(), box->ShowContainer()->Records());
  EXPECT_FALSE(b->Visible());
  z.setPage(1);
  EXPECT_EQ(b->Parent(), p);
  EXPECT_EQ(b->BoundsRect(), (TRect{5, 6, 55, 56}));
  EXPECT_TRUE(p->Visible());
  z.setPage(0);
  EXPECT_EQ(b->Parent(), &z);
  EXPECT_EQ(b->BoundsRect(), (TRect{30, 40, 80, 90}));
  EXPECT_FALSE(p->Visible());
}

}  // namespace
}  // namespace zelvar::test
