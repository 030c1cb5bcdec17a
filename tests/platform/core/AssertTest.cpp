#include "platform/core/Assert.h"

#include <gtest/gtest.h>

#include <csignal>
#include <map>
#include <vector>

namespace zelvar {
namespace {

#ifdef NDEBUG

TEST(AssertTest, ReleaseBuildsDoNotEvaluateTheCondition) {
  int evaluated = 0;
  ZELVAR_ASSERT(++evaluated == 1);
  ZELVAR_ASSERT(++evaluated == 0);  // false, and still no abort
  EXPECT_EQ(evaluated, 0);
}

#else

TEST(AssertTest, AHoldingConditionIsEvaluatedOnceAndPasses) {
  int evaluated = 0;
  ZELVAR_ASSERT(++evaluated == 1);
  EXPECT_EQ(evaluated, 1);
  // A comma inside a template argument list needs no extra parentheses.
  ZELVAR_ASSERT(std::map<int, int>{{1, 2}}.at(1) == 2);
}

TEST(AssertDeathTest, AFailedCheckNamesFileLineAndConditionAndAborts) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  std::vector<int> pages{1, 2};
  EXPECT_EXIT(ZELVAR_ASSERT(pages.size() == 3), ::testing::KilledBySignal(SIGABRT),
              "AssertTest\\.cpp:[0-9]+: internal check failed: pages\\.size\\(\\) == 3");
}

#endif

}  // namespace
}  // namespace zelvar
