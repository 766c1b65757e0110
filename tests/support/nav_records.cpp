#include "nav_records.h"

#include <algorithm>

namespace terrova::testkit {

Bytes& begin_navaid(Bytes& b, const Navaid& n) {
  b.begin(0x13).u8(n.type).u8(n.flags).lon(n.lon).lat(n.lat).i32(n.altitude_mm);
  return b.i32(n.frequency_hz).f32(n.range_m).f32(n.magvar).u32(n.ident).u32(n.region);
}

Bytes& begin_tacan(Bytes& b, const Tacan& t) {
  b.begin(0xA0).lon(t.lon).lat(t.lat).i32(t.altitude_mm).i32(t.channel).u8(t.flags);
  return b.f32(t.range_m).f32(t.magvar).u32(t.ident).u32(t.region);
}

Bytes& add_dme(Bytes& b, double lat, double lon, int32_t altitude_mm, float range_m) {
  return b.begin(0x16).u16(0).lon(lon).lat(lat).i32(altitude_mm).f32(range_m).end();
}

Bytes& add_navaid_name(Bytes& b, std::string_view name) { return b.begin(0x19).text(name).end(); }

Bytes& add_localizer(Bytes& b, uint8_t runway, float heading, float width) {
  return b.begin(0x14).u8(runway).u8(0).f32(heading).f32(width).end();
}

Bytes& add_glide_slope(Bytes& b, double lat, double lon, int32_t altitude_mm, float range_m,
                       float pitch) {
  return b.begin(0x15).u16(0).lon(lon).lat(lat).i32(altitude_mm).f32(range_m).f32(pitch).end();
}

Bytes& add_ndb(Bytes& b, const Ndb& n) {
  b.begin(0x17).u16(n.type).i32(n.frequency).lon(n.lon).lat(n.lat).i32(n.altitude_mm);
  b.f32(n.range_m).f32(n.magvar).u32(n.ident).u32(n.region);
  return b.begin(0x19).text(n.name).end().end();
}

Bytes& add_marker(Bytes& b, const Marker& m) {
  b.begin(0x18).u8(m.heading).u8(m.type).lon(m.lon).lat(m.lat).i32(m.altitude_mm);
  return b.u32(m.ident).u32(m.region).end();
}

Bytes& add_waypoint(Bytes& b, const Waypoint& w) {
  const uint8_t count = w.route_count.value_or(static_cast<uint8_t>(w.routes.size()));
  b.begin(0x22).u8(w.type).u8(count).lon(w.lon).lat(w.lat).f32(w.magvar).u32(w.ident);
  b.u32(w.region);
  for (const Route& r : w.routes) {
    const std::string name = r.name.substr(0, std::min<size_t>(r.name.size(), 8));
    b.u8(r.type).text(name).zeros(8 - name.size());
    b.u32(r.next_ident).u32(r.next_region).f32(r.next_altitude_m);
    b.u32(r.previous_ident).u32(r.previous_region).f32(r.previous_altitude_m);
  }
  return b.end();
}

Bytes& begin_boundary(Bytes& b, uint8_t type, uint8_t altitude_types, int32_t minimum_mm,
                      int32_t maximum_mm) {
  b.begin(0x20).u8(type).u8(altitude_types).zeros(8).i32(minimum_mm).zeros(8);
  return b.i32(maximum_mm);
}

Bytes& add_boundary_frequency(Bytes& b, int32_t frequency_hz, std::string_view text) {
  return b.begin(0x12).u16(0).i32(frequency_hz).cstr(text).end();
}

Bytes& add_boundary_name(Bytes& b, std::string_view name) { return b.begin(0x19).cstr(name).end(); }

Bytes& add_geometry(Bytes& b, const std::vector<GeometryEntry>& entries) {
  b.begin(0x21).u16(static_cast<uint32_t>(entries.size()));
  for (const GeometryEntry& e : entries) {
    b.u8(e.kind).u8(e.index);
    if (e.kind == 6) {
      b.u32(0).f32(e.radius_m);
    } else {
      b.lat(e.lat).lon(e.lon);
    }
  }
  return b.end();
}

Bytes geopol(uint16_t flags, const std::vector<Vertex>& vertices) {
  Vertex low{90, 180};
  Vertex high{-90, -180};
  for (const Vertex& v : vertices) {
    low = {std::min(low.lat, v.lat), std::min(low.lon, v.lon)};
    high = {std::max(high.lat, v.lat), std::max(high.lon, v.lon)};
  }
  Bytes b;
  b.begin(0x23).u16(flags).lon(low.lon).lat(low.lat).lon(high.lon).lat(high.lat);
  for (const Vertex& v : vertices) b.lon(v.lon).lat(v.lat);
  return b.end();
}

}  // namespace terrova::testkit
