// Sorted string tables: positions in sorted, duplicate-free order are name indices.
#include "bgl/tables.h"

#include <gtest/gtest.h>

namespace terrova {
namespace {

TEST(StringTable, SortedInsertionReturnsThePositionAtTheTimeOfInsertion) {
  StringTable t(true, 1);
  EXPECT_EQ(table_add(t, "b", 1), 0);
  EXPECT_EQ(table_add(t, "a", 2), 0);
  EXPECT_EQ(table_add(t, "c", 3), 2);
  ASSERT_EQ(t.count(), 3);
  EXPECT_EQ(t[0].key, "a");
  EXPECT_EQ(t[1].key, "b");
  EXPECT_EQ(t[1].value, 1u);
  EXPECT_EQ(t[2].key, "c");
}

TEST(StringTable, RejectsDuplicatesWhenAsked) {
  StringTable t(true, 1);
  EXPECT_EQ(table_add(t, "a", 1), 0);
  EXPECT_EQ(table_add(t, "a", 2), -1);
  EXPECT_EQ(t.count(), 1);
  EXPECT_EQ(t[0].value, 1u);
}

TEST(StringTable, FindRules) {
  StringTable dup(true, 0);
  for (const char* k : {"a", "b", "b", "c"}) table_add(dup, k, 0);
  ASSERT_EQ(dup.count(), 4);
  int index = -1;
  EXPECT_TRUE(table_find(dup, "b", index));
  EXPECT_EQ(index, 1);
  EXPECT_FALSE(table_find(dup, "bb", index));
  EXPECT_EQ(index, 3);

  StringTable empty(true, 1);
  EXPECT_FALSE(table_find(empty, "x", index));
  EXPECT_EQ(index, 0);
}

TEST(StringTable, KeysCompareAsUnsignedBytesWithPrefixesFirst) {
  StringTable t(true, 1);
  table_add(t, "\xC9t\xE9", 0);
  table_add(t, "Zurich", 0);
  table_add(t, "Zu", 0);
  EXPECT_EQ(t[0].key, "Zu");
  EXPECT_EQ(t[1].key, "Zurich");
  EXPECT_EQ(t[2].key, "\xC9t\xE9");
}

TEST(StringTable, UnsortedTablesAppend) {
  StringTable t(false, 0);
  EXPECT_EQ(table_add(t, "b", 0), 0);
  EXPECT_EQ(table_add(t, "a", 0), 1);
  EXPECT_EQ(table_add(t, "b", 0), 2);
}

}  // namespace
}  // namespace terrova
