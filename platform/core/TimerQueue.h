#pragma once
// The application's clock and its periodic callbacks (what TTimer runs on). The clock does not
// read the time itself: a backend moves it, the window backend with the real time, the
// headless one when a script waits, so timed behaviour is exact and repeatable in tests.

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace zelvar {

class TTimerQueue {
 public:
  using TId = uint64_t;

  // Milliseconds since the clock started.
  uint64_t Now() const { return FNow; }
  // A callback that fires every interval milliseconds (at least 1) from now on; 0 is no id.
  TId Schedule(uint32_t interval, std::function<void()> fire);
  // Stops it; an id that is not scheduled (or 0) is ignored. Safe from inside a callback.
  void Cancel(TId id);
  bool Scheduled(TId id) const;
  // When the next callback is due, if any is scheduled.
  std::optional<uint64_t> NextDue() const;
  // Moves the clock to time (never back), firing every callback that falls due on the way, in
  // order of due time (those due together in the order they were scheduled). A callback due
  // several times in the span fires each time. A callback is not fired again while it runs
  // (a modal loop inside it moves the clock too).
  void AdvanceTo(uint64_t time);
  void Advance(uint64_t milliseconds) { AdvanceTo(FNow + milliseconds); }

 private:
  struct TEntry {
    TId Id;
    uint64_t Due;
    uint32_t Interval;
    bool Running;
    std::function<void()> Fire;
  };
  TEntry* Find(TId id);
  // The entry due first at or before time that is not running; nullptr when none.
  TEntry* FirstDue(uint64_t time);

  std::vector<TEntry> FEntries;  // few timers: a list scanned in full beats a heap
  uint64_t FNow = 0;
  TId FNextId = 1;
};

// The application's one timer queue.
TTimerQueue& Timers();

}  // namespace zelvar
