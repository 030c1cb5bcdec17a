// `zelvar check`: the walk of a form's wizard checked from the command line.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "tests/TestSupport.h"

namespace zelvar::test {
namespace {

using ::testing::HasSubstr;

class Check : public ScriptFolderTest {
 protected:
  Check() : ScriptFolderTest("check", {"broken-flow.txt", "wizard.txt"}) {}
  TRun Run(const std::string& args) { return RunZelvar("check " + args, Dir); }
};

TEST_F(Check, ABrokenWizardShowsEachFindingAndFails) {
  const std::string file = (Dir / "broken-flow.txt").string();
  TRun r = Run(file);
  EXPECT_EQ(r.Status, 1);
  EXPECT_EQ(r.Err, "");
  const std::string f = file + ": ";
  EXPECT_EQ(r.Out,
            f + "page 1 ('Start'): error: the jump target 9 of Far lies outside 0..5\n" + f +
                "page 1 ('Start'): error: the page is a dead end: no walk from it reaches the "
                "finish\n" +
                f +
                "page 2 ('Empty'): error: the page is a dead end: no walk from it reaches the "
                "finish\n" +
                f + "page 2 ('Empty'): warning: the page shows no control\n" + f +
                "page 3 ('Loop'): error: the page is a dead end: no walk from it reaches the "
                "finish\n" +
                f + "page 4 ('Lost'): error: the page is reached by no walk from the start page\n" +
                f + "page 4 ('Lost'): warning: the page shows no control\n" + f +
                "page 5 ('End'): error: the page is reached by no walk from the start page\n");
  // The graph on standard output, the findings beside it.
  TRun dot = Run(file + " --dot");
  EXPECT_EQ(dot.Status, 1);
  EXPECT_THAT(dot.Out, HasSubstr("digraph wizard {"));
  EXPECT_THAT(dot.Out, HasSubstr("p3 -> p2 [label=\"Again\"];"));
  EXPECT_THAT(dot.Err, HasSubstr("error: the jump target 9 of Far"));
}

TEST_F(Check, TheSetupExampleHasNoErrorsAndWarningsAloneDoNotFail) {
  TRun setup = Run(std::string(ZELVAR_TEST_DATA) + "/../../examples/setup.txt");
  EXPECT_EQ(setup.Status, 0) << setup.Out << setup.Err;
  EXPECT_EQ(setup.Out, "");
  TRun plain = Run((Dir / "wizard.txt").string());
  EXPECT_EQ(plain.Status, 0);
  EXPECT_THAT(plain.Out, HasSubstr("page 1 ('Page 1'): warning: the page shows no control"));
}

TEST_F(Check, BadUsageAndFormsWithoutAWizard) {
  EXPECT_EQ(Run("").Status, 2);
  EXPECT_EQ(Run("--frobnicate x.txt").Status, 2);
  std::ofstream(Dir / "plain.txt") << "object Form1: TForm1\nend\n";
  TRun plain = Run((Dir / "plain.txt").string());
  EXPECT_EQ(plain.Status, 1);
  EXPECT_THAT(plain.Err, HasSubstr("the form holds no wizard"));
  TRun missing = Run((Dir / "missing.txt").string());
  EXPECT_EQ(missing.Status, 1);
  EXPECT_THAT(missing.Err, HasSubstr("missing.txt"));
}

}  // namespace
}  // namespace zelvar::test
