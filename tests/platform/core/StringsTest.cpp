#include "platform/core/Strings.h"

#include <gtest/gtest.h>

namespace zelvar {
namespace {

TEST(StringList, EditingKeepsLinesAndObjectsTogether) {
  TStringList list;
  EXPECT_EQ(list.Add("Dialog"), 0);
  list.AddObject("Page 2", 20);
  list.InsertObject(1, "Page 1", 10);
  list.Insert(3, "Page 3");  // at Count: appends
  ASSERT_EQ(list.Count(), 4);
  EXPECT_EQ(list[1], "Page 1");
  EXPECT_EQ(list.Objects(2), 20);
  list.Exchange(1, 2);
  EXPECT_EQ(list[1], "Page 2");
  EXPECT_EQ(list.Objects(1), 20);
  list.Move(3, 0);
  EXPECT_EQ(list.ToVector(), (std::vector<std::string>{"Page 3", "Dialog", "Page 2", "Page 1"}));
  list.Delete(0);
  EXPECT_EQ(list.IndexOf("page 1"), 2);  // case-insensitive
  EXPECT_EQ(list.IndexOf("Page 9"), -1);
  EXPECT_EQ(list.IndexOfObject(10), 2);
  list.Clear();
  EXPECT_EQ(list.Count(), 0);
}

TEST(StringList, EveryIndexIsChecked) {
  TStringList list{"a", "b"};
  EXPECT_THROW(list.Get(2), EListError);
  EXPECT_THROW(list.Get(-1), EListError);
  EXPECT_THROW(list.Put(2, "x"), EListError);
  EXPECT_THROW(list.Insert(3, "x"), EListError);
  EXPECT_THROW(list.Insert(-1, "x"), EListError);
  EXPECT_THROW(list.Delete(2), EListError);
  EXPECT_THROW(list.Exchange(0, 2), EListError);
  EXPECT_THROW(list.Move(0, 2), EListError);
  EXPECT_THROW(list.PutObject(5, 1), EListError);
  EXPECT_EQ(list.ToVector(), (std::vector<std::string>{"a", "b"}));
  try {
    list.Delete(7);
  } catch (const EListError& e) {
    EXPECT_STREQ(e.what(), "List index out of bounds (7)");
  }
}

TEST(StringList, AssignTextAndChangeNotification) {
  TStringList a{"x", "y"};
  TStringList b;
  int changes = 0;
  b.OnChange = [&](TStrings&) { ++changes; };
  b.Assign(&a);
  EXPECT_TRUE(b.Equals(a));
  EXPECT_EQ(changes, 1);  // one notification for the whole assignment
  b.Assign(&b);
  EXPECT_EQ(b.Count(), 2);
  b.SetText("one\r\ntwo\nthree\rfour");
  EXPECT_EQ(b.ToVector(), (std::vector<std::string>{"one", "two", "three", "four"}));
  EXPECT_EQ(b.Text(), "one\ntwo\nthree\nfour\n");
  b.AddStrings(b);
  EXPECT_EQ(b.Count(), 8);
  EXPECT_THROW(b.Assign(nullptr), EConvertError);
}

}  // namespace
}  // namespace zelvar
