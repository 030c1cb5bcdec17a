// A program of another project that shows its forms in windows: it links Zelvar::window.
// Without a display it says why no window opened, which is no failure here.
#include <cstdio>
#include <memory>
#include <string>

#include <zelvar/platform/backends/Window.h>

int main() {
  std::string why;
  std::unique_ptr<zelvar::TBackend> backend = zelvar::OpenWindowBackend(&why);
  if (backend)
    std::puts("window backend open");
  else
    std::printf("no display: %s\n", why.c_str());
  return 0;
}
