// Script commands of the designer: `verbs`, `verb`, `edit` and `value` reach the component and
// property editors of a form loaded or made for design (load FILE design, new NAME design).

#include <cstdint>
#include <memory>
#include <string>

#include "platform/core/SysUtils.h"
#include "platform/core/TypInfo.h"
#include "platform/core/ValueText.h"
#include "platform/designer/Designer.h"
#include "platform/forms/Forms.h"
#include "script/CommandTables.h"
#include "script/Script.h"

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

}  // namespace

void AddDesignCommands() {
  AddScriptCommand({"verbs", 1, 1, "verbs NAME", CmdVerbs});
  AddScriptCommand({"verb", 2, 2, "verb NAME INDEX", CmdVerb});
  AddScriptCommand({"edit", 1, 1, "edit NAME.PROP", CmdEdit});
  AddScriptCommand({"value", 1, SIZE_MAX, "value NAME.PROP ['text']", CmdValue});
}

}  // namespace zelvar::script
