// The slot count of the record set, the set itself, and the index walk of sections 32 and 35.
#include "nav/record_set.h"

#include <gtest/gtest.h>

namespace terrova {
namespace {

bool is_prime(uint32_t v) {
  if (v < 2) return false;
  for (uint32_t d = 2; d * d <= v; ++d) {
    if (v % d == 0) return false;
  }
  return true;
}

TEST(NextPrimeSize, SmallSizesTheTableAndBeyond) {
  EXPECT_EQ(next_prime_size(0), 0u);
  EXPECT_EQ(next_prime_size(1), 1u);
  EXPECT_EQ(next_prime_size(2), 2u);
  EXPECT_EQ(next_prime_size(3), 3u);
  EXPECT_EQ(next_prime_size(4), 5u);
  EXPECT_EQ(next_prime_size(8), 11u);  // 9 is not prime
  EXPECT_EQ(next_prime_size(24), 29u);
  EXPECT_EQ(next_prime_size(4096), 4099u);
  EXPECT_EQ(next_prime_size(4098), 4099u);
  EXPECT_EQ(next_prime_size(4099), 4099u);  // the last prime of the table
  EXPECT_EQ(next_prime_size(4100), 4111u);  // past the table: trial division
  EXPECT_EQ(next_prime_size(65536), 65537u);
  EXPECT_EQ(next_prime_size(1000000), 1000003u);
  EXPECT_EQ(next_prime_size(16801800), 16801819u);  // 4099 squared is passed over
  EXPECT_EQ(next_prime_size(16801802), 16801803u);  // above 4099 squared: the odd number itself
  EXPECT_EQ(next_prime_size(4294967294u), 4294967295u);
  EXPECT_EQ(next_prime_size(4294967295u), 4294967295u);
}

TEST(NextPrimeSize, GivesTheNextPrimeUpToTheSquareOfTheTable) {
  // Every size from 3 to a little past the table, and a stretch further out, gives the smallest
  // prime at or above it (made odd).
  for (uint32_t n = 3; n < 6000; ++n) {
    const uint32_t s = next_prime_size(n);
    ASSERT_TRUE(is_prime(s)) << n;
    for (uint32_t v = n; v < s; ++v) ASSERT_FALSE(is_prime(v)) << n;
  }
  for (uint32_t n = 16700000; n < 16702000; n += 7) {
    const uint32_t s = next_prime_size(n);
    ASSERT_TRUE(is_prime(s)) << n;
    for (uint32_t v = n; v < s; ++v) ASSERT_FALSE(is_prime(v)) << n;
  }
}

TEST(SeenRecordSet, ReportsEachOffsetOnceAlsoWhenSlotsCollide) {
  SeenRecordSet set(10);
  ASSERT_EQ(set.slot_count(), 11u);
  // 10, 21, 32 and 43 share the last slot (10 mod 11): the probes wrap to the first slots.
  for (uint32_t key : {10u, 21u, 32u, 43u, 11u, 1u}) EXPECT_TRUE(set.insert(key)) << key;
  for (uint32_t key : {43u, 10u, 1u, 11u, 32u, 21u}) EXPECT_FALSE(set.insert(key)) << key;
  // Filled up to its entry count.
  for (uint32_t key : {2u, 100u, 1000u, 5u}) EXPECT_TRUE(set.insert(key)) << key;
  for (uint32_t key : {2u, 100u, 1000u, 5u}) EXPECT_FALSE(set.insert(key)) << key;
}

TEST(SeenRecordSet, OffsetZeroIsRememberedToo) {
  SeenRecordSet set(1);
  EXPECT_EQ(set.slot_count(), 1u);
  EXPECT_TRUE(set.insert(0));
  EXPECT_FALSE(set.insert(0));
  EXPECT_TRUE(set.insert(77));
  EXPECT_FALSE(set.insert(77));
}

}  // namespace
}  // namespace terrova
