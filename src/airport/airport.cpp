// Airport record, section 3 (offsets from the record start):
//   +0  u16  id: 0x3C has a 56-byte fixed part, 0xAB (the later form) a 60-byte one, 0x56 (the
//            MSFS form, see msfs_airport.cpp) a 68-byte one, 0x113 (the MSFS 2024 form, see
//            msfs2024_airport.cpp) a 92-byte one, every other id a 52-byte one; the
//            sub-records start right after it
//   +2  u32  size of the record with all its sub-records
//   +12 u32  longitude, packed
//   +16 u32  latitude, packed
//   +20 s32  altitude, millimetres
//   +24 u32  tower longitude, packed (0x18000000, the packed 0 degrees: no tower)
//   +28 u32  tower latitude, packed (0x10000000, the packed 0 degrees: no tower)
//   +32 s32  tower altitude, millimetres; 0 means the airport altitude
//   +36 f32  magnetic variation, degrees
//   +40 u32  identifier, packed
//   +48 u32  fuel word
//   +53 u8   0xAB and 0x56 only: traffic scalar, value / 255; 255 is the full traffic, and 0, which
//   no
//            scalar the compiler accepts (0.01 to 1) gives, means none was set
// Sub-records, each starting with u16 id and u32 size: an optional DeleteAirport (0x33), then the
// name sub-record whatever its id (+6 the name, size - 6 bytes, not terminated), then tower
// object sub-records (0x66: +10 scenery objects, size - 12 bytes), then the others in any order.
#include "airport/airport.h"

#include <optional>

#include "airport/msfs_airport.h"
#include "airport/msfs_later_records.h"
#include "airport/subrecords.h"
#include "airport/taxiway_sign.h"
#include "format/circle.h"
#include "format/fuel.h"
#include "format/ident.h"
#include "format/values.h"
#include "format/xml.h"
#include "scenery/scenery_object.h"

