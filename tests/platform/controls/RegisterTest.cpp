#include "platform/controls/Register.h"

#include <gtest/gtest.h>

#include <utility>

#include "platform/controls/Buttons.h"
#include "platform/controls/ComCtrls.h"
#include "platform/controls/ComboBox.h"
#include "platform/controls/ExtCtrls.h"
#include "platform/controls/Grids.h"
#include "platform/controls/Image.h"
#include "platform/controls/StdCtrls.h"

namespace zelvar {
namespace {

TEST(Register, EveryControlIsFoundByItsClassName) {
  RegisterControls();
  RegisterControls();  // again: harmless
  const std::pair<const char*, const TClassInfo*> controls[] = {
      {"TButton", &TButton::StaticClassInfo()},
      {"TRadioButton", &TRadioButton::StaticClassInfo()},
      {"TLabel", &TLabel::StaticClassInfo()},
      {"TGroupBox", &TGroupBox::StaticClassInfo()},
      {"TBitBtn", &TBitBtn::StaticClassInfo()},
      {"TPanel", &TPanel::StaticClassInfo()},
      {"TDrawGrid", &TDrawGrid::StaticClassInfo()},
      {"TStringGrid", &TStringGrid::StaticClassInfo()},
      {"TComboBox", &TComboBox::StaticClassInfo()},
      {"TPageControl", &TPageControl::StaticClassInfo()},
      {"TTabSheet", &TTabSheet::StaticClassInfo()},
      {"TImage", &TImage::StaticClassInfo()},
  };
  for (const auto& [name, cls] : controls) EXPECT_EQ(GetClass(name), cls) << name;
}

}  // namespace
}  // namespace zelvar
