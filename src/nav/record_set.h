// The record index of the boundary and Geopol sections, and the set that lets each record listed
// in it be written once per section.
//
// The index follows the subsection table: 8-byte entries from subsection table offset + 16 ×
// subsection count up to subsection table offset + subsection table size:
//   +0 u32  file offset of the record
//   +4 u32  record length in bytes (Geopol records only)
#pragma once

#include <cstdint>
#include <vector>

#include "bgl/walker.h"

namespace terrova {

// The slot count of `seen_record_set` for n entries: n itself up to 2; otherwise the smallest
// prime not below n (made odd) up to 4099, found in a table of the 565 primes up to 4099; above
// 4099² the odd number itself; in between the first odd number from there that no prime of the
// table up to its square root divides.
uint32_t next_prime_size(uint32_t n);

// The record offsets met in one section: an open-addressing hash table of u32 slots in which 0
// marks an empty slot, with `next_prime_size` of the entry count as its slot count. A key starts
// at slot key mod slot count and moves on to the next slot, wrapping at the end, while the slot
// holds another key. Offset 0 cannot take a slot, so it is remembered beside the table.
class SeenRecordSet {
 public:
  explicit SeenRecordSet(uint32_t entry_count);
  // Adds the offset; true when it was not in the set yet. At most `entry_count` offsets are
  // added, so the table never fills.
  bool insert(uint32_t offset);
  uint32_t slot_count() const { return static_cast<uint32_t>(slots_.size()); }

 private:
  std::vector<uint32_t> slots_;
  bool zero_seen_ = false;
};

// Writes one record listed in the index: its file offset and the length the index gives.
using IndexedRecordWriter = void (*)(DecodeContext& ctx, uint32_t offset, uint32_t length);

// Walks the index of a section in order and writes each record the first time it is listed. An
// index that ends before it starts or reaches past the file is reported; the entries inside the
// file are still walked.
void walk_record_index(DecodeContext& ctx, const SectionEntry& section, IndexedRecordWriter write);

}  // namespace terrova
