#include "nav/record_set.h"

#include <algorithm>
#include <array>
#include <cassert>

namespace terrova {
namespace {

constexpr uint32_t kPrimeLimit = 4099;
constexpr size_t kPrimeCount = 565;

// The primes from 2 to 4099, by a sieve at compile time.
constexpr std::array<uint16_t, kPrimeCount> make_primes() {
  std::array<bool, kPrimeLimit + 1> composite{};
  std::array<uint16_t, kPrimeCount> primes{};
  size_t count = 0;
  for (uint32_t i = 2; i <= kPrimeLimit; ++i) {
    if (composite[i]) continue;
    primes[count++] = static_cast<uint16_t>(i);  // more primes than expected fail to compile
    for (uint32_t j = i * i; j <= kPrimeLimit; j += i) composite[j] = true;
  }
  return primes;
}

constexpr std::array<uint16_t, kPrimeCount> kPrimes = make_primes();
static_assert(kPrimes[0] == 2 && kPrimes[kPrimeCount - 2] == 4093 &&
              kPrimes[kPrimeCount - 1] == kPrimeLimit);

constexpr uint32_t kIndexEntrySize = 8;
constexpr uint32_t kSubsectionEntrySize = 16;

}  // namespace

uint32_t next_prime_size(uint32_t n) {
  if (n <= 2) return n;
  const uint32_t m = (n & 1) != 0 ? n : n + 1;
  if (m <= kPrimeLimit) return *std::lower_bound(kPrimes.begin(), kPrimes.end(), m);
  if (m > kPrimeLimit * kPrimeLimit) return m;
  for (uint32_t candidate = m;; candidate += 2) {
    bool divided = false;
    for (uint32_t p : kPrimes) {
      if (p * p > candidate) break;
      if (candidate % p == 0) {
        divided = true;
        break;
      }
    }
    if (!divided) return candidate;
  }
}

SeenRecordSet::SeenRecordSet(uint32_t entry_count) : slots_(next_prime_size(entry_count), 0) {}

bool SeenRecordSet::insert(uint32_t offset) {
  if (offset == 0) {
    const bool first = !zero_seen_;
    zero_seen_ = true;
    return first;
  }
  const size_t n = slots_.size();
  assert(n != 0 && "more offsets than index entries");
  if (n == 0) return true;
  size_t slot = offset % n;
  for (size_t probes = 0; probes < n; ++probes) {
    if (slots_[slot] == 0) {
      slots_[slot] = offset;
      return true;
    }
    if (slots_[slot] == offset) return false;
    if (++slot == n) slot = 0;
  }
  assert(false && "more offsets than index entries");
  return true;
}

void walk_record_index(DecodeContext& ctx, const SectionEntry& section, IndexedRecordWriter write) {
  const Image& image = ctx.image;
  const uint64_t start = uint64_t{section.subsection_table_offset} +
                         uint64_t{section.subsection_count} * kSubsectionEntrySize;
  const uint64_t end = uint64_t{section.subsection_table_offset} + section.subsection_table_size;
  if (end < start) {
    ctx.report_malformed(section.subsection_table_offset);
    return;
  }
  uint64_t count = (end - start) / kIndexEntrySize;
  if (!image.contains(start, count * kIndexEntrySize)) {
    const uint64_t inside = image.contains(start, 0) ? (image.end() - start) / kIndexEntrySize : 0;
    ctx.report_malformed(start + inside * kIndexEntrySize);
    count = inside;
  }
  SeenRecordSet seen_record_set(static_cast<uint32_t>(count));
  for (uint64_t i = 0; i < count; ++i) {
    const uint64_t entry = start + i * kIndexEntrySize;
    const uint32_t offset = image.u32(entry);
    if (!seen_record_set.insert(offset)) continue;
    write(ctx, offset, image.u32(entry + 4));
  }
}

}  // namespace terrova
