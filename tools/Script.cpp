#include "tools/Script.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <climits>
#include <cstdio>
#include <iostream>
#include <variant>

#include "container/ZelvarA.h"
#include "controls/ZelvarC.h"
#include "design/Zelvar32.h"
#include "platform/backends/Headless.h"
#include "platform/controls/ComboBox.h"
#include "platform/controls/Grids.h"
#include "platform/controls/StdCtrls.h"
#include "platform/core/Paths.h"
#include "platform/core/ScopeGuard.h"
#include "platform/core/Text.h"
#include "platform/core/TypInfo.h"
#include "platform/core/ValueText.h"
#include "platform/forms/Forms.h"
#include "platform/graphics/Codecs.h"
#include "platform/streaming/Filer.h"
#include "platform/streaming/FormFiles.h"
#include "platform/streaming/Streams.h"
#include "tools/Commands.h"

namespace zelvar::tool {

namespace {

// A failure already placed at its line. It passes through modal loops and `fails` untouched,
// so a line run inside a loop is reported under its own number, not the `show` line's.
class EScriptFailure : public Exception {
 public:
  EScriptFailure(int line, std::string message) : Exception(std::move(message)), Line(line) {}
  int Line;
};

// Deeper than this, a script (or handlers it drives) is assumed to be looping.
constexpr size_t kMaxModalDepth = 32;

// Far beyond any real script; a bound on what a wrong name (a device, say) can cost.
constexpr size_t kMaxScriptSize = size_t{4} << 20;

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

int32_t ParseInt(const std::string& word) {
  int32_t v = 0;
  const char* end = word.data() + word.size();
  auto [p, ec] = std::from_chars(word.data(), end, v);
  if (word.empty() || ec != std::errc() || p != end)
    throw EScriptUsage("'" + word + "' is not an integer");
  return v;
}

// "Button1.Caption" into the component's name and the property path.
std::pair<std::string, std::string> SplitPath(const std::string& path) {
  size_t dot = path.find('.');
  if (dot == std::string::npos || dot == 0 || dot + 1 == path.size())
    throw EScriptUsage("'" + path + "' names no property: write NAME.PROPERTY");
  return {path.substr(0, dot), path.substr(dot + 1)};
}

std::string ArgText(const TEventArg& arg) {
  return std::visit(
      [](auto* p) -> std::string {
        using P = std::remove_cv_t<std::remove_pointer_t<decltype(p)>>;
        if constexpr (std::is_same_v<P, TObject>) {
          if (!p) return "nil";
          if (auto* c = dynamic_cast<TComponent*>(p); c && !c->Name().empty()) return c->Name();
          return p->ClassName();
        } else if constexpr (std::is_same_v<P, int32_t>) {
          return std::to_string(*p);
        } else if constexpr (std::is_same_v<P, bool>) {
          return *p ? "True" : "False";
        } else {
          return QuoteString(*p);
        }
      },
      arg.Value);
}

std::string FormName(const TComponent& c) {
  return c.Name().empty() ? c.ClassName() : c.Name();
}

// Looks names up as the script does, then as the reader would (other forms by name).
class TScriptResolver : public TNameResolver {
 public:
  explicit TScriptResolver(const TScript& script) : FScript(script) {}
  TComponent* FindComponent(TComponent* context, std::string_view name) const override {
    if (TForm* form = FScript.ActiveForm()) {
      if (SameText(form->Name(), name)) return form;
      if (TComponent* c = FindComponentIn(form, name)) return c;
    }
    return TNameResolver::FindComponent(context, name);
  }

