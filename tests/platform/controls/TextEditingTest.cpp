#include "platform/controls/TextEditing.h"

#include <gtest/gtest.h>

#include <numeric>
#include <random>
#include <vector>

namespace zelvar {
namespace {

// Every kind of change, in a mixed order, against plain sums of a vector: appends keep the
// tree, middle inserts and erases rebuild it, sets update it in place.
TEST(LineIndex, PrefixesAndFindsMatchPlainSumsThroughEveryKindOfChange) {
  TLineIndex index;
  std::vector<int32_t> model;
  std::mt19937 random(16);
  auto check = [&] {
    int64_t sum = 0;
    for (int32_t i = 0; i <= static_cast<int32_t>(model.size()); ++i) {
      ASSERT_EQ(index.Prefix(i), sum) << "prefix " << i;
      if (i < static_cast<int32_t>(model.size())) {
        // Every target inside line i's range finds line i (empty lines are skipped).
        for (int64_t t = sum; t < sum + model[static_cast<size_t>(i)]; ++t)
          ASSERT_EQ(index.Find(t), i) << "target " << t;
        sum += model[static_cast<size_t>(i)];
      }
    }
    EXPECT_EQ(index.Find(sum), static_cast<int32_t>(model.size()));
  };
  index.Assign({1});
  model = {1};
  for (int step = 0; step < 300; ++step) {
    const auto n = static_cast<int32_t>(model.size());
    auto value = static_cast<int32_t>(random() % 4);
    switch (random() % 4) {
      case 0:  // append
        index.Insert(n, {value, value + 1});
        model.insert(model.end(), {value, value + 1});
        break;
      case 1: {  // insert in the middle
        auto at = static_cast<int32_t>(random() % static_cast<unsigned>(n + 1));
        index.Insert(at, {value});
        model.insert(model.begin() + at, value);
        break;
      }
      case 2:
        if (n > 1) {
          auto at = static_cast<int32_t>(random() % static_cast<unsigned>(n - 1));
          index.Erase(at, 1);
          model.erase(model.begin() + at);
        }
        break;
      default: {
        auto at = static_cast<int32_t>(random() % static_cast<unsigned>(n));
        index.Set(at, value);
        model[static_cast<size_t>(at)] = value;
      }
    }
    if (step % 10 == 0) check();
    ASSERT_EQ(index.Total(), std::accumulate(model.begin(), model.end(), int64_t{0}));
  }
  check();
}

TEST(TextEditing, WordStopsAndCharactersNeverSplitASequence) {
  const std::string s = "ab\xC3\xA9 \xE2\x82\xAC, cd";  // "abé €, cd"
  EXPECT_EQ(CharCount(s), 9u);
  EXPECT_EQ(ByteOfChar(s, 3), 4u);
  EXPECT_EQ(ByteOfChar(s, 99), s.size());
  // A word runs over non-ASCII letters; punctuation is a run of its own.
  EXPECT_EQ(NextWordStop(s, 0), 5u);
  EXPECT_EQ(NextWordStop(s, 5), 8u);
  EXPECT_EQ(NextWordStop(s, 8), 10u);
  EXPECT_EQ(PrevWordStop(s, s.size()), 10u);
  EXPECT_EQ(PrevWordStop(s, 10), 8u);
  EXPECT_EQ(PrevWordStop(s, 8), 5u);
  TByteRange word = WordAt(s, 2);
  EXPECT_EQ(word.First, 0u);
  EXPECT_EQ(word.Last, 4u);
}

}  // namespace
}  // namespace zelvar
