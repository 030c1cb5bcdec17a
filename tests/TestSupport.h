#pragma once
// Helpers the tests share: the message of an expected exception, an environment variable for
// a while, and running the `zelvar` command as a user does.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

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

// Sets an environment variable for the life of this object.
class TEnvVar {
 public:
  TEnvVar(const char* name, const char* value) : FName(name) {
    if (const char* old = std::getenv(name)) FOld = old;
    if (value)
      ::setenv(name, value, 1);
    else
      ::unsetenv(name);
  }
  ~TEnvVar() {
    if (FOld)
      ::setenv(FName.c_str(), FOld->c_str(), 1);
    else
      ::unsetenv(FName.c_str());
  }
  TEnvVar(const TEnvVar&) = delete;
  TEnvVar& operator=(const TEnvVar&) = delete;

 private:
  std::string FName;
  std::optional<std::string> FOld;
};

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

// Runs `PROGRAM ARGS` with its output captured in dir; stdinFile feeds standard input and env
// goes in front of the command (VAR=value ...).
inline TRun RunProgram(const std::string& program, const std::string& args,
                       const std::filesystem::path& dir, const std::string& stdinFile = "",
                       const std::string& env = "") {
  std::filesystem::create_directories(dir);
  std::string cmd = env + " " + program + " " + args + " >" + (dir / "out").string() + " 2>" +
                    (dir / "err").string();
  if (!stdinFile.empty()) cmd += " <" + stdinFile;
  int raw = std::system(cmd.c_str());
  return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, Slurp(dir / "out"), Slurp(dir / "err")};
}

// Runs `zelvar ARGS` as RunProgram does.
inline TRun RunZelvar(const std::string& args, const std::filesystem::path& dir,
                      const std::string& stdinFile = "", const std::string& env = "") {
  return RunProgram(ZELVAR_TOOL, args, dir, stdinFile, env);
}

// A scratch folder per test holding copies of files from tests/data/scripts, where scripts
// run as a user runs them; removed afterwards.
class ScriptFolderTest : public ::testing::Test {
 protected:
  ScriptFolderTest(std::string name, std::initializer_list<const char*> files)
      : FName(std::move(name)), FFiles(files) {}
  void SetUp() override {
    Dir = std::filesystem::path(::testing::TempDir()) / (FName + "-" + std::to_string(::getpid()));
    std::filesystem::remove_all(Dir);
    std::filesystem::create_directories(Dir);
    for (const char* f : FFiles)
      std::filesystem::copy_file(std::string(ZELVAR_TEST_DATA) + "/scripts/" + f, Dir / f);
  }
  void TearDown() override { std::filesystem::remove_all(Dir); }
  // Writes the script (after Prelude) into the folder and runs it.
  TRun RunScript(const std::string& text) {
    std::ofstream(Dir / "test.zs") << Prelude << text;
    return RunZelvar("run --script " + (Dir / "test.zs").string(), Dir);
  }

  std::filesystem::path Dir;
  std::string Prelude;

 private:
  std::string FName;
  std::vector<const char*> FFiles;
};

}  // namespace zelvar::test
