#include "zelvar/zelvar.h"

#include <cstdlib>
#include <iostream>
#include <mutex>

#include "platform/controls/Register.h"
#include "zelvar/script.h"

namespace zelvar {

void Initialize() {
  static std::once_flag once;
  std::call_once(once, [] {
    RegisterControls();
    RegisterClasses<TForm>();
    RegisterZelvarA();
    RegisterZelvarC();
  });
  // A program run under a script: the script is its input from now on.
  if (const char* scriptFile = std::getenv("ZELVAR_SCRIPT"); scriptFile && *scriptFile) {
    script::EnsureCommandTables();
    script::DriveProgram(scriptFile);
  }
}

int RunScript(TForm& form, const std::string& scriptFile, const TFormHandlers& handlers) {
  return RunScript(form, scriptFile, handlers, std::cout, std::cerr);
}

int RunScript(TForm& form, const std::string& scriptFile, const TFormHandlers& handlers,
              std::ostream& out, std::ostream& err) {
  script::EnsureCommandTables();
  script::TScript script(out, err);
  script.SetHandlers(handlers);
  script.UseForm(form);
  return script.RunFile(scriptFile);
}

}  // namespace zelvar
