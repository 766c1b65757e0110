// The two ways the navigation sections walk their runs of records, both built on `RecordWalk`.
#pragma once

#include <cstdint>
#include <optional>

#include "bgl/record.h"
#include "bgl/walker.h"

namespace terrova {

// Walks a run whose records follow one another by their size fields, from the data offset while
// the current offset lies below the end of the run; a record may end anywhere inside the image.
// With `run_id`, a record of another id ends the run quietly. A record must hold `min_size`
// bytes, otherwise the walk ends with a warning. `decode(record)` writes one record.
template <class Decode>
void walk_sized_records(DecodeContext& ctx, const SubsectionRun& run, uint32_t min_size,
                        std::optional<uint16_t> run_id, Decode&& decode) {
  RecordWalk walk(ctx, ctx.image, run.data_offset);
  walk.starting_below(uint64_t{run.data_offset} + run.data_size);
  uint16_t id = 0;
  Record record;
  while (walk.more()) {
    if (run_id && walk.peek_id(id) && id != *run_id) return;
    if (!walk.next(record, min_size)) return;
    decode(record);
  }
}

// Walks a run by record count and position: before each record the walk stops when the count is
// reached or the position has passed the end of the run (a record that starts right at the end
// is still read while the count asks for it). A record must hold `min_size` bytes and lie inside
// the image, otherwise the walk ends with a warning. `decode(record)` writes one record.
template <class Decode>
void walk_counted_records(DecodeContext& ctx, const SubsectionRun& run, uint32_t min_size,
                          Decode&& decode) {
  RecordWalk walk(ctx, ctx.image, run.data_offset);
  const uint64_t last_start = uint64_t{run.data_offset} + run.data_size;
  Record record;
  for (uint32_t counter = 0; counter < run.record_count && walk.position() <= last_start;
       ++counter) {
    // The count asks for a record where the file has ended.
    if (!walk.more()) {
      ctx.report_malformed(walk.position());
      return;
    }
    if (!walk.next(record, min_size)) return;
    decode(record);
  }
}

}  // namespace terrova