 private:
  const TScript& FScript;
};

struct TKeyName {
  uint16_t Key = 0;
  char Char = 0;
};

std::optional<TKeyName> ParseKey(const std::string& name) {
  static const std::pair<const char*, TKeyName> named[] = {
      {"Left", {VK_LEFT, 0}},      {"Right", {VK_RIGHT, 0}},   {"Up", {VK_UP, 0}},
      {"Down", {VK_DOWN, 0}},      {"Tab", {VK_TAB, '\t'}},    {"Enter", {VK_RETURN, '\r'}},
      {"Escape", {VK_ESCAPE, 27}}, {"Space", {VK_SPACE, ' '}},
  };
  for (const auto& [n, k] : named)
    if (SameText(name, n)) return k;
  if (name.size() == 1) {
    char c = name[0];
    if (std::isalpha(static_cast<unsigned char>(c)))
      return TKeyName{static_cast<uint16_t>(UpperChar(c)), LowerChar(c)};
    if (std::isdigit(static_cast<unsigned char>(c))) return TKeyName{static_cast<uint16_t>(c), c};
  }
  if (name.size() >= 2 && (name[0] == 'F' || name[0] == 'f')) {
    int n = 0;
    const char* end = name.data() + name.size();
    auto [p, ec] = std::from_chars(name.data() + 1, end, n);
    if (ec == std::errc() && p == end && n >= 1 && n <= 12)
      return TKeyName{static_cast<uint16_t>(VK_F1 + n - 1), 0};
  }
  return std::nullopt;
}

uint16_t ParseModifier(const std::string& name) {
  if (SameText(name, "Shift")) return VK_SHIFT;
  if (SameText(name, "Ctrl")) return VK_CONTROL;
  if (SameText(name, "Alt")) return VK_MENU;
  throw EScriptUsage("'" + name + "' is not Shift, Ctrl or Alt");
}

// Input goes through the application's queue when the form is on screen. A form that nothing
// shows (the script loaded it and never ran `show`) takes it directly, as it would if shown
// without a modal loop.
void Deliver(TForm& form, TMessage m) {
  auto& app = Application();
  if (form.IsShown() || !app.ShownForms().empty()) {
    m.Form = &form;
    app.PostMessage(m);
    return;
  }
  if (m.Kind == TMessage::KeyDown || m.Kind == TMessage::KeyUp)
    form.DispatchKey(m.Kind, m.Key, m.Shift, m.Char);
  else
    form.DispatchMouse(m.Kind, m.Button, m.Shift, m.X, m.Y);
}

TForm& FormOf(const TScript& script, TControl& control) {
  TForm& active = script.RequireForm();
  if (&control == &active) return active;
  auto* form = dynamic_cast<TForm*>(control.GetParentForm());
  if (form != &active)
    throw Exception("'" + FormName(control) + "' is not on the active form " + FormName(active));
  return active;
}

// The point (x, y) in the control's own coordinates, in its form's client coordinates.
TPoint ClientPoint(TForm& form, TControl& control, int32_t x, int32_t y) {
  if (&control == &form) return {x, y};
  TPoint o = control.FormOrigin();
  return {o.X + x, o.Y + y};
}

TShiftState MouseShift(TMessage::TKind kind, TMouseButton button);

void Click(TScript& s, const std::string& name, TMouseButton button) {
  TControl* c = s.FindControl(name);
  TForm& form = FormOf(s, *c);
  TPoint p = ClientPoint(form, *c, c->Width() / 2, c->Height() / 2);
  if (c == &form) p = {form.ClientWidth() / 2, form.ClientHeight() / 2};
  TMessage m;
  m.Button = button;
  m.X = p.X;
  m.Y = p.Y;
  m.Kind = TMessage::MouseDown;
  m.Shift = MouseShift(m.Kind, button);
  {
    // A press that fails does not leave the button held for the lines that follow.
    TOnFailure release([button]() noexcept { MouseShift(TMessage::MouseUp, button); });
    Deliver(form, m);
  }
  m.Kind = TMessage::MouseUp;
  m.Shift = MouseShift(m.Kind, button);
  Deliver(form, m);
}

TShiftState HeldShift() {
  TShiftState shift;
  const TBackend& b = Application().Backend();
  if (b.KeyDown(VK_SHIFT)) shift.Include(ssShift);
  if (b.KeyDown(VK_CONTROL)) shift.Include(ssCtrl);
  if (b.KeyDown(VK_MENU)) shift.Include(ssAlt);
  return shift;
}

// A mouse message's shift state as the window backend fills it: the held keys and the held
// buttons, the button a press presses included and the one a release releases left out.
TShiftState MouseShift(TMessage::TKind kind, TMouseButton button) {
  TShiftState shift = HeldShift();
  auto* headless = dynamic_cast<THeadlessBackend*>(&Application().Backend());
  if (!headless) return shift;
  headless->SetButtonState(button, kind == TMessage::MouseDown);
  return shift + headless->ButtonState();
}

std::string ColourText(uint32_t rgb) {
  char buf[8];
  std::snprintf(buf, sizeof buf, "#%06X", static_cast<unsigned>(rgb & 0xFFFFFF));
  return buf;
}

uint32_t ParseColour(const std::string& word) {
  uint32_t v = 0;
  const char* end = word.data() + word.size();
  if (word.size() == 7 && word[0] == '#') {
    auto [p, ec] = std::from_chars(word.data() + 1, end, v, 16);
    if (ec == std::errc() && p == end) return v;
  }
  throw EScriptUsage("'" + word + "' is not a colour: write #RRGGBB");
}

// Strings as properties hold them: a wide string ('Zur'#252'ck') becomes its UTF-8 text.
TValue AsPropertyValue(TValue v) {
  if (v.Is<std::u16string>()) return v.AsString();
  if (auto* list = std::get_if<TValueList>(&v.V))
    for (TValue& item : *list) item = AsPropertyValue(std::move(item));
  return v;
}

// The value as the form-file text writes it, so `expect` compares texts of one shape.
std::string CanonicalValue(const std::string& text) {
  return FormatValue(AsPropertyValue(ParseValue(text)));
}

TStringGrid& StringGrid(TScript& s, const std::string& name) {
  auto* g = dynamic_cast<TStringGrid*>(s.Find(name));
  if (!g) throw Exception("'" + name + "' is not a string grid");
  return *g;
}

// --- the commands

void CmdLoad(TScript& s, const TScriptLine& l) {
  bool design = l.Words.size() == 3;
  if (design && l.Words[2] != "design") throw EScriptUsage("usage: load FILE [design]");
  s.LoadForm(s.Resolve(l.Words[1]), design);
}

void CmdNew(TScript& s, const TScriptLine& l) {
  bool design = l.Words.size() == 3;
  if (design && l.Words[2] != "design") throw EScriptUsage("usage: new NAME [design]");
  s.NewForm(l.Words[1], design);
}

void CmdCreate(TScript& s, const TScriptLine& l) {
  TWinControl* parent = nullptr;
  if (l.Words.size() != 3) {
    if (l.Words.size() != 5 || l.Words[3] != "in")
      throw EScriptUsage("usage: create CLASS NAME [in PARENT]");
    parent = dynamic_cast<TWinControl*>(s.Find(l.Words[4]));
    if (!parent) throw Exception("'" + l.Words[4] + "' cannot hold controls");
  }
  TForm& form = s.RequireForm();
  const TClassInfo& cls = FindClass(l.Words[1]);
  if (!cls.Factory) throw Exception("class " + cls.Name + " cannot be created");
  TComponent* c = cls.Factory(&form);
  // A component that cannot be named or placed does not stay on the form.
  TOnFailure discard([c]() noexcept { delete c; });
  c->SetName(l.Words[2]);
  if (auto* control = dynamic_cast<TControl*>(c)) control->SetParent(parent ? parent : &form);
}

void CmdProgdir(TScript& s, const TScriptLine& l) {
  SetProgramDir(s.Resolve(l.Words[1]));
}

void CmdSet(TScript& s, const TScriptLine& l) {
  auto [name, path] = SplitPath(l.Words[1]);
  TComponent* c = s.Find(name);
  std::string value = l.Rest(2);
  TPropTarget target = FindPropTarget(c, path);
  if (target.Prop && target.Prop->Kind == TPropKind::Method) {
    const TPropInfo& prop = *target.Prop;
    if (!prop.SetEvent || !prop.MakeHandler) throw Exception(l.Words[1] + " is read-only");
    if (auto action = s.FindMethod(value)) {
      if (action->Kind == TScript::TAction::Form && !prop.EventReturnsObject)
        throw Exception(l.Words[1] + " does not ask for a form");
      prop.SetEvent(target.Object, prop.MakeHandler(s.MakeHandler(value, *action)), value);
      return;
    }
  }
  TScriptResolver resolver(s);
  SetPropText(c, path, value, &resolver);
}

// Finds one property an object defines for form files (a list's "Data") and spells its value
// as the text format does.
class TDefinedPropertyReader : public TFiler {
 public:
  explicit TDefinedPropertyReader(std::string_view name) : FName(name) {}
  void DefineProperty(std::string_view name, const TReaderProc&, const TWriterProc& writeData,
                      bool) override {
    if (Text || !SameText(name, FName)) return;
    TMemoryStream stream;
    {
      TWriter writer(stream);
      writeData(writer);
    }
    TReader reader(std::string_view(stream.Data()));
    Text = FormatValue(reader.ReadTValue());
  }
  void DefineBinaryProperty(std::string_view name, const TStreamProc&, const TStreamProc& writeData,
                            bool) override {
    if (Text || !SameText(name, FName)) return;
    TMemoryStream stream;
    writeData(stream);
    std::string hex = "{";
    AppendHex(hex, stream.Data());
    Text = hex + "}";
  }
  std::optional<std::string> Text;

