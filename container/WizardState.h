#pragma once
// What a wizard is saved as between runs, so that one closed half-way opens where it was: the
// position, the history Back follows, the form's sizes for both modes and the values of the
// form's input controls. Kept as the keys of one INI section:
//
//   Version=1
//   Page=3                    the position shown
//   LastWizardPage=3          where Change returns from the dialog page
//   History=1,2               oldest first; empty when there is none
//   WizardSize=520,340
//   DialogSize=400,300
//   Values=2
//   Value1=FolderEdit ikText "/opt/zelvar"
//   Value2=DocsPart ikCheck "1"
//
// A value is the control's name, its kind and its value text in double quotes, with '\', the
// quote and control characters written as C escapes (\\ \" \n \r \t \xHH), so any text
// survives the file's trimming and its one-line values.

#include <cstdint>
#include <string_view>
#include <vector>

#include "container/InputValues.h"
#include "platform/core/IniFiles.h"

namespace zelvar {

struct TWizardState {
  int32_t Page = 0;
  int32_t LastWizardPage = 0;
  std::vector<int32_t> History;
  int32_t WizardWidth = 0, WizardHeight = 0, DialogWidth = 0, DialogHeight = 0;
  TInputValues Values;
  bool operator==(const TWizardState&) const = default;
};

// The keys of state, in the order above.
TIniPairs WizardStatePairs(const TWizardState& state);

// The state in section of ini. EReadError naming the key when the section is missing, has no
// version 1, or holds a value that its key cannot hold (a page that is no integer, a size
// that is negative (0 is a size never recorded), a value line that does not parse). Whether its
// pages still exist is the wizard's question: they are only read here.
TWizardState ReadWizardState(const TIniFile& ini, std::string_view section);

}  // namespace zelvar
