// A one-file program built without CMake: g++ $(pkg-config --cflags --libs zelvar).
#include <zelvar/zelvar.h>

#include <cstdio>
#include <memory>

int main() {
  zelvar::Initialize();
  std::unique_ptr<zelvar::TComponent> root(
      zelvar::ReadComponent("object Form1: TForm\n  Caption = 'Hello'\nend\n"));
  auto* form = dynamic_cast<zelvar::TForm*>(root.get());
  if (!form) return 1;
  std::printf("%s from pkg-config\n", form->Caption().c_str());
  return form->Caption() == "Hello" ? 0 : 1;
}
