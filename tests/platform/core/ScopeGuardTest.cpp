#include "platform/core/ScopeGuard.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <utility>

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

// Counts the runs of a guard's action.
struct TCount {
  int* Runs;
  void operator()() const noexcept { ++*Runs; }
};

// How often a guard's action runs when its scope is left normally, and when it is left by an
// exception.
template <template <class> class Guard>
std::pair<int, int> Runs() {
  int normal = 0, failed = 0;
  { Guard<TCount> guard(TCount{&normal}); }
  try {
    Guard<TCount> guard(TCount{&failed});
    throw std::runtime_error("step failed");
  } catch (const std::runtime_error&) {
  }
  return {normal, failed};
}

TEST(ScopeGuard, ScopeExitRunsOnEveryWayOutAndOnFailureOnlyOnAnException) {
  EXPECT_EQ(Runs<TScopeExit>(), std::pair(1, 1));
  EXPECT_EQ(Runs<TOnFailure>(), std::pair(0, 1));
}

TEST(ScopeGuard, OnFailureTakesBackOnlyInTheScopesAnExceptionLeaves) {
  int takenBack = 0;
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
  EXPECT_EQ(takenBack, 100);
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
