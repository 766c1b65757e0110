// Sorted string tables: positions in sorted, duplicate-free order are name indices.
#include "bgl/tables.h"

#include <gtest/gtest.h>

namespace terrova {
namespace {

TEST(StringTable, SortedInsertionReturnsThePositionAtTheTimeOfInsertion) {
  StringTable t(true, 1);
  EXPECT_EQ(t.add("b", 1), 0);
  EXPECT_EQ(t.add("a", 2), 0);
  EXPECT_EQ(t.add("c", 3), 2);
  ASSERT_EQ(t.count(), 3);
  EXPECT_EQ(t[0].key, "a");
  EXPECT_EQ(t[1].key, "b");
  EXPECT_EQ(t[1].value, 1u);
  EXPECT_EQ(t[2].key, "c");
}

TEST(StringTable, RejectsDuplicatesWhenAsked) {
  StringTable t(true, 1);
  EXPECT_EQ(t.add("a", 1), 0);
  EXPECT_EQ(t.add("a", 2), -1);
  EXPECT_EQ(t.count(), 1);
  EXPECT_EQ(t[0].value, 1u);
}

TEST(StringTable, FindRules) {
  StringTable dup(true, 0);
  for (const char* k : {"a", "b", "b", "c"}) dup.add(k, 0);
  ASSERT_EQ(dup.count(), 4);
  int index = -1;
  EXPECT_TRUE(dup.find("b", index));
  EXPECT_EQ(index, 1);
  EXPECT_FALSE(dup.find("bb", index));
  EXPECT_EQ(index, 3);

  StringTable empty(true, 1);
  EXPECT_FALSE(empty.find("x", index));
  EXPECT_EQ(index, 0);
}

TEST(StringTable, KeysCompareAsUnsignedBytesWithPrefixesFirst) {
  StringTable t(true, 1);
  t.add("\xC9t\xE9", 0);
  t.add("Zurich", 0);
  t.add("Zu", 0);
  EXPECT_EQ(t[0].key, "Zu");
  EXPECT_EQ(t[1].key, "Zurich");
  EXPECT_EQ(t[2].key, "\xC9t\xE9");
}

TEST(StringTable, UnsortedTablesAppend) {
  StringTable t(false, 0);
  EXPECT_EQ(t.add("b", 0), 0);
  EXPECT_EQ(t.add("a", 0), 1);
  EXPECT_EQ(t.add("b", 0), 2);
}

TEST(StringTable, CapacityGrowsInTheTableSteps) {
  StringTable t(false, 0);
  std::vector<int> seen;
  for (int i = 0; i < 110; ++i) {
    t.add("k", 0);
    if (seen.empty() || seen.back() != t.capacity()) seen.push_back(t.capacity());
  }
  EXPECT_EQ(seen, (std::vector<int>{4, 8, 12, 16, 20, 28, 36, 44, 52, 60, 68, 85, 106, 132}));
  t.clear();
  EXPECT_EQ(t.count(), 0);
  EXPECT_EQ(t.capacity(), 0);
}

}  // namespace
}  // namespace terrova
