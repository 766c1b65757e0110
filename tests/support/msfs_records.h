// Builders for the records of MSFS 2020 airports: the 0x56 airport record, its name and tower
// sub-records, and the ground-layout sub-records. Each appends to a `Bytes`; `begin_*` builders
// open a record that the caller closes with `end()` after its sub-records.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "airport_records.h"
#include "bgl_builder.h"

namespace terrova::testkit {

using Guid = std::array<uint8_t, 16>;

struct MsfsAirportFields {
  double lat = 39.510169;
  double lon = 116.410854;
  int32_t alt_mm = 25300;
  float magvar = 359.0f;
  std::string ident = "ZBAD";
  uint32_t fuel = 0;
  uint32_t traffic = 255;  // the traffic scalar byte (value * 255)
  uint32_t flags = 0;      // bit 0 starAirport, bit 2 closed
};
// Opens the 0x44-byte airport record; its tower fields are zero as the compiler leaves them.
Bytes& begin_msfs_airport(Bytes& b, const MsfsAirportFields& f);
// The name sub-record (0x19), zero-padded to a multiple of 4.
Bytes& msfs_airport_name(Bytes& b, std::string_view name);
// The tower sub-record (0x66): three doubles, padded to 36 bytes.
Bytes& msfs_tower(Bytes& b, double lat, double lon, double alt_m);
// Appends the 16 bytes of a GUID.
Bytes& guid(Bytes& b, const Guid& g);

}  // namespace terrova::testkit
