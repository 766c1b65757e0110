// Builders for the records of the airport sections: airports and their sub-records, and the
// name list. Each appends to a `Bytes`; the
// `begin_*` builders open a record that the caller closes with `end()` after its sub-records.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "bgl_builder.h"

namespace terrova::testkit {

struct AirportFields {
  uint32_t id = 0x3C;  // 0x3C: 56-byte fixed part; 0xAB: 60 bytes; others: 52
  double lat = 47.260222;
  double lon = 11.343964;
  int32_t alt_mm = 581000;
  bool tower = true;  // false stores the packed 0 degrees: no Tower element
  double tower_lat = 47.261;
  double tower_lon = 11.351;
  int32_t tower_alt_mm = 0;  // 0: the airport altitude
  float magvar = 357.0f;
  std::string ident = "LOWI";
  uint32_t fuel = 0;
  uint32_t traffic = 0;  // 0xAB only: the traffic scalar byte (value * 255)
};
// Opens the airport record and writes its fixed part.
Bytes& begin_airport(Bytes& b, const AirportFields& f);
// The name sub-record: id 0x19, the text unterminated.
Bytes& airport_name(Bytes& b, std::string_view name);
// A tower object sub-record (0x66) holding scenery-object records.
Bytes& tower_objects(Bytes& b, const Bytes& objects);

struct RunwayFields {
  uint32_t surface = 4;
  uint32_t number = 8;
  uint32_t primary_designator = 0;
  uint32_t secondary_designator = 0;
  std::string primary_ils;  // empty: none
  std::string secondary_ils;
  double lat = 47.259;
  double lon = 11.344;
  int32_t alt_mm = 581000;
  float length = 2000.0f;
  float width = 45.0f;
  float heading = 81.5f;
  float pattern_alt = 457.2f;
  uint32_t markings = 0;
  uint32_t lights = 0;
  uint32_t patterns = 0;
  uint32_t id = 0x04;                         // 0x3E: the later form with a material set
  std::array<uint8_t, 16> material_set = {};  // 0x3E only, as stored
};
// Opens a runway sub-record; its child records follow.
Bytes& begin_runway(Bytes& b, const RunwayFields& f);
// Child records of a runway.
Bytes& end_zone(Bytes& b, uint32_t id, uint32_t surface, float length, float width);
Bytes& vasi(Bytes& b, uint32_t id, uint32_t type, float bias_x, float bias_z, float spacing,
            float pitch);
Bytes& approach_lights(Bytes& b, uint32_t id, uint32_t flags, uint32_t strobes);
// Approach lights of the later form (0xB3, 0xB4) with their two REIL offsets.
Bytes& later_approach_lights(Bytes& b, uint32_t id, uint32_t flags, uint32_t strobes, float reil_a,
                             float reil_b);

Bytes& start(Bytes& b, uint32_t number, uint32_t type_and_designator, double lat, double lon,
             int32_t alt_mm, float heading);
Bytes& com(Bytes& b, uint32_t type, int32_t frequency_hz, std::string_view name);
// A com sub-record as airports of the later form (0xAB) store it: the type in a u8, then 7.
Bytes& later_com(Bytes& b, uint32_t type, int32_t frequency_hz, std::string_view name);
Bytes& helipad(Bytes& b, uint32_t surface, uint32_t flags, double lat, double lon, int32_t alt_mm,
               float length, float width, float heading);

// A DeleteAirport sub-record with its entries (4 bytes each, as stored); `with_counts` false
// writes the flags alone (size 8).
struct DeleteEntries {
  std::vector<uint32_t> runways;  // surface | number << 8 | designator << 28
  std::vector<uint32_t> starts;   // number | designator << 8 | type << 16
  std::vector<uint32_t> frequencies;
};
Bytes& delete_airport(Bytes& b, uint32_t flags, const DeleteEntries& entries,
                      bool with_counts = true);

// A name-list record with its lists; the offsets are computed.
struct IdentEntry {
  uint32_t region = 0;
  uint32_t country = 0;
  uint32_t state = 0;
  uint32_t city = 0;
  std::string ident;
};
struct NameListFields {
  std::vector<std::string> regions;
  std::vector<std::string> countries;
  std::vector<std::string> states;
  std::vector<std::string> cities;
  std::vector<std::string> airports;
  std::vector<IdentEntry> entries;
};
Bytes name_list(const NameListFields& f);

}  // namespace terrova::testkit
