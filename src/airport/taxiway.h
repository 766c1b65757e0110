// The taxiway network of an airport: points, parking places, paths and taxi names.
//
// Each kind has a decoder (a row of the airport sub-record table) and a writer that takes the
// fields of one entry, so that other stored forms of the same entries write the same element;
// the attributes only a later form carries (`LaterAttributes`) go on lines of their own before
// the last attribute line. The writers leave the start tag open after the last attribute: the
// caller adds " />\n" (or "/>\n" for paths).
#pragma once

#include <cstdint>

#include "airport/later_attributes.h"
#include "airport/subrecords.h"
#include "bgl/record.h"
#include "format/ident.h"
#include "format/values.h"

namespace terrova {

// Sub-record decoders (rows of the airport sub-record table).
void decode_taxiway_point(DecodeContext& ctx, const char* name, const Record& record, RecordWalk&);
void decode_taxiway_parking(DecodeContext& ctx, const char* name, const Record& record,
                            RecordWalk&);
void decode_taxiway_path(DecodeContext& ctx, const char* name, const Record& record, RecordWalk&);
void decode_taxi_name(DecodeContext& ctx, const char* name, const Record& record, RecordWalk&);
// A jetway: the scenery object it holds, named after the parking place it serves.
void decode_jetway(DecodeContext& ctx, const char* name, const Record& record, RecordWalk&);

// Point type: 1 "NORMAL" ... 6 "ILS_HOLD_SHORT_NO_DRAW"; 0 and codes above 6 as numbers.
EnumText taxiway_point_type_name(uint32_t code);
// Parking name: 0 "NONE" ... 11 "DOCK", 12-63 "GATE_" and the character of code + 53.
using ParkingNameText = ShortText<12>;
ParkingNameText parking_name(uint32_t code);
// Push-back: "NONE", "LEFT", "RIGHT", "BOTH".
EnumText push_back_name(uint32_t code);
// Parking type: 0 "NONE" ... 13 "VEHICLE"; 14 and 15 as numbers.
EnumText parking_type_name(uint32_t code);
// Path type: 1 "TAXI" ... 6 "VEHICLE"; 0 and 7-15 as numbers.
EnumText path_type_name(uint32_t code);
// Edge line style: "NONE", "SOLID", "DASHED", "SOLID_DASHED".
EnumText edge_style_name(uint32_t code);

struct TaxiwayPointFields {
  uint32_t type = 0;
  bool reverse = false;
  int32_t lat = 0;  // packed
  int32_t lon = 0;  // packed
  LaterAttributes later;
};
void write_taxiway_point(DecodeContext& ctx, const char* name, uint32_t index,
                         const TaxiwayPointFields& f);

struct TaxiwayParkingFields {
  uint32_t name_code = 0;
  uint32_t push_back = 0;
  uint32_t type = 0;
  uint32_t number = 0;
  float radius = 0;
  float heading = 0;
  int32_t lat = 0;  // packed
  int32_t lon = 0;  // packed
  // The airline codes: `airline_count` codes of 4 bytes from byte `airline_at` of `record`.
  const Record* record = nullptr;
  uint32_t airline_at = 0;
  uint32_t airline_count = 0;
  const char* type_name = nullptr;  // a form's own name for its type code, when it has one
  LaterAttributes later;
};

// The first 12 bytes of a parking entry, the same in every stored form: +0 u8 bits 0-5 name code,
// bits 6-7 push-back; +1 u16 bits 0-3 type, bits 4-15 number; +4 f32 radius; +8 f32 heading.
TaxiwayParkingFields read_parking_entry_head(const Record& record, uint64_t at);
// Writes the start of a parking element from its fields (the caller closes it).
void write_taxiway_parking(DecodeContext& ctx, const char* name, uint32_t index,
                           const TaxiwayParkingFields& f);

struct TaxiwayPathFields {
  uint32_t type = 0;
  uint32_t start = 0;
  uint32_t end = 0;         // bits 0-11 of the end word
  uint32_t designator = 0;  // bits 12-15 of the end word
  uint32_t flags = 0;       // bit 5 draw surface, bit 6 draw detail
  uint32_t number_or_name = 0;
  uint32_t lines = 0;
  uint32_t surface = 0;
  const Record* surface_guid = nullptr;  // MSFS: the surface is the material GUID at this byte
  uint64_t surface_guid_at = 0;
  float width = 0;
  int32_t weight_limit = 0;
  const char* type_name = nullptr;  // a form's own name for its type code, when it has one
  LaterAttributes later;
};
void write_taxiway_path(DecodeContext& ctx, const char* name, const TaxiwayPathFields& f);

// Hands a jetway to the geometry listener, placed where the first of its scenery `objects` stands.
void report_jetway(DecodeContext& ctx, uint32_t gate_name, uint32_t parking_number,
                   const Record& objects);

}  // namespace terrova
