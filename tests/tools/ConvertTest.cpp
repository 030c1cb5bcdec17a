// The `zelvar convert` command, run as a user runs it.

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>
#include "tests/TestSupport.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

namespace fs = std::filesystem;

using zelvar::test::RunZelvar;
using zelvar::test::Slurp;
using zelvar::test::TRun;

TRun Zelvar(const std::string& args, const std::string& stdinFile = "") {
  return RunZelvar(args,
                   fs::path(::testing::TempDir()) / ("zelvar-run-" + std::to_string(::getpid())),
                   stdinFile);
}

class Convert : public ::testing::Test {
 protected:
  void SetUp() override {
    Dir = fs::path(::testing::TempDir()) / ("convert-" + std::to_string(::getpid()));
    fs::remove_all(Dir);
    fs::create_directories(Dir);
    Text = Dir / "form.txt";
    std::ofstream(Text) << "object Form1: TForm1\n  Caption = 'Setup'\n  Tag = 3\nend\n";
  }
  void TearDown() override { fs::remove_all(Dir); }
  fs::path Dir, Text;
};

TEST_F(Convert, BothDirectionsAndStandardStreams) {
  fs::path bin = Dir / "form.dfm";
  fs::path back = Dir / "back.txt";
  ASSERT_EQ(Zelvar("convert " + Text.string() + " " + bin.string()).Status, 0);
  EXPECT_EQ(Slurp(bin).substr(0, 4), "TPF0");
  ASSERT_EQ(Zelvar("convert " + bin.string() + " " + back.string()).Status, 0);
  EXPECT_EQ(Slurp(back), Slurp(Text));
  // --to keeps the format when asked; '-' reads standard input and writes standard output.
  TRun run = Zelvar("convert --to text - -", bin.string());
  EXPECT_EQ(run.Status, 0);
  EXPECT_EQ(run.Out, Slurp(Text));
  run = Zelvar("convert --to binary " + bin.string() + " -");
  EXPECT_EQ(run.Out, Slurp(bin));
}

TEST_F(Convert, BadFileExitsOneAndLeavesNoOutput) {
  fs::path bad = Dir / "bad.txt";
  std::ofstream(bad) << "object Form1: TForm1\n  Caption = 'open\nend\n";
  fs::path out = Dir / "out.dfm";
  TRun run = Zelvar("convert " + bad.string() + " " + out.string());
  EXPECT_EQ(run.Status, 1);
  EXPECT_EQ(run.Err.rfind("zelvar: " + bad.string() + ": ", 0), 0u) << run.Err;
  EXPECT_NE(run.Err.find("line 2:"), std::string::npos) << run.Err;
  EXPECT_FALSE(fs::exists(out));
  EXPECT_FALSE(fs::exists(out.string() + ".part"));

  fs::path truncated = Dir / "cut.dfm";
  std::ofstream(truncated, std::ios::binary) << std::string("TPF0\x06TForm1\x05Fo", 14);
  run = Zelvar("convert " + truncated.string() + " " + out.string());
  EXPECT_EQ(run.Status, 1);
  EXPECT_NE(run.Err.find("offset"), std::string::npos) << run.Err;
  EXPECT_FALSE(fs::exists(out));
}

TEST_F(Convert, WrongUsageExitsTwo) {
  EXPECT_EQ(Zelvar("convert").Status, 2);
  EXPECT_EQ(Zelvar("convert " + Text.string()).Status, 2);
  EXPECT_EQ(Zelvar("convert --to pdf " + Text.string() + " x").Status, 2);
  EXPECT_EQ(Zelvar("convert --bogus a b").Status, 2);
  EXPECT_EQ(Zelvar("frobnicate").Status, 2);
  TRun help = Zelvar("convert --help");
  EXPECT_EQ(help.Status, 0);
  EXPECT_NE(help.Out.find("zelvar convert [--to text|binary] IN OUT"), std::string::npos);
}

}  // namespace
