// Navigation records for tests, the sample file and the benchmark, built field by field.
// Identifier and region fields take packed words (pack_ident, pack_region), so tests can also
// store words that no text packs to.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "bgl_builder.h"

namespace terrova::testkit {

// Section 19: the fixed part of a VOR/ILS record. `begin_navaid` opens the record; the caller
// adds sub-records and closes it with `Bytes::end`.
struct Navaid {
  uint8_t type = 2;   // 0 none, 1 terminal, 2 low, 3 high, 4 ILS, 5 VOT
  uint8_t flags = 0;  // 0x10 DME only, 0x11 / 0x31 VOR with DME
  double lat = 0;
  double lon = 0;
  int32_t altitude_mm = 0;
  int32_t frequency_hz = 0;
  float range_m = 0;
  float magvar = 0;
  uint32_t ident = 0;
  uint32_t region = 0;
};
Bytes& begin_navaid(Bytes& b, const Navaid& n);
Bytes& add_dme(Bytes& b, double lat, double lon, int32_t altitude_mm, float range_m);
Bytes& add_navaid_name(Bytes& b, std::string_view name);
// ILS sub-records, as the runways read them.
Bytes& add_localizer(Bytes& b, uint8_t runway, float heading, float width);
Bytes& add_glide_slope(Bytes& b, double lat, double lon, int32_t altitude_mm, float range_m,
                       float pitch);

// Section 0xA0: the fixed part of a TACAN record; sub-records (add_dme, add_navaid_name) follow
// and `Bytes::end` closes it.
struct Tacan {
  double lat = 0;
  double lon = 0;
  int32_t altitude_mm = 0;
  int32_t channel = 0;
  uint8_t flags = 2;  // bit 0 Y band, bit 1 more than a DME
  float range_m = 0;
  float magvar = 0;
  uint32_t ident = 0;
  uint32_t region = 0;
};
Bytes& begin_tacan(Bytes& b, const Tacan& t);

// Section 23.
struct Ndb {
  uint16_t type = 1;  // 0 compass point, 1 MH, 2 H, 3 HH
  int32_t frequency = 0;
  double lat = 0;
  double lon = 0;
  int32_t altitude_mm = 0;
  float range_m = 0;
  float magvar = 0;
  uint32_t ident = 0;
  uint32_t region = 0;
  std::string name;
};
Bytes& add_ndb(Bytes& b, const Ndb& n);

// Section 24.
struct Marker {
  uint8_t heading = 0;  // 360/255 degree
  uint8_t type = 0;     // 0 inner, 1 middle, 2 outer, 3 back course
  double lat = 0;
  double lon = 0;
  int32_t altitude_mm = 0;
  uint32_t ident = 0;
  uint32_t region = 0;
};
Bytes& add_marker(Bytes& b, const Marker& m);

// Section 34.
struct Route {
  uint8_t type = 1;  // 0 none, 1 victor, 2 jet, 3 both
  std::string name;  // stored NUL-padded in 8 bytes, cut to 8
  uint32_t next_ident = 0;
  uint32_t next_region = 0;
  float next_altitude_m = 0;
  uint32_t previous_ident = 0;
  uint32_t previous_region = 0;
  float previous_altitude_m = 0;
};
struct Waypoint {
  uint8_t type = 1;
  double lat = 0;
  double lon = 0;
  float magvar = 0;
  uint32_t ident = 0;   // fix type in the low 4 bits: 6 for a terminal waypoint
  uint32_t region = 0;  // a terminal waypoint's airport identifier in bits 11-31
  std::vector<Route> routes;
  std::optional<uint8_t> route_count;  // overrides the number of routes
};
Bytes& add_waypoint(Bytes& b, const Waypoint& w);

// Section 32. `begin_boundary` opens the record; the caller adds sub-records and closes it.
Bytes& begin_boundary(Bytes& b, uint8_t type, uint8_t altitude_types, int32_t minimum_mm,
                      int32_t maximum_mm);
Bytes& add_boundary_frequency(Bytes& b, int32_t frequency_hz, std::string_view text);
Bytes& add_boundary_name(Bytes& b, std::string_view name);
struct GeometryEntry {
  uint8_t kind = 2;  // 1 start, 2 line, 3 origin, 4 and 5 arcs, 6 circle
  uint8_t index = 0;
  double lat = 0;
  double lon = 0;
  float radius_m = 0;  // circles only: stored where the longitude would be
};
Bytes& add_geometry(Bytes& b, const std::vector<GeometryEntry>& entries);

// Section 35.
struct Vertex {
  double lat = 0;
  double lon = 0;
};
Bytes geopol(uint16_t flags, const std::vector<Vertex>& vertices);

}  // namespace terrova::testkit
