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
  const std::string limit = "ulimit -v 250000; " + kTimeout;
  // A form is capped at 8192 x 8192 pixels, which still take 256 MB, more than the limit; a
  // grid of 2^31 - 1 rows far more.
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

TEST_F(Hostile, DevicesAndPipesAreRefusedByName) {
  const std::string cause = "not a regular file";
  ExpectError(Zelvar("run --script /dev/zero"), "/dev/zero: ", cause);
  ExpectError(Zelvar("convert /dev/urandom " + At("out.txt")), "/dev/urandom: ", cause);
  EXPECT_FALSE(fs::exists(Dir / "out.txt"));
  ExpectError(RunScript("load /dev/zero\n"), At("test.zs") + ":1: /dev/zero: ", cause);
  ExpectError(RunScript("load /dev/urandom\n"), At("test.zs") + ":1: /dev/urandom: ", cause);

  // A pipe nobody writes to would block the open itself.
  ASSERT_EQ(::mkfifo(At("pipe.zs").c_str(), 0600), 0);
  ExpectError(Zelvar("run --script " + At("pipe.zs")), At("pipe.zs") + ": ", cause);

  // The language file beside the program, read when a container is designed.
  fs::create_directories(Dir / "prog");
  fs::create_symlink("/dev/zero", Dir / "prog" / "Zelvar.ini");
  TRun r =
      Zelvar("--progdir " + At("prog") + " shot --design " + At("wizard.txt") + " " + At("x.png"));
  ExpectError(r, At("wizard.txt") + ": ", At("prog") + "/Zelvar.ini\": " + cause);
}

TEST_F(Hostile, OversizedFilesAreRefusedBeforeTheyAreRead) {
  // Sparse: nothing is written, but the sizes are real.
  std::ofstream(Dir / "big.zs").close();
  fs::resize_file(Dir / "big.zs", (4u << 20) + 1);
  ExpectError(Zelvar("run --script " + At("big.zs")), At("big.zs") + ": ", "larger than 4 MB");

  std::ofstream(Dir / "big.txt").close();
  fs::resize_file(Dir / "big.txt", (64u << 20) + 1);
  ExpectError(RunScript("load big.txt\n"), At("test.zs") + ":1: " + At("big.txt") + ": ",
              "larger than 64 MB");
  ExpectError(Zelvar("convert - " + At("out.bin"), kTimeout + " cat " + At("big.txt") + " |"),
              "<stdin>: ", "larger than 64 MB");
  EXPECT_FALSE(fs::exists(Dir / "out.bin"));
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
