// Turns fuzzer bytes into a decode: the first four bytes choose the switches and the circle, the
// rest is the file. Shared by the fuzz target and the replay test of the committed cases.
#pragma once

#include <cstddef>
#include <cstdint>

#include "bgl/context.h"

namespace terrova::fuzz {

constexpr size_t kSwitchBytes = 4;

inline DecodeOptions options_from(const uint8_t* data, size_t size) {
  DecodeOptions o;
  if (size < kSwitchBytes) return o;
  const uint8_t flags = data[0];
  o.terse = flags & 1;
  o.degrees_minutes = (flags >> 1) & 1;
  o.feet = (flags >> 2) & 1;
  o.nautical_miles = (flags >> 3) & 1;
  if (flags & 16) {
    o.circle_enabled = true;
    o.center_lat = static_cast<int8_t>(data[1]) * 0.7;
    o.center_lon = static_cast<int8_t>(data[2]) * 1.4;
    o.radius_m = (data[3] + 1) * 20000.0;
  }
  return o;
}

}  // namespace terrova::fuzz
