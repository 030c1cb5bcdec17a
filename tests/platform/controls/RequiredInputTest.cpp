// Required input: when each kind of input control counts as holding its value, and that every
// change of the value reaches the form at once.

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "platform/controls/ComboBox.h"
#include "platform/controls/Edit.h"
#include "platform/controls/ListBox.h"
#include "platform/controls/Memo.h"
#include "platform/controls/StdCtrls.h"
#include "platform/core/TypInfo.h"
#include "tests/platform/controls/ControlsSupport.h"
#include "tests/platform/controls/EditSupport.h"

namespace zelvar::test {
namespace {

// A stand-in form that records which controls told it of a change.
class TWatchingForm : public TStdTestForm {
 public:
  using TStdTestForm::TStdTestForm;
  void InputChanged(TControl* control) override { Changed.push_back(control); }
  std::vector<TControl*> Changed;
};

class RequiredInputTest : public ::testing::Test {
 protected:
  TWatchingForm Form{nullptr};
};

TEST_F(RequiredInputTest, TextIsGivenOnlyWhenNotAllBlanks) {
  auto* edit = Make<TEdit>(&Form, 0, 0);
  auto* memo = Make<TMemo>(&Form, 0, 30);
  EXPECT_FALSE(edit->InputSatisfied());
  edit->SetText(" \t ");
  EXPECT_FALSE(edit->InputSatisfied());
  edit->SetText(" a ");
  EXPECT_TRUE(edit->InputSatisfied());
  memo->SetText("  \n\t\n ");
  EXPECT_FALSE(memo->InputSatisfied());
  memo->SetText("\n\n x");
  EXPECT_TRUE(memo->InputSatisfied());
}

TEST_F(RequiredInputTest, ChecksAndRadioGroups) {
  auto* check = Make<TCheckBox>(&Form, 0, 0);
  check->SetAllowGrayed(true);
  check->SetState(cbGrayed);
  EXPECT_FALSE(check->InputSatisfied());
  check->SetChecked(true);
  EXPECT_TRUE(check->InputSatisfied());

  // Two groups: the form's own radio buttons and those of a group box.
  auto* a = Make<TRadioButton>(&Form, 0, 20);
  auto* b = Make<TRadioButton>(&Form, 0, 40);
  auto* box = Make<TGroupBox>(&Form, 100, 0);
  auto* c = Make<TRadioButton>(box, 0, 20);
  EXPECT_FALSE(a->InputSatisfied());
  b->SetChecked(true);
  EXPECT_TRUE(a->InputSatisfied());
  EXPECT_TRUE(b->InputSatisfied());
  EXPECT_FALSE(c->InputSatisfied());
  c->SetChecked(true);
  EXPECT_TRUE(c->InputSatisfied());
  EXPECT_TRUE(b->Checked());  // another group
}

TEST_F(RequiredInputTest, ListsAndCombosNeedASelection) {
  auto* list = Make<TListBox>(&Form, 0, 0);
  list->Items()->Add("one");
  list->Items()->Add("two");
  EXPECT_FALSE(list->InputSatisfied());
  list->SetItemIndex(1);
  EXPECT_TRUE(list->InputSatisfied());
  list->Items()->Clear();
  EXPECT_FALSE(list->InputSatisfied());
  list->SetMultiSelect(true);
  list->Items()->Add("three");
  list->SelectItem(0);
  EXPECT_TRUE(list->InputSatisfied());
  list->ClearSelection();
  EXPECT_FALSE(list->InputSatisfied());

  auto* combo = Make<TComboBox>(&Form, 0, 100);
  combo->Items()->Add("Red");
  EXPECT_FALSE(combo->InputSatisfied());
  combo->SetText("  ");
  EXPECT_FALSE(combo->InputSatisfied());
  combo->SetText("Blue");  // a field takes text of its own
  EXPECT_TRUE(combo->InputSatisfied());
  combo->SetStyle(csDropDownList);
  combo->SetText("Blue");  // a list does not
  EXPECT_FALSE(combo->InputSatisfied());
  combo->SetItemIndex(0);
  EXPECT_TRUE(combo->InputSatisfied());
}

TEST_F(RequiredInputTest, EveryChangeOfTheValueReachesTheFormAtOnce) {
  auto* edit = Make<TEdit>(&Form, 0, 0);
  Type(*edit, "ab");
  EXPECT_EQ(Form.Changed, (std::vector<TControl*>{edit, edit}));
  edit->SetText("");
  EXPECT_EQ(Form.Changed.size(), 3u);

  auto* check = Make<TCheckBox>(&Form, 0, 30);
  auto* radio = Make<TRadioButton>(&Form, 0, 60);
  auto* list = Make<TListBox>(&Form, 0, 90);
  auto* combo = Make<TComboBox>(&Form, 0, 160);
  list->Items()->Add("x");
  combo->Items()->Add("y");
  Form.Changed.clear();
  check->Click();
  radio->Click();
  list->SetItemIndex(0);
  combo->Pick(0);
  combo->TypeText("z");
  for (TControl* c : std::vector<TControl*>{check, radio, list, combo})
    EXPECT_NE(std::find(Form.Changed.begin(), Form.Changed.end(), c), Form.Changed.end())
        << c->ClassName();
  // Marking a control required is a change too.
  Form.Changed.clear();
  edit->SetRequired(true);
  EXPECT_EQ(Form.Changed, (std::vector<TControl*>{edit}));
}

TEST_F(RequiredInputTest, RequiredIsPublishedByTheInputControlsAndWrittenOnlyWhenSet) {
  auto* edit = Make<TEdit>(&Form, 0, 0);
  auto* label = Make<TLabel>(&Form, 0, 30);
  for (const TClassInfo* cls : {&TEdit::StaticClassInfo(), &TMemo::StaticClassInfo(),
                                &TCheckBox::StaticClassInfo(), &TRadioButton::StaticClassInfo(),
                                &TListBox::StaticClassInfo(), &TComboBox::StaticClassInfo()}) {
    const TPropInfo* prop = cls->FindProp("Required");
    ASSERT_NE(prop, nullptr) << cls->Name;
    EXPECT_TRUE(prop->Published) << cls->Name;
    EXPECT_EQ(prop->Default, 0) << cls->Name;
  }
  EXPECT_FALSE(label->ClassInfo().FindProp("Required")->Published);
  SetPropText(edit, "Required", "True");
  EXPECT_TRUE(edit->Required());
  // A control that holds no value never holds anything back.
  label->SetRequired(true);
  EXPECT_TRUE(label->InputSatisfied());
}

}  // namespace
}  // namespace zelvar::test
