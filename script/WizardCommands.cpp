// Script commands of the wizard package: `execute NAME PAGE` runs a container's Execute, with
// the following lines inside its modal loop.

#include "container/ZelvarA.h"
#include "platform/core/SysUtils.h"
#include "platform/forms/Forms.h"
#include "script/CommandTables.h"
#include "script/Script.h"

namespace zelvar::script {

namespace {

void CmdExecute(TScript& s, const TScriptLine& l) {
  auto* zelvar = dynamic_cast<TZelvar*>(s.Find(l.Words[1]));
  if (!zelvar) throw Exception("'" + l.Words[1] + "' is not a TZelvar");
  int32_t page = StrToInt(l.Words[2]);
  TForm* form = zelvar->OwnerForm();
  if (!form) throw Exception("'" + l.Words[1] + "' is not on a form");
  s.RunModal(*form, [zelvar, page] { return zelvar->Execute(page); });
}

}  // namespace

void AddWizardCommands() {
  AddScriptCommand({"execute", 2, 2, "execute NAME PAGE", CmdExecute});
}

}  // namespace zelvar::script
