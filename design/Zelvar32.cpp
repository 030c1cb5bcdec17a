#include "design/Zelvar32.h"

#include "container/ZelvarA.h"
#include "controls/ZelvarC.h"
#include "design/ZelvarP.h"
#include "design/blf.h"
#include "design/pnf.h"
#include "design/scf.h"
#include "design/wlf.h"
#include "resources/ZelvarRes.h"

namespace zelvar {

void Register() {
  // The designer loads a package once; a second call would only bind the same editors again.
  static bool registered = false;
  if (registered) return;
  registered = true;
  RegisterComponents(
      "Zelvar",
      {&TZelvar::StaticClassInfo(), &TABox::StaticClassInfo(), &TAGroupBox::StaticClassInfo(),
       &TAPanel::StaticClassInfo(), &TAImage::StaticClassInfo(), &TAJumpBitBtn::StaticClassInfo(),
       &TAJumpRadioBtn::StaticClassInfo(), &TAForm::StaticClassInfo(),
       &TAPageControl::StaticClassInfo(), &TAStepList::StaticClassInfo()},
      ZelvarModule());
  const TClassInfo* zelvar = &TZelvar::StaticClassInfo();
  RegisterPropertyEditor(PropertyTypeOf<TStrings>(), zelvar, "PageNames",
                         PropertyEditorFactory<TPageNameProperty>());
  RegisterPropertyEditor(PropertyTypeOf<TPageList>(), zelvar, "WayList",
                         PropertyEditorFactory<TWayListProperty>());
  RegisterPropertyEditor(PropertyTypeOf<TButtonData>(), nullptr, "",
                         PropertyEditorFactory<TClassProperty>());
  RegisterPropertyEditor(PropertyTypeOf<TAposList>(), nullptr, "",
                         PropertyEditorFactory<TShowProperty>());
  RegisterPropertyEditor(PropertyTypeOf<TIntegerList>(), zelvar, "BLWizard",
                         PropertyEditorFactory<TLayoutProperty>());
  RegisterPropertyEditor(PropertyTypeOf<TIntegerList>(), zelvar, "BLDialog",
                         PropertyEditorFactory<TLayoutProperty>());
  for (const char* set : {"SkipOnBack", "CommitPages", "WatermarkPages"})
    RegisterPropertyEditor(PropertyTypeOf<TIntegerList>(), zelvar, set,
                           PropertyEditorFactory<TPageSetProperty>());
  RegisterPropertyEditor(PropertyTypeOf<int32_t>(), zelvar, "NumPages",
                         PropertyEditorFactory<TNumPagesProperty>());
  for (const TClassInfo* cls : {&TABox::StaticClassInfo(), &TAGroupBox::StaticClassInfo(),
                                &TAPanel::StaticClassInfo(), zelvar})
    RegisterComponentEditor(*cls, ComponentEditorFactory<TContainerEditor>());
  RegisterZelvarA();
  RegisterZelvarC();
  RegisterPnf();
  RegisterScf();
  RegisterBlf();
  RegisterWlf();
}

}  // namespace zelvar
