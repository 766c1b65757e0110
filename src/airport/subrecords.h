// The airport sub-record decoders and the table that dispatches to them by sub-record id.
//
// Every airport sub-record starts with a u16 id and a u32 size that counts the whole sub-record.
// The dispatch walk builds each sub-record as a `Record` narrowed to its bytes, has checked that it
// lies inside its airport record and that it holds the row's smallest size, and advances by the
// declared size after the decoder returns. A decoder that owns the record after its own (an
// apron's companion) takes it from `siblings`.
#pragma once

#include <cstdint>

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
void decode_delete_airport(DecodeContext& ctx, const char* name, const Record& record, RecordWalk&);
// The scenery object of a helipad that follows no helipad (one that follows it is written by the
// helipad decoder).
void decode_helipad_object(DecodeContext& ctx, const char* name, const Record& record, RecordWalk&);

// Writes the `Ils` element of an ILS entry inside its runway.
void write_runway_ils(DecodeContext& ctx, const IlsEntry& ils);

// Start type names ("RUNWAY", "RUNWAY", "WATER", "HELIPAD") and com type names (" ", "ATIS",
// ... "ASOS"), shared by the start and com decoders and the DeleteAirport decoder.
EnumText start_type_name(uint32_t code);
EnumText com_type_name(uint32_t code);

}  // namespace terrova
