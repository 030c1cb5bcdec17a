#include "platform/backends/Headless.h"

#include "platform/backends/HeadlessInput.h"
#include "platform/core/ScopeGuard.h"
#include "platform/core/Text.h"
#include "platform/core/TimerQueue.h"
#include "platform/forms/KeyNames.h"

namespace zelvar {

namespace {

// The form a step acts on: the active one, as a user sees it.
TForm& StepForm(std::string_view step) {
  TForm* form = Application().ActiveForm();
  if (!form) throw EComponentError(std::string(step) + ": no form is shown");
  return *form;
}

TControl& StepControl(TForm& form, std::string_view name) {
  TComponent* c = FindOnForm(form, name);
  if (!c)
    throw EComponentError("No control named '" + std::string(name) + "' on " + FormName(form));
  auto* control = dynamic_cast<TControl*>(c);
  if (!control)
    throw EComponentError("'" + std::string(name) + "' on " + FormName(form) + " is a " +
                          c->ClassName() + ", not a control");
  return *control;
}

// "Ctrl+Shift+A": modifiers, then one key.
std::pair<TKeyName, TShiftState> ParseKeys(std::string_view keys) {
  TShiftState shift;
  std::string_view rest = keys;
  for (size_t plus = rest.find('+'); plus != std::string_view::npos && plus + 1 < rest.size();
       plus = rest.find('+')) {
    std::optional<uint16_t> vk = ModifierKey(rest.substr(0, plus));
    if (!vk) break;
    shift.Include(*vk == VK_SHIFT ? ssShift : *vk == VK_CONTROL ? ssCtrl : ssAlt);
    rest.remove_prefix(plus + 1);
  }
  std::optional<TKeyName> key = KeyByName(rest);
  if (!key)
    throw EConvertError("Unknown key '" + std::string(keys) +
                        "': a key name (Enter, Tab, Escape, F5, A, ...) after any of Shift+, "
                        "Ctrl+ and Alt+");
  return {*key, shift};
}

void RequireText(std::string_view text) {
  if (!IsValidUtf8(text)) throw EConvertError("The text to type is not valid UTF-8");
}

}  // namespace

THeadlessSteps& THeadlessSteps::Add(std::function<void()> step) {
  FSteps.push_back(std::move(step));
  return *this;
}

THeadlessSteps& THeadlessSteps::Click(std::string_view control) {
  return Add([name = std::string(control)] {
    TForm& form = StepForm("Click");
    TControl& c = StepControl(form, name);
    RequireClickable(form, c);
    PressAt(form, ControlCentre(form, c), mbLeft);
  });
}

THeadlessSteps& THeadlessSteps::DblClick(std::string_view control) {
  return Add([name = std::string(control)] {
    TForm& form = StepForm("DblClick");
    TControl& c = StepControl(form, name);
    RequireClickable(form, c);
    TPoint p = ControlCentre(form, c);
    PressAt(form, p, mbLeft);
    PressAt(form, p, mbLeft, true);
  });
}

THeadlessSteps& THeadlessSteps::Type(std::string_view control, std::string_view text) {
  RequireText(text);
  return Add([name = std::string(control), text = std::string(text)] {
    TForm& form = StepForm("Type");
    auto* c = dynamic_cast<TWinControl*>(&StepControl(form, name));
    if (!c || !form.TakesKeys(*c))
      throw EComponentError("'" + name + "' on " + FormName(form) + " cannot take the focus");
    form.SetFocusedControl(c);
    TypeChars(form, text);
  });
}

THeadlessSteps& THeadlessSteps::Type(std::string_view text) {
  RequireText(text);
  return Add([text = std::string(text)] { TypeChars(StepForm("Type"), text); });
}

THeadlessSteps& THeadlessSteps::Key(std::string_view keys) {
  auto [key, shift] = ParseKeys(keys);
  return Add([key, shift] { PressKey(StepForm("Key"), key, shift); });
}

THeadlessSteps& THeadlessSteps::Wait(int32_t milliseconds) {
  if (milliseconds < 0)
    throw EConvertError("Wait takes a number of milliseconds, not " + std::to_string(milliseconds));
  return Add([milliseconds] { Timers().Advance(static_cast<uint64_t>(milliseconds)); });
}

THeadlessSteps& THeadlessSteps::Do(std::function<void()> step) {
  if (!step) throw EInvalidOperation("Do: no step to run");
  return Add(std::move(step));
}

bool THeadlessSteps::RunNext() {
  if (FSteps.empty()) return false;
  std::function<void()> step = std::move(FSteps.front());
  FSteps.pop_front();
  // The steps after a failed one were meant for a state the program never reached.
  TOnFailure drop([this]() noexcept { FSteps.clear(); });
  step();
  return true;
}

// ---------------------------------------------------------------------------------------------
// The application's side: it owns the steps, so they outlive the code that queued them.

void TApplication::TStepsDeleter::operator()(THeadlessSteps* steps) const {
  delete steps;
}

THeadlessBackend& TApplication::UseHeadless() {
  if (FHeadless) return *FHeadless;
  if (!FSteps) FSteps.reset(new THeadlessSteps);
  auto backend = std::make_unique<THeadlessBackend>();
  THeadlessSteps* steps = FSteps.get();
  backend->OnIdle = [steps] { return steps->RunNext(); };
  THeadlessBackend* installed = backend.get();
  SetBackend(std::move(backend));
  FHeadless = installed;
  return *installed;
}

THeadlessSteps& TApplication::Headless() {
  UseHeadless();
  return *FSteps;
}

}  // namespace zelvar
