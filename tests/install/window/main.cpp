// A one-file program that shows its forms in windows, built with pkg-config's zelvar-window:
// including <zelvar/window.h> is what makes the window backend the one a modal loop opens.
// Without a display it says why no window opened, which is no failure here.
#include <cstdio>
#include <memory>
#include <string>

#include <zelvar/window.h>
#include <zelvar/zelvar.h>

int main() {
  if (zelvar::RegisteredWindowBackend() != &zelvar::OpenWindowBackend) {
    std::puts("including <zelvar/window.h> registered no window backend");
    return 1;
  }
  std::string why;
  std::unique_ptr<zelvar::TBackend> backend = zelvar::OpenWindowBackend(&why);
  if (backend)
    std::puts("window backend open");
  else
    std::printf("no display: %s\n", why.c_str());
  return 0;
}
