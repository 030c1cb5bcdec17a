// The `zelvar` command: the command-line face of the toolkit and the wizard package.

#include <cstdlib>
#include <iostream>
#include <new>
#include <stdexcept>
#include <string_view>

#include "platform/core/Exceptions.h"
#include "platform/core/Paths.h"
#include "script/Script.h"
#include "script/ScriptSupport.h"
#include "tools/Commands.h"
#include "zelvar/version.h"
#include "zelvar/zelvar.h"

namespace zelvar::tool {

const std::vector<TCommand>& Commands() {
  static const std::vector<TCommand> commands = {
      {"convert", "zelvar convert [--to text|binary] IN OUT",
       "Converts a form file. The input's format is detected (binary starts with TPF0);\n"
       "without --to the output is the other format. '-' is standard input or output.\n",
       RunConvert},
      {"shot", "zelvar shot FORM OUT.png [--page N] [--design]",
       "Loads the form (either format), sets the first component with a Page property to N when\n"
       "--page is given, renders the form's client area and writes it as a PNG. --design\n"
       "loads the form as the designer does (csDesigning set).\n",
       RunShot},
      {"run", "zelvar run FORM [--script FILE] [--headless] [--progdir DIR] | run --script FILE",
       "Loads the form and shows it in a window (a form with a wizard runs the wizard from\n"
       "its start page) until it closes, then prints its result (result = mrOk). Closing\n"
       "the window answers Cancel. Without a display this fails: use --script.\n"
       "With --script, runs the script headless on the form (a script may also load its own\n"
       "forms). --progdir makes the program's own folder read as DIR. Errors are reported as\n"
       "FILE:LINE: message; exit status 1 on the first failed expectation or error.\n",
       RunRun},
      {"design", "zelvar design [FORM] [--script FILE]",
       "Opens the form (either format; without FORM a new one) in the visual designer: the\n"
       "component palette, the property grid and the form. Ctrl+S saves in the form's\n"
       "format (Ctrl+Shift+S asks for a file and a format), Ctrl+Z/Ctrl+Y undo and redo,\n"
       "F9 runs the form. With --script, runs the script headless against the designer: its\n"
       "active form is the designer's window, the designed form's components are found by\n"
       "name, and `save` writes the designed form.\n",
       RunDesign},
      {"check", "zelvar check FORM [--dot]",
       "Checks how the form's wizard can be walked: the way list (when enabled) or the pages\n"
       "in order, the jump radio buttons and jump bit buttons of each page, the start page\n"
       "and the finish. Prints one line per finding, FORM: page N ('name'): error: message\n"
       "(or warning:), and exits 1 when any finding is an error. Errors: a position no walk\n"
       "from the start reaches, a jump target outside the wizard, a way-list position with\n"
       "no entry, a position from which no walk reaches the finish, a page-bound control\n"
       "with no place for a page. Warnings: a page that shows no control, checked jump\n"
       "radio buttons on one page that lead to different pages. --dot prints the walk as a\n"
       "Graphviz graph (the findings then go to standard error).\n",
       RunCheck},
  };
  return commands;
}

int Fail(int status, const std::string& message) {
  std::cerr << "zelvar: " << message << "\n";
  return status;
}

namespace {

void Usage(std::ostream& out) {
  out << "usage: zelvar [--progdir DIR] COMMAND [ARGS]\n"
         "       zelvar --help | zelvar --version | zelvar COMMAND --help\n"
         "\n"
         "Zelvar builds multi-page wizards and tabbed dialogs on ordinary forms.\n"
         "\n"
         "commands:\n";
  for (const TCommand& c : Commands()) out << "  " << c.Usage << "\n";
  out << "\n"
         "options:\n"
         "  --progdir DIR     make the program's own folder read as DIR\n"
         "\n"
         "exit status: 0 all good; 1 a failed expectation, an error or a bad form file;\n"
         "2 wrong usage\n";
}

}  // namespace

}  // namespace zelvar::tool

int main(int argc, char** argv) {
  using namespace zelvar::tool;
  zelvar::SetCommandLine(argc, argv);
  int i = 1;
  for (; i < argc; ++i) {
    std::string_view arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      Usage(std::cout);
      return 0;
    }
    if (arg == "--version") {
      std::cout << "zelvar " ZELVAR_VERSION_STRING "\n";
      return 0;
    }
    if (arg == "--progdir") {
      if (i + 1 >= argc) return Fail(2, "--progdir needs a folder");
      zelvar::SetProgramDir(argv[++i]);
      continue;
    }
    break;
  }
  if (i >= argc) {
    Usage(std::cerr);
    return 2;
  }
  std::string_view name = argv[i];
  for (const TCommand& c : Commands()) {
    if (name != c.Name) continue;
    TArgs args(argv + i + 1, argv + argc);
    for (const auto& a : args) {
      if (a == "--help" || a == "-h") {
        std::cout << "usage: " << c.Usage << "\n\n" << c.Help;
        return 0;
      }
    }
    // Commands report their own errors with the file at fault; this is the last resort for
    // anything that slips through, so no error ends the program with a signal.
    try {
      // The tool runs scripts with --script; the variable is for an application's own runs.
      ::unsetenv("ZELVAR_SCRIPT");
      zelvar::Initialize();
      zelvar::script::AddCommandTables();
      return c.Run(args);
    } catch (...) {
      return Fail(1, zelvar::script::CurrentErrorMessage());
    }
  }
  return Fail(2, "unknown command '" + std::string(name) + "' (see zelvar --help)");
}
