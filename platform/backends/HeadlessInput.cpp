#include "platform/backends/HeadlessInput.h"

#include <cctype>

#include "platform/backends/Headless.h"
#include "platform/core/ScopeGuard.h"
#include "platform/core/Text.h"

namespace zelvar {

void DeliverInput(TForm& form, TMessage m) {
  auto& app = Application();
  if (form.IsShown() || !app.ShownForms().empty()) {
    m.Form = &form;
    app.PostMessage(m);
    return;
  }
  switch (m.Kind) {
    case TMessage::KeyDown:
    case TMessage::KeyUp:
      form.DispatchKey(m.Kind, m.Key, m.Shift, m.Char);
      break;
    case TMessage::TextInput:
      form.DispatchText(m.Text);
      break;
    case TMessage::MouseWheel:
      form.DispatchWheel(m.Shift, m.WheelDelta, m.X, m.Y);
      break;
    default:
      form.DispatchMouse(m.Kind, m.Button, m.Shift, m.X, m.Y);
  }
}

TPoint FormPoint(TForm& form, TControl& control, int32_t x, int32_t y) {
  if (&control == &form) return {x, y};
  TPoint o = control.FormOrigin();
  // A form inside another's window counts from its own client area.
  if (form.Parent()) {
    TPoint f = form.FormOrigin();
    o = {o.X - f.X, o.Y - f.Y};
  }
  return {o.X + x, o.Y + y};
}

TPoint ControlCentre(TForm& form, TControl& control) {
  if (&control == &form) return {form.ClientWidth() / 2, form.ClientHeight() / 2};
  return FormPoint(form, control, control.Width() / 2, control.Height() / 2);
}

TShiftState HeldShift() {
  TShiftState shift;
  const TBackend& b = Application().Backend();
  if (b.KeyDown(VK_SHIFT)) shift.Include(ssShift);
  if (b.KeyDown(VK_CONTROL)) shift.Include(ssCtrl);
  if (b.KeyDown(VK_MENU)) shift.Include(ssAlt);
  return shift;
}

TShiftState MouseShift(TMessage::TKind kind, TMouseButton button) {
  TShiftState shift = HeldShift();
  auto* headless = dynamic_cast<THeadlessBackend*>(&Application().Backend());
  if (!headless) return shift;
  headless->SetButtonState(button, kind == TMessage::MouseDown);
  return shift + headless->ButtonState();
}

void PressAt(TForm& form, TPoint p, TMouseButton button, bool second) {
  TMessage m;
  m.Button = button;
  m.X = p.X;
  m.Y = p.Y;
  m.Kind = TMessage::MouseDown;
  m.Shift = MouseShift(m.Kind, button);
  if (second) m.Shift.Include(ssDouble);
  {
    // A press that fails does not leave the button held for the input that follows.
    TOnFailure release([button]() noexcept { MouseShift(TMessage::MouseUp, button); });
    DeliverInput(form, m);
  }
  m.Kind = TMessage::MouseUp;
  m.Shift = MouseShift(m.Kind, button);
  DeliverInput(form, m);
}

namespace {

// Why a press at the control's centre would not reach it; empty when it would.
std::string WhyNotClickable(TForm& form, TControl& control) {
  for (TControl* c = &control; c && c != &form; c = c->Parent()) {
    std::string who = c == &control ? "it is" : "'" + FormName(*c) + "' around it is";
    if (!c->Visible()) return who + " hidden";
    if (!c->Enabled()) return who + " disabled";
  }
  TPoint p = ControlCentre(form, control);
  if (p.X < 0 || p.Y < 0 || p.X >= form.ClientWidth() || p.Y >= form.ClientHeight())
    return "its centre lies outside the form";
  TControl* hit = form.ControlAt(p.X, p.Y);
  for (TControl* c = hit; c; c = c->Parent())
    if (c == &control) return "";
  return "'" + (hit ? FormName(*hit) : FormName(form)) + "' covers its centre";
}

}  // namespace

void RequireClickable(TForm& form, TControl& control) {
  if (&control == &form) return;
  std::string why = WhyNotClickable(form, control);
  if (!why.empty())
    throw EComponentError("'" + FormName(control) + "' on " + FormName(form) +
                          " cannot be clicked: " + why);
}

void TypeKey(TForm& form, TMessage m, std::string_view text) {
  if (m.Key != 0) {
    m.Kind = TMessage::KeyDown;
    DeliverInput(form, m);
  }
  if (!text.empty()) {
    TMessage t;
    t.Kind = TMessage::TextInput;
    t.Text = text;
    DeliverInput(form, t);
  }
  if (m.Key != 0) {
    m.Kind = TMessage::KeyUp;
    m.Char = 0;
    DeliverInput(form, m);
  }
}

void TypeChars(TForm& form, std::string_view text) {
  for (size_t i = 0; i < text.size();) {
    size_t next = NextCharBoundary(text, i);
    std::string_view ch(text.data() + i, next - i);
    char32_t code = DecodeUtf8Char(text, i).Code;
    i = next;
    TMessage m;
    m.Shift = HeldShift();
    std::optional<TKeyName> key = KeyForChar(code);
    if (key) m.Key = key->Key;
    if (code >= 'A' && code <= 'Z') m.Shift.Include(ssShift);
    // A control character rides on its key down; what prints comes as text input.
    bool control = key && static_cast<unsigned char>(key->Char) < ' ';
    if (control) m.Char = key->Char;
    TypeKey(form, m, control ? std::string_view{} : ch);
  }
}

void PressKey(TForm& form, TKeyName key, TShiftState modifiers) {
  TMessage m;
  m.Shift = HeldShift() + modifiers;
  m.Key = key.Key;
  char typed = key.Char;
  if (m.Shift.Contains(ssShift) && std::isalpha(static_cast<unsigned char>(typed)))
    typed = UpperChar(typed);
  if (m.Shift.Contains(ssCtrl) || m.Shift.Contains(ssAlt)) typed = 0;
  bool control = typed != 0 && static_cast<unsigned char>(typed) < ' ';
  if (control) m.Char = typed;
  TypeKey(form, m, control || typed == 0 ? std::string_view{} : std::string_view(&typed, 1));
}

}  // namespace zelvar
