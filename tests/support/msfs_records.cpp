#include "msfs_records.h"

#include <cstring>

namespace terrova::testkit {
namespace {

Bytes& f64(Bytes& b, double v) {
  uint64_t bits = 0;
  std::memcpy(&bits, &v, sizeof bits);
  return b.u32(static_cast<uint32_t>(bits)).u32(static_cast<uint32_t>(bits >> 32));
}

}  // namespace

Bytes& begin_msfs_airport(Bytes& b, const MsfsAirportFields& f) {
  b.begin(0x56).zeros(6).lon(f.lon).lat(f.lat).i32(f.alt_mm).zeros(12).f32(f.magvar);
  b.u32(pack_ident(f.ident)).u32(0).u32(f.fuel);
  return b.u8(0).u8(f.traffic).u8(f.flags).zeros(4).u8(f.flatten).zeros(8);
}

Bytes& msfs_airport_name(Bytes& b, std::string_view name) {
  b.begin(0x19).text(name);
  return b.zeros((4 - (6 + name.size()) % 4) % 4).end();
}

Bytes& msfs_tower(Bytes& b, double lat, double lon, double alt_m) {
  b.begin(0x66).u16(24).u16(1);
  f64(b, lat);
  f64(b, lon);
  return f64(b, alt_m).zeros(2).end();
}

Bytes& begin_msfs_runway(Bytes& b, const MsfsRunwayFields& f) {
  b.begin(0xCE).u8(f.surface_flags).u8(0).u8(f.number).u8(f.designator).u8(f.secondary_number);
  b.u8(f.secondary_designator).u32(pack_raw_ident(f.primary_ils));
  b.u32(pack_raw_ident(f.secondary_ils)).lon(f.lon).lat(f.lat).i32(f.alt_mm).f32(f.length);
  b.f32(f.width).f32(f.heading).f32(f.pattern_alt).u16(f.markings).u8(f.lights).u8(f.patterns);
  b.zeros(20).f32(f.falloff);
  return guid(b, f.surface).u32(f.colour);
}

Bytes& msfs_end_zone(Bytes& b, uint32_t id, const Guid& surface, float length, float width) {
  b.begin(id).u16(0);
  return guid(b, surface).f32(length).f32(width).end();
}

Bytes& msfs_approach_lights(Bytes& b, uint32_t id, uint32_t flags, uint32_t strobes, float spacing,
                            float offset) {
  return b.begin(id).u8(flags).u8(strobes).f32(spacing).f32(offset).f32(0).u32(1).end();
}

Bytes& deformation_point(Bytes& b, float ratio, float alt_m) {
  return b.begin(0x3E).u16(0).f32(ratio).f32(alt_m).u32(0x7FC00000).u32(0x7FC00000).end();
}

Bytes& msfs_parking(Bytes& b, const std::vector<MsfsParkingEntry>& entries) {
  b.begin(0xE7).u16(static_cast<uint32_t>(entries.size()));
  for (const MsfsParkingEntry& e : entries) {
    const ParkingEntry& p = e.base;
    b.u8(p.name_code | p.push_back << 6).u16(p.type | p.number << 4);
    b.u8(static_cast<uint32_t>(p.airlines.size())).f32(p.radius).f32(p.heading);
    for (float t : e.tee_offsets) b.f32(t);
    b.lon(p.lon).lat(p.lat);
    for (const std::string& code : p.airlines) b.text(code).zeros(4 - code.size());
    b.u8(e.number_marking).u8(e.suffix).u8(e.has_3d_mesh).zeros(5).f32(e.bias_x).f32(e.bias_z);
    b.f32(e.number_heading);
  }
  return b.end();
}

Bytes& msfs_paths(Bytes& b, const std::vector<MsfsPathEntry>& entries,
                  std::optional<uint32_t> count) {
  b.begin(0xD4).u16(count.value_or(static_cast<uint32_t>(entries.size())));
  for (const MsfsPathEntry& e : entries) {
    b.u16(e.start).u16(e.designator << 12).u8(e.type_flags).u8(e.number_or_name).u8(e.lines);
    b.u8(0).f32(e.width).i32(e.weight_limit).zeros(4).u32(0x300000);
    guid(b, e.surface).u32(e.colour).u8(e.material_count).u8(e.terrain).u16(e.end);
    b.raw(e.after);
  }
  return b.end();
}

Bytes& msfs_apron(Bytes& b, const MsfsApronFields& f) {
  const uint32_t v = static_cast<uint32_t>(f.vertices.size());
  const uint32_t t = v >= 3 ? v - 2 : 0;
  const size_t start = b.size();
  b.begin(f.id).u8(f.flags).u8(f.opacity).u32(f.colour);
  guid(b, f.surface).f32(f.tiling).f32(f.heading).f32(f.falloff).i32(f.priority);
  if (f.id == 0xD0) b.u8(f.offset_u).u8(f.offset_v).u16(0);
  b.u16(f.count.value_or(v)).u16(t);
  for (const LatLon& p : f.vertices) b.lon(p.lon).lat(p.lat);
  for (uint32_t i = 0; i < t; ++i) b.u16(0).u16(i + 1).u16(i + 2);
  return b.zeros((4 - (b.size() - start) % 4) % 4).end();
}

Bytes& msfs_edge_lights(Bytes& b, float heading, float spacing, const std::vector<LatLon>& vertices,
                        std::optional<uint32_t> count) {
  b.begin(0x31).u8(0).u8(9).u16(count.value_or(static_cast<uint32_t>(vertices.size()))).u16(0);
  b.zeros(4).f32(heading).f32(spacing);
  for (const LatLon& p : vertices) b.lon(p.lon).lat(p.lat);
  return b.end();
}

Bytes sim_object(float scale, std::string_view title) {
  Bytes b;
  b.f32(scale).u32(static_cast<uint32_t>(title.size())).text(title).zeros(2);
  return b;
}

Bytes msfs_windsock(float pole_height, float sock_length, uint32_t lighted,
                    std::string_view title) {
  Bytes b;
  b.f32(pole_height).f32(sock_length).u32(0).u32(0x00FF8080).u16(lighted);
  b.u16(static_cast<uint32_t>(title.size())).text(title).zeros(2);
  return b;
}

Bytes& msfs_jetway(Bytes& b, uint32_t parking_number, uint32_t gate_name, uint32_t suffix,
                   const Bytes& first, const Bytes& second) {
  const size_t start = b.size();
  b.begin(0xDE).u16(parking_number).u16(gate_name).u16(suffix).u16(0);
  b.u16(static_cast<uint32_t>(first.size())).u16(static_cast<uint32_t>(second.size()));
  b.raw(first).raw(second);
  return b.zeros((4 - (b.size() - start) % 4) % 4).end();
}

// Sub-records of the later SDKs.

Bytes& msfs_vector_placement(Bytes& b, const MsfsVectorPlacementFields& f) {
  b.begin(0x5A).u16(f.count.value_or(static_cast<uint32_t>(f.vertices.size())));
  guid(b, f.profile).f32(f.spacing).f32(f.heading).f32(f.scale).f32(f.scale_delta);
  b.u8(f.flags).zeros(7);
  for (const LatLon& v : f.vertices) f64(f64(b, v.lat), v.lon);
  return b.end();
}

Bytes& msfs_projected_mesh(Bytes& b, uint32_t priority, uint32_t surface, uint32_t drawing,
                           const Bytes& object) {
  b.begin(0xE8).u8(priority).u8(surface).u32(drawing).u16(static_cast<uint32_t>(object.size()));
  b.raw(object);
  return b.zeros((4 - (14 + object.size()) % 4) % 4).end();
}

Bytes& msfs_light_support(Bytes& b, uint32_t flags) {
  b.begin(0x57).u8(flags).u8(0);
  f64(f64(f64(f64(b, 48.6903), 9.2204), 388.5), 387.25);
  return b.f32(134.5f).f32(60.0f).f32(259.25f).end();
}

Bytes& msfs_ground_merging(Bytes& b, float bright, float dark) {
  return b.begin(0xE9).u16(0).f32(bright).f32(dark).end();
}

Bytes& msfs_runway_material(Bytes& b, const Guid& material, uint32_t type, float tiling_u,
                            float tiling_v, float width) {
  b.begin(0xCB).u8(1).u8(255);
  return guid(b, material).u32(type).f32(tiling_u).f32(tiling_v).f32(width).f32(0).end();
}

// Forms of later SDKs.
Bytes& msfs_tower_object(Bytes& b, const Bytes& object) {
  b.begin(0x66).u16(static_cast<uint32_t>(object.size())).u16(0).raw(object);
  return b.zeros((4 - (object.size() + 10) % 4) % 4).end();
}

Bytes& deformation_point(Bytes& b, float ratio, float alt_m, float before, float after) {
  return b.begin(0x3E).u16(0).f32(ratio).f32(alt_m).f32(before).f32(after).end();
}

}  // namespace terrova::testkit
