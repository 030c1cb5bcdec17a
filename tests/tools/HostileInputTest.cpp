// Hostile input to the `zelvar` command: each case ends by itself with exit status 1 and a
// message naming the file and the cause, never a signal, a hang or gigabytes of memory.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "tests/TestSupport.h"

namespace {

namespace fs = std::filesystem;

using zelvar::test::RunZelvar;
using zelvar::test::Slurp;
using zelvar::test::TRun;

// A hang fails the test instead of stalling the suite.
const std::string kTimeout = "timeout 60";

class Hostile : public zelvar::test::ScriptFolderTest {
 protected:
  Hostile() : ScriptFolderTest("hostile", {"hosting.txt", "wizard.txt"}) {}

  TRun Zelvar(const std::string& args, const std::string& env = kTimeout) {
    return RunZelvar(args, Dir, "", env);
  }
  std::string At(const std::string& name) const { return (Dir / name).string(); }
  // The error line, checked to be the only one and to start as the tool's errors do.
  static void ExpectError(const TRun& r, const std::string& start, const std::string& cause) {
    EXPECT_EQ(r.Status, 1) << r.Err;
    EXPECT_EQ(r.Err.rfind("zelvar: " + start, 0), 0u) << r.Err;
    EXPECT_NE(r.Err.find(cause), std::string::npos) << r.Err;
    EXPECT_EQ(r.Err.find('\n'), r.Err.size() - 1) << r.Err;
  }
};

TEST_F(Hostile, AFormThatHostsItselfStopsAtADepth) {
  // The embedded form host asks for a form named after the form itself, as it is loaded.
  std::string form = Slurp(Dir / "hosting.txt");
  for (auto [from, to] : {std::pair<std::string, std::string>{"fcOnDemandFree", "fcOnCreate"},
                          {"OnGetForm = GetPage", "OnGetForm = Self"},
                          {"OnFreeForm = PageGone", ""}}) {
    size_t at = form.find(from);
    ASSERT_NE(at, std::string::npos) << from;
    form.replace(at, from.size(), to);
  }
  std::ofstream(Dir / "Self.txt") << form;
  const std::string cause = "Forms loaded while a form loads nest more than 16 deep";

  TRun r = Zelvar("shot " + At("Self.txt") + " " + At("x.png"));
  ExpectError(r, At("Self.txt") + ": ", cause);
  EXPECT_FALSE(fs::exists(Dir / "x.png"));

  r = RunScript("load Self.txt\n");
  ExpectError(r, At("test.zs") + ":1: " + At("Self.txt") + ": ", cause);
}

TEST_F(Hostile, RunningOutOfMemoryIsAnError) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "AddressSanitizer reserves more address space than the limit allows";
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
  GTEST_SKIP() << "AddressSanitizer reserves more address space than the limit allows";
#endif
#endif
  const std::string limit = "ulimit -v 800000; " + kTimeout;
  // 16384 x 16384 pixels take 1 GB; a grid of 2^31 - 1 rows far more.
  std::ofstream(Dir / "Big.txt") << "object Big: TForm\n"
                                    "  ClientWidth = 16384\n"
                                    "  ClientHeight = 16384\n"
                                    "end\n";
  std::ofstream(Dir / "Grid.txt") << "object Rows: TForm\n"
                                     "  object Grid: TStringGrid\n"
                                     "    RowCount = 2147483647\n"
                                     "  end\n"
                                     "end\n";
  ExpectError(Zelvar("shot " + At("Big.txt") + " " + At("x.png"), limit), At("Big.txt") + ": ", "");
  ExpectError(Zelvar("shot " + At("Grid.txt") + " " + At("x.png"), limit), At("Grid.txt") + ": ",
              "");
  EXPECT_FALSE(fs::exists(Dir / "x.png"));
  std::ofstream(Dir / "test.zs") << "load Grid.txt\n";
  ExpectError(Zelvar("run --script " + At("test.zs"), limit),
              At("test.zs") + ":1: ", At("Grid.txt") + ": ");
}

TEST_F(Hostile, AMessageBoxNobodyCanAnswerReportsItsText) {
  // A page-bound box on a form without a container says so in a message box; headless, with
  // no script to answer it, the box's text is the error.
  std::ofstream(Dir / "Lone.txt") << "object Lone: TForm\n"
                                     "  object Box1: TABox\n"
                                     "  end\n"
                                     "end\n";
  ExpectError(Zelvar("shot " + At("Lone.txt") + " " + At("x.png")), At("Lone.txt") + ": ",
              "No Zelvar on Form!");
}

}  // namespace
