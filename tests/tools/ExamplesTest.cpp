// The examples stay what their builder script makes, the binary form matches the text one,
// and the demo's tour runs through them.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "tests/TestSupport.h"

namespace {

namespace fs = std::filesystem;
using zelvar::test::RunZelvar;
using zelvar::test::Slurp;
using zelvar::test::TRun;

const fs::path kExamples = fs::path(ZELVAR_TEST_DATA) / ".." / ".." / "examples";

class Examples : public ::testing::Test {
 protected:
  void SetUp() override {
    Dir = fs::path(::testing::TempDir()) / ("examples-" + std::to_string(::getpid()));
    fs::remove_all(Dir);
    fs::create_directories(Dir / "examples");
    for (const auto& f : fs::directory_iterator(kExamples))
      if (f.is_regular_file()) fs::copy_file(f.path(), Dir / "examples" / f.path().filename());
  }
  void TearDown() override { fs::remove_all(Dir); }
  fs::path Dir;
};

TEST_F(Examples, TheBuilderScriptMakesTheCommittedForms) {
  for (const char* f : {"setup.txt", "setup.dfm", "options.txt"}) fs::remove(Dir / "examples" / f);
  TRun r = RunZelvar("run --script " + (Dir / "examples" / "make-examples.zs").string(), Dir);
  ASSERT_EQ(r.Status, 0) << r.Err;
  for (const char* f : {"setup.txt", "setup.dfm", "options.txt"})
    EXPECT_EQ(Slurp(Dir / "examples" / f), Slurp(kExamples / f))
        << f << " differs from what make-examples.zs makes: run it again";
  // The binary twin is the text form converted.
  r = RunZelvar("convert " + (kExamples / "setup.txt").string() + " " + (Dir / "c.dfm").string(),
                Dir);
  ASSERT_EQ(r.Status, 0) << r.Err;
  EXPECT_EQ(Slurp(Dir / "c.dfm"), Slurp(kExamples / "setup.dfm"));
}

TEST_F(Examples, TheTourWalksBothExamples) {
  fs::create_directories(Dir / "out" / "demo");
  // Not Dir itself: the captured output goes to Dir/out, which here is the pictures' folder.
  TRun r = RunZelvar("run --script " + (Dir / "examples" / "tour.zs").string(), Dir / "run");
  ASSERT_EQ(r.Status, 0) << r.Err;
  EXPECT_NE(r.Out.find("result = mrOk"), std::string::npos);
  int pictures = 0;
  for (const auto& f : fs::directory_iterator(Dir / "out" / "demo"))
    pictures += f.path().extension() == ".png";
  EXPECT_EQ(pictures, 12);
}

}  // namespace
