// What the program puts in place before a command runs: the classes form files may name, the
// script commands, and the package a designer loads. The runner itself only runs.

#include "container/ZelvarA.h"
#include "controls/ZelvarC.h"
#include "design/Zelvar32.h"
#include "platform/controls/Register.h"
#include "tools/CommandTables.h"
#include "tools/Commands.h"
#include "tools/Script.h"

namespace zelvar::tool {

void SetUp() {
  RegisterControls();
  RegisterZelvarA();
  RegisterZelvarC();
  AddToolkitCommands();
  AddWizardCommands();
  AddDesignCommands();
  // The package's editors and dialogs are registered only once a form is designed, as a
  // designer loads a package: a plain run knows only the classes above.
  SetDesignPackage(zelvar::Register);
}

}  // namespace zelvar::tool
