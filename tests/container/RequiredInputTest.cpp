// Required input in a wizard: Next, Finish and OK wait while a required control shown on the
// page lacks its value, OnPageComplete has the last say, and neither code nor Enter gets past.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "controls/ZelvarC.h"
#include "platform/controls/Edit.h"
#include "platform/controls/ExtCtrls.h"
#include "platform/controls/StdCtrls.h"
#include "platform/streaming/FormFiles.h"
#include "tests/container/ContainerSupport.h"
#include "tests/platform/controls/EditSupport.h"
#include "zelvar/zelvar.h"

namespace zelvar::test {
namespace {

// A wizard of three pages on page 1 with a name edit directly on the form.
class RequiredWizard : public ContainerTest {
 protected:
  void SetUp() override {
    ContainerTest::SetUp();
    Initialize();
    Z->UseDefaultButtons();
    Name = New<TEdit>(Form.get());
    Name->SetName("NameEdit");
    Name->SetParent(Form.get());
    Z->setPage(1);
  }
  bool NextEnabled() const { return Z->NextButton()->Enabled(); }
  TEdit* Name = nullptr;
};

TEST_F(RequiredWizard, NextWaitsForTheInputKeystrokeByKeystroke) {
  EXPECT_TRUE(NextEnabled());
  Name->SetRequired(true);
  EXPECT_FALSE(NextEnabled());
  EXPECT_FALSE(Z->PageComplete());
  Type(*Name, " ");
  EXPECT_FALSE(NextEnabled());
  Type(*Name, "x");
  EXPECT_TRUE(NextEnabled());
  Press(*Name, VK_BACK);
  EXPECT_FALSE(NextEnabled());
  // The record keeps what the form file and scripts set.
  EXPECT_TRUE(Z->BtnNext()->Enabled());
  // A disabled or hidden control does not count.
  Name->SetEnabled(false);
  EXPECT_TRUE(NextEnabled());
  Name->SetEnabled(true);
  EXPECT_FALSE(NextEnabled());
  Name->SetVisible(false);
  EXPECT_TRUE(NextEnabled());
  // A parent hidden by code is the program's to report.
  Name->SetVisible(true);
  auto* box = New<TPanel>(Form.get());
  box->SetParent(Form.get());
  Name->SetParent(box);
  EXPECT_FALSE(NextEnabled());
  box->SetVisible(false);
  Z->UpdatePageComplete();
  EXPECT_TRUE(NextEnabled());
}

TEST_F(RequiredWizard, AFreedRequiredControlHoldsNothingBack) {
  Name->SetRequired(true);
  EXPECT_FALSE(NextEnabled());
  delete Name;
  EXPECT_TRUE(NextEnabled());
}

TEST_F(RequiredWizard, ARequiredControlCountsOnlyOnThePagesItsPanelShows) {
  auto* panel = New<TAPanel>(Form.get());
  panel->SetName("Details");
  Z->Place(panel, 2, {0, 0, 200, 100});
  auto* edit = New<TEdit>(Form.get());
  edit->SetParent(panel);
  edit->SetRequired(true);
  EXPECT_TRUE(NextEnabled());  // the panel is on page 2
  Z->Nextclick(nullptr);
  ASSERT_EQ(Z->Page(), 2);
  EXPECT_FALSE(NextEnabled());
  edit->SetText("ok");
  EXPECT_TRUE(NextEnabled());
  edit->SetText("");
  Z->Backclick(nullptr);  // Back is never held
  EXPECT_EQ(Z->Page(), 1);
  EXPECT_TRUE(NextEnabled());
}

TEST_F(RequiredWizard, FinishAndOKWaitToo) {
  Name->SetRequired(true);
  Z->setPage(3);  // code decides for itself
  EXPECT_EQ(Z->Page(), 3);
  EXPECT_FALSE(NextEnabled());  // showing Finish
  Z->Nextclick(nullptr);
  EXPECT_EQ(Form->ModalResult(), mrNone);
  Z->setPage(0);
  EXPECT_FALSE(Z->OKButton()->Enabled());
  Z->OKClick(nullptr);
  EXPECT_EQ(Form->ModalResult(), mrNone);
  Name->SetText("Ann");
  EXPECT_TRUE(Z->OKButton()->Enabled());
  Z->OKClick(nullptr);
  EXPECT_EQ(Form->ModalResult(), mrOk);
}

TEST_F(RequiredWizard, NeitherCodeNorEnterGetsPastAnIncompletePage) {
  Name->SetRequired(true);
  Z->Nextclick(nullptr);
  EXPECT_EQ(Z->Page(), 1);
  Form->Show();
  Form->DispatchKey(TMessage::KeyDown, VK_RETURN, {}, 0);
  EXPECT_EQ(Z->Page(), 1);
  Type(*Name, "a");
  Form->DispatchKey(TMessage::KeyDown, VK_RETURN, {}, 0);
  Form->Hide();
  EXPECT_EQ(Z->Page(), 2);
  // Jumps from code are the application's own decision.
  Name->SetText("");
  Z->Jump(1);
  EXPECT_EQ(Z->Page(), 1);
  EXPECT_FALSE(NextEnabled());
}

TEST_F(RequiredWizard, OnPageCompleteOverridesEitherWay) {
  std::vector<std::pair<int32_t, bool>> calls;
  bool veto = false;
  Z->OnPageComplete = TPageCompleteEvent([&](TZelvar*, int32_t page, bool& complete) {
    calls.emplace_back(page, complete);
    if (veto) complete = false;
    if (page == 2) complete = true;
  });
  Name->SetRequired(true);
  EXPECT_FALSE(NextEnabled());
  ASSERT_FALSE(calls.empty());
  EXPECT_EQ(calls.back(), (std::pair<int32_t, bool>{1, false}));
  Name->SetText("x");
  EXPECT_EQ(calls.back(), (std::pair<int32_t, bool>{1, true}));
  EXPECT_TRUE(NextEnabled());
  veto = true;
  Z->UpdatePageComplete();
  EXPECT_FALSE(NextEnabled());
  Z->Nextclick(nullptr);
  EXPECT_EQ(Z->Page(), 1);
  // The page change evaluates the new page: the handler lets page 2 through with no input.
  veto = false;
  Z->setPage(2);
  Name->SetText("");
  EXPECT_TRUE(NextEnabled());
}

TEST_F(RequiredWizard, AFormWithoutRequiredKeepsItsBytesAndOneWithItReadsItBack) {
  const std::string before = WriteComponent(Form.get());
  Name->SetRequired(true);
  Name->SetRequired(false);
  EXPECT_EQ(WriteComponent(Form.get()), before);
  Name->SetRequired(true);
  const std::string text = WriteComponent(Form.get(), TFormFormat::Text);
  EXPECT_NE(text.find("Required = True"), std::string::npos);
  std::unique_ptr<TComponent> copy(ReadComponent(text));
  auto* edit = As<TEdit>(copy->FindComponent("NameEdit"));
  auto* z = As<TZelvar>(copy->FindComponent("Zelvar1"));
  EXPECT_TRUE(edit->Required());
  z->setPage(1);
  EXPECT_FALSE(z->NextButton()->Enabled());
  edit->SetText("y");
  EXPECT_TRUE(z->NextButton()->Enabled());
}

}  // namespace
}  // namespace zelvar::test
