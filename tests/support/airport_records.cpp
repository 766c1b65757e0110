#include "airport_records.h"

#include <algorithm>

namespace terrova::testkit {

Bytes& begin_airport(Bytes& b, const AirportFields& f) {
  b.begin(f.id).zeros(6).lon(f.lon).lat(f.lat).i32(f.alt_mm);
  if (f.tower) {
    b.lon(f.tower_lon).lat(f.tower_lat);
  } else {
    b.u32(0x18000000).u32(0x10000000);
  }
  b.i32(f.tower_alt_mm).f32(f.magvar).u32(pack_ident(f.ident)).u32(0).u32(f.fuel);
  if (f.id == 0x3C) b.zeros(4);
  if (f.id == 0xAB) b.u8(0).u8(f.traffic).zeros(6);
  return b;
}

Bytes& airport_name(Bytes& b, std::string_view name) { return b.begin(0x19).text(name).end(); }

Bytes& tower_objects(Bytes& b, const Bytes& objects) {
  return b.begin(0x66).zeros(4).raw(objects).zeros(2).end();
}

Bytes& begin_runway(Bytes& b, const RunwayFields& f) {
  b.begin(f.id).u16(f.surface).u8(f.number).u8(f.primary_designator).u8(0);
  b.u8(f.secondary_designator);
  b.u32(pack_raw_ident(f.primary_ils)).u32(pack_raw_ident(f.secondary_ils));
  b.lon(f.lon).lat(f.lat).i32(f.alt_mm).f32(f.length).f32(f.width).f32(f.heading);
  b.f32(f.pattern_alt).u16(f.markings).u8(f.lights).u8(f.patterns);
  if (f.id == 0x3E) {
    for (uint8_t byte : f.material_set) b.u8(byte);
  }
  return b;
}

Bytes& end_zone(Bytes& b, uint32_t id, uint32_t surface, float length, float width) {
  return b.begin(id).u16(surface).f32(length).f32(width).end();
}

Bytes& vasi(Bytes& b, uint32_t id, uint32_t type, float bias_x, float bias_z, float spacing,
            float pitch) {
  return b.begin(id).u16(type).f32(bias_x).f32(bias_z).f32(spacing).f32(pitch).end();
}

Bytes& approach_lights(Bytes& b, uint32_t id, uint32_t flags, uint32_t strobes) {
  return b.begin(id).u8(flags).u8(strobes).end();
}

Bytes& later_approach_lights(Bytes& b, uint32_t id, uint32_t flags, uint32_t strobes, float reil_a,
                             float reil_b) {
  return b.begin(id).u8(flags).u8(strobes).f32(reil_a).f32(reil_b).end();
}

Bytes& start(Bytes& b, uint32_t number, uint32_t type_and_designator, double lat, double lon,
             int32_t alt_mm, float heading) {
  return b.begin(0x11)
      .u8(number)
      .u8(type_and_designator)
      .lon(lon)
      .lat(lat)
      .i32(alt_mm)
      .f32(heading)
      .end();
}

Bytes& com(Bytes& b, uint32_t type, int32_t frequency_hz, std::string_view name) {
  return b.begin(0x12).u16(type).i32(frequency_hz).text(name).end();
}

Bytes& later_com(Bytes& b, uint32_t type, int32_t frequency_hz, std::string_view name) {
  return b.begin(0x12).u8(type).u8(7).i32(frequency_hz).text(name).end();
}

Bytes& helipad(Bytes& b, uint32_t surface, uint32_t flags, double lat, double lon, int32_t alt_mm,
               float length, float width, float heading) {
  b.begin(0x26).u8(surface).u8(flags).zeros(4).lon(lon).lat(lat).i32(alt_mm);
  return b.f32(length).f32(width).f32(heading).end();
}

Bytes& delete_airport(Bytes& b, uint32_t flags, const DeleteEntries& entries, bool with_counts) {
  b.begin(0x33).u16(flags);
  if (with_counts) {
    b.u8(static_cast<uint32_t>(entries.runways.size()));
    b.u8(static_cast<uint32_t>(entries.starts.size()));
    b.u8(static_cast<uint32_t>(entries.frequencies.size())).u8(0);
    for (uint32_t e : entries.runways) b.u32(e);
    for (uint32_t e : entries.starts) b.u32(e);
    for (uint32_t e : entries.frequencies) b.u32(e);
  }
  return b.end();
}

Bytes& taxiway_points(Bytes& b, const std::vector<TaxiwayPointEntry>& entries, uint32_t id) {
  b.begin(id).u16(static_cast<uint32_t>(entries.size()));
  for (const TaxiwayPointEntry& e : entries) {
    b.u8(e.type).u8(e.orientation).u16(0).lon(e.lon).lat(e.lat);
    if (id == 0xAC) b.i32(e.alt_mm);
  }
  return b.end();
}

namespace {

uint32_t count_of(size_t n, std::optional<uint32_t> count) {
  return count ? *count : static_cast<uint32_t>(n);
}

Bytes& padded(Bytes& b, const std::string& text, size_t width) {
  b.text(text.substr(0, width));
  return b.zeros(width - std::min(text.size(), width));
}

Bytes& vertex_list(Bytes& b, const std::vector<LatLon>& vertices) {
  for (const LatLon& v : vertices) b.lon(v.lon).lat(v.lat);
  return b;
}

}  // namespace

Bytes& taxiway_parking(Bytes& b, uint32_t id, const std::vector<ParkingEntry>& entries,
                       std::optional<uint32_t> count) {
  b.begin(id).u16(count_of(entries.size(), count));
  for (const ParkingEntry& e : entries) {
    const uint32_t codes = e.airline_count >= 0 ? static_cast<uint32_t>(e.airline_count)
                                                : static_cast<uint32_t>(e.airlines.size());
    b.u8(e.name_code | e.push_back << 6).u16(e.type | e.number << 4).u8(codes);
    b.f32(e.radius).f32(e.heading);
    if (id == 0x3D) {
      for (int i = 0; i < 16; ++i) b.u8(0xEE);
    }
    if (id == 0xAD) {
      for (float t : e.tee_offsets) b.f32(t);
    }
    b.lon(e.lon).lat(e.lat);
    if (id == 0xAD) b.i32(e.alt_mm);
    for (const std::string& code : e.airlines) padded(b, code, 4);
  }
  return b.end();
}

Bytes& taxiway_paths(Bytes& b, const std::vector<PathEntry>& entries, std::optional<uint32_t> count,
                     uint32_t id) {
  b.begin(id).u16(count_of(entries.size(), count));
  for (const PathEntry& e : entries) {
    b.u16(e.start).u16(e.end | e.designator << 12).u8(e.type_flags).u8(e.number_or_name);
    b.u8(e.lines).u8(e.surface).f32(e.width).i32(e.weight_limit).u32(0xFFFFFFFF);
    if (id != 0x1C) b.raw(e.material_set);
    if (id == 0xAE) b.u8(e.terrain).u8(e.fixtures).u16(e.unused);
  }
  return b.end();
}

Bytes& taxi_names(Bytes& b, const std::vector<std::string>& names, std::optional<uint32_t> count) {
  b.begin(0x1D).u16(count_of(names.size(), count));
  for (const std::string& name : names) padded(b, name, 8);
  return b.end();
}

Bytes& apron(Bytes& b, uint32_t surface, const std::vector<LatLon>& vertices,
             std::optional<uint32_t> count) {
  b.begin(0x37).u8(surface).u16(count_of(vertices.size(), count));
  return vertex_list(b, vertices).end();
}

Bytes& apron_companion(Bytes& b, uint32_t flags) {
  return b.begin(0x30).u8(0).u8(flags).zeros(8).end();
}

Bytes& later_apron(Bytes& b, const LaterApron& a) {
  b.begin(0xAF).u8(a.surface).u8(a.terrain).raw(a.material_set).i32(a.alt_mm);
  b.u16(count_of(a.vertices.size(), a.count));
  vertex_list(b, a.vertices);
  return b.zeros(2).end();  // 30 + 8V bytes: 2 of padding
}

Bytes& apron_triangles(Bytes& b, uint32_t id, uint32_t flags) {
  b.begin(id).u8(1).u8(flags).zeros(16);
  if (id == 0xB0) b.i32(581000);
  b.u16(3).u16(1);
  vertex_list(b, {
                     {47.26, 11.34},
                     {47.27, 11.34},
                     {47.27, 11.35}
  });
  b.u16(0).u16(1).u16(2).zeros(2);
  return b.end();
}

Bytes& jetway(Bytes& b, uint32_t parking_number, uint32_t gate_code, const Bytes& object,
              std::optional<uint32_t> object_size) {
  b.begin(0x3A).u16(parking_number).u16(gate_code);
  b.u32(object_size ? *object_size : static_cast<uint32_t>(object.size()));
  b.raw(object).zeros((4 - (object.size() + 14) % 4) % 4);
  return b.end();
}

Bytes& helipad_object(Bytes& b, const Bytes& object, std::optional<uint32_t> object_size) {
  b.begin(0xB5).u32(object_size ? *object_size : static_cast<uint32_t>(object.size()));
  b.raw(object).zeros((4 - (object.size() + 10) % 4) % 4);
  return b.end();
}

Bytes& apron_edge_lights(Bytes& b, const std::vector<LatLon>& vertices,
                         const std::vector<EdgeEntry>& edges) {
  b.begin(0x31).u16(1).u16(static_cast<uint32_t>(vertices.size()));
  b.u16(static_cast<uint32_t>(edges.size())).zeros(12);
  vertex_list(b, vertices);
  for (const EdgeEntry& e : edges) b.f32(2.0f).u16(e.from).u16(e.to);
  return b.end();
}

Bytes& fence(Bytes& b, uint32_t id, const std::vector<uint8_t>& instance,
             const std::vector<uint8_t>& profile, const std::vector<LatLon>& vertices,
             std::optional<uint32_t> count) {
  b.begin(id).u16(count_of(vertices.size(), count)).raw(instance).raw(profile);
  return vertex_list(b, vertices).end();
}

Bytes& begin_approach(Bytes& b, const ApproachHeader& h) {
  b.begin(0x24).u8(h.suffix).u8(h.runway).u8(h.type_flags).zeros(3);
  b.u32(pack_ident(h.fix_ident, h.fix_type)).u32(pack_region(h.fix_region));
  return b.f32(h.altitude).f32(h.heading).f32(h.missed_altitude);
}

Bytes& begin_later_approach(Bytes& b, const ApproachHeader& h) {
  b.begin(0xB6).u8(h.suffix).u8(h.runway).u8(h.type_flags).zeros(3);
  b.u32(h.fix_type).u32(pack_raw_ident(h.fix_ident)).u32(pack_region(h.fix_region));
  return b.f32(h.altitude).f32(h.heading).f32(h.missed_altitude);
}

Bytes& leg_list(Bytes& b, uint32_t id, const std::vector<LegEntry>& legs,
                std::optional<uint32_t> count) {
  b.begin(id).u16(count_of(legs.size(), count));
  for (const LegEntry& l : legs) {
    b.u8(l.type).u8(l.descriptor).u8(l.turn).u8(l.flags);
    b.u32(pack_ident(l.fix_ident, l.fix_type)).u32(pack_region(l.fix_region));
    b.u32(pack_ident(l.recommended_ident, l.recommended_type));
    b.u32(pack_region(l.recommended_region));
    b.f32(l.theta).f32(l.rho).f32(l.course).f32(l.distance).f32(l.altitude1).f32(l.altitude2);
  }
  return b.end();
}

Bytes& begin_transition(Bytes& b, const TransitionHeader& h) {
  b.begin(0x2C).u8(h.type).u8(0);
  b.u32(pack_ident(h.fix_ident, h.fix_type)).u32(pack_region(h.fix_region)).f32(h.altitude);
  if (h.type == 2) {
    b.u32(pack_ident(h.dme_ident)).u32(pack_region(h.dme_region)).i32(h.radial);
    b.f32(h.dme_distance);
  }
  return b;
}

Bytes& begin_later_transition(Bytes& b, const TransitionHeader& h) {
  b.begin(0xB7).u8(h.type).u8(0).u32(h.fix_type).u32(pack_raw_ident(h.fix_ident));
  b.u32(pack_region(h.fix_region)).f32(h.altitude);
  if (h.type == 2) {
    b.u32(pack_ident(h.dme_ident)).u32(pack_region(h.dme_region)).i32(h.radial);
    b.f32(h.dme_distance);
  }
  return b;
}

Bytes name_list(const NameListFields& f, bool msfs2024) {
  const std::vector<std::string>* lists[] = {&f.regions, &f.countries, &f.states, &f.cities,
                                             &f.airports};
  Bytes texts;
  std::vector<uint32_t> offsets;
  for (const std::vector<std::string>* list : lists) {
    offsets.push_back(44 + static_cast<uint32_t>(texts.size()));
    for (size_t i = 0; i < list->size(); ++i) texts.u32(0);
    for (const std::string& text : *list) texts.cstr(text);
  }
  offsets.push_back(44 + static_cast<uint32_t>(texts.size()));
  Bytes b;
  // Real name lists carry 0 in their size field.
  b.u16(0x27).u32(0);
  for (const std::vector<std::string>* list : lists) b.u16(static_cast<uint32_t>(list->size()));
  b.u16(static_cast<uint32_t>(f.entries.size()));
  for (uint32_t offset : offsets) b.u32(offset);
  b.zeros(2).raw(texts);
  for (const IdentEntry& e : f.entries) {
    b.u8(e.region).u8(e.country).u16(e.state << 4).u16(e.city).u16(0);
    if (msfs2024) {
      b.u32(pack_raw_ident(e.ident) << 6 | 1).zeros(8).u16(0x6A).u16(0x59).zeros(4);
    } else {
      b.u32(pack_ident(e.ident)).zeros(8);
    }
  }
  return b;
}

std::vector<uint8_t> single_airport_file(const Bytes& subrecords, std::string_view name) {
  Bytes b;
  AirportFields f;
  f.tower = false;
  airport_name(begin_airport(b, f), name);
  b.raw(subrecords).end();
  BglBuilder bgl;
  bgl.section(3).add(b, 1);
  return bgl.build();
}

}  // namespace terrova::testkit
