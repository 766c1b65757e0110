// Number text, exactly as the C library's printf writes it.
//
// Each writer puts its text at `p` and returns the end. The caller reserves room: 16 bytes for an
// integer and `fixed_room` for a fixed-point number.
#pragma once

#include <cstddef>
#include <cstdint>

namespace terrova {

// "%d" of a value already converted to a 32-bit signed integer; `min_digits` is the precision of
// "%0.2d" and friends.
char* write_signed(char* p, int32_t value, int min_digits = 1);
// "%u".
char* write_unsigned(char* p, uint32_t value, int min_digits = 1);
// "%X" (upper) or "%x" (lower) with at least `min_digits` digits ("%0.8X" has 8). A precision of
// 0 writes nothing for the value 0, as printf does.
char* write_hex(char* p, uint32_t value, int min_digits, bool upper);

// Room that `write_fixed` may need for a value with `precision` decimals: the digits before the
// point of a finite double are at most 309, and the fast path needs far less.
inline size_t fixed_room(double value, int precision) {
  const double magnitude = value < 0 ? -value : value;
  return (magnitude < 1e15 ? 16 : 312) + static_cast<size_t>(precision) + 4;
}
// "%0.<precision>lf": correctly rounded from the exact binary value, ties to even, a minus sign
// for every value with its sign bit set, "nan", "inf" and "-inf" as printf writes them.
char* write_fixed(char* p, double value, int precision);

}  // namespace terrova
