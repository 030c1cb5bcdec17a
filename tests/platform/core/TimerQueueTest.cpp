#include "platform/core/TimerQueue.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zelvar {
namespace {

TEST(TimerQueue, FiresDueCallbacksInOrderOfDueTimeThenOfScheduling) {
  TTimerQueue q;
  std::vector<std::string> log;
  auto note = [&](const char* name) {
    return [&log, &q, name] { log.push_back(std::string(name) + "@" + std::to_string(q.Now())); };
  };
  q.Schedule(30, note("slow"));
  q.Schedule(20, note("a"));
  q.Schedule(20, note("b"));
  EXPECT_EQ(q.NextDue(), 20u);
  q.Advance(19);
  EXPECT_TRUE(log.empty());
  q.Advance(41);  // to 60: every tick on the way, each at its own time
  EXPECT_EQ(log, (std::vector<std::string>{"a@20", "b@20", "slow@30", "a@40", "b@40", "slow@60",
                                           "a@60", "b@60"}));
  EXPECT_EQ(q.Now(), 60u);
}

TEST(TimerQueue, CallbacksMayCancelAndScheduleTimersThemselvesIncluded) {
  TTimerQueue q;
  int once = 0, other = 0, later = 0;
  TTimerQueue::TId otherId = 0;
  TTimerQueue::TId selfId = 0;
  selfId = q.Schedule(10, [&] {
    ++once;
    q.Cancel(selfId);
    q.Cancel(otherId);
    q.Schedule(5, [&] { ++later; });
  });
  otherId = q.Schedule(10, [&] { ++other; });
  q.Advance(100);
  EXPECT_EQ(once, 1);
  EXPECT_EQ(other, 0);   // cancelled before its turn at the same time
  EXPECT_EQ(later, 18);  // from 15 to 100 every 5
  EXPECT_FALSE(q.Scheduled(selfId));
  q.Cancel(12345);  // unknown ids are ignored
}

TEST(TimerQueue, ACallbackIsNotReenteredByALoopInsideIt) {
  TTimerQueue q;
  int depth = 0, deepest = 0, fired = 0, others = 0;
  q.Schedule(10, [&] {
    ++fired;
    deepest = std::max(deepest, ++depth);
    // A modal loop inside a handler keeps the clock moving.
    if (fired == 1) q.Advance(50);
    --depth;
  });
  q.Schedule(25, [&] { ++others; });
  q.Advance(10);
  EXPECT_EQ(deepest, 1);
  EXPECT_EQ(others, 2);  // at 25 and 50, inside the first callback's loop
  // The missed ticks of the busy callback are not made up in a burst.
  EXPECT_EQ(q.Now(), 60u);
  EXPECT_GT(*q.NextDue(), 60u);
  q.Advance(10);
  EXPECT_EQ(fired, 2);
}

TEST(TimerQueue, TheClockNeverGoesBackAndZeroIntervalsBecomeOne) {
  TTimerQueue q;
  q.AdvanceTo(100);
  q.AdvanceTo(50);
  EXPECT_EQ(q.Now(), 100u);
  int n = 0;
  q.Schedule(0, [&] { ++n; });
  q.Advance(3);
  EXPECT_EQ(n, 3);
}

}  // namespace
}  // namespace zelvar
