// The airport sub-record decoders and the table that dispatches to them by sub-record id.
//
// Every airport sub-record starts with a u16 id and a u32 size that counts the whole sub-record.
// The dispatch walk builds each sub-record as a `Record` narrowed to its bytes, has checked that it
// lies inside its airport record and that it holds the row's smallest size, and advances by the
// declared size after the decoder returns. A decoder that owns the record after its own (an
// apron's companion) takes it from `siblings`.
#pragma once

#include <cstdint>
#include <vector>

#include "bgl/context.h"
#include "bgl/record.h"
#include "format/values.h"

namespace terrova {

using AirportSubrecordDecoder = void (*)(DecodeContext& ctx, const char* name, const Record& record,
                                         RecordWalk& siblings);

struct AirportSubrecordKind {
  uint16_t id;
  const char* name;
  uint32_t min_size;  // the bytes the decoder reads; a smaller sub-record is reported
  AirportSubrecordDecoder decode;
};

// The first row with this id for the sub-records of an airport record of id `airport_id` (the
// MSFS rows first inside an MSFS airport), or nullptr.
const AirportSubrecordKind* find_airport_subrecord_kind(uint32_t id, uint16_t airport_id);

void decode_runway(DecodeContext& ctx, const char* name, const Record& record, RecordWalk&);
void decode_later_runway(DecodeContext& ctx, const char* name, const Record& record, RecordWalk&);
void decode_start(DecodeContext& ctx, const char* name, const Record& record, RecordWalk&);
void decode_com(DecodeContext& ctx, const char* name, const Record& record, RecordWalk&);
void decode_helipad(DecodeContext& ctx, const char* name, const Record& record, RecordWalk&);
// The start tag of a helipad of the 0x26 layout up to its last attribute, without the ">" or
// " />" that closes it; the MSFS 2024 helipad shares these fields.
void write_helipad_start(DecodeContext& ctx, const char* name, const Record& record);
void decode_delete_airport(DecodeContext& ctx, const char* name, const Record& record, RecordWalk&);
// A helipad object sub-record (0xB5) where the walk meets it: its object is written inside the
// helipad it was given to, and one that no helipad took is dumped like an unknown sub-record.
void decode_helipad_object(DecodeContext& ctx, const char* name, const Record& record, RecordWalk&);

// The helipad objects of one airport and the helipads they were given to. The compiler stores all
// of an airport's helipad objects before its runways and helipads, so an object does not follow
// its helipad: each goes to the helipad nearest to it that holds none yet (ties to the earlier
// helipad), in the order of the objects.
struct HelipadObjects {
  std::vector<Record> objects;     // the helipad object sub-records in file order
  std::vector<bool> placed;        // per object: a helipad took it
  std::vector<int32_t> object_of;  // per helipad in file order: the index of its object, or -1
  uint32_t objects_met = 0;        // counted by the decoders as the walk meets them
  uint32_t helipads_met = 0;
};
// Reads the helipads and helipad objects among the sub-records of `airport` from `first` (the
// bytes after its fixed part) and gives each object its helipad. The read stops silently where
// the sub-records are damaged: the walk that writes them reports it.
void assign_helipad_objects(const Record& airport, uint64_t first, HelipadObjects& result);

// Hands the parts that a dispatched sub-record adds to its airport to the facts listener, which
// must be set.
void report_airport_part(DecodeContext& ctx, const AirportSubrecordKind& kind, const Record& sub);

// Writes a sub-record that is not decoded as a hex dump in a comment (nothing with -t).
void dump_subrecord(DecodeContext& ctx, const Record& sub);

// The runway end whose identifier names an ILS.
enum class RunwayEnd { kPrimary, kSecondary };

// Writes the `Ils` element of an ILS entry inside its runway, for the end whose identifier
// matched it: the localizer's own bytes name the runway number it serves, not the end.
void write_runway_ils(DecodeContext& ctx, const IlsEntry& ils, RunwayEnd end);
// Hands the localizer of an ILS entry to the geometry listener, which must be set.
void report_runway_ils(DecodeContext& ctx, const IlsEntry& ils);

// Start type names ("RUNWAY", "RUNWAY", "WATER", "HELIPAD") and com type names (" ", "ATIS",
// ... "ASOS"), shared by the start and com decoders and the DeleteAirport decoder.
EnumText start_type_name(uint32_t code);
EnumText com_type_name(uint32_t code);

}  // namespace terrova
