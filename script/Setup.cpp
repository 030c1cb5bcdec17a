// What a program puts in place before a script runs, once its classes are registered
// (zelvar::Initialize): the script commands, and the package a designer loads. The runner
// itself only runs.

#include "design/Zelvar32.h"
#include "script/CommandTables.h"
#include "script/Script.h"

namespace zelvar::script {

namespace {
bool tTablesAdded = false;
}  // namespace

void AddCommandTables() {
  tTablesAdded = true;
  AddToolkitCommands();
  AddWizardCommands();
  AddDesignCommands();
  // The package's editors and dialogs are registered only once a form is designed, as a
  // designer loads a package: a plain run knows only the classes above.
  SetDesignPackage(zelvar::Register);
}

void EnsureCommandTables() {
  if (!tTablesAdded) AddCommandTables();
}

}  // namespace zelvar::script
