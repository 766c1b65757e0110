// The airport record of MSFS 2020 (0x56): its fixed part, its tower and the sub-record lookups
// that its runways and starts share. See msfs_airport.cpp for the layout.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "bgl/context.h"
#include "bgl/record.h"

namespace terrova {

constexpr uint16_t kMsfsAirportId = 0x56;
constexpr uint32_t kMsfsAirportFixedSize = 0x44;
// The add-on airports of MSFS 2024 (see msfs2024_airport.cpp): the same sub-records, a longer
// fixed part.
constexpr uint16_t kMsfs2024AirportId = 0x113;
constexpr uint32_t kMsfs2024AirportFixedSize = 92;
constexpr uint16_t kMsfsRunwayId = 0xCE;

// True for the airport record ids of the MSFS forms, 2020 and 2024.
inline bool is_msfs_airport_id(uint32_t id) {
  return id == kMsfsAirportId || id == kMsfs2024AirportId;
}
// The fixed part of an MSFS airport record, where its sub-records start.
inline uint32_t msfs_fixed_part_size(uint32_t id) {
  return id == kMsfs2024AirportId ? kMsfs2024AirportFixedSize : kMsfsAirportFixedSize;
}
// True while the sub-records of an MSFS airport are decoded.
inline bool in_msfs_airport(const DecodeContext& ctx) { return is_msfs_airport_id(ctx.airport_id); }

// The identifier word of an airport record in the form every other record uses (the number in
// bits 5-31): the 2024 form keeps the number in bits 6-31 of its own word.
uint32_t airport_ident_word(const Record& airport);
// The identifier word as the record stores it, which the name list entries of its file repeat.
uint32_t stored_airport_ident_word(const Record& airport);

// How an attribute is framed on its line: "\t\tname=...\n" on a line of its own, or
// "\n\t\tname=..." after an attribute line left open.
struct LineFrame {
  const char* before;
  const char* after;
};

// The attributes of the fixed part's flag bytes (`starAirport`, `closed`, `isOnTIN`,
// `applyFlatten`, `tinColorCorrection`; the 2024 form only the two whose bits it shares).
void write_msfs_airport_flags(DecodeContext& ctx, const Record& airport, const LineFrame& frame);

// Writes the `Tower` element from the tower sub-record (0x66) that comes next in `subs`, if any.
// The tower fields of the fixed part are zero in this form and are never read.
void write_msfs_tower(DecodeContext& ctx, RecordWalk& subs);

// Sub-record decoders of the MSFS form (rows of the airport sub-record table).
void decode_msfs_runway(DecodeContext& ctx, const char* name, const Record& record, RecordWalk&);
// A start that serves a runway end is written inside that runway; the others as `Start`.
void decode_msfs_start(DecodeContext& ctx, const char* name, const Record& record,
                       RecordWalk& siblings);
void decode_msfs_taxiway_parking(DecodeContext& ctx, const char* name, const Record& record,
                                 RecordWalk&);
void decode_msfs_taxiway_path(DecodeContext& ctx, const char* name, const Record& record,
                              RecordWalk&);
// Aprons and apron edge lights take the records of their id that follow, to write them in one
// container.
void decode_msfs_apron(DecodeContext& ctx, const char* name, const Record& record,
                       RecordWalk& siblings);
void decode_msfs_apron_edge_lights(DecodeContext& ctx, const char* name, const Record& record,
                                   RecordWalk& siblings);
void decode_msfs_jetway(DecodeContext& ctx, const char* name, const Record& record, RecordWalk&);

// The sub-record decoder of the MSFS 2024 form alone.
void decode_msfs2024_helipad(DecodeContext& ctx, const char* name, const Record& record,
                             RecordWalk&);

// The starts of an MSFS airport that may serve a runway end, and the runway ends, each by the key
// number << 8 | designator code. A runway writes the starts of its two ends; a start that serves a
// runway end is written there and not as `Start`.
struct MsfsRunwayStarts {
  std::vector<uint16_t> runway_ends;                // sorted
  std::vector<std::pair<uint16_t, Record>> starts;  // sorted by key, then by file order
};
// Fills `index` from the sub-records of the airport, in one quiet walk (damage is reported by the
// airport's own walk).
void index_runway_starts(const Record& airport, MsfsRunwayStarts& index);
// The key of a start (0x11) of runway type, or -1 for other starts.
int runway_start_key(const Record& start);

// Calls `visit(record)` for each sub-record of the airport being decoded whose id is `id`, in
// file order. The walk is quiet: it stops at a damaged size field, which the airport's own walk
// reports.
template <class Visit>
void for_each_airport_subrecord(const DecodeContext& ctx, uint16_t id, Visit&& visit) {
  if (ctx.airport == nullptr) return;
  const Record& airport = *ctx.airport;
  uint64_t at = msfs_fixed_part_size(airport.id());
  while (airport.holds(at, 6)) {
    const uint32_t size = airport.u32(at + 2);
    if (size < 6 || !airport.holds(at, size)) return;
    if (airport.u16(at) == id) visit(Record(airport.view(), airport.file_offset(at), size));
    at += size;
  }
}

}  // namespace terrova
