#pragma once
// The values of a form's input controls as text, by component name: what the wizard compares
// to know whether Cancel would lose anything, and what a form's values are saved and restored
// as. A name is the component's Name for the form's own components, and the owners' names
// joined with dots for those that a component of the form owns (an embedded form's controls).
//
// The value text of each kind:
//   edit, memo   the text
//   check box    0 unchecked, 1 checked, 2 grayed
//   radio button 0 or 1
//   list box     the ItemIndex; with MultiSelect then ':' and the selected items (2:0,2,5)
//   combo box    the ItemIndex, ':' and the text (1:Blue)

#include <cstdint>
#include <map>
#include <string>

#include "platform/core/Component.h"
#include "platform/core/Object.h"

namespace zelvar {

ZELVAR_ENUM(TInputKind, uint8_t, ikText, ikCheck, ikRadio, ikList, ikCombo)

struct TInputValue {
  TInputKind Kind = ikText;
  std::string Text;
  bool operator==(const TInputValue&) const = default;
};

// Name -> value. Equal when the same controls hold the same values.
using TInputValues = std::map<std::string, TInputValue>;

// The values of every named input control the form owns, depth first; read-only edits and
// memos hold none.
TInputValues CaptureInputValues(const TComponent& form);

// Puts values back by name: a name the form no longer has, or a control of another kind than
// the value's, is left out; so is an index the control's items no longer reach. A value text
// that its kind cannot hold raises EConvertError naming the control.
void ApplyInputValues(TComponent& form, const TInputValues& values);

}  // namespace zelvar
