// Airport record, section 3 (offsets from the record start):
//   +0  u16  id: 0x3C has a 56-byte fixed part, 0xAB (the later form) a 60-byte one, every other
//            id a 52-byte one; the sub-records start right after it
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
// Sub-records, each starting with u16 id and u32 size: an optional DeleteAirport (0x33), then the
// name sub-record whatever its id (+6 the name, size - 6 bytes, not terminated), then tower
// object sub-records (0x66: +10 scenery objects, size - 12 bytes), then the others in any order.
#include "airport/airport.h"

#include "airport/fuel.h"
#include "airport/subrecords.h"
#include "airport/taxiway_sign.h"
#include "format/circle.h"
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
constexpr uint32_t kSilentId = 0x30;  // accompanies an apron: never dumped

uint32_t fixed_part_size(uint32_t id) {
  if (id == 0x3C) return 56;
  if (id == 0xAB) return 60;
  return 52;
}

// The size of the sub-record at `pos` when it holds at least `min_size` bytes and ends inside
// its record (which ends at `end` and lies inside the image); otherwise the damage is reported
// and the result is 0.
uint32_t checked_subrecord(DecodeContext& ctx, uint64_t pos, uint64_t end, uint32_t min_size = 6) {
  const uint32_t size = pos + 6 <= end ? ctx.image.u32(pos + 2) : 0;
  return sub_record_fits(ctx, pos, size, end, min_size) ? size : 0;
}

// Writes ` prefix"text"` when the index selects a non-empty text; returns whether it did.
bool write_name_attribute(Output& out, const char* prefix, const StringTable& table,
                          uint32_t index) {
  if (index >= static_cast<uint32_t>(table.count())) return false;
  const std::string& text = table[static_cast<int>(index)].key;
  if (text.empty()) return false;
  out.write(prefix);
  write_quoted_text(out, text);
  return true;
}

// Ident entry (20 bytes): +0 u8 bits 0-3 region index; +1 u8 bits 0-3 country index; +2 u16
// bits 4-11 state index; +4 u16 city index; +8 u32 airport identifier, packed.
// Every entry of the airport adds the attributes it names, but an attribute that an earlier
// entry wrote is not written again: a start tag with a repeated attribute is not XML.
void write_name_attributes(DecodeContext& ctx, uint32_t ident_word) {
  SharedTables& t = ctx.tables;
  t.ident_entries_by_airport.update(t.airport_ident_entries.size(), [&t](size_t i) {
    return Image(t.airport_ident_entries[i].bytes, sizeof(AirportIdentEntry::bytes)).u32(8);
  });
  bool city = false, state = false, country = false, region = false;
  for (const KeyIndex::Entry& match : t.ident_entries_by_airport.find(ident_word)) {
    const AirportIdentEntry& entry = t.airport_ident_entries[match.position];
    const Image e(entry.bytes, sizeof entry.bytes);
    if (!city) city = write_name_attribute(ctx.out, "\n\t\tcity=", t.city_names, e.u16(4));
    if (!state) {
      state = write_name_attribute(ctx.out, "\n\t\tstate=", t.state_names, (e.u16(2) >> 4) & 0xFFu);
    }
    if (!country) {
      country = write_name_attribute(ctx.out, "\n\t\tcountry=", t.country_names, e.u8(1) & 0xFu);
    }
    if (!region) {
      region = write_name_attribute(ctx.out, "\n\t\tregion=", t.region_names, e.u8(0) & 0xFu);
    }
  }
}

// Writes the `Tower` element when the record has a tower position, with the objects of the tower
// object sub-records at `pos`; returns the position after them.
uint64_t write_tower(DecodeContext& ctx, uint32_t record, uint64_t pos, uint64_t end) {
  const Image& image = ctx.image;
  const uint32_t tower_lon = image.u32(record + 24);
  const uint32_t tower_lat = image.u32(record + 28);
  if (tower_lat == kNoTowerLatitude || tower_lon == kNoTowerLongitude) return pos;
  int32_t alt = image.i32(record + 32);
  if (alt == 0) alt = image.i32(record + 20);
  const DecodeOptions& o = ctx.options;
  const CoordinateText lat = format_coordinate(o, decode_latitude(static_cast<int32_t>(tower_lat)));
  const CoordinateText lon =
      format_coordinate(o, decode_longitude(static_cast<int32_t>(tower_lon)));
  if (pos + 6 > end || image.u16(pos) != kTowerObjectsId) {
    ctx.out.format("\t\t<Tower lat=\"%s\" lon=\"%s\" alt=%s />\n", lat, lon,
                   format_altitude(o, alt));
    return pos;
  }
  ctx.out.format("\t\t<Tower lat=\"%s\" lon=\"%s\" alt=%s>\n", lat, lon, format_altitude(o, alt));
  while (pos + 6 <= end && image.u16(pos) == kTowerObjectsId) {
    const uint32_t size = checked_subrecord(ctx, pos, end, 12);
    if (size == 0) {
      pos = end;
      break;
    }
    const uint32_t at = static_cast<uint32_t>(pos);
    decode_scenery_objects(ctx, SubsectionRun{1, at + 10, size - 12});
    pos += size;
  }
  ctx.out.write("\t\t</Tower>\n");
  return pos;
}

