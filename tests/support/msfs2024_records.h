// Builders for the records of MSFS 2024 add-on airports: the 0x113 airport and the sub-records of
// its own. The others are those of msfs_records.h.
#pragma once

#include <cstdint>
#include <string>

#include "bgl_builder.h"

namespace terrova::testkit {

struct Msfs2024AirportFields {
  double lat = 27.18455164, lon = -80.22245157;
  int32_t alt_mm = 6912;
  float magvar = 5.0f;
  std::string ident = "KSUA";
  uint32_t traffic = 255;   // the traffic scalar byte (value * 255)
  uint32_t counts[6] = {};  // runways, coms, starts, approaches, aprons, helipads (+6..+11)
};
// Opens the 92-byte airport record; the identifier is stored in bits 6-31 of its word.
Bytes& begin_msfs2024_airport(Bytes& b, const Msfs2024AirportFields& f);

struct Msfs2024HelipadFields {
  uint32_t surface = 0, flags = 1, red = 140, green = 70, blue = 70;  // CONCRETE, type H
  double lat = 27.18495783, lon = -80.22330759;
  int32_t alt_mm = 6350;
  float length = 14.905587f, width = 14.905587f, heading = 248.200684f;
};
// A 60-byte helipad (0xFB): the 0x26 fields, the colour at +8 and 24 zero bytes.
Bytes& msfs2024_helipad(Bytes& b, const Msfs2024HelipadFields& f);
// The marking-bias child (0x65) of a runway inside a 2024 airport.
Bytes& marking_biases(Bytes& b, float primary, float secondary);

}  // namespace terrova::testkit
