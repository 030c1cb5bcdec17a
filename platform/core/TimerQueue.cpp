#include "platform/core/TimerQueue.h"

#include <algorithm>

namespace zelvar {

TTimerQueue::TId TTimerQueue::Schedule(uint32_t interval, std::function<void()> fire) {
  interval = std::max<uint32_t>(interval, 1);
  TId id = FNextId++;
  FEntries.push_back({id, FNow + interval, interval, false, std::move(fire)});
  return id;
}

TTimerQueue::TEntry* TTimerQueue::Find(TId id) {
  auto it =
      std::find_if(FEntries.begin(), FEntries.end(), [id](const TEntry& e) { return e.Id == id; });
  return it == FEntries.end() ? nullptr : &*it;
}

void TTimerQueue::Cancel(TId id) {
  std::erase_if(FEntries, [id](const TEntry& e) { return e.Id == id; });
}

bool TTimerQueue::Scheduled(TId id) const {
  return std::any_of(FEntries.begin(), FEntries.end(),
                     [id](const TEntry& e) { return e.Id == id; });
}

std::optional<uint64_t> TTimerQueue::NextDue() const {
  std::optional<uint64_t> due;
  for (const TEntry& e : FEntries)
    if (!e.Running && (!due || e.Due < *due)) due = e.Due;
  return due;
}

TTimerQueue::TEntry* TTimerQueue::FirstDue(uint64_t time) {
  TEntry* first = nullptr;
  // Ids grow with scheduling order, so among equal due times the lowest id is the earliest.
  for (TEntry& e : FEntries)
    if (!e.Running && e.Due <= time &&
        (!first || e.Due < first->Due || (e.Due == first->Due && e.Id < first->Id)))
      first = &e;
  return first;
}

void TTimerQueue::AdvanceTo(uint64_t time) {
  while (TEntry* e = FirstDue(time)) {
    FNow = std::max(FNow, e->Due);
    e->Due += e->Interval;
    e->Running = true;
    TId id = e->Id;
    // The callback may schedule or cancel timers (this one included): the entry is found
    // again by id afterwards, and the callback runs from a copy that stays alive.
    std::function<void()> fire = e->Fire;
    struct TDone {
      TTimerQueue& Queue;
      TId Id;
      ~TDone() {
        if (TEntry* again = Queue.Find(Id)) {
          again->Running = false;
          // A callback that outlasted its interval does not fire for every missed tick.
          again->Due = std::max(again->Due, Queue.FNow + 1);
        }
      }
    } done{*this, id};
    fire();
  }
  FNow = std::max(FNow, time);
}

TTimerQueue& Timers() {
  static TTimerQueue queue;
  return queue;
}

}  // namespace zelvar
