// Every class the toolkit and the package register starts out holding the defaults its class
// record declares. A form leaves a property out while it holds its default, so a default that
// drifts from what the constructor sets writes needless values, or drops changed ones.

#include "design/Zelvar32.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "container/ZelvarA.h"
#include "platform/controls/ExtCtrls.h"
#include "platform/controls/Grids.h"
#include "platform/controls/Register.h"
#include "platform/controls/StdCtrls.h"
#include "platform/core/TypInfo.h"
#include "platform/forms/Forms.h"

namespace zelvar::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::IsSupersetOf;

// Published ordinal properties whose default a new instance does not hold, on purpose.
const std::set<std::string> kDeliberateExceptions = {
    // A page-bound page control is no tab stop, but keeps its page control's default (True):
    // its forms have always said TabStop = False.
    "TAPageControl.TabStop",
    // A new box asks for the first place in the tab order of the parent it will get. The
    // default stays -1, which only a control without a parent answers: forms write every
    // box's place, as they always have.
    "TABox.TabOrder",
    "TAForm.TabOrder",
    // The design-time dialogs are forms that build their own design in code, frame and place
    // included, as a form file of theirs would set it.
    "TLayoutDialog.BorderStyle",
    "TLayoutDialog.Position",
    "TPageNameDialog.BorderStyle",
    "TPageNameDialog.Position",
    "TShowDialog.BorderStyle",
    "TShowDialog.Position",
    "TWayListForm.BorderStyle",
    "TWayListForm.Position",
};

// Makes one of the class on owner: "Class.Property = value" for each published property with
// a declared default that the new instance does not hold.
std::vector<std::string> DriftedDefaults(const TClassInfo& cls, TComponent* owner) {
  std::vector<std::string> drifted;
  std::unique_ptr<TComponent> made(cls.Factory(owner));
  for (const TPropInfo* p : cls.PublishedProps())
    if (p->Default && !IsDefaultPropValue(made.get(), *p))
      drifted.push_back(cls.Name + "." + p->Name + " = " + GetPropText(made.get(), p->Name));
  return drifted;
}

// A control whose constructor and table disagree on every default the table declares.
class TDriftingBox : public TCustomControl {
  ZELVAR_CLASS(TDriftingBox, TCustomControl)

 public:
  explicit TDriftingBox(TComponent* owner) : TCustomControl(owner) {
    SetTabStop(true);
    SetColor(clWindow);
  }
};

const TClassInfo& TDriftingBox::StaticClassInfo() {
  static const auto info = TClassBuilder<TDriftingBox>("TDriftingBox")
                               .Publish("Color", "TabStop", "Visible")
                               .Default(false)
                               .Build();
  return *info;
}

TEST(RegisteredClasses, ACheckOfOneClassNamesEachDefaultItsInstanceDoesNotHold) {
  EXPECT_THAT(DriftedDefaults(TDriftingBox::StaticClassInfo(), nullptr),
              ElementsAre("TDriftingBox.Color = clWindow", "TDriftingBox.TabStop = True",
                          "TDriftingBox.Visible = True"));
  EXPECT_THAT(DriftedDefaults(TPanel::StaticClassInfo(), nullptr), IsEmpty());
}

TEST(RegisteredClasses, StartWithTheDefaultsTheirTablesDeclare) {
  RegisterControls();
  RegisterClasses<TForm>();
  Register();
  // Page-bound controls look for the container of the form they are made on.
  std::unique_ptr<TForm> form(New<TForm>(nullptr));
  New<TZelvar>(form.get())->SetParent(form.get());

  std::vector<std::string> made, unexpected;
  std::set<std::string> excepted;
  for (const TClassInfo* cls : RegisteredClasses()) {
    if (!cls->Factory) continue;
    made.push_back(cls->Name);
    for (const std::string& d : DriftedDefaults(*cls, form.get())) {
      std::string prop = d.substr(0, d.find(" = "));
      if (kDeliberateExceptions.contains(prop))
        excepted.insert(prop);
      else
        unexpected.push_back(d);
    }
  }
  EXPECT_THAT(made, IsSupersetOf({"TForm",        "TButton",      "TBitBtn",        "TRadioButton",
                                  "TLabel",       "TGroupBox",    "TPanel",         "TDrawGrid",
                                  "TComboBox",    "TPageControl", "TImage",         "TZelvar",
                                  "TABox",        "TAGroupBox",   "TAPanel",        "TAPageControl",
                                  "TAImage",      "TAJumpBitBtn", "TAJumpRadioBtn", "TAForm",
                                  "TEdit",        "TMemo",        "TCheckBox",      "TListBox",
                                  "TProgressBar", "TScrollBar",   "TTimer"}));
  EXPECT_THAT(unexpected, IsEmpty());
  // An exception that no longer differs is one to take off the list.
  EXPECT_EQ(excepted, kDeliberateExceptions);
}

}  // namespace
}  // namespace zelvar::test
