// The `Fuel` elements of a fuel word, written by airports (inside `Services`) and by refuel
// triggers of the scenery objects.
#pragma once

#include <cstdint>

#include "text/output.h"

namespace terrova {

// Fuel word: thirteen 2-bit availability codes, fuel type n at bits 2n and 2n+1 (types "73",
// "87", "100", "130", "145", "MOGAS", "JET", "JETA", "JETA1", "JETAP", "JETB", "JET4", "JET5");
// code 0 writes nothing, 1 "UNKNOWN", 2 "PRIOR_REQUEST", 3 "YES". Bits 26-31 are not read.
void write_fuel_elements(Output& out, uint32_t fuel_word);

}  // namespace terrova
