// The `zelvar` program's own options, run as a user runs them.

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <string>

#include "tests/TestSupport.h"
#include "zelvar/version.h"

namespace {

using zelvar::test::RunZelvar;
using zelvar::test::TRun;

TRun Zelvar(const std::string& args) {
  return RunZelvar(args, std::filesystem::path(::testing::TempDir()) /
                             ("zelvar-main-" + std::to_string(::getpid())));
}

TEST(ZelvarMain, VersionIsTheProjectsAndHelpOffersIt) {
  const std::string version = std::to_string(ZELVAR_VERSION_MAJOR) + "." +
                              std::to_string(ZELVAR_VERSION_MINOR) + "." +
                              std::to_string(ZELVAR_VERSION_PATCH);
  EXPECT_EQ(version, ZELVAR_VERSION_STRING);
  TRun run = Zelvar("--version");
  EXPECT_EQ(run.Status, 0);
  EXPECT_EQ(run.Out, "zelvar " + version + "\n");
  EXPECT_EQ(run.Err, "");
  // Read before a command, like --help.
  EXPECT_EQ(Zelvar("--version convert").Out, run.Out);
  TRun help = Zelvar("--help");
  EXPECT_EQ(help.Status, 0);
  EXPECT_NE(help.Out.find("zelvar --version"), std::string::npos) << help.Out;
}

}  // namespace
