// Builders for the records of MSFS 2020 airports: the 0x56 airport record, its name and tower
// sub-records, and the ground-layout sub-records. Each appends to a `Bytes`; `begin_*` builders
// open a record that the caller closes with `end()` after its sub-records.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "airport_records.h"
#include "bgl_builder.h"
#include "scenery_records.h"

namespace terrova::testkit {

struct MsfsAirportFields {
  double lat = 39.510169;
  double lon = 116.410854;
  int32_t alt_mm = 25300;
  float magvar = 359.0f;
  std::string ident = "ZBAD";
  uint32_t fuel = 0;
  uint32_t traffic = 255;  // the traffic scalar byte (value * 255)
  uint32_t flags = 0;      // bit 0 starAirport, bit 1 isOnTIN, bit 2 closed
  uint32_t flatten = 0;    // +59: bit 0 applyFlatten
};
// Opens the 0x44-byte airport record; its tower fields are zero as the compiler leaves them.
Bytes& begin_msfs_airport(Bytes& b, const MsfsAirportFields& f);
// The name sub-record (0x19), zero-padded to a multiple of 4.
Bytes& msfs_airport_name(Bytes& b, std::string_view name);
// The tower sub-record (0x66): three doubles, padded to 36 bytes.
Bytes& msfs_tower(Bytes& b, double lat, double lon, double alt_m);

struct MsfsRunwayFields {
  uint32_t number = 7, designator = 0, secondary_number = 25, secondary_designator = 0;
  std::string primary_ils, secondary_ils;  // empty: none
  double lat = 48.689877, lon = 9.221982;
  int32_t alt_mm = 388000;
  float length = 3345.0f, width = 45.11f, heading = 74.0f, pattern_alt = 457.2f;
  uint32_t markings = 0, lights = 0, patterns = 0;
  float falloff = -1.0f;
  Guid surface;
  uint32_t colour = 0;         // 0xAARRGGBB; 0 none
  uint32_t surface_flags = 0;  // +6: bit 7 transparent
};
// Opens a 0xCE runway (96-byte fixed part); its children follow.
Bytes& begin_msfs_runway(Bytes& b, const MsfsRunwayFields& f);
// Children: end zones 5-10 (32 bytes), approach lights 0xDF/0xE0, deformation points 0x3E.
Bytes& msfs_end_zone(Bytes& b, uint32_t id, const Guid& surface, float length, float width);
Bytes& msfs_approach_lights(Bytes& b, uint32_t id, uint32_t flags, uint32_t strobes, float spacing,
                            float offset);
Bytes& deformation_point(Bytes& b, float ratio, float alt_m);

struct MsfsParkingEntry {
  ParkingEntry base;  // name, push-back, type, number, radius, heading, position, airlines
  float tee_offsets[4] = {0, 0, 0, 0};
  uint32_t number_marking = 1, suffix = 0;
  float bias_x = 0, bias_z = 0, number_heading = 0;
  uint32_t has_3d_mesh = 0;
};
// A 0xE7 sub-record.
Bytes& msfs_parking(Bytes& b, const std::vector<MsfsParkingEntry>& entries);

struct MsfsPathEntry {
  uint32_t start = 0, end = 1;
  uint32_t type_flags = 0x61;  // type TAXI, drawSurface, drawDetail
  uint32_t number_or_name = 0, lines = 1;
  float width = 22.5f;
  int32_t weight_limit = 0;
  Guid surface;
  uint32_t terrain = 6;     // all three FALSE
  uint32_t designator = 0;  // of a RUNWAY path
  uint32_t colour = 0;      // 0xAARRGGBB; 0 none
  uint32_t material_count = 0;
  Bytes after;  // the bytes after the entry: its path material records
};
Bytes& msfs_paths(Bytes& b, const std::vector<MsfsPathEntry>& entries,
                  std::optional<uint32_t> count = {});

struct MsfsApronFields {
  uint32_t flags = 0x73, opacity = 255;
  Guid surface;
  float tiling = 1.0f, heading = 0.5f, falloff = 0.0f;
  int32_t priority = 2;
  std::vector<LatLon> vertices;
  std::optional<uint32_t> count;  // overrides the stored vertex count
  uint32_t colour = 0xFF848484;   // 0xAARRGGBB; 0 none
  uint32_t id = 0xD3;             // 0xD0: the later form, with the texture offsets
  uint32_t offset_u = 0, offset_v = 0;
};
// A 0xD3 (or 0xD0) apron with a fan triangulation of its vertices, padded to 4.
Bytes& msfs_apron(Bytes& b, const MsfsApronFields& f);
// A polyline-form 0x31 record.
Bytes& msfs_edge_lights(Bytes& b, float heading, float spacing, const std::vector<LatLon>& vertices,
                        std::optional<uint32_t> count = {});

// Kind data of the MSFS scenery-object kinds: a SimObject (0x19) and a windsock (0x18).
Bytes sim_object(float scale, std::string_view title);
Bytes msfs_windsock(float pole_height, float sock_length, uint32_t lighted, std::string_view title);
// A 0xDE jetway holding two scenery objects, padded to 4.
Bytes& msfs_jetway(Bytes& b, uint32_t parking_number, uint32_t gate_name, uint32_t suffix,
                   const Bytes& first, const Bytes& second);

// Sub-records of the later SDKs: placements, meshes, lights, ground merging, runway materials.
struct MsfsVectorPlacementFields {
  Guid profile;
  float spacing = 5.52f, heading = 180.0f, scale = 1.0f, scale_delta = 0.0f;
  uint32_t flags = 0x70;  // avoidDiscontinuity, adjustScalingAlongPath, rotation "Follow edge"
  std::vector<LatLon> vertices;
  std::optional<uint32_t> count;  // overrides the stored vertex count
};
// A 0x5A vector placement: f64 latitude and longitude per vertex.
Bytes& msfs_vector_placement(Bytes& b, const MsfsVectorPlacementFields& f);
// A 0xE8 projected mesh holding one scenery object, padded to 4.
Bytes& msfs_projected_mesh(Bytes& b, uint32_t priority, uint32_t surface, uint32_t drawing,
                           const Bytes& object);
// A 0x57 light support of fixed place and size; flags bit 0 excludeLights, bit 1
// excludeLightObjects.
Bytes& msfs_light_support(Bytes& b, uint32_t flags);
// A 0xE9 ground-merging transfer record.
Bytes& msfs_ground_merging(Bytes& b, float bright, float dark);
// A runway's 0xCB facility material child.
Bytes& msfs_runway_material(Bytes& b, const Guid& material, uint32_t type, float tiling_u,
                            float tiling_v, float width);
// Forms of later SDKs: the tower sub-record (0x66) of the object form holding `object`, padded to
// 4; a deformation point with control points.
Bytes& msfs_tower_object(Bytes& b, const Bytes& object);
Bytes& deformation_point(Bytes& b, float ratio, float alt_m, float before, float after);

}  // namespace terrova::testkit
