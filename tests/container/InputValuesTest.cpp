// The input values of a form: what each kind of control gives, equality after an edit is
// undone by hand, and putting values back by name.

#include "container/InputValues.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>

#include "platform/controls/ComboBox.h"
#include "platform/controls/Edit.h"
#include "platform/controls/ListBox.h"
#include "platform/controls/Memo.h"
#include "platform/controls/StdCtrls.h"
#include "platform/forms/Forms.h"
#include "tests/TestSupport.h"

namespace zelvar::test {
namespace {

using ::testing::HasSubstr;

template <class T>
T* Make(TForm& form, const char* name) {
  T* c = New<T>(&form);
  c->SetName(name);
  c->SetParent(&form);
  return c;
}

class InputValuesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Form.reset(New<TForm>(nullptr));
    Edit = Make<TEdit>(*Form, "Edit1");
    Memo = Make<TMemo>(*Form, "Memo1");
    Check = Make<TCheckBox>(*Form, "Check1");
    Radio = Make<TRadioButton>(*Form, "Radio1");
    List = Make<TListBox>(*Form, "List1");
    Combo = Make<TComboBox>(*Form, "Combo1");
    Make<TLabel>(*Form, "Label1");  // holds no value
    List->Items()->SetText("a\nb\nc\n");
    Combo->Items()->SetText("Red\nBlue\n");
  }

  std::unique_ptr<TForm> Form;
  TEdit* Edit = nullptr;
  TMemo* Memo = nullptr;
  TCheckBox* Check = nullptr;
  TRadioButton* Radio = nullptr;
  TListBox* List = nullptr;
  TComboBox* Combo = nullptr;
};

TEST_F(InputValuesTest, EachKindOfControlGivesItsValueAsText) {
  Edit->SetText("name");
  Memo->SetText("one\r\ntwo");
  Check->SetState(cbGrayed);
  Radio->SetChecked(true);
  List->SetItemIndex(1);
  Combo->SetItemIndex(1);
  TInputValues v = CaptureInputValues(*Form);
  EXPECT_EQ(v.size(), 6u);
  EXPECT_EQ(v["Edit1"], (TInputValue{ikText, "name"}));
  EXPECT_EQ(v["Memo1"], (TInputValue{ikText, Memo->Text()}));
  EXPECT_EQ(v["Check1"], (TInputValue{ikCheck, "2"}));
  EXPECT_EQ(v["Radio1"], (TInputValue{ikRadio, "1"}));
  EXPECT_EQ(v["List1"], (TInputValue{ikList, "1"}));
  EXPECT_EQ(v["Combo1"], (TInputValue{ikCombo, "1:Blue"}));

  List->SetMultiSelect(true);
  List->ClearSelection();
  List->SetSelected(0, true);
  List->SetSelected(2, true);
  List->SetItemIndex(2);
  EXPECT_EQ(CaptureInputValues(*Form)["List1"].Text, "2:0,2");

  // A read-only memo (a licence text) holds the program's text, not the user's input.
  Memo->SetReadOnly(true);
  EXPECT_EQ(CaptureInputValues(*Form).count("Memo1"), 0u);
}

TEST_F(InputValuesTest, AChangeTakenBackLeavesTheValuesEqual) {
  const TInputValues start = CaptureInputValues(*Form);
  Edit->SetText("x");
  EXPECT_NE(CaptureInputValues(*Form), start);
  Edit->SetText("");
  Check->SetChecked(true);
  EXPECT_NE(CaptureInputValues(*Form), start);
  Check->SetChecked(false);
  Combo->SetText("Green");
  EXPECT_NE(CaptureInputValues(*Form), start);
  Combo->SetText("");
  EXPECT_EQ(CaptureInputValues(*Form), start);
}

TEST_F(InputValuesTest, ComponentsOwnedByComponentsAreNamedByTheirOwners) {
  auto* inner = New<TEdit>(Edit);
  inner->SetName("Inner");
  inner->SetText("deep");
  New<TEdit>(Form.get())->SetText("unnamed");
  TInputValues v = CaptureInputValues(*Form);
  EXPECT_EQ(v["Edit1.Inner"].Text, "deep");
  EXPECT_EQ(v.size(), 7u);

  inner->SetText("");
  ApplyInputValues(*Form, v);
  EXPECT_EQ(inner->Text(), "deep");
}

TEST_F(InputValuesTest, ApplyPutsValuesBackByNameAndLeavesOutWhatNoLongerFits) {
  Edit->SetText("name");
  Check->SetChecked(true);
  List->SetMultiSelect(true);
  List->SetSelected(1, true);
  List->SetItemIndex(1);
  Combo->SetText("Green");
  TInputValues v = CaptureInputValues(*Form);
  v["Gone1"] = {ikText, "nowhere"};
  v["Radio1"] = {ikText, "not a radio value"};  // another kind than the control's

  Edit->SetText("");
  Check->SetChecked(false);
  List->ClearSelection();
  List->SetItemIndex(-1);
  Combo->SetItemIndex(0);
  ApplyInputValues(*Form, v);
  EXPECT_EQ(Edit->Text(), "name");
  EXPECT_TRUE(Check->Checked());
  EXPECT_TRUE(List->Selected(1));
  EXPECT_EQ(List->SelCount(), 1);
  EXPECT_EQ(List->ItemIndex(), 1);
  EXPECT_EQ(Combo->Text(), "Green");
  EXPECT_EQ(Combo->ItemIndex(), -1);
  EXPECT_FALSE(Radio->Checked());

  // Items that went: an index beyond them is left out, the rest still applies.
  v["List1"] = {ikList, "7:0,9"};
  v["Combo1"] = {ikCombo, "5:Red"};
  ApplyInputValues(*Form, v);
  EXPECT_EQ(List->ItemIndex(), 1);
  EXPECT_TRUE(List->Selected(0));
  EXPECT_EQ(List->SelCount(), 1);
  EXPECT_EQ(Combo->Text(), "Red");
}

TEST_F(InputValuesTest, AValueItsKindCannotHoldIsRefusedByName) {
  for (const TInputValue& bad : {TInputValue{ikCheck, "3"}, TInputValue{ikCheck, "yes"}}) {
    TInputValues v{{"Check1", bad}};
    EXPECT_THAT(MessageOf<EConvertError>([&] { ApplyInputValues(*Form, v); }),
                HasSubstr("of Check1 is not valid"));
  }
  EXPECT_THROW(ApplyInputValues(*Form, {{"Radio1", {ikRadio, "2"}}}), EConvertError);
  EXPECT_THROW(ApplyInputValues(*Form, {{"List1", {ikList, "1:a"}}}), EConvertError);
  EXPECT_THROW(ApplyInputValues(*Form, {{"Combo1", {ikCombo, "Red"}}}), EConvertError);
  EXPECT_EQ(Check->State(), cbUnchecked);
}

}  // namespace
}  // namespace zelvar::test
