// Packed base-38 identifiers and two-letter region codes.
//
// Identifier digits: 0 ".", 1 "/", 2-11 "0"-"9", 12-37 "A"-"Z", most significant first.
// Region alphabet: "  0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ"; a value r is alphabet[r / 38]
// followed by alphabet[r % 38].
#pragma once

#include <cstdint>
#include <string_view>

#include "bgl/record.h"
#include "text/output.h"

namespace terrova {

// A short decoded text that lives in its own storage.
template <size_t N>
struct ShortText {
  char text[N] = {};
  std::string_view str() const { return text; }
  operator std::string_view() const { return text; }
};

using IdentText = ShortText<8>;
using RegionText = ShortText<4>;

// Identifier word whose bits 5-31 hold the number (bits 0-4 are another field); "0" for words
// below 32.
IdentText decode_ident(uint32_t word);
// Identifier word that is the number itself; empty for 0.
IdentText decode_raw_ident(uint32_t word);
// Region word: its low 11 bits when it exceeds 1443; 0 is empty, values out of range are "AA",
// and a leading space is dropped.
RegionText decode_region(uint32_t word);

// The 16 bytes at `at` as a GUID in registry form, "{%0.8x-%0.4x-%0.4x-%0.4x-%0.12x}" in lower
// case, from a little-endian u32, two little-endian u16 and eight single bytes: material sets,
// fence and object instance ids.
void write_registry_guid(Output& out, const Record& record, uint64_t at);
// The GUID at `at` of `record` is all zero bytes: no GUID.
bool guid_is_zero(const Record& record, uint64_t at);

void reverse_in_place(char* text);
// Removes trailing bytes whose signed value is at most 32 (controls, space, 0x80-0xFF).
void trim_trailing_blanks(char* text);

}  // namespace terrova
