// Script commands of the wizard package: `execute NAME PAGE [STATE-FILE]` runs a container's
// Execute, with the following lines inside its modal loop; with a state file (taken beside the
// script) it resumes from it and keeps its state there.

#include <filesystem>
#include <string>

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
  if (l.Words.size() == 4) {
    if (l.Words[3].empty()) throw Exception("execute: the state file's name is empty");
    // Made absolute here, so the wizard does not take it in the user's state folder.
    std::string file = s.Resolve(l.Words[3]);
    if (file.front() != '/') file = std::filesystem::absolute(file).string();
    s.RunModal(*form, [zelvar, page, file] { return zelvar->Execute(page, file); });
  } else {
    s.RunModal(*form, [zelvar, page] { return zelvar->Execute(page); });
  }
}

}  // namespace

void AddWizardCommands() {
  AddScriptCommand({"execute", 2, 3, "execute NAME PAGE [STATE-FILE]", CmdExecute});
}

}  // namespace zelvar::script
