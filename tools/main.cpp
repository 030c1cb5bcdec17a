// The `zelvar` command: the command-line face of the toolkit and the wizard package.

#include <cstring>
#include <iostream>
#include <string_view>

#include "platform/core/Paths.h"

namespace {

constexpr const char* kUsage =
    "usage: zelvar [--help] COMMAND [ARGS]\n"
    "\n"
    "Zelvar builds multi-page wizards and tabbed dialogs on ordinary forms.\n"
    "\n"
    "options:\n"
    "  --help            show this help; `zelvar COMMAND --help` shows a command's usage\n"
    "  --progdir DIR     make the program's own folder read as DIR\n"
    "\n"
    "exit status: 0 all good; 1 a failed expectation, an error or a bad form file;\n"
    "2 wrong usage\n";

int Usage(std::ostream& out, int status) {
  out << kUsage;
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  zelvar::SetCommandLine(argc, argv);
  int i = 1;
  for (; i < argc; ++i) {
    std::string_view arg = argv[i];
    if (arg == "--help" || arg == "-h") return Usage(std::cout, 0);
    if (arg == "--progdir") {
      if (i + 1 >= argc) {
        std::cerr << "zelvar: --progdir needs a folder\n";
        return 2;
      }
      zelvar::SetProgramDir(argv[++i]);
      continue;
    }
    break;
  }
  if (i >= argc) return Usage(std::cerr, 2);
  std::cerr << "zelvar: unknown command '" << argv[i] << "'\n";
  return 2;
}
