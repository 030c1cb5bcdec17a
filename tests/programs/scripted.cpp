// A program as an application writes one, which tests/zelvar/ZelvarTest.cpp runs under
// ZELVAR_SCRIPT: it reads the form named on its command line with its handlers, shows it
// modally and prints how it closed. With --catch it swallows every error and returns 0, as a
// careless program might: a failed script must still end it with status 1.

#include <iostream>
#include <memory>
#include <string>

#include "zelvar/zelvar.h"

namespace {

int Run(const char* formFile) {
  using namespace zelvar;
  Initialize();
  TFormHandlers handlers{
      {"Hello", [](TButton* sender) { std::cout << "Hello from " << sender->Name() << "\n"; }}};
  std::unique_ptr<TComponent> root(ReadComponentFile(formFile, handlers));
  TModalResult result = As<TForm>(root.get())->ShowModal();
  std::cout << "closed with " << result << "\n";
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  if (argc > 2 && std::string(argv[2]) == "--catch") {
    try {
      return Run(argv[1]);
    } catch (...) {
      return 0;
    }
  }
  return Run(argv[1]);
}
