// Walk helpers shared by the navigation decoders: the check of a sub-record against its parent,
// the record walk by size of the navaid and waypoint sections and the walk by count and length of
// the NDB and marker sections.
#pragma once

#include <cstdint>
#include <optional>

#include "bgl/walker.h"

namespace terrova {

// Walks a run whose records follow one another by their size fields, from the data offset while
// the current offset lies below the end of the run. With `run_id`, a record of another id ends the
// run quietly. A record must hold `min_size` bytes and lie inside the image, otherwise the walk
// ends with a warning. `decode(offset, size)` writes one record.
template <class Decode>
void walk_sized_records(DecodeContext& ctx, const SubsectionRun& run, uint64_t min_size,
                        std::optional<uint16_t> run_id, Decode&& decode) {
  const uint64_t end = uint64_t{run.data_offset} + run.data_size;
  for (uint64_t at = run.data_offset; at < end;) {
    if (run_id && ctx.image.contains(at, 2) && ctx.image.u16(at) != *run_id) return;
    const uint32_t size = ctx.image.u32(at + 2);
    if (!record_fits(ctx, at, size, min_size)) return;
    decode(static_cast<uint32_t>(at), size);
    at += size;
  }
}

// Walks a run by record count and position: before each record the walk stops when the count is
// reached or the position has passed the end of the run (a record that starts right at the end
// is still read while the count asks for it); after it, the position grows by the record's size.
// A record must hold `min_size` bytes and lie inside the image, otherwise the walk ends with a
// warning. `decode(offset, size)` writes one record.
template <class Decode>
void walk_counted_records(DecodeContext& ctx, const SubsectionRun& run, uint64_t min_size,
                          Decode&& decode) {
  uint64_t position = 0;
  for (uint32_t counter = 0; counter < run.record_count && position <= run.data_size; ++counter) {
    const uint64_t at = run.data_offset + position;
    const uint32_t size = ctx.image.u32(at + 2);
    if (!record_fits(ctx, at, size, min_size)) return;
    decode(static_cast<uint32_t>(at), size);
    position += size;
  }
}

}  // namespace terrova
