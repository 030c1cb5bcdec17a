#include "tests/platform/backends/VirtualDisplay.h"

#include <cstdio>
#include <cstring>
#include <string_view>

extern char** environ;

namespace zelvar::test {

std::string Errno(const char* what, int error) {
  return std::string(what) + ": " + std::strerror(error);
}

std::vector<std::string> EnvironmentFor(const std::string& display) {
  std::vector<std::string> env;
  for (char** e = environ; *e; ++e) {
    std::string_view v(*e);
    if (v.starts_with("DISPLAY=") || v.starts_with("WAYLAND_DISPLAY=") ||
        v.starts_with("SDL_VIDEODRIVER="))
      continue;
    env.emplace_back(v);
  }
  if (!display.empty()) {
    env.push_back("DISPLAY=" + display);
    env.push_back("SDL_VIDEODRIVER=x11");
  }
  return env;
}

TOutput Shell(const std::string& command) {
  std::string full = "timeout " + std::to_string(std::chrono::seconds(kPatience).count()) + " " +
                     command + " 2>&1";
  TOutput r;
  FILE* p = ::popen(full.c_str(), "r");
  if (!p) return {-1, Errno("popen", errno)};
  char buf[512];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) r.Text.append(buf, n);
  int raw = ::pclose(p);
  r.Status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  while (!r.Text.empty() && r.Text.back() == '\n') r.Text.pop_back();
  return r;
}

}  // namespace zelvar::test
