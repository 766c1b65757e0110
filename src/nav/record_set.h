// The record index of the boundary and Geopol sections, and the set that lets each record listed
// in it be written once per section.
//
// The index follows the subsection table: 8-byte entries from subsection table offset + 16 ×
// subsection count up to subsection table offset + subsection table size:
//   +0 u32  file offset of the record
//   +4 u32  record length in bytes (Geopol records only)
#pragma once

#include <cstdint>

#include "bgl/walker.h"

namespace terrova {

// Writes one record listed in the index: its file offset and the length the index gives.
using IndexedRecordWriter = void (*)(DecodeContext& ctx, uint32_t offset, uint32_t length);

// Walks the index of a section in order and writes each record the first time it is listed. An
// index that ends before it starts or reaches past the file is reported; the entries inside the
// file are still walked.
void walk_record_index(DecodeContext& ctx, const SectionEntry& section, IndexedRecordWriter write);

}  // namespace terrova
