// A program of another project that uses the installed library.
#include <cstdio>

#include "platform/core/Format.h"
#include "platform/core/Strings.h"

int main() {
  zelvar::TStringList pages{"Dialog", "Page 1"};
  std::string caption = zelvar::Format("Wizard - Page %d of %d", {1, pages.Count() - 1});
  std::puts(caption.c_str());
  return caption == "Wizard - Page 1 of 1" ? 0 : 1;
}
