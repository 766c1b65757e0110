// The airport sub-record decoders and the table that dispatches to them by sub-record id.
//
// Every airport sub-record starts with a u16 id and a u32 size that counts the whole sub-record.
// The dispatch loop has checked that the sub-record holds those 6 bytes and lies inside its
// airport record before it calls a decoder, so a decoder may read anything below offset + size.
#pragma once

#include <cstdint>

#include "bgl/context.h"
#include "format/values.h"

namespace terrova {

// (element name, sub-record offset, packed airport identifier) -> bytes to advance.
using AirportSubrecordDecoder = uint32_t (*)(DecodeContext& ctx, const char* name, uint32_t offset,
                                             uint32_t airport_ident);

struct AirportSubrecordKind {
  uint16_t id;
  const char* name;
  AirportSubrecordDecoder decode;
};

// The first row of `airport_subrecord_kinds` with this id, or nullptr.
const AirportSubrecordKind* find_airport_subrecord_kind(uint32_t id);

uint32_t decode_runway(DecodeContext& ctx, const char* name, uint32_t offset, uint32_t ident);
uint32_t decode_start(DecodeContext& ctx, const char* name, uint32_t offset, uint32_t ident);
uint32_t decode_com(DecodeContext& ctx, const char* name, uint32_t offset, uint32_t ident);
uint32_t decode_helipad(DecodeContext& ctx, const char* name, uint32_t offset, uint32_t ident);
uint32_t decode_delete_airport(DecodeContext& ctx, const char* name, uint32_t offset,
                               uint32_t ident);

// Writes the `Ils` element of the ILS record at `offset` (a VOR/ILS record of section 19).
void write_runway_ils(DecodeContext& ctx, uint32_t offset);

// Start type names ("RUNWAY", "RUNWAY", "WATER", "HELIPAD") and com type names (" ", "ATIS",
// ... "ASOS"), shared by the start and com decoders and the DeleteAirport decoder.
EnumText start_type_name(uint32_t code);
EnumText com_type_name(uint32_t code);

// The number whose base-38 text `decode_ident` writes for an identifier word; the word 0, which
// it writes as "0", counts as 2, the number of that text. Base-38 texts have no leading zero
// digit, so two identifiers have the same text exactly when these numbers are equal, and a plain
// identifier (`decode_raw_ident`) has the text of an identifier word exactly when it equals the
// word's number. The lists that airports search are compared this way, without writing texts.
inline uint32_t ident_number(uint32_t word) {
  const uint32_t n = word >> 5;
  return n == 0 ? 2 : n;
}

// True when a sub-record of `size` bytes holds the `fixed` bytes its decoder reads; otherwise
// the damage is reported and the decoder writes nothing for it.
bool subrecord_holds(DecodeContext& ctx, uint32_t offset, uint64_t size, uint64_t fixed);

}  // namespace terrova
