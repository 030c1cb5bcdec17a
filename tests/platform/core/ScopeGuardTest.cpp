#include "platform/core/ScopeGuard.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

namespace zelvar {
namespace {

TEST(ScopeGuard, RestoreBringsTheOldValueBackHoweverTheScopeEnds) {
  std::string value = "before";
  {
    TRestore<std::string> set(value, "during");
    EXPECT_EQ(value, "during");
  }
  EXPECT_EQ(value, "before");
  try {
    TRestore<std::string> set(value, "during");
    throw std::runtime_error("step failed");
  } catch (const std::runtime_error&) {
    EXPECT_EQ(value, "before");
  }
}

TEST(ScopeGuard, ScopeExitRunsOnceOnEveryWayOut) {
  int runs = 0;
  {
    TScopeExit done([&runs]() noexcept { ++runs; });
    EXPECT_EQ(runs, 0);
  }
  EXPECT_EQ(runs, 1);
  EXPECT_THROW(
      {
        TScopeExit done([&runs]() noexcept { ++runs; });
        throw std::runtime_error("step failed");
      },
      std::runtime_error);
  EXPECT_EQ(runs, 2);
}

TEST(ScopeGuard, OnFailureRunsOnlyWhenAnExceptionLeavesTheScope) {
  int takenBack = 0;
  {
    TOnFailure undo([&takenBack]() noexcept { ++takenBack; });
  }
  EXPECT_EQ(takenBack, 0);
  EXPECT_THROW(
      {
        TOnFailure undo([&takenBack]() noexcept { ++takenBack; });
        throw std::runtime_error("step failed");
      },
      std::runtime_error);
  EXPECT_EQ(takenBack, 1);
  // Guards of nested scopes: only the ones the exception leaves take back.
  try {
    TOnFailure outer([&takenBack]() noexcept { takenBack += 10; });
    try {
      TOnFailure inner([&takenBack]() noexcept { takenBack += 100; });
      throw std::runtime_error("inner step failed");
    } catch (const std::runtime_error&) {
    }
  } catch (...) {
  }
  EXPECT_EQ(takenBack, 101);
}

// A guard made inside a destructor that runs during unwinding: the exception already in flight
// is not the guarded block's failure, a new one raised and caught within it is.
struct TUnwindProbe {
  int& Plain;
  int& Failed;
  ~TUnwindProbe() {
    {
      TOnFailure undo([this]() noexcept { ++Plain; });
    }
    try {
      TOnFailure undo([this]() noexcept { ++Failed; });
      throw std::logic_error("cleanup step failed");
    } catch (const std::logic_error&) {
    }
  }
};

TEST(ScopeGuard, OnFailureDuringUnwindingCountsOnlyItsOwnException) {
  int plain = 0, failed = 0;
  try {
    TUnwindProbe probe{plain, failed};
    throw std::runtime_error("outer failure");
  } catch (const std::runtime_error& e) {
    EXPECT_STREQ(e.what(), "outer failure");
  }
  EXPECT_EQ(plain, 0);
  EXPECT_EQ(failed, 1);
}

}  // namespace
}  // namespace zelvar
