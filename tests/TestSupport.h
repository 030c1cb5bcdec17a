#pragma once
// Helpers the tests share: the message of an expected exception, and running the `zelvar`
// command as a user does.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace zelvar::test {

// The message of the exception of type E that f raises, or "no exception".
template <class E, class F>
std::string MessageOf(F f) {
  try {
    f();
  } catch (const E& e) {
    return e.Message();
  }
  return "no exception";
}

inline std::string Slurp(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

struct TRun {
  int Status;
  std::string Out, Err;
};

// Runs `zelvar ARGS` with its output captured in dir; stdinFile feeds standard input and env
// goes in front of the command (VAR=value ...).
inline TRun RunZelvar(const std::string& args, const std::filesystem::path& dir,
                      const std::string& stdinFile = "", const std::string& env = "") {
  std::filesystem::create_directories(dir);
  std::string cmd = env + " " + std::string(ZELVAR_TOOL) + " " + args + " >" +
                    (dir / "out").string() + " 2>" + (dir / "err").string();
  if (!stdinFile.empty()) cmd += " <" + stdinFile;
  int raw = std::system(cmd.c_str());
  return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, Slurp(dir / "out"), Slurp(dir / "err")};
}

}  // namespace zelvar::test
