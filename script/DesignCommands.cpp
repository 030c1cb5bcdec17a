// Script commands of the designer: `verbs`, `verb`, `edit` and `value` reach the component and
// property editors of a form loaded or made for design (load FILE design, new NAME design).

#include <cstdint>
#include <memory>
#include <string>

#include "platform/backends/HeadlessInput.h"
#include "platform/core/SysUtils.h"
#include "platform/core/TypInfo.h"
#include "platform/core/ValueText.h"
#include "platform/designer/Designer.h"
#include "platform/designer/DesignerWindow.h"
#include "platform/designer/Palette.h"
#include "platform/designer/PropertyGrid.h"
#include "platform/forms/Forms.h"
#include "script/CommandTables.h"
#include "script/Script.h"
#include "script/ScriptSupport.h"

namespace zelvar::script {

namespace {

// The designer of the form a component stands on.
IDesigner& DesignerOf(TComponent& c, const std::string& name) {
  auto* form = dynamic_cast<TForm*>(c.Root());
  if (!form || !form->Designer())
    throw Exception("'" + name + "' is not on a form being designed (load FILE design)");
  return *form->Designer();
}

std::unique_ptr<TComponentEditor> ComponentEditorOf(TScript& s, const std::string& name) {
  TComponent* c = s.Find(name);
  return GetComponentEditor(c, &DesignerOf(*c, name));
}

std::unique_ptr<TPropertyEditor> PropertyEditorOf(TScript& s, const std::string& path) {
  size_t dot = path.find('.');
  if (dot == std::string::npos) throw EScriptUsage("'" + path + "' names no property (NAME.PROP)");
  std::string name = path.substr(0, dot);
  TComponent* c = s.Find(name);
  TPropTarget target = FindPropTarget(c, path.substr(dot + 1));
  auto* object = dynamic_cast<TPersistent*>(target.Object);
  if (!target.Prop || !object) throw Exception("'" + path + "' has no property editor");
  return GetPropertyEditor(&DesignerOf(*c, name), {object}, *target.Prop);
}

void CmdVerbs(TScript& s, const TScriptLine& l) {
  auto editor = ComponentEditorOf(s, l.Words[1]);
  for (int i = 0; i < editor->GetVerbCount(); ++i) s.Out() << editor->GetVerb(i) << "\n";
}

void CmdVerb(TScript& s, const TScriptLine& l) {
  auto editor = ComponentEditorOf(s, l.Words[1]);
  int32_t index = StrToInt(l.Words[2]);
  if (index < 0 || index >= editor->GetVerbCount())
    throw Exception("'" + l.Words[1] + "' has no verb " + l.Words[2] + " (it has " +
                    std::to_string(editor->GetVerbCount()) + ")");
  editor->ExecuteVerb(index);
}

void CmdEdit(TScript& s, const TScriptLine& l) {
  PropertyEditorOf(s, l.Words[1])->Edit();
}

void CmdValue(TScript& s, const TScriptLine& l) {
  auto editor = PropertyEditorOf(s, l.Words[1]);
  if (l.Words.size() == 2) {
    s.Out() << l.Words[1] << " = " << editor->GetValue() << "\n";
    return;
  }
  TValue text = ParseValue(l.Rest(2));
  if (!text.Is<std::string>()) throw EScriptUsage("the value must be a string: 'text'");
  editor->SetValue(text.As<std::string>());
}

// --- the visual designer (zelvar design)

void Press(TForm& window, TControl& control, const TRect& r) {
  if (r.Empty()) throw Exception("'" + control.Name() + "' shows no such entry");
  PressAt(window, FormPoint(window, control, (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2),
          mbLeft);
}

void CmdPalette(TScript&, const TScriptLine& l) {
  TDesignerWindow& w = RequireDesignerWindow();
  TComponentPalette& palette = w.Palette();
  int32_t page = palette.PageOf(l.Words[1]);
  if (page < 0) throw Exception("the palette has no " + l.Words[1]);
  if (palette.ActivePage() != page) {
    Press(w, palette, palette.TabRect(page));
    Application().ProcessMessages();
  }
  Press(w, palette, palette.EntryRect(l.Words[1]));
}

void CmdSelect(TScript& s, const TScriptLine& l) {
  TFormEditor& editor = RequireDesignerWindow().Session().Editor();
  std::vector<TPersistent*> selection;
  for (size_t i = 1; i < l.Words.size(); ++i) {
    TComponent* c = s.Find(l.Words[i]);
    if (c == &editor.Form()) continue;
    if (c->Owner() != &editor.Form())
      throw Exception("'" + l.Words[i] + "' is not a component of the designed form");
    selection.push_back(c);
  }
  editor.SetSelection(std::move(selection));
  // As a click would, the form's surface takes the keyboard.
  TDesignSurface& surface = RequireDesignerWindow().Surface();
  if (surface.CanFocus()) surface.SetFocus();
}

// Selects NAME and makes the property grid's row of PROP current.
TPropertyGrid& InspectRow(TScript& s, const std::string& path) {
  auto [name, prop] = SplitPath(path);
  TDesignerWindow& w = RequireDesignerWindow();
  TComponent* c = s.Find(name);
  w.Session().Editor().SelectComponent(c);
  Application().ProcessMessages();
  TPropertyGrid& grid = w.PropertyGrid();
  if (!grid.SelectRow(prop))
    throw Exception("the property grid shows no row " + prop + " for '" + name + "'");
  Application().ProcessMessages();
  return grid;
}

void CmdInspect(TScript& s, const TScriptLine& l) {
  TValue text = ParseValue(l.Rest(2));
  if (!text.Is<std::string>()) throw EScriptUsage("usage: inspect NAME.PROP 'text'");
  TPropertyGrid& grid = InspectRow(s, l.Words[1]);
  TWinControl* edit = grid.ValueEdit();
  if (!edit || !edit->CanFocus()) throw Exception("the row " + l.Words[1] + " cannot be edited");
  TDesignerWindow& w = RequireDesignerWindow();
  edit->SetFocus();
  PressKey(w, *KeyByName("A"), {ssCtrl});
  TypeChars(w, text.As<std::string>());
  PressKey(w, *KeyByName("Enter"), {});
}

void CmdInspectDialog(TScript& s, const TScriptLine& l) {
  TPropertyGrid& grid = InspectRow(s, l.Words[1]);
  TControl* button = grid.EllipsisButton();
  if (!button) throw Exception("the row " + l.Words[1] + " has no dialog (no ... button)");
  TDesignerWindow& w = RequireDesignerWindow();
  PressAt(w, ControlCentre(w, *button), mbLeft);
}

void UndoKey(char key) {
  TDesignerWindow& w = RequireDesignerWindow();
  // The shortcut belongs to the designer, not to a text field that has the focus.
  if (w.Surface().CanFocus()) w.Surface().SetFocus();
  TMessage m;
  m.Kind = TMessage::KeyDown;
  m.Key = static_cast<uint16_t>(key);
  m.Shift = {ssCtrl};
  TypeKey(w, m, {});
}

void CmdUndo(TScript&, const TScriptLine&) {
  UndoKey('Z');
}

void CmdRedo(TScript&, const TScriptLine&) {
  UndoKey('Y');
}

}  // namespace

TDesignerWindow* ShownDesignerWindow() {
  const auto& shown = Application().ShownForms();
  for (auto it = shown.rbegin(); it != shown.rend(); ++it)
    if (auto* w = dynamic_cast<TDesignerWindow*>(*it)) return w;
  return nullptr;
}

TDesignerWindow& RequireDesignerWindow() {
  TDesignerWindow* w = ShownDesignerWindow();
  if (!w) throw Exception("no designer: run the script with zelvar design FORM --script FILE");
  return *w;
}

void AddDesignCommands() {
  AddScriptCommand({"verbs", 1, 1, "verbs NAME", CmdVerbs});
  AddScriptCommand({"verb", 2, 2, "verb NAME INDEX", CmdVerb});
  AddScriptCommand({"edit", 1, 1, "edit NAME.PROP", CmdEdit});
  AddScriptCommand({"value", 1, SIZE_MAX, "value NAME.PROP ['text']", CmdValue});
  AddScriptCommand({"palette", 1, 1, "palette CLASS", CmdPalette});
  AddScriptCommand({"select", 1, SIZE_MAX, "select NAME...", CmdSelect});
  AddScriptCommand({"inspect", 2, SIZE_MAX, "inspect NAME.PROP 'text'", CmdInspect});
  AddScriptCommand({"inspect-dialog", 1, 1, "inspect-dialog NAME.PROP", CmdInspectDialog});
  AddScriptCommand({"undo", 0, 0, "undo", CmdUndo});
  AddScriptCommand({"redo", 0, 0, "redo", CmdRedo});
}

}  // namespace zelvar::script
