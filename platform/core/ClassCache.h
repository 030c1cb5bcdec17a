#pragma once
// What a walk over many components needs of each one's class record, worked out once per class:
// a form holds few classes and many components, so the entry of a class is made on its first
// component and found again by comparing one pointer.

#include <deque>
#include <utility>

#include "platform/core/Object.h"

namespace zelvar {

// Entry is made from the class record alone. Entries stay where they are while the cache lives
// (a deque), so a walk may keep pointers to them.
template <class Entry>
class TClassCache {
 public:
  TClassCache() = default;
  TClassCache(const TClassCache&) = delete;
  TClassCache& operator=(const TClassCache&) = delete;

  // The entry of cls, made the first time cls is asked for.
  const Entry& For(const TClassInfo& cls) {
    if (&cls != FLastClass) {
      FLast = Find(cls);
      if (!FLast) FLast = &FEntries.emplace_back(&cls, Entry(cls)).second;
      FLastClass = &cls;  // only once the entry exists: making one may raise
    }
    return *FLast;
  }
  size_t Count() const { return FEntries.size(); }

 private:
  const Entry* Find(const TClassInfo& cls) const {
    for (const auto& [known, entry] : FEntries)
      if (known == &cls) return &entry;
    return nullptr;
  }

  std::deque<std::pair<const TClassInfo*, Entry>> FEntries;
  // Components of one class tend to come together: the last answer is tried first.
  const TClassInfo* FLastClass = nullptr;
  const Entry* FLast = nullptr;
};

}  // namespace zelvar
