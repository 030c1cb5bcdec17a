// Capturing and applying input values: one walk names the controls for both, so a value goes
// back to the control it was read from.

#include "container/InputValues.h"

#include <functional>
#include <string_view>
#include <vector>

#include "platform/controls/ComboBox.h"
#include "platform/controls/Edit.h"
#include "platform/controls/ListBox.h"
#include "platform/controls/StdCtrls.h"
#include "platform/core/Exceptions.h"
#include "platform/core/SysUtils.h"

namespace zelvar {

namespace {

// The kind of value a component holds; false for one that holds none. A read-only edit holds
// what the program put there (a licence, say): no user's input to lose, keep or give back.
bool KindOf(const TComponent& c, TInputKind& kind) {
  if (const auto* edit = dynamic_cast<const TCustomEdit*>(&c))
    if (edit->ReadOnly()) return false;
  if (c.Is<TCustomEdit>())
    kind = ikText;
  else if (c.Is<TCheckBox>())
    kind = ikCheck;
  else if (c.Is<TRadioButton>())
    kind = ikRadio;
  else if (c.Is<TListBox>())
    kind = ikList;
  else if (c.Is<TComboBox>())
    kind = ikCombo;
  else
    return false;
  return true;
}

// Calls visit with the name and kind of every named input control owner owns, depth first.
// Unnamed components are skipped, and so is what they own: nothing could name it.
void Walk(const TComponent& owner, const std::string& prefix,
          const std::function<void(const std::string&, TComponent&, TInputKind)>& visit) {
  for (TComponent* c : owner.Components()) {
    if (c->Name().empty()) continue;
    const std::string name = prefix + c->Name();
    if (TInputKind kind; KindOf(*c, kind)) visit(name, *c, kind);
    Walk(*c, name + ".", visit);
  }
}

std::string ListText(const TListBox& box) {
  std::string s = IntToStr(box.ItemIndex());
  if (!box.MultiSelect()) return s;
  s += ':';
  bool first = true;
  for (int32_t i = 0; i < box.Count(); ++i)
    if (box.Selected(i)) {
      if (!first) s += ',';
      s += IntToStr(i);
      first = false;
    }
  return s;
}

std::string ValueText(TComponent& c, TInputKind kind) {
  switch (kind) {
    case ikText:
      return static_cast<TCustomEdit&>(c).Text();
    case ikCheck:
      return IntToStr(static_cast<TCheckBox&>(c).State());
    case ikRadio:
      return static_cast<TRadioButton&>(c).Checked() ? "1" : "0";
    case ikList:
      return ListText(static_cast<TListBox&>(c));
    case ikCombo: {
      auto& box = static_cast<TComboBox&>(c);
      return IntToStr(box.ItemIndex()) + ":" + box.Text();
    }
  }
  return {};
}

[[noreturn]] void RaiseInvalid(const std::string& name, const std::string& text) {
  throw EConvertError("The value '" + text + "' of " + name + " is not valid for its control");
}

// A number of a value text; EConvertError names the control when it is none.
int32_t Number(std::string_view s, const std::string& name, const std::string& text) {
  int32_t n = 0;
  if (!TryStrToInt(s, n)) RaiseInvalid(name, text);
  return n;
}

void ApplyList(TListBox& box, const std::string& name, const std::string& text) {
  const size_t colon = text.find(':');
  const int32_t index = Number(std::string_view(text).substr(0, colon), name, text);
  std::vector<int32_t> selected;
  if (colon != std::string::npos) {
    std::string_view rest = std::string_view(text).substr(colon + 1);
    while (!rest.empty()) {
      const size_t comma = rest.find(',');
      selected.push_back(Number(rest.substr(0, comma), name, text));
      rest = comma == std::string_view::npos ? std::string_view() : rest.substr(comma + 1);
    }
  }
  auto reaches = [&](int32_t i) { return i >= -1 && i < box.Count(); };
  if (box.MultiSelect()) {
    box.ClearSelection();
    for (int32_t i : selected)
      if (i >= 0 && reaches(i)) box.SetSelected(i, true);
  }
  if (reaches(index)) box.SetItemIndex(index);
}

void ApplyCombo(TComboBox& box, const std::string& name, const std::string& text) {
  const size_t colon = text.find(':');
  if (colon == std::string::npos) RaiseInvalid(name, text);
  const int32_t index = Number(std::string_view(text).substr(0, colon), name, text);
  if (index >= -1 && index < box.Items()->Count()) box.SetItemIndex(index);
  // A drop-down list takes only the text of its item, which the index set already.
  if (box.Style() != csDropDownList) box.SetText(text.substr(colon + 1));
}

void ApplyValue(TComponent& c, const std::string& name, const TInputValue& value) {
  const std::string& text = value.Text;
  switch (value.Kind) {
    case ikText:
      static_cast<TCustomEdit&>(c).SetText(text);
      return;
    case ikCheck: {
      const int32_t state = Number(text, name, text);
      if (state < cbUnchecked || state > cbGrayed) RaiseInvalid(name, text);
      static_cast<TCheckBox&>(c).SetState(static_cast<TCheckBoxState>(state));
      return;
    }
    case ikRadio:
      if (text != "0" && text != "1") RaiseInvalid(name, text);
      static_cast<TRadioButton&>(c).SetChecked(text == "1");
      return;
    case ikList:
      ApplyList(static_cast<TListBox&>(c), name, text);
      return;
    case ikCombo:
      ApplyCombo(static_cast<TComboBox&>(c), name, text);
      return;
  }
}

}  // namespace

TInputValues CaptureInputValues(const TComponent& form) {
  TInputValues values;
  Walk(form, "", [&](const std::string& name, TComponent& c, TInputKind kind) {
    values.emplace(name, TInputValue{kind, ValueText(c, kind)});
  });
  return values;
}

void ApplyInputValues(TComponent& form, const TInputValues& values) {
  // Applying a value runs the control's handlers, which may add or free components: each
  // control is looked up by its name when its turn comes, never kept from an earlier walk.
  for (const auto& [name, value] : values) {
    TComponent* c = &form;
    for (size_t start = 0; c;) {
      const size_t dot = name.find('.', start);
      c = c->FindComponent(name.substr(start, dot - start));
      if (dot == std::string::npos) break;
      start = dot + 1;
    }
    if (TInputKind kind; c && KindOf(*c, kind) && kind == value.Kind) ApplyValue(*c, name, value);
  }
}

}  // namespace zelvar