namespace terrova {
namespace {

constexpr uint32_t kNoTowerLongitude = 0x18000000;
constexpr uint32_t kNoTowerLatitude = 0x10000000;
constexpr uint32_t kDeleteAirportId = 0x33;
constexpr uint32_t kTowerObjectsId = 0x66;
constexpr uint32_t kDeleteAirportMinSize = 8;
constexpr uint32_t kSilentId = 0x30;  // accompanies an apron: never dumped
constexpr uint16_t kLaterAirportId = 0xAB;
constexpr uint32_t kFullTraffic = 255;

// The traffic scalar of the later and MSFS forms as its attribute text, or nothing when none was
// set or, before the MSFS forms, the full traffic is set. The MSFS forms write the full traffic
// too, as their sources do (1.0, the value the compiler stores as 255).
std::optional<double> traffic_scalar(const Record& airport) {
  if (airport.id() != kLaterAirportId && !is_msfs_airport_id(airport.id())) return std::nullopt;
  const uint32_t scalar = airport.u8(53);
  if (scalar == 0) return std::nullopt;
  if (scalar == kFullTraffic && airport.id() != kMsfsAirportId &&
      airport.id() != kMsfs2024AirportId) {
    return std::nullopt;
  }
  return scalar / 255.0;
}

uint32_t fixed_part_size(uint32_t id) {
  if (id == 0x3C) return 56;
  if (id == 0xAB) return 60;
  if (is_msfs_airport_id(id)) return msfs_fixed_part_size(id);
  return 52;
}

// One name attribute of the start tag: which it is (0 city, 1 state, 2 country, 3 region), its
// line start ("\n\t\tcity=") and its text.
struct NameAttribute {
  size_t kind;
  const char* prefix;
  const std::string* text;
};

// The text at `index` of the table when there is one and it is not empty.
const std::string* name_at(const StringTable& table, uint32_t index) {
  if (index >= static_cast<uint32_t>(table.count())) return nullptr;
  const std::string& text = table[static_cast<int>(index)].key;
  return text.empty() ? nullptr : &text;
}

// Ident entry (20 bytes): +0 u8 bits 0-3 region index; +1 u8 bits 0-3 country index; +2 u16
// bits 4-11 state index; +4 u16 city index; +8 u32 airport identifier, packed.
// Every entry of the airport adds the attributes it names, but an attribute that an earlier
// entry named is not taken again: a start tag with a repeated attribute is not XML. Returns the
// number of attributes put in `found`, in the order they are written.
size_t name_attributes(DecodeContext& ctx, uint32_t ident_word, NameAttribute (&found)[4]) {
  SharedTables& t = ctx.tables;
  t.ident_entries_by_airport.update(t.airport_ident_entries.size(), [&t](size_t i) {
    return Image(t.airport_ident_entries[i].bytes, sizeof(AirportIdentEntry::bytes)).u32(8);
  });
  size_t count = 0;
  bool taken[4] = {};
  auto take = [&](size_t kind, const char* prefix, const std::string* text) {
    if (taken[kind] || text == nullptr) return;
    taken[kind] = true;
    found[count++] = {kind, prefix, text};
  };
  for (const KeyIndex::Entry& match : t.ident_entries_by_airport.find(ident_word)) {
    const AirportIdentEntry& entry = t.airport_ident_entries[match.position];
    const Image e(entry.bytes, sizeof entry.bytes);
    take(0, "\n\t\tcity=", name_at(t.city_names, e.u16(4)));
    take(1, "\n\t\tstate=", name_at(t.state_names, (e.u16(2) >> 4) & 0xFFu));
    take(2, "\n\t\tcountry=", name_at(t.country_names, e.u8(1) & 0xFu));
    take(3, "\n\t\tregion=", name_at(t.region_names, e.u8(0) & 0xFu));
  }
  return count;
}

// The attributes of the later and MSFS forms, each on a line of its own: "\t\tname=...\n", or
// "\n\t\tname=..." when `continue_line` (after an attribute line left open).
void write_later_airport_attributes(DecodeContext& ctx, const Record& airport, bool continue_line) {
  const LineFrame frame = continue_line ? LineFrame{"\n\t\t", ""} : LineFrame{"\t\t", "\n"};
  if (const std::optional<double> scalar = traffic_scalar(airport)) {
    ctx.out.format("%strafficScalar=\"%0.2lf\"%s", frame.before, *scalar, frame.after);
  }
  if (is_msfs_airport_id(airport.id())) {
    write_msfs_airport_flags(ctx, airport, frame);
    write_msfs_ground_merging(ctx, frame);
  }
}

// The attribute lines after the name: magnetic variation and altitude, the name attributes, and
// the attributes of the later forms directly before the line that closes the start tag.
void write_start_tag_tail(DecodeContext& ctx, const Record& airport, const NameAttribute* names,
                          size_t count) {
  if (count == 0) write_later_airport_attributes(ctx, airport, false);
  ctx.out.format("\t\tmagvar=\"%0.2lf\" alt=%s", signed_magvar(airport.f32(36)),
                 format_altitude(ctx.options, airport.i32(20)));
  for (size_t i = 0; i < count; ++i) {
    if (i + 1 == count) write_later_airport_attributes(ctx, airport, true);
    ctx.out.write(names[i].prefix);
    write_quoted_text(ctx.out, *names[i].text);
  }
  ctx.out.write(">\n");
}

// Hands the airport's place to the geometry listener.
void report_airport(DecodeContext& ctx, std::string_view ident, std::string_view name,
                    const NameAttribute* names, size_t count, double lat, double lon) {
  AirportPlace place;
  place.ident = ident;
  place.name = name;
  place.reference = {lat, lon};
  place.text_encoding = ctx.out.text_encoding();
  for (size_t i = 0; i < count; ++i) {
    if (names[i].kind == 0) place.city = *names[i].text;
    if (names[i].kind == 2) place.country = *names[i].text;
  }
  ctx.geometry->begin_airport(place);
}

// Writes the `Tower` element when the airport has a tower position, with the objects of the tower
// object sub-records that come next in `subs`.
void write_tower(DecodeContext& ctx, const Record& airport, RecordWalk& subs) {
  const uint32_t tower_lon = airport.u32(24);
  const uint32_t tower_lat = airport.u32(28);
  if (tower_lat == kNoTowerLatitude || tower_lon == kNoTowerLongitude) return;
  int32_t alt = airport.i32(32);
  if (alt == 0) alt = airport.i32(20);
  const DecodeOptions& o = ctx.options;
  if (ctx.geometry != nullptr) {
    ctx.geometry->tower({decode_latitude(static_cast<int32_t>(tower_lat)),
                         decode_longitude(static_cast<int32_t>(tower_lon))});
  }
  const CoordinateText lat = format_coordinate(o, decode_latitude(static_cast<int32_t>(tower_lat)));
  const CoordinateText lon =
      format_coordinate(o, decode_longitude(static_cast<int32_t>(tower_lon)));
  uint16_t id = 0;
  if (!subs.peek_id(id) || id != kTowerObjectsId) {
    ctx.out.format("\t\t<Tower lat=\"%s\" lon=\"%s\" alt=%s />\n", lat, lon,
                   format_altitude(o, alt));
    return;
  }
  ctx.out.format("\t\t<Tower lat=\"%s\" lon=\"%s\" alt=%s>\n", lat, lon, format_altitude(o, alt));
  Record tower;
  while (subs.peek_id(id) && id == kTowerObjectsId && subs.next(tower, 12)) {
    tower.name_kind("TowerSceneryObjects");
    write_scenery_objects(ctx, tower.part(10, tower.size() - 12));
  }
  ctx.out.write("\t\t</Tower>\n");
}

// Hands every remaining sub-record of the airport to its decoder, in file order; dumps those of
// unknown id.
void dispatch_subrecords(DecodeContext& ctx, RecordWalk& subs) {
  Record sub;
  while (subs.next(sub)) {
    const AirportSubrecordKind* kind = find_airport_subrecord_kind(sub.id(), ctx.airport_id);
    if (kind == nullptr) {
      if (sub.id() != kSilentId) dump_subrecord(ctx, sub);
      continue;
    }
    sub.name_kind(kind->name);
    if (!record_holds(ctx, sub, kind->min_size)) continue;
    if (ctx.facts != nullptr) report_airport_part(ctx, *kind, sub);
    kind->decode(ctx, kind->name, sub, subs);
  }
}

}  // namespace

void dump_subrecord(DecodeContext& ctx, const Record& sub) {
  if (ctx.options.terse) return;
  write_record_comment_f(ctx.out, sub.offset(), "dumping unknown record (0x%x), len: %d", sub.id(),
                         sub.size());
  write_hex_dump(ctx.out, sub.view(), sub.offset(), sub.size());
  sub.leave_out_of_report();
}

namespace {

void write_terminal_waypoints(DecodeContext& ctx, uint32_t ident_word) {
  const DecodeOptions& o = ctx.options;
  SharedTables& t = ctx.tables;
  t.waypoints_by_airport.update(t.deferred_waypoints.size(),
                                [&t](size_t i) { return t.deferred_waypoints[i].airport; });
  for (const KeyIndex::Entry& match : t.waypoints_by_airport.find(ident_number(ident_word))) {
    const TerminalWaypoint& w = t.deferred_waypoints[match.position];
    if (!o.terse) write_record_comment(ctx.out, "Waypoint", w.offset);
    ctx.out.format(
        "\t\t<Waypoint lat=\"%s\" lon=\"%s\" waypointType=\"%s\"\n\t\t\tmagvar=\"%0.2lf\" "
        "waypointRegion=\"%s\" waypointIdent=\"%s\"",
        format_coordinate(o, decode_latitude(w.lat)), format_coordinate(o, decode_longitude(w.lon)),
        waypoint_type_name(w.type), signed_magvar(w.magvar), decode_region(w.region),
        decode_ident(w.ident));
    ctx.out.write(" />\n");
  }
}

void decode_airport(DecodeContext& ctx, const Record& airport, uint32_t fixed) {
  const DecodeOptions& o = ctx.options;
  const double lat = decode_latitude(airport.i32(16));
  const double lon = decode_longitude(airport.i32(12));
  if (!in_decode_circle(o, lat, lon, airport)) return;
  airport.name_kind("Airport");
  if (!o.terse) write_record_comment(ctx.out, "Airport", airport.offset() + (fixed - 52));
  ctx.airport_id = airport.id();
  ctx.airport = &airport;
  MsfsRunwayStarts runway_starts;
  if (is_msfs_airport_id(airport.id())) {
    index_runway_starts(airport, runway_starts);
    ctx.runway_starts = &runway_starts;
  }
  HelipadObjects helipad_objects;
  assign_helipad_objects(airport, fixed, helipad_objects);
  ctx.helipad_objects = &helipad_objects;

  // The DeleteAirport and name sub-records at the start. Damage there ends the sub-record walk;
  // the airport is still written from its fixed part.
  RecordWalk subs(ctx, airport, fixed);
  Record delete_airport;
  bool has_delete = false;
  uint16_t id = 0;
  if (subs.peek_id(id) && id == kDeleteAirportId) has_delete = subs.next(delete_airport);
  delete_airport.name_kind("DeleteAirport");
  std::string_view name;
  Record name_record;
  if (subs.next(name_record)) {
    name_record.name_kind("AirportName");
    // The name runs to its first zero byte inside the sub-record, however long it is.
    name = name_record.text(6, name_record.size() - 6);
  }

  const uint32_t ident_word = airport_ident_word(airport);
  const IdentText ident = decode_ident(ident_word);
  ctx.out.format("\t<%s ident=\"%s\" name=", "Airport", ident);
  write_quoted_text(ctx.out, name);
  ctx.out.format("\n\t\tlat=\"%s\" lon=\"%s\"\n", format_coordinate(o, lat),
                 format_coordinate(o, lon));
  NameAttribute names[4];
  const size_t name_count = name_attributes(ctx, stored_airport_ident_word(airport), names);
  write_start_tag_tail(ctx, airport, names, name_count);
  if (ctx.geometry != nullptr) report_airport(ctx, ident, name, names, name_count, lat, lon);
  if (ctx.facts != nullptr) {
    ctx.facts->airport({ident, name, lat, lon, airport.id(), airport.offset()});
  }

  if (is_msfs_airport_id(airport.id())) {
    write_msfs_tower(ctx, subs);
  } else {
    write_tower(ctx, airport, subs);
  }
  if (has_delete && record_holds(ctx, delete_airport, kDeleteAirportMinSize)) {
    decode_delete_airport(ctx, "DeleteAirport", delete_airport, subs);
  }
  const uint32_t fuel = airport.u32(48);
  if (fuel != 0) {
    ctx.out.write("\t\t<Services>\n");
    write_fuel_elements(ctx.out, fuel);
    ctx.out.write("\t\t</Services>\n");
  }
  dispatch_subrecords(ctx, subs);
  claim_taxiway_signs(ctx, lat, lon);
  write_terminal_waypoints(ctx, ident_word);
  ctx.helipad_objects = nullptr;
  ctx.out.format("\t</%s>\n", "Airport");
  if (ctx.geometry != nullptr) ctx.geometry->end_airport();
  if (ctx.facts != nullptr) ctx.facts->end_airport();
  ctx.out.write("\n");
  ctx.airport = nullptr;
  ctx.runway_starts = nullptr;
}

}  // namespace

void decode_airports(DecodeContext& ctx, const SubsectionRun& run) {
  // The walk advances by the size field: a record that cannot hold its fixed part or that leaves
  // the run or the file ends it.
  RecordWalk walk(ctx, ctx.image.narrow(run.data_offset, run.data_size), run.data_offset);
  uint16_t id = 0;
  Record airport;
  while (walk.more()) {
    const uint32_t fixed = fixed_part_size(walk.peek_id(id) ? id : 0);
    if (!walk.next(airport, fixed)) return;
    decode_airport(ctx, airport, fixed);
  }
}

}  // namespace terrova
