#include "airport_records.h"

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

Bytes name_list(const NameListFields& f) {
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
    b.u32(pack_ident(e.ident)).zeros(8);
  }
  return b;
}

}  // namespace terrova::testkit
