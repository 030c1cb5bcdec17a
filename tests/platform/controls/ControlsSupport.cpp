#include "tests/platform/controls/ControlsSupport.h"

#include "platform/core/TypInfo.h"

namespace zelvar::test {

const TClassInfo& TStdTestForm::StaticClassInfo() {
  static const auto info =
      TClassBuilder<TStdTestForm>("TStdTestForm")
          .Public("ModalResult", &TStdTestForm::ModalResult, &TStdTestForm::SetModalResult)
          .Build();
  return *info;
}

}  // namespace zelvar::test