 private:
  std::string FName;
};

// A property's value as the text format spells it: a published or public one, or one that
// the object defines for form files ("ShowContainer.Data").
std::string PropText(TComponent* c, const std::string& path) {
  try {
    return GetPropText(c, path);
  } catch (const EPropertyError& e) {
    size_t dot = path.rfind('.');
    TObject* owner = c;
    if (dot != std::string::npos) {
      TPropTarget target = FindPropTarget(c, path.substr(0, dot));
      owner =
          target.Prop && target.Prop->GetObj ? target.Prop->GetObj(target.Object) : target.Object;
    }
    auto* persistent = dynamic_cast<TPersistent*>(owner);
    if (!persistent) throw;
    TDefinedPropertyReader reader(dot == std::string::npos ? path : path.substr(dot + 1));
    persistent->DefineProperties(reader);
    if (!reader.Text) throw;
    return *reader.Text;
  }
}

void CmdExpect(TScript& s, const TScriptLine& l) {
  auto [name, path] = SplitPath(l.Words[1]);
  std::string actual = PropText(s.Find(name), path);
  std::string expected = CanonicalValue(l.Rest(2));
  if (actual != expected) throw Exception(l.Words[1] + " is " + actual + ", expected " + expected);
}

void CmdPrint(TScript& s, const TScriptLine& l) {
  auto [name, path] = SplitPath(l.Words[1]);
  // Read first: a path that fails prints nothing.
  std::string value = PropText(s.Find(name), path);
  s.Out() << l.Words[1] << " = " << value << "\n";
}

void CmdCall(TScript& s, const TScriptLine& l) {
  auto [name, method] = SplitPath(l.Words[1]);
  TComponent* c = s.Find(name);
  TMethod m = c->MethodAddress(method);
  if (!m) throw Exception(FormName(*c) + " has no published method '" + method + "'");
  if (l.Words.size() == 3) {
    int32_t arg = ParseInt(l.Words[2]);
    if (!m.HasSignature(typeid(void(int32_t))))
      throw Exception(l.Words[1] + " takes " + TypeText(m.Info()->Signature) + ", not one integer");
    m.As<void(int32_t)>()(arg);
  } else {
    if (!m.HasSignature(typeid(void())))
      throw Exception(l.Words[1] + " takes " + TypeText(m.Info()->Signature) + ", not nothing");
    m.As<void()>()();
  }
}

void CmdMethod(TScript& s, const TScriptLine& l) {
  if (!IsValidIdent(l.Words[1])) throw EScriptUsage("'" + l.Words[1] + "' is not a method name");
  s.DeclareMethod(l.Words[1], s.ParseAction(l, 2));
}

void CmdHandle(TScript& s, const TScriptLine& l) {
  auto [name, path] = SplitPath(l.Words[1]);
  TScript::TAction action = s.ParseAction(l, 2);
  TPropTarget target = FindPropTarget(s.Find(name), path);
  if (!target.Prop || target.Prop->Kind != TPropKind::Method)
    throw Exception(l.Words[1] + " is not an event");
  const TPropInfo& prop = *target.Prop;
  if (!prop.SetEvent || !prop.MakeHandler) throw Exception(l.Words[1] + " is read-only");
  if (action.Kind == TScript::TAction::Form && !prop.EventReturnsObject)
    throw Exception(l.Words[1] + " does not ask for a form");
  if (action.Kind == TScript::TAction::Form && !prop.EventReturnsObject)
    throw Exception(l.Words[1] + " does not ask for a form");
  if (action.Kind == TScript::TAction::None)
    prop.SetEvent(target.Object, std::any{}, "");
  else
    prop.SetEvent(target.Object, prop.MakeHandler(s.MakeHandler(prop.Name, action)), "");
}

void CmdClick(TScript& s, const TScriptLine& l) {
  Click(s, l.Words[1], mbLeft);
}
void CmdRClick(TScript& s, const TScriptLine& l) {
  Click(s, l.Words[1], mbRight);
}

void CmdMouse(TScript& s, const TScriptLine& l) {
  TMessage m;
  if (l.Words[1] == "down")
    m.Kind = TMessage::MouseDown;
  else if (l.Words[1] == "up")
    m.Kind = TMessage::MouseUp;
  else
    throw EScriptUsage("usage: mouse down|up left|right X Y [NAME]");
  if (l.Words[2] == "left")
    m.Button = mbLeft;
  else if (l.Words[2] == "right")
    m.Button = mbRight;
  else
    throw EScriptUsage("usage: mouse down|up left|right X Y [NAME]");
  int32_t x = ParseInt(l.Words[3]);
  int32_t y = ParseInt(l.Words[4]);
  TForm* form = &s.RequireForm();
  TControl* c = l.Words.size() == 6 ? s.FindControl(l.Words[5]) : form;
  form = &FormOf(s, *c);
  TPoint p = ClientPoint(*form, *c, x, y);
  m.X = p.X;
  m.Y = p.Y;
  m.Shift = MouseShift(m.Kind, m.Button);
  Deliver(*form, m);
}

void CmdKey(TScript& s, const TScriptLine& l) {
  std::optional<TKeyName> key = ParseKey(l.Words[1]);
  if (!key) throw EScriptUsage("unknown key '" + l.Words[1] + "'");
  TMessage m;
  m.Shift = HeldShift();
  for (size_t i = 2; i < l.Words.size(); ++i) {
    if (l.Words[i] == "shift")
      m.Shift.Include(ssShift);
    else if (l.Words[i] == "ctrl")
      m.Shift.Include(ssCtrl);
    else if (l.Words[i] == "alt")
      m.Shift.Include(ssAlt);
    else
      throw EScriptUsage("usage: key KEY [shift] [ctrl] [alt]");
  }
  m.Key = key->Key;
  m.Char = key->Char;
  if (m.Shift.Contains(ssShift) && std::isalpha(static_cast<unsigned char>(m.Char)))
    m.Char = UpperChar(m.Char);
  // With Ctrl or Alt a key types nothing; it is a shortcut.
  if (m.Shift.Contains(ssCtrl) || m.Shift.Contains(ssAlt)) m.Char = 0;
  TForm& form = s.RequireForm();
  m.Kind = TMessage::KeyDown;
  Deliver(form, m);
  m.Kind = TMessage::KeyUp;
  m.Char = 0;
  Deliver(form, m);
}

void CmdHold(TScript&, const TScriptLine& l) {
  Application().Backend().SetKeyState(ParseModifier(l.Words[1]), true);
}
void CmdRelease(TScript&, const TScriptLine& l) {
  Application().Backend().SetKeyState(ParseModifier(l.Words[1]), false);
}

void CmdFocus(TScript& s, const TScriptLine& l) {
  auto* c = dynamic_cast<TWinControl*>(s.FindControl(l.Words[1]));
  if (!c || !c->CanFocus()) throw Exception("'" + l.Words[1] + "' cannot take the focus");
  c->SetFocus();
}

void CmdShow(TScript& s, const TScriptLine&) {
  s.RunModal(s.RequireForm());
}

void CmdExpectResult(TScript& s, const TScriptLine& l) {
  std::optional<int32_t> r = s.LastResult();
  if (!r) throw Exception("no modal loop has ended yet");
  const std::string& want = l.Words[1];
  bool same = SameText(ModalResultText(*r), want);
  if (!same && !want.empty() &&
      (std::isdigit(static_cast<unsigned char>(want[0])) || want[0] == '-'))
    same = ParseInt(want) == *r;
  if (!same) throw Exception("the result is " + ModalResultText(*r) + ", expected " + want);
}

void CmdFails(TScript& s, const TScriptLine& l) {
  TScriptLine inner = SplitScriptLine(l.Rest(1), l.Number);
  // One level is all a test needs; a chain of them would only deepen the stack.
  if (inner.Words[0] == "fails") throw EScriptUsage("fails cannot wrap another fails");
  try {
    s.Execute(inner);
  } catch (const EScriptFailure&) {
    throw;
  } catch (const EScriptUsage&) {
    throw;
  } catch (const Exception& e) {
    if (s.Ended()) throw;
    s.Out() << e.Message() << "\n";
    return;
  }
  throw Exception("'" + l.Rest(1) + "' did not fail");
}

void CmdSave(TScript& s, const TScriptLine& l) {
  bool text = l.Words.size() == 3;
  if (text && l.Words[2] != "text") throw EScriptUsage("usage: save FILE [text]");
  WriteComponentFile(s.Resolve(l.Words[1]), &s.RequireForm(),
                     text ? TFormFormat::Text : TFormFormat::Binary);
}

void CmdShot(TScript& s, const TScriptLine& l) {
  SaveImageFile(s.Resolve(l.Words[1]), s.RequireForm().Snapshot().Image());
}

void CmdExpectPixel(TScript& s, const TScriptLine& l) {
  int32_t x = ParseInt(l.Words[1]);
  int32_t y = ParseInt(l.Words[2]);
  uint32_t want = ParseColour(l.Words[3]);
  TForm& form = s.RequireForm();
  TControl* c = l.Words.size() == 5 ? s.FindControl(l.Words[4]) : &form;
  FormOf(s, *c);
  TPoint p = ClientPoint(form, *c, x, y);
  const TImageData& image = form.Snapshot().Image();
  if (p.X < 0 || p.Y < 0 || p.X >= image.Width || p.Y >= image.Height)
    throw Exception("pixel " + std::to_string(x) + ", " + std::to_string(y) +
                    " lies outside the form's client area");
  uint32_t got = image.At(p.X, p.Y) & 0xFFFFFF;
  if (got != want)
    throw Exception("pixel " + std::to_string(x) + ", " + std::to_string(y) + " is " +
                    ColourText(got) + ", expected " + ColourText(want));
}

void CmdCell(TScript& s, const TScriptLine& l) {
  int32_t col = ParseInt(l.Words[2]);
  int32_t row = ParseInt(l.Words[3]);
  if (l.Words.size() == 5) {
    TValue text = ParseValue(l.Rest(4));
    if (!text.Is<std::string>()) throw EScriptUsage("the cell's text must be a string");
    StringGrid(s, l.Words[1]).EditCell(col, row, text.As<std::string>());
    return;
  }
  auto* grid = dynamic_cast<TCustomGrid*>(s.Find(l.Words[1]));
  if (!grid) throw Exception("'" + l.Words[1] + "' is not a grid");
  grid->SelectCell(col, row);
}

void CmdExpectCell(TScript& s, const TScriptLine& l) {
  int32_t col = ParseInt(l.Words[2]);
  int32_t row = ParseInt(l.Words[3]);
  std::string actual = QuoteString(StringGrid(s, l.Words[1]).Cells(col, row));
  std::string expected = CanonicalValue(l.Rest(4));
  if (actual != expected)
    throw Exception("cell " + std::to_string(col) + ", " + std::to_string(row) + " of " +
                    l.Words[1] + " is " + actual + ", expected " + expected);
}

void CmdPick(TScript& s, const TScriptLine& l) {
  auto* combo = dynamic_cast<TComboBox*>(s.Find(l.Words[1]));
  if (!combo) throw Exception("'" + l.Words[1] + "' is not a combo box");
  combo->Pick(ParseInt(l.Words[2]));
}

void CmdExpectMessage(TScript&, const TScriptLine& l) {
  TForm* box = Application().ActiveForm();
  if (!box || box->ClassName() != "TMessageForm") throw Exception("no message box is shown");
  TComponent* label = FindComponentIn(box, "Message");
  if (!label) throw Exception("the message box has no Message label");
  std::string actual = GetPropText(label, "Caption");
  std::string expected = CanonicalValue(l.Rest(1));
  if (actual != expected) throw Exception("the message is " + actual + ", expected " + expected);
}

constexpr size_t kAny = SIZE_MAX;

std::vector<TScriptCommand>& CommandTable() {
  static std::vector<TScriptCommand> table = {
      {"load", 1, 2, "load FILE [design]", CmdLoad},
      {"new", 1, 2, "new NAME [design]", CmdNew},
      {"create", 2, 4, "create CLASS NAME [in PARENT]", CmdCreate},
      {"progdir", 1, 1, "progdir DIR", CmdProgdir},
      {"set", 2, kAny, "set PATH VALUE", CmdSet},
      {"expect", 2, kAny, "expect PATH VALUE", CmdExpect},
      {"print", 1, 1, "print PATH", CmdPrint},
      {"call", 1, 2, "call NAME.METHOD [INT]", CmdCall},
      {"method", 2, 3, "method NAME ACTION", CmdMethod},
      {"handle", 2, 3, "handle NAME.EVENT ACTION", CmdHandle},
      {"click", 1, 1, "click NAME", CmdClick},
      {"rclick", 1, 1, "rclick NAME", CmdRClick},
      {"mouse", 4, 5, "mouse down|up left|right X Y [NAME]", CmdMouse},
      {"key", 1, 4, "key KEY [shift] [ctrl] [alt]", CmdKey},
      {"hold", 1, 1, "hold KEY", CmdHold},
      {"release", 1, 1, "release KEY", CmdRelease},
      {"focus", 1, 1, "focus NAME", CmdFocus},
      {"show", 0, 0, "show", CmdShow},
      {"expect-result", 1, 1, "expect-result VALUE", CmdExpectResult},
      {"fails", 1, kAny, "fails COMMAND...", CmdFails},
      {"save", 1, 2, "save FILE [text]", CmdSave},
      {"shot", 1, 1, "shot FILE.png", CmdShot},
      {"expect-pixel", 3, 4, "expect-pixel X Y #RRGGBB [NAME]", CmdExpectPixel},
      {"cell", 3, kAny, "cell NAME COL ROW ['text']", CmdCell},
      {"expect-cell", 4, kAny, "expect-cell NAME COL ROW 'text'", CmdExpectCell},
      {"pick", 2, 2, "pick NAME INDEX", CmdPick},
      {"expect-message", 1, kAny, "expect-message 'text'", CmdExpectMessage},
  };
  return table;
}

}  // namespace

// ---------------------------------------------------------------------------------------------

std::string TScriptLine::Rest(size_t i) const {
  if (i >= Starts.size()) return "";
  std::string r = Text.substr(Starts[i]);
  // A trailing comment is not part of the value.
  size_t end = Starts.back() - Starts[i] + Words.back().size();
  return r.substr(0, end);
}

TScriptLine SplitScriptLine(std::string_view text, int number) {
  TScriptLine line;
  line.Number = number;
  line.Text = std::string(text);
  size_t i = 0;
  const size_t n = text.size();
  while (true) {
    while (i < n && IsBlank(text[i])) ++i;
    if (i >= n) break;
    if (text[i] == '#' && (line.Words.empty() || i + 1 >= n || IsBlank(text[i + 1]))) break;
    size_t start = i;
    bool quoted = false;
    int depth = 0;
    for (; i < n; ++i) {
      char c = text[i];
      if (c == '\'') {
        quoted = !quoted;
      } else if (quoted) {
        continue;
      } else if (c == '(' || c == '[' || c == '{') {
        ++depth;
      } else if ((c == ')' || c == ']' || c == '}') && depth > 0) {
        --depth;
      } else if (depth == 0 && IsBlank(c)) {
        break;
      }
    }
    if (quoted) throw EScriptUsage("unterminated string");
    if (depth > 0) throw EScriptUsage("unclosed bracket");
    line.Starts.push_back(start);
    line.Words.emplace_back(text.substr(start, i - start));
  }
  return line;
}

void AddScriptCommand(TScriptCommand command) {
  auto& table = CommandTable();
  for (auto& c : table) {
    if (c.Name == command.Name) {
      c = std::move(command);
      return;
    }
  }
  table.push_back(std::move(command));
}

TComponent* FindComponentIn(const TComponent* owner, std::string_view name) {
  if (TComponent* c = owner->FindComponent(name)) return c;
  for (int i = 0; i < owner->GetComponentCount(); ++i)
    if (TComponent* c = FindComponentIn(owner->GetComponent(i), name)) return c;
  return nullptr;
}

std::string ModalResultText(int32_t result) {
  static const char* const names[] = {"mrNone",   "mrOk",  "mrCancel", "mrAbort", "mrRetry",
                                      "mrIgnore", "mrYes", "mrNo",     "mrAll"};
  if (result >= 0 && result <= mrAll) return names[result];
  return std::to_string(result);
}

void RegisterToolkitClasses() {
  RegisterStdControls();
  RegisterGridAndComCtrls();
  RegisterZelvarA();
  RegisterZelvarC();
}

// ---------------------------------------------------------------------------------------------
// TScript

TScript::TScript(std::ostream& out, std::ostream& err) : FOut(out), FErr(err) {
  RegisterToolkitClasses();
  AddWizardCommands();
  auto backend = std::make_unique<THeadlessBackend>();
  backend->OnIdle = [this] { return RunNextLine(); };
  Application().SetBackend(std::move(backend));
}

TScript::~TScript() {
  // The backend calls back into this object; the default one does not.
  Application().SetBackend(nullptr);
  FDesigners.clear();
  for (auto it = FForms.rbegin(); it != FForms.rend(); ++it) it->reset();
}

std::string TScript::Upper(std::string_view s) {
  return UpperCase(s);
}

std::string TScript::Resolve(const std::string& path) const {
  if (path.empty() || path[0] == '/' || FScriptDir.empty()) return path;
  return FScriptDir + path;
}

TForm* TScript::ActiveForm() const {
  const auto& shown = Application().ShownForms();
  if (FCurrent.empty() || shown.size() > FCurrent.back().Depth)
    return shown.empty() ? nullptr : shown.back();
  return FCurrent.back().Form;
}

TForm& TScript::RequireForm() const {
  TForm* f = ActiveForm();
  if (!f) throw Exception("no form: load one first (load FILE or new NAME)");
  return *f;
}

namespace {

// Forms shown inside controls of w (a wizard's embedded pages), which their hosts do not own.
TComponent* FindInEmbeddedForms(const TWinControl& w, std::string_view name) {
  for (int i = 0; i < w.ControlCount(); ++i) {
    auto* child = dynamic_cast<TWinControl*>(w.Controls(i));
    if (!child) continue;
    if (auto* embedded = dynamic_cast<TForm*>(child)) {
      if (SameText(embedded->Name(), name)) return embedded;
      if (TComponent* c = FindComponentIn(embedded, name)) return c;
    }
    if (TComponent* c = FindInEmbeddedForms(*child, name)) return c;
  }
  return nullptr;
}

}  // namespace

TComponent* TScript::Find(std::string_view name) const {
  TForm& form = RequireForm();
  if (SameText(form.Name(), name)) return &form;
  if (TComponent* c = FindComponentIn(&form, name)) return c;
  if (TComponent* c = FindInEmbeddedForms(form, name)) return c;
  throw Exception("no component named '" + std::string(name) + "' on " + FormName(form));
}

TControl* TScript::FindControl(std::string_view name) const {
  TComponent* c = Find(name);
  auto* control = dynamic_cast<TControl*>(c);
  if (!control) throw Exception("'" + std::string(name) + "' is not a control");
  return control;
}

TFormReadOptions TScript::FormReadOptions(const std::string& formPath) {
  TFormReadOptions options;
  options.CreateRoot = [](const std::string& className, TComponent* owner) -> TComponent* {
    TForm* f = New<TForm>(owner);
    f->SetFormClassName(className);
    return f;
  };
  std::string dir = ExtractFilePath(formPath);
  options.FindHandler = [this, dir](const std::string& name) -> TGenericHandler {
    if (auto action = FindMethod(name)) return MakeHandler(name, *action);
    // A handler the script does not declare, named like a form file beside the form, hands
    // that form over (a wizard page's embedded form), quietly.
    if (std::string file = dir + name + ".txt"; FileExists(file)) {
      TAction action;
      action.Kind = TAction::Form;
      action.File = file;
      action.Quiet = true;
      return MakeHandler(name, action);
    }
    return {};
  };
  return options;
}

void TScript::AttachDesigner(TForm& form) {
  Register();  // the package, as a designer loads it
  FDesigners.push_back(std::make_unique<TFormDesigner>(form));
}

TForm* TScript::LoadForm(const std::string& path, bool design) {
  if (design) Register();
  std::unique_ptr<TComponent> root;
  try {
    TFormReadOptions options = FormReadOptions(path);
    options.Designing = design;
    root.reset(ReadComponentFile(path, options));
  } catch (...) {
    throw Exception(path + ": " + CurrentErrorMessage());
  }
  auto* form = dynamic_cast<TForm*>(root.get());
  if (!form) throw Exception(path + ": the root " + root->ClassName() + " is not a form");
  FForms.push_back(std::move(root));
  if (design) AttachDesigner(*form);
  MakeCurrent(form);
  return form;
}

TForm* TScript::NewForm(const std::string& name, bool design) {
  auto form = std::unique_ptr<TForm>(New<TForm>(nullptr));
  form->SetName(name);
  TForm* made = form.get();
  FForms.push_back(std::move(form));
  if (design) AttachDesigner(*made);
  MakeCurrent(made);
  return made;
}

int32_t TScript::RunModal(TForm& form) {
  return RunModal(form, [&form] { return form.ShowModal(); });
}

int32_t TScript::RunModal(TForm& form, const std::function<int32_t()>& loop) {
  if (FModalDepth >= static_cast<int>(kMaxModalDepth))
    throw Exception("too many nested modal loops");
  int32_t result = 0;
  {
    TRestore<int> depth(FModalDepth, FModalDepth + 1);
    result = loop();
  }
  // Forms made inside loops that have ended are done with; so is this one if a loop made it.
  size_t shown = Application().ShownForms().size();
  std::erase_if(FCurrent, [shown](const TCurrent& c) { return c.Depth > shown; });
  if (!FCurrent.empty() && FCurrent.back().Form == &form && FCurrent.back().Depth > 0)
    FCurrent.pop_back();
  FLastResult = result;
  FOut << "result = " << ModalResultText(result) << "\n";
  return result;
}

void TScript::MakeCurrent(TForm* form) {
  FCurrent.push_back({form, Application().ShownForms().size()});
}

TScript::TAction TScript::ParseAction(const TScriptLine& line, size_t first) const {
  const auto& w = line.Words;
  TAction a;
  if (first >= w.size()) throw EScriptUsage("an action is missing: log, veto, redirect N, ...");
  const std::string& kind = w[first];
  size_t words = 1;
  if (kind == "log") {
    a.Kind = TAction::Log;
  } else if (kind == "veto") {
    a.Kind = TAction::Veto;
  } else if (kind == "refuse") {
    a.Kind = TAction::Refuse;
  } else if (kind == "none") {
    a.Kind = TAction::None;
  } else if (kind == "redirect") {
    if (first + 1 >= w.size()) throw EScriptUsage("usage: redirect N");
    a.Kind = TAction::Redirect;
    a.Value = ParseInt(w[first + 1]);
    words = 2;
  } else if (kind == "form") {
    if (first + 1 >= w.size()) throw EScriptUsage("usage: form FILE");
    a.Kind = TAction::Form;
    a.File = Resolve(w[first + 1]);
    words = 2;
  } else {
    throw EScriptUsage("unknown action '" + kind +
                       "' (log, veto, redirect N, refuse, form FILE, none)");
  }
  if (first + words != w.size()) throw EScriptUsage("unexpected '" + w[first + words] + "'");
  return a;
}

TGenericHandler TScript::MakeHandler(const std::string& name, TAction action) {
  return [this, name, action](TEventCall& call) {
    if (action.Kind == TAction::None) return;
    if (!action.Quiet) {
      std::string line = name + "(";
      for (size_t i = 0; i < call.Args.size(); ++i) {
        if (i) line += ", ";
        line += ArgText(call.Args[i]);
      }
      FOut << line << ")\n";
      FOut.flush();
    }
    switch (action.Kind) {
      case TAction::Veto:
      case TAction::Refuse:
        // An event answers either through its result or through a var flag (CanSelect).
        call.Result = false;
        if (!call.HasResult) {
          for (TEventArg& a : call.Args)
            if (a.IsVar && std::holds_alternative<bool*>(a.Value)) {
              *std::get<bool*>(a.Value) = false;
              break;
            }
        }
        break;
      case TAction::Form: {
        if (!call.HasObjectResult) throw Exception(name + " does not ask for a form");
        // The event's caller takes the form and frees it.
        TComponent* root = ReadComponentFile(action.File, FormReadOptions(action.File));
        if (!dynamic_cast<TForm*>(root)) {
          std::string cls = root->ClassName();
          delete root;
          throw Exception(action.File + ": the root " + cls + " is not a form");
        }
        call.ObjectResult = root;
        break;
      }
      case TAction::Redirect: {
        for (TEventArg& a : call.Args)
          if (a.IsVar && std::holds_alternative<int32_t*>(a.Value)) {
            *std::get<int32_t*>(a.Value) = action.Value;
            return;
          }
        throw Exception(name + " has no integer passed by reference to redirect");
      }
      default:
        break;
    }
  };
}

std::optional<TScript::TAction> TScript::FindMethod(std::string_view name) const {
  auto it = FMethods.find(Upper(name));
  if (it == FMethods.end()) return std::nullopt;
  return it->second;
}

bool TScript::LoadStartForm(const std::string& path, bool design) {
  try {
    LoadForm(path, design);
  } catch (...) {
    FErr << "zelvar: " << CurrentErrorMessage() << "\n";
    return false;
  }
  return true;
}

void TScript::Execute(const TScriptLine& line) {
  if (line.Words.empty()) throw EScriptUsage("a command is missing");
  const std::string& name = line.Words[0];
  for (const TScriptCommand& c : CommandTable()) {
    if (c.Name != name) continue;
    size_t args = line.Words.size() - 1;
    if (args < c.MinWords || args > c.MaxWords) throw EScriptUsage("usage: " + c.Usage);
    c.Run(*this, line);
    return;
  }
  throw EScriptUsage("unknown command '" + name + "'");
}

bool TScript::RunNextLine() {
  if (FEnded) return false;
  while (FNext < FLines.size() && FLines[FNext].Words.empty()) ++FNext;
  if (FNext >= FLines.size()) {
    // Only reached from inside a modal loop: the top level stops before.
    FEnded = true;
    if (TForm* waiting = Application().ActiveForm()) FEndedForm = FormName(*waiting);
    return false;
  }
  const TScriptLine& line = FLines[FNext++];
  try {
    if (Application().ShownForms().size() > kMaxModalDepth)
      throw Exception("too many nested modal loops");
    Execute(line);
    Application().ProcessMessages();
  } catch (const EScriptFailure&) {
    throw;
  } catch (const Exception& e) {
    if (FEnded)
      throw EScriptFailure(line.Number, "script ended inside a modal loop of " + FEndedForm);
    throw EScriptFailure(line.Number, e.Message());
  } catch (...) {
    throw EScriptFailure(line.Number, CurrentErrorMessage());
  }
  return true;
}

int TScript::RunFile(const std::string& path) {
  FScriptPath = path;
  FScriptDir = ExtractFilePath(path);
  std::string text;
  try {
    text = ReadRegularFile(path, kMaxScriptSize);
  } catch (...) {
    FErr << "zelvar: " << path << ": " << CurrentErrorMessage() << "\n";
    return 1;
  }
  int number = 0;
  size_t pos = 0;
  try {
    while (pos < text.size()) {
      size_t end = text.find('\n', pos);
      if (end == std::string::npos) end = text.size();
      ++number;
      FLines.push_back(SplitScriptLine(std::string_view(text).substr(pos, end - pos), number));
      pos = end + 1;
    }
  } catch (const Exception& e) {
    FErr << "zelvar: " << path << ":" << number << ": " << e.Message() << "\n";
    return 1;
  }
  try {
    while (FNext < FLines.size()) RunNextLine();
  } catch (const EScriptFailure& e) {
    FOut.flush();
    FErr << "zelvar: " << path << ":" << e.Line << ": " << e.Message() << "\n";
    return 1;
  }
  FOut.flush();
  return 0;
}

}  // namespace zelvar::tool
