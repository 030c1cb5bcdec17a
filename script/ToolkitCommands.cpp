// The toolkit's script commands: forms (load, new, create, save, show), properties and
// methods (set, expect, print, call, method, handle), the accessible tree (accessibility), input
// (click, dblclick, mouse, wheel, key, type, hold, focus, popup), the clock (wait), pictures (shot,
// expect-pixel), grids and combo boxes (cell, pick), message boxes and `fails`.
//
// Sections: how input reaches a form · how values are compared · the commands · the table.

#include <cctype>
#include <climits>
#include <variant>

#include "platform/backends/Headless.h"
#include "platform/backends/HeadlessInput.h"
#include "platform/controls/Accessibility.h"
#include "platform/controls/ComboBox.h"
#include "platform/controls/Grids.h"
#include "platform/controls/Menus.h"
#include "platform/core/Paths.h"
#include "platform/core/ScopeGuard.h"
#include "platform/core/Text.h"
#include "platform/core/TimerQueue.h"
#include "platform/core/TypInfo.h"
#include "platform/core/ValueText.h"
#include "platform/designer/Designer.h"
#include "platform/designer/DesignerWindow.h"
#include "platform/forms/Forms.h"
#include "platform/forms/KeyNames.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Codecs.h"
#include "platform/streaming/Filer.h"
#include "platform/streaming/FormFiles.h"
#include "platform/streaming/Streams.h"
#include "script/CommandTables.h"
#include "script/Script.h"
#include "script/ScriptSupport.h"

