// Builders for scenery-object records (section 37): the common header with any kind data, and
// taxiway-sign records. Records are meant to start at even file offsets, as sign entries are
// aligned to even offsets.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "bgl_builder.h"

namespace terrova::testkit {

struct ObjectHeader {
  uint32_t kind = 6;  // ids above 9 get the 44-byte header
  double lat = 47.2612;
  double lon = 11.3501;
  int32_t alt_mm = 0;
  uint32_t agl = 1;
  uint32_t pitch = 0;  // units of 360/65536 degree
  uint32_t bank = 0;
  uint32_t heading = 0;
  uint32_t complexity = 2;
};
// A scenery object: the header, then the kind data.
Bytes& scenery_object(Bytes& b, const ObjectHeader& h, const Bytes& kind_data);

struct Sign {
  float x = 0;
  float y = 0;
  uint32_t heading = 0;  // units of 360/65535 degree
  uint32_t size = 2;
  uint32_t justification = 1;
  std::string label;
};
// A taxiway-sign record of kind 5 or 14 with its entries, each padded to an even length.
Bytes& taxiway_signs(Bytes& b, uint32_t kind, double lat, double lon,
                     const std::vector<Sign>& signs);

}  // namespace terrova::testkit
