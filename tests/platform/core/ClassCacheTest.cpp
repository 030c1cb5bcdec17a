#include "platform/core/ClassCache.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "platform/core/Component.h"
#include "platform/core/Persistent.h"

namespace zelvar {
namespace {

// Counts how often an entry is made, and can refuse to be made.
struct TCountedEntry {
  static inline int Made = 0;
  static inline const TClassInfo* Refused = nullptr;
  explicit TCountedEntry(const TClassInfo& cls) : Class(&cls) {
    if (&cls == Refused) throw std::runtime_error("no entry for " + cls.Name);
    ++Made;
  }
  const TClassInfo* Class;
};

TEST(ClassCache, EachClassIsWorkedOutOnceAndItsEntryStaysPut) {
  TCountedEntry::Made = 0;
  TClassCache<TCountedEntry> cache;
  const TClassInfo& a = TComponent::StaticClassInfo();
  const TClassInfo& b = TPersistent::StaticClassInfo();
  const TCountedEntry* first = &cache.For(a);
  EXPECT_EQ(first->Class, &a);
  EXPECT_EQ(&cache.For(a), first);
  EXPECT_EQ(cache.For(b).Class, &b);
  EXPECT_EQ(&cache.For(a), first);  // found again after another class came between
  EXPECT_EQ(TCountedEntry::Made, 2);
  EXPECT_EQ(cache.Count(), 2u);
}

TEST(ClassCache, AnEntryThatCannotBeMadeLeavesTheCacheAsItWas) {
  TClassCache<TCountedEntry> cache;
  const TClassInfo& a = TComponent::StaticClassInfo();
  const TClassInfo& b = TPersistent::StaticClassInfo();
  const TCountedEntry* first = &cache.For(a);
  TCountedEntry::Refused = &b;
  EXPECT_THROW(cache.For(b), std::runtime_error);
  TCountedEntry::Refused = nullptr;
  EXPECT_EQ(cache.Count(), 1u);
  EXPECT_EQ(cache.For(b).Class, &b);  // not the entry asked for last
  EXPECT_EQ(&cache.For(a), first);
}

}  // namespace
}  // namespace zelvar
