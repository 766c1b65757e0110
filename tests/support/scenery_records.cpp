#include "scenery_records.h"

#include <cstring>

namespace terrova::testkit {
namespace {

Bytes& object_header(Bytes& b, const ObjectHeader& h) {
  b.begin_u16(h.kind).lon(h.lon).lat(h.lat).i32(h.alt_mm);
  b.u16(h.agl).u16(h.pitch).u16(h.bank).u16(h.heading).u32(h.complexity);
  if (h.kind > 9 && h.instance) guid(b, *h.instance);
  if (h.kind > 9 && !h.instance) b.zeros(16);
  return b;
}

}  // namespace

Bytes& scenery_object(Bytes& b, const ObjectHeader& h, const Bytes& kind_data) {
  return object_header(b, h).raw(kind_data).end();
}

Bytes& taxiway_signs(Bytes& b, uint32_t kind, double lat, double lon,
                     const std::vector<Sign>& signs) {
  ObjectHeader h;
  h.kind = kind;
  h.lat = lat;
  h.lon = lon;
  object_header(b, h).u32(static_cast<uint32_t>(signs.size()));
  for (const Sign& s : signs) {
    b.f32(s.x).f32(s.y).u16(s.heading).u8(s.size).u8(s.justification).cstr(s.label);
    if (s.label.size() % 2 == 0) b.u8(0);  // 13 + an even length is odd: pad to even
  }
  return b.end();
}

Bytes& placed_taxiway_signs(Bytes& b, uint32_t kind, double lat, double lon,
                            const std::vector<PlacedSign>& signs) {
  ObjectHeader h;
  h.kind = kind;
  h.lat = lat;
  h.lon = lon;
  object_header(b, h).u32(static_cast<uint32_t>(signs.size()));
  if (kind == 0x14) b.zeros(32);
  for (const PlacedSign& s : signs) {
    b.f32(s.x).f32(s.y).f32(s.alt).u16(s.pitch).u16(s.bank).u16(s.heading).u16(s.flags);
    b.u8(s.size).u8(s.justification).cstr(s.label);
    if (s.label.size() % 2 == 0) b.u8(0);  // 23 + an even length is odd: pad to even
  }
  return b.end();
}

}  // namespace terrova::testkit

namespace terrova::testkit {

Bytes& guid(Bytes& b, const Guid& g) { return b.u32(g.w[0]).u32(g.w[1]).u32(g.w[2]).u32(g.w[3]); }

Bytes generic_building(float scale, uint32_t type, const std::vector<uint32_t>& words) {
  Bytes b;
  b.f32(scale).zeros(4).u16(type);
  for (uint32_t w : words) b.u16(w);
  return b;
}

Bytes library_object(const Guid& g, float scale) {
  Bytes b;
  guid(b, g).f32(scale);
  return b;
}

Bytes library_object(const Guid& g, float scale, const Attachment& a) {
  const size_t shift = a.marker == 0x1002 ? 20 : 0;
  Bytes b = library_object(g, scale);
  b.u16(a.marker).zeros(4);
  const size_t length_at = b.size();
  b.u16(0).zeros(2).u16(a.pitch).u16(a.bank).u16(a.heading);
  b.zeros(48 + shift - b.size()).u8(a.beacon).zeros(3).cstr(a.name).zeros(a.padding);
  b.put_u16(length_at, static_cast<uint32_t>(b.size() - 28));
  return b;
}

Bytes windsock(const WindsockData& w) {
  Bytes b;
  b.f32(w.pole_height).f32(w.sock_length);
  b.u8(w.pole[0]).u8(w.pole[1]).u8(w.pole[2]).u8(0xEE);
  b.u8(w.sock[0]).u8(w.sock[1]).u8(w.sock[2]).u8(0xEE);
  return b.u16(w.lighted);
}

Bytes effect(const std::string& name, const std::string& parameters, bool with_parameters) {
  Bytes b;
  b.text(name.substr(0, 80)).zeros(80 - (name.size() < 80 ? name.size() : 80));
  if (with_parameters) b.cstr(parameters);
  return b;
}

Bytes refuel_trigger(float height, uint32_t fuel_word, const std::vector<TriggerVertex>& v) {
  Bytes b;
  b.u16(0).f32(height).u32(fuel_word).u32(static_cast<uint32_t>(v.size()));
  for (const TriggerVertex& p : v) b.f32(p.x).f32(p.z);
  return b;
}

Bytes weather_trigger(float height, uint32_t weather_type, float heading, float scalar,
                      const std::vector<TriggerVertex>& v) {
  Bytes b;
  b.u16(1).f32(height).u16(weather_type).f32(heading).f32(scalar);
  b.u32(static_cast<uint32_t>(v.size()));
  for (const TriggerVertex& p : v) b.f32(p.x).f32(p.z);
  return b;
}

Bytes& exclusion_rectangle(Bytes& b, uint32_t flags, double lat_min, double lat_max, double lon_min,
                           double lon_max) {
  return b.u16(flags).u16(0).lon(lon_min).lat(lat_max).lon(lon_max).lat(lat_min);
}

Bytes model_data(const std::vector<Model>& models) {
  Bytes b;
  uint32_t at = static_cast<uint32_t>(24 * models.size());
  for (const Model& m : models) {
    guid(b, m.guid).u32(at).u32(static_cast<uint32_t>(m.bytes.size()));
    at += static_cast<uint32_t>(m.bytes.size());
  }
  for (const Model& m : models) b.text(m.bytes);
  return b;
}

// MSFS section-37 records.

Bytes& attached_beacon(Bytes& b, const AttachedBeacon& a) {
  b.begin_u16(0x11).u16(48).u16(0).u16(0).u16(a.heading).zeros(12);
  guid(b, a.instance).u32(0xFFFF).u8(a.code).u8(1).u16(0);
  return b.cstr(a.name).end();
}

Bytes& attached_group(Bytes& b, const std::vector<AttachedBeacon>& beacons) {
  b.begin_u16(0x1002).end();
  for (const AttachedBeacon& a : beacons) attached_beacon(b, a);
  return b.begin_u16(0x1003).end();
}

Bytes car_parking(const std::vector<Degrees>& vertices, std::optional<float> cars_heading) {
  Bytes b;
  b.u16(static_cast<uint32_t>(vertices.size()));
  if (cars_heading) b.f32(*cars_heading);
  for (const Degrees& p : vertices) {
    for (const double degrees : {p.lat, p.lon}) {
      uint64_t bits = 0;
      std::memcpy(&bits, &degrees, sizeof bits);
      b.u32(static_cast<uint32_t>(bits)).u32(static_cast<uint32_t>(bits >> 32));
    }
  }
  return cars_heading ? b.u32(0) : b;
}

Bytes livery_sim_object(float scale, std::string_view title, std::string_view livery) {
  Bytes b;
  b.f32(scale).u32(static_cast<uint32_t>(title.size())).u16(static_cast<uint32_t>(livery.size()));
  return b.cstr(title).text(livery).zeros(2);
}

}  // namespace terrova::testkit
