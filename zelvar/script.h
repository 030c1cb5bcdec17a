#pragma once
// Scripts for an application's own forms: the runner behind `zelvar run FORM --script FILE`,
// for a program that tests its wizard the way the tool tests a form file.
//
//   #include <zelvar/zelvar.h>
//   #include <zelvar/script.h>
//   int status = zelvar::RunScript(*form, "tests/setup.zs", handlers);
//
// Any program also runs under a script unchanged: with ZELVAR_SCRIPT=FILE in its environment,
// zelvar::Initialize() makes FILE the input of its modal loops (see docs/SCRIPTS.md).

#include <iosfwd>
#include <string>

#include "platform/core/TypInfo.h"
#include "platform/forms/Forms.h"
#include "script/Script.h"

namespace zelvar {

// Runs the script headless against the program's form, as `zelvar run FORM --script FILE`
// does: the form is the active form, `show` runs its modal loop, and the script's `handle` and
// `method` can name the handlers given (`handle Zelvar1.OnPageChange handler PageChanged`),
// as can forms the script loads. Adds the script commands if they are not in place. Returns
// the exit status: 0, or 1 after printing `zelvar: FILE:LINE: message` on err. The script
// installs the headless backend; afterwards the application has none.
int RunScript(TForm& form, const std::string& scriptFile, const TFormHandlers& handlers = {});
int RunScript(TForm& form, const std::string& scriptFile, const TFormHandlers& handlers,
              std::ostream& out, std::ostream& err);

}  // namespace zelvar
