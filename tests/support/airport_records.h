// Builders for the records of the airport sections: airports and their sub-records, and the
// name list. Each appends to a `Bytes`; the
// `begin_*` builders open a record that the caller closes with `end()` after its sub-records.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
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

// Taxiway network sub-records. `count` overrides the stored entry count when set.
struct TaxiwayPointEntry {
  uint32_t type = 1;
  uint32_t orientation = 0;
  double lat = 47.2595;
  double lon = 11.3401;
  int32_t alt_mm = 0;  // 0xAC only
};
// `id` 0x1A, or 0xAC with the altitude after each entry.
Bytes& taxiway_points(Bytes& b, const std::vector<TaxiwayPointEntry>& entries, uint32_t id = 0x1A);

struct ParkingEntry {
  uint32_t name_code = 10;
  uint32_t push_back = 0;
  uint32_t type = 8;
  uint32_t number = 1;
  float radius = 18.0f;
  float heading = 90.0f;
  double lat = 47.2601;
  double lon = 11.3455;
  std::vector<std::string> airlines;    // up to 4 characters each, NUL-padded
  int airline_count = -1;               // overrides the stored code count when not -1
  float tee_offsets[4] = {0, 0, 0, 0};  // 0xAD only
  int32_t alt_mm = 0;                   // 0xAD only
};
// `id` 0x1B, 0x3D (16 more bytes after the heading, filled with 0xEE) or 0xAD (the tee offsets
// after the heading, the altitude after the position).
Bytes& taxiway_parking(Bytes& b, uint32_t id, const std::vector<ParkingEntry>& entries,
                       std::optional<uint32_t> count = {});

struct PathEntry {
  uint32_t start = 0;
  uint32_t end = 1;
  uint32_t designator = 0;  // bits 12-15 of the end word
  uint32_t type_flags = 1;  // bits 0-3 type, bit 5 draw surface, bit 6 draw detail
  uint32_t number_or_name = 0;
  uint32_t lines = 0;
  uint32_t surface = 4;
  float width = 22.5f;
  int32_t weight_limit = 0;
  std::vector<uint8_t> material_set = std::vector<uint8_t>(16);  // 0x40 and 0xAE
  uint32_t terrain = 0;                                          // 0xAE only
  uint32_t fixtures = 0;                                         // 0xAE only
  uint32_t unused = 0;                                           // 0xAE only: u16 after fixtures
};
// `id` 0x1C, 0x40 (the material set after each entry) or 0xAE (then the terrain and fixture
// bytes and two more).
Bytes& taxiway_paths(Bytes& b, const std::vector<PathEntry>& entries,
                     std::optional<uint32_t> count = {}, uint32_t id = 0x1C);
// Names of up to 8 characters, NUL-padded.
Bytes& taxi_names(Bytes& b, const std::vector<std::string>& names,
                  std::optional<uint32_t> count = {});

// Aprons, edge lights and fences.
struct LatLon {
  double lat;
  double lon;
};
Bytes& apron(Bytes& b, uint32_t surface, const std::vector<LatLon>& vertices,
             std::optional<uint32_t> count = {});
// The record that follows an apron with its draw flags (bit 0 surface, bit 1 detail); the
// triangle data after the flags is left as 8 zero bytes.
Bytes& apron_companion(Bytes& b, uint32_t flags);
// An apron of the later form (0xAF), padded to a multiple of 4.
struct LaterApron {
  uint32_t surface = 1;
  uint32_t terrain = 0;
  std::vector<uint8_t> material_set = std::vector<uint8_t>(16);
  int32_t alt_mm = 0;
  std::vector<LatLon> vertices;
  std::optional<uint32_t> count;
};
Bytes& later_apron(Bytes& b, const LaterApron& a);
// The triangle companion of an apron: `id` 0x41 (after 0x37) or 0xB0 (after 0xAF, with an
// altitude) with `flags` at +7 and one triangle over three vertices.
Bytes& apron_triangles(Bytes& b, uint32_t id, uint32_t flags);

// A jetway (0x3A) holding the scenery-object bytes `object`; `object_size` overrides the stored
// object size.
Bytes& jetway(Bytes& b, uint32_t parking_number, uint32_t gate_code, const Bytes& object,
              std::optional<uint32_t> object_size = {});
// A helipad scenery-object sub-record (0xB5) holding `object`.
Bytes& helipad_object(Bytes& b, const Bytes& object, std::optional<uint32_t> object_size = {});
struct EdgeEntry {
  uint32_t from;
  uint32_t to;
};
Bytes& apron_edge_lights(Bytes& b, const std::vector<LatLon>& vertices,
                         const std::vector<EdgeEntry>& edges);
// `id` 0x38 or 0x39; GUIDs as their 16 stored bytes.
Bytes& fence(Bytes& b, uint32_t id, const std::vector<uint8_t>& instance,
             const std::vector<uint8_t>& profile, const std::vector<LatLon>& vertices,
             std::optional<uint32_t> count = {});

// Approaches: open with `begin_approach`, add leg lists and transitions, close with `end()`.
struct ApproachHeader {
  uint32_t suffix = 0;
  uint32_t runway = 8;
  uint32_t type_flags = 4;  // bits 0-3 type, 4-6 designator, bit 7 GPS overlay
  std::string fix_ident = "OEV";
  uint32_t fix_type = 2;
  std::string fix_region = "LO";
  float altitude = 1800.0f;
  float heading = 81.0f;
  float missed_altitude = 2400.0f;
};
Bytes& begin_approach(Bytes& b, const ApproachHeader& h);
// The same in the later form (0xB6): fix type and identifier in two words.
Bytes& begin_later_approach(Bytes& b, const ApproachHeader& h);
struct LegEntry {
  uint32_t type = 18;
  uint32_t descriptor = 1;
  uint32_t turn = 0;
  uint32_t flags = 0;
  std::string fix_ident = "RUM";
  uint32_t fix_type = 5;
  std::string fix_region = "LO";
  std::string recommended_ident = "OEV";
  uint32_t recommended_type = 2;
  std::string recommended_region = "LO";
  float theta = 12.5f;
  float rho = 9260.0f;
  float course = 81.0f;
  float distance = 5556.0f;
  float altitude1 = 1500.0f;
  float altitude2 = 0.0f;
};
// `id` 0x2D approach legs, 0x2E missed-approach legs, 0x2F transition legs.
Bytes& leg_list(Bytes& b, uint32_t id, const std::vector<LegEntry>& legs,
                std::optional<uint32_t> count = {});
struct TransitionHeader {
  uint32_t type = 1;  // 2: DME arc
  std::string fix_ident = "KTI";
  uint32_t fix_type = 3;
  std::string fix_region = "LO";
  float altitude = 3000.0f;
  std::string dme_ident = "OEV";
  std::string dme_region = "LO";
  int32_t radial = 245;
  float dme_distance = 18520.0f;
};
// Opens a transition; its leg lists follow, then `end()`.
Bytes& begin_transition(Bytes& b, const TransitionHeader& h);
// The same in the later form (0xB7).
Bytes& begin_later_transition(Bytes& b, const TransitionHeader& h);

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
// `msfs2024`: the form of section 0x35, whose ident entries hold the identifier in bits 6-31 and
// 8 more bytes.
Bytes name_list(const NameListFields& f, bool msfs2024 = false);

// A file whose one airport section holds one airport without a tower, named `name`, with these
// sub-records after its name.
std::vector<uint8_t> single_airport_file(const Bytes& subrecords, std::string_view name);

}  // namespace terrova::testkit
