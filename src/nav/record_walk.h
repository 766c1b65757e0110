// The two ways the navigation sections walk their runs of records, both built on `RecordWalk`.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "bgl/record.h"
#include "bgl/walker.h"

namespace terrova {

// Navaid deletion record of MSFS files, 16 bytes, one in every subsection of the ILS (section 19),
// NDB (23) and waypoint (34) sections for each airport whose DeleteAirport deletes their kind:
//   +0  u16  id, 0xDB
//   +2  u32  size, 16
//   +6  u16  0
//   +8  u32  identifier of the deleting airport, packed as the airport record holds it
//   +12 u32  0xB37C1800 in every record seen; not read
// The walks of those sections take such records among their own with `deletions` naming the
// kind they delete; 0 for sections that hold none.
constexpr uint16_t kNavaidDeletionId = 0xDB;
constexpr uint32_t kNavaidDeletionSize = 16;

// Notes that the airport named by the deletion record deletes navaids of `kind`.
void take_navaid_deletion(DecodeContext& ctx, const Record& record, uint8_t kind);

// Where a navaid record keeps the fields the library index takes from it.
struct NavaidFields {
  const char* kind;  // "VOR", "ILS", "NDB", "WAYPOINT"
  uint32_t lon_at, lat_at, ident_at, region_at;
};
// Hands the navaid to the facts listener, which must be set; `airport` names the owner of a
// terminal waypoint.
void report_navaid(DecodeContext& ctx, const Record& record, const NavaidFields& fields,
                   std::string_view airport = {});

enum class DeletionStep : uint8_t { kNone, kTaken, kDamaged };
// Takes the next record of `walk` as a navaid deletion when `deletions` is set and its id says so.
// A damaged one has been reported and has ended the walk.
inline DeletionStep take_navaid_deletion(DecodeContext& ctx, RecordWalk& walk, uint8_t deletions) {
  uint16_t id = 0;
  if (deletions == 0 || !walk.peek_id(id) || id != kNavaidDeletionId) return DeletionStep::kNone;
  Record record;
  if (!walk.next(record, kNavaidDeletionSize)) return DeletionStep::kDamaged;
  take_navaid_deletion(ctx, record, deletions);
  return DeletionStep::kTaken;
}

// Walks a run whose records follow one another by their size fields, from the data offset while
// the current offset lies below the end of the run; a record may end anywhere inside the image.
// With `run_id`, a record of another id ends the run quietly. A record must hold `min_size`
// bytes, otherwise the walk ends with a warning. Navaid deletion records are taken as
// `deletions` says. `decode(record)` writes one record.
template <class Decode>
void walk_sized_records(DecodeContext& ctx, const SubsectionRun& run, uint32_t min_size,
                        std::optional<uint16_t> run_id, uint8_t deletions, Decode&& decode) {
  RecordWalk walk(ctx, ctx.image, run.data_offset);
  walk.starting_below(uint64_t{run.data_offset} + run.data_size);
  uint16_t id = 0;
  Record record;
  while (walk.more()) {
    if (const DeletionStep step = take_navaid_deletion(ctx, walk, deletions);
        step != DeletionStep::kNone) {
      if (step == DeletionStep::kDamaged) return;
      continue;
    }
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
                          uint8_t deletions, Decode&& decode) {
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
    if (const DeletionStep step = take_navaid_deletion(ctx, walk, deletions);
        step != DeletionStep::kNone) {
      if (step == DeletionStep::kDamaged) return;
      continue;
    }
    if (!walk.next(record, min_size)) return;
    decode(record);
  }
}

}  // namespace terrova