namespace zelvar::script {

namespace {

// --- how input reaches a form (made up as a user's, platform/backends/HeadlessInput.h)

// The form that takes input for a control of the active form: the window it lies in, which
// for a form shown inside another's window (the designer's form) is that window.
TForm& FormOf(const TScript& script, TControl& control) {
  TForm& active = script.RequireForm();
  auto* window = dynamic_cast<TForm*>(active.GetParentForm());
  if (!window) window = &active;
  if (&control == &active || &control == window) return *window;
  auto* form = dynamic_cast<TForm*>(control.GetParentForm());
  if (form != window)
    throw Exception("'" + FormName(control) + "' is not on the active form " + FormName(active));
  return *window;
}

void Click(TScript& s, const std::string& name, TMouseButton button) {
  TControl* c = s.FindControl(name);
  TForm& form = FormOf(s, *c);
  PressAt(form, ControlCentre(form, *c), button);
}

// --- how values are compared

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
  auto* owner = dynamic_cast<TPersistent*>(target.Object);
  if (owner && target.Prop && target.Prop->Kind == TPropKind::Object &&
      dynamic_cast<TBitmap*>(target.Prop->GetObj(target.Object))) {
    // A picture is read from a PNG or BMP file named beside the script, as the designer's
    // picture editor reads one; '' empties it.
    TValue file = ParseValue(value);
    if (!file.Is<std::string>())
      throw EPropertyError(target.Prop->Name +
                           " is a picture: it takes a file name, 'picture.png', or '' for none");
    const std::string& name = file.As<std::string>();
    TPictureProperty(nullptr, {owner}, *target.Prop)
        .SetValue(name.empty() ? name : s.Resolve(name));
    return;
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

// The value of one property given to another, as text: an edit's text shown on a label.
void CmdCopy(TScript& s, const TScriptLine& l) {
  auto [fromName, fromPath] = SplitPath(l.Words[2]);
  std::string value = PropText(s.Find(fromName), fromPath);
  auto [name, path] = SplitPath(l.Words[1]);
  TScriptResolver resolver(s);
  SetPropText(s.Find(name), path, value, &resolver);
}

// Runs the command only while the property has (`when`) or has not (`unless`) the value, so
// a handler script can react to what it finds.
void RunIf(TScript& s, const TScriptLine& l, bool equal) {
  auto [name, path] = SplitPath(l.Words[1]);
  bool same = PropText(s.Find(name), path) == CanonicalValue(l.Words[2]);
  if (same != equal) return;
  TScriptLine inner = SplitScriptLine(l.Rest(3), l.Number);
  if (inner.Words[0] == "fails") throw EScriptUsage(l.Words[0] + " cannot wrap fails");
  s.Execute(inner);
}
void CmdWhen(TScript& s, const TScriptLine& l) {
  RunIf(s, l, true);
}
void CmdUnless(TScript& s, const TScriptLine& l) {
  RunIf(s, l, false);
}

void CmdPrint(TScript& s, const TScriptLine& l) {
  auto [name, path] = SplitPath(l.Words[1]);
  // Read first: a path that fails prints nothing. NAME.Accessible is what a screen reader
  // learns of the control, not a property.
  std::string value =
      path == "Accessible" ? AccessibleLine({s.FindControl(name)}) : PropText(s.Find(name), path);
  s.Out() << l.Words[1] << " = " << value << "\n";
}

// The accessible tree from the active form, or from a control of it.
void CmdAccessibility(TScript& s, const TScriptLine& l) {
  TControl* root = l.Words.size() > 1 ? s.FindControl(l.Words[1]) : &s.RequireForm();
  s.Out() << AccessibleTreeText({root});
}

void CmdCall(TScript& s, const TScriptLine& l) {
  auto [name, method] = SplitPath(l.Words[1]);
  TComponent* c = s.Find(name);
  TMethod m = c->MethodAddress(method);
  if (!m) throw Exception(FormName(*c) + " has no published method '" + method + "'");
  if (l.Words.size() == 3 && m.HasSignature(typeid(void(bool)))) {
    const std::string& word = l.Words[2];
    if (!SameText(word, "True") && !SameText(word, "False"))
      throw Exception(l.Words[1] + " takes True or False, not '" + word + "'");
    m.As<void(bool)>()(SameText(word, "True"));
  } else if (l.Words.size() == 3) {
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
  if (action.Kind == TScript::TAction::None)
    prop.SetEvent(target.Object, std::any{}, "");
  else if (action.Kind == TScript::TAction::Handler)
    s.ProgramHandler(action.Name).BindTo(target.Object, prop);
  else
    prop.SetEvent(target.Object, prop.MakeHandler(s.MakeHandler(prop.Name, action)), "");
}

void CmdClick(TScript& s, const TScriptLine& l) {
  Click(s, l.Words[1], mbLeft);
}
void CmdRClick(TScript& s, const TScriptLine& l) {
  Click(s, l.Words[1], mbRight);
}

// A right click on the control, then a click on the row of the item of the menu that opened
// (wherever it came from: the control's menu, or the designer's).
void CmdPopup(TScript& s, const TScriptLine& l) {
  TValue value = AsPropertyValue(ParseValue(l.Rest(2)));
  if (!value.Is<std::string>()) throw EScriptUsage("usage: popup NAME 'Caption'");
  auto plain = [](std::string text) {
    std::erase(text, '&');
    return text;
  };
  const std::string wanted = plain(value.As<std::string>());
  Click(s, l.Words[1], mbRight);
  Application().ProcessMessages();
  TPopupMenu* menu = TPopupMenu::Opened();
  if (!menu) throw Exception("no popup menu opened over '" + l.Words[1] + "'");
  // A menu left open by a failure would take the input of the lines that follow.
  TOnFailure close([menu]() noexcept { menu->Close(); });
  std::string captions;
  const TMenuItems& items = menu->Items();
  for (int i = 0; i < items.Count(); ++i) {
    TMenuItem& item = *items[i];
    if (!item.Visible() || item.IsLine()) continue;
    if (plain(item.Caption()) != wanted) {
      captions += (captions.empty() ? "'" : ", '") + item.Caption() + "'";
      continue;
    }
    if (!item.Enabled()) throw Exception("the menu item '" + item.Caption() + "' is disabled");
    auto* form = dynamic_cast<TForm*>(menu->PopupComponent()->GetParentForm());
    if (!form) throw Exception("the popup menu is not on a form");
    const TRect row = menu->ItemRect(i);
    PressAt(*form, {(row.Left + row.Right) / 2, (row.Top + row.Bottom) / 2}, mbLeft);
    return;
  }
  throw Exception("the popup menu has no item '" + wanted + "' (it has " +
                  (captions.empty() ? std::string("none") : captions) + ")");
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
  TPoint p = FormPoint(*form, *c, x, y);
  m.X = p.X;
  m.Y = p.Y;
  m.Shift = MouseShift(m.Kind, m.Button);
  DeliverInput(*form, m);
}

// Press, a few moves on the way, release: what a user's drag delivers.
void CmdDrag(TScript& s, const TScriptLine& l) {
  TControl* c = s.FindControl(l.Words[1]);
  TForm& form = FormOf(s, *c);
  TPoint from = FormPoint(form, *c, ParseInt(l.Words[2]), ParseInt(l.Words[3]));
  TPoint to = FormPoint(form, *c, ParseInt(l.Words[4]), ParseInt(l.Words[5]));
  auto send = [&form](TMessage::TKind kind, TPoint p) {
    TMessage m;
    m.Kind = kind;
    m.Button = mbLeft;
    m.X = p.X;
    m.Y = p.Y;
    m.Shift = MouseShift(kind, mbLeft);
    DeliverInput(form, m);
  };
  send(TMessage::MouseDown, from);
  constexpr int kSteps = 4;
  for (int i = 1; i <= kSteps; ++i)
    send(TMessage::MouseMove,
         {from.X + (to.X - from.X) * i / kSteps, from.Y + (to.Y - from.Y) * i / kSteps});
  send(TMessage::MouseUp, to);
}

void CmdDblClick(TScript& s, const TScriptLine& l) {
  if (l.Words.size() == 3) throw EScriptUsage("usage: dblclick NAME [X Y]");
  TControl* c = s.FindControl(l.Words[1]);
  TForm& form = FormOf(s, *c);
  TPoint p = l.Words.size() == 4 ? FormPoint(form, *c, ParseInt(l.Words[2]), ParseInt(l.Words[3]))
                                 : ControlCentre(form, *c);
  PressAt(form, p, mbLeft);
  PressAt(form, p, mbLeft, true);
}

void CmdWheel(TScript& s, const TScriptLine& l) {
  TControl* c = s.FindControl(l.Words[1]);
  TForm& form = FormOf(s, *c);
  TPoint p = ControlCentre(form, *c);
  TMessage m;
  m.Kind = TMessage::MouseWheel;
  m.Shift = HeldShift();
  if (auto* headless = dynamic_cast<THeadlessBackend*>(&Application().Backend()))
    m.Shift = m.Shift + headless->ButtonState();
  m.WheelDelta = ClampExtent(int64_t{ParseInt(l.Words[2])} * WHEEL_DELTA);
  m.X = p.X;
  m.Y = p.Y;
  DeliverInput(form, m);
}

void CmdType(TScript& s, const TScriptLine& l) {
  TValue value = AsPropertyValue(ParseValue(l.Rest(2)));
  if (!value.Is<std::string>()) throw EScriptUsage("usage: type NAME 'text'");
  const std::string text = value.As<std::string>();
  if (!IsValidUtf8(text)) throw EScriptUsage("the text to type is not valid UTF-8");
  auto* c = dynamic_cast<TWinControl*>(s.FindControl(l.Words[1]));
  TForm& form = FormOf(s, c ? *c : s.RequireForm());
  // A form the script never showed takes input as if it were shown: the form judges.
  if (!c || !form.TakesKeys(*c)) throw Exception("'" + l.Words[1] + "' cannot take the focus");
  form.SetFocusedControl(c);
  TypeChars(form, text);
}

void CmdWait(TScript&, const TScriptLine& l) {
  int32_t ms = ParseInt(l.Words[1]);
  if (ms < 0) throw EScriptUsage("wait takes a number of milliseconds, not " + l.Words[1]);
  Timers().Advance(static_cast<uint64_t>(ms));
}

void CmdKey(TScript& s, const TScriptLine& l) {
  std::optional<TKeyName> key = KeyByName(l.Words[1]);
  if (!key) throw EScriptUsage("unknown key '" + l.Words[1] + "'");
  TShiftState shift;
  for (size_t i = 2; i < l.Words.size(); ++i) {
    if (l.Words[i] == "shift")
      shift.Include(ssShift);
    else if (l.Words[i] == "ctrl")
      shift.Include(ssCtrl);
    else if (l.Words[i] == "alt")
      shift.Include(ssAlt);
    else
      throw EScriptUsage("usage: key KEY [shift] [ctrl] [alt]");
  }
  PressKey(FormOf(s, s.RequireForm()), *key, shift);
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
  if (l.Words.size() == 3 && l.Words[2] != "text" && l.Words[2] != "binary")
    throw EScriptUsage("usage: save FILE [text|binary]");
  // In the designer: the designed form, to its own file and format unless told otherwise.
  if (TDesignerWindow* designer = ShownDesignerWindow()) {
    TDesignSession& session = designer->Session();
    if (l.Words.size() == 1) {
      session.Save();
    } else {
      TFormFormat format = l.Words.size() == 3
                               ? (l.Words[2] == "text" ? TFormFormat::Text : TFormFormat::Binary)
                               : session.Format();
      session.SaveAs(s.Resolve(l.Words[1]), format);
    }
    return designer->Saved();
  }
  if (l.Words.size() == 1) throw EScriptUsage("usage: save FILE [text]");
  bool text = l.Words.size() == 3 && l.Words[2] == "text";
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
  TPoint p = FormPoint(form, *c, x, y);
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

}  // namespace

void AddToolkitCommands() {
  constexpr size_t kAny = SIZE_MAX;
  const TScriptCommand commands[] = {
      {"load", 1, 2, "load FILE [design]", CmdLoad},
      {"new", 1, 2, "new NAME [design]", CmdNew},
      {"create", 2, 4, "create CLASS NAME [in PARENT]", CmdCreate},
      {"progdir", 1, 1, "progdir DIR", CmdProgdir},
      {"set", 2, kAny, "set PATH VALUE", CmdSet},
      {"copy", 2, 2, "copy PATH FROM-PATH", CmdCopy},
      {"expect", 2, kAny, "expect PATH VALUE", CmdExpect},
      {"print", 1, 1, "print PATH", CmdPrint},
      {"accessibility", 0, 1, "accessibility [NAME]", CmdAccessibility},
      {"call", 1, 2, "call NAME.METHOD [INT|True|False]", CmdCall},
      {"method", 2, 3, "method NAME ACTION", CmdMethod},
      {"handle", 2, 3, "handle NAME.EVENT ACTION", CmdHandle},
      {"click", 1, 1, "click NAME", CmdClick},
      {"rclick", 1, 1, "rclick NAME", CmdRClick},
      {"dblclick", 1, 3, "dblclick NAME [X Y]", CmdDblClick},
      {"popup", 2, kAny, "popup NAME 'Caption'", CmdPopup},
      {"wheel", 2, 2, "wheel NAME DELTA", CmdWheel},
      {"type", 2, kAny, "type NAME 'text'", CmdType},
      {"wait", 1, 1, "wait MS", CmdWait},
      {"mouse", 4, 5, "mouse down|up left|right X Y [NAME]", CmdMouse},
      {"key", 1, 4, "key KEY [shift] [ctrl] [alt]", CmdKey},
      {"hold", 1, 1, "hold KEY", CmdHold},
      {"release", 1, 1, "release KEY", CmdRelease},
      {"focus", 1, 1, "focus NAME", CmdFocus},
      {"show", 0, 0, "show", CmdShow},
      {"expect-result", 1, 1, "expect-result VALUE", CmdExpectResult},
      {"fails", 1, kAny, "fails COMMAND...", CmdFails},
      {"when", 3, kAny, "when PATH VALUE COMMAND...", CmdWhen},
      {"unless", 3, kAny, "unless PATH VALUE COMMAND...", CmdUnless},
      {"save", 0, 2, "save [FILE] [text|binary]", CmdSave},
      {"drag", 5, 5, "drag NAME X1 Y1 X2 Y2", CmdDrag},
      {"shot", 1, 1, "shot FILE.png", CmdShot},
      {"expect-pixel", 3, 4, "expect-pixel X Y #RRGGBB [NAME]", CmdExpectPixel},
      {"cell", 3, kAny, "cell NAME COL ROW ['text']", CmdCell},
      {"expect-cell", 4, kAny, "expect-cell NAME COL ROW 'text'", CmdExpectCell},
      {"pick", 2, 2, "pick NAME INDEX", CmdPick},
      {"expect-message", 1, kAny, "expect-message 'text'", CmdExpectMessage},
  };
  for (const TScriptCommand& c : commands) AddScriptCommand(c);
}

}  // namespace zelvar::script