// Hands every sub-record from `pos` to `end` to its decoder, in file order; dumps those of
// unknown id.
void dispatch_subrecords(DecodeContext& ctx, uint64_t pos, uint64_t end, uint32_t ident_word) {
  while (pos < end) {
    const uint32_t size = checked_subrecord(ctx, pos, end);
    if (size == 0) return;
    const uint32_t at = static_cast<uint32_t>(pos);
    const uint32_t id = ctx.image.u16(at);
    const AirportSubrecordKind* kind = find_airport_subrecord_kind(id);
    if (kind == nullptr) {
      if (!ctx.options.terse && id != kSilentId) {
        write_record_comment_f(ctx.out, at, "dumping unknown record (0x%x), len: %d", id, size);
        write_hex_dump(ctx.out, ctx.image, at, size);
      }
      pos += size;
      continue;
    }
    const uint32_t advance = kind->decode(ctx, kind->name, at, ident_word);
    if (advance < 6 || pos + advance > end) {
      ctx.report_malformed(at);
      return;
    }
    pos += advance;
  }
}

// Waypoint record of section 34, as far as it is written here: +6 u8 type, +8 u32 longitude,
// +12 u32 latitude, +16 f32 magnetic variation, +20 u32 identifier, +24 u32 region.
void write_terminal_waypoints(DecodeContext& ctx, uint32_t ident_word) {
  const Image& image = ctx.image;
  const DecodeOptions& o = ctx.options;
  SharedTables& t = ctx.tables;
  // The tag is the region word shifted by 6: as an identifier word, the owning airport.
  t.waypoints_by_airport.update(t.deferred_waypoints.size(), [&t](size_t i) {
    return ident_number(t.deferred_waypoints[i].tag);
  });
  for (const KeyIndex::Entry& match : t.waypoints_by_airport.find(ident_number(ident_word))) {
    const uint32_t w = t.deferred_waypoints[match.position].offset;
    if (!image.contains(w, 28)) continue;
    if (!o.terse) write_record_comment(ctx.out, "Waypoint", w);
    ctx.out.format(
        "\t\t<Waypoint lat=\"%s\" lon=\"%s\" waypointType=\"%s\"\n\t\t\tmagvar=\"%0.2lf\" "
        "waypointRegion=\"%s\" waypointIdent=\"%s\"",
        format_coordinate(o, decode_latitude(image.i32(w + 12))),
        format_coordinate(o, decode_longitude(image.i32(w + 8))),
        waypoint_type_name(image.u8(w + 6)), signed_magvar(image.f32(w + 16)),
        decode_region(image.u32(w + 24)), decode_ident(image.u32(w + 20)));
    ctx.out.write(" />\n");
  }
}

void decode_airport(DecodeContext& ctx, uint32_t record, uint32_t size, uint32_t fixed) {
  const Image& image = ctx.image;
  const DecodeOptions& o = ctx.options;
  const double lat = decode_latitude(image.i32(record + 16));
  const double lon = decode_longitude(image.i32(record + 12));
  if (!in_decode_circle(o, lat, lon)) return;
  if (!o.terse) write_record_comment(ctx.out, "Airport", record + (fixed - 52));

  // The DeleteAirport and name sub-records at the start. Damage there ends the sub-record walk;
  // the airport is still written from its fixed part.
  const uint64_t end = uint64_t{record} + size;
  uint64_t pos = uint64_t{record} + fixed;
  uint64_t delete_at = 0;
  std::string_view name;
  if (pos + 6 <= end && image.u16(pos) == kDeleteAirportId) {
    const uint32_t delete_size = checked_subrecord(ctx, pos, end);
    if (delete_size == 0) {
      pos = end;
    } else {
      delete_at = pos;
      pos += delete_size;
    }
  }
  if (pos < end) {
    const uint32_t name_size = checked_subrecord(ctx, pos, end);
    if (name_size == 0) {
      pos = end;
    } else {
      // The name runs to its first zero byte inside the sub-record, however long it is.
      name = image.text(pos + 6, name_size - 6);
      pos += name_size;
    }
  }

  const uint32_t ident_word = image.u32(record + 40);
  const IdentText ident = decode_ident(ident_word);
  ctx.out.format("\t<%s ident=\"%s\" name=", "Airport", ident);
  write_quoted_text(ctx.out, name);
  ctx.out.format("\n\t\tlat=\"%s\" lon=\"%s\"\n", format_coordinate(o, lat),
                 format_coordinate(o, lon));
  ctx.out.format("\t\tmagvar=\"%0.2lf\" alt=%s", signed_magvar(image.f32(record + 36)),
                 format_altitude(o, image.i32(record + 20)));
  write_name_attributes(ctx, ident_word);
  ctx.out.write(">\n");

  pos = write_tower(ctx, record, pos, end);
  if (delete_at != 0) {
    decode_delete_airport(ctx, "DeleteAirport", static_cast<uint32_t>(delete_at), ident_word);
  }
  const uint32_t fuel = image.u32(record + 48);
  if (fuel != 0) {
    ctx.out.write("\t\t<Services>\n");
    write_fuel_elements(ctx.out, fuel);
    ctx.out.write("\t\t</Services>\n");
  }
  dispatch_subrecords(ctx, pos, end, ident_word);
  claim_taxiway_signs(ctx, lat, lon);
  write_terminal_waypoints(ctx, ident_word);
  ctx.out.format("\t</%s>\n", "Airport");
  ctx.out.write("\n");
}

}  // namespace

void decode_airports(DecodeContext& ctx, const SubsectionRun& run) {
  const Image& image = ctx.image;
  const uint64_t end = uint64_t{run.data_offset} + run.data_size;
  uint64_t offset = run.data_offset;
  while (offset < end) {
    const uint32_t fixed = fixed_part_size(image.u16(offset));
    const uint32_t size = image.u32(offset + 2);
    // The walk advances by the size field: a record that cannot hold its fixed part or that
    // leaves the run or the file ends it.
    if (!image.contains(offset, 6) || size < fixed || offset + size > end ||
        !image.contains(offset, size)) {
      ctx.report_malformed(offset);
      return;
    }
    decode_airport(ctx, static_cast<uint32_t>(offset), size, fixed);
    offset += size;
  }
}

}  // namespace terrova
