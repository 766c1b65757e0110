// Helipad sub-record (0x26):
//   +0  u16  id
//   +2  u32  size
//   +6  u8   surface code (0 in every MSFS helipad: CEMENT in the 2020 sources, CONCRETE in the
//            2024 ones)
//   +7  u8   bit 5 closed, bit 4 transparent, the other bits the helipad type code
//   +12 u32  longitude, packed
//   +16 u32  latitude, packed
//   +20 s32  altitude, millimetres
//   +24 f32  length, metres
//   +28 f32  width, metres
//   +32 f32  heading, degrees
// Helipad scenery-object sub-record (0xB5), written inside the helipad it is given to:
//   +6  u32  object size N
//   +10      one scenery object of N bytes (its longitude at +14, latitude at +18), then
//            padding to a multiple of 4
#include <cmath>

#include "airport/msfs_airport.h"
#include "airport/subrecords.h"
#include "format/xml.h"
#include "scenery/scenery_object.h"

namespace terrova {
namespace {

constexpr const char* kHelipadTypes[] = {"NONE", "H", "SQUARE", "CIRCLE", "MEDICAL"};
constexpr uint16_t kHelipadId = 0x26;
constexpr uint16_t kHelipadObjectId = 0xB5;
constexpr uint32_t kHelipadMinSize = 36;  // as the helipad row of the sub-record table
constexpr uint32_t kObjectSizeAt = 6;
constexpr uint32_t kObjectAt = 10;
constexpr uint32_t kObjectLonAt = kObjectAt + 4;
constexpr uint32_t kObjectLatAt = kObjectAt + 8;
constexpr uint32_t kPositionedObjectSize = kObjectLatAt + 4;
// Past this many object-helipad pairs an airport's objects go to its helipads in file order
// instead, so that a damaged file cannot make the search quadratic in its size.
constexpr size_t kMaxPairs = 1 << 20;

struct Position {
  double lat;
  double lon;
};

Position position_at(const Record& record, uint64_t lon_at, uint64_t lat_at) {
  return {decode_latitude(record.i32(lat_at)), decode_longitude(record.i32(lon_at))};
}

// The square of the distance on the local plane, in degrees of latitude.
double distance_squared(const Position& a, const Position& b) {
  const double dy = a.lat - b.lat;
  const double dx = (a.lon - b.lon) * std::cos(a.lat * (3.14159265358979323846 / 180.0));
  return dx * dx + dy * dy;
}

}  // namespace

void assign_helipad_objects(const Record& airport, uint64_t first, HelipadObjects& result) {
  std::vector<Position> helipads;
  std::vector<Position> objects;
  uint64_t at = first;
  while (airport.holds(at, 6)) {
    const uint32_t id = airport.u16(at);
    const uint32_t size = airport.u32(at + 2);
    if (size < 6 || !airport.holds(at, size)) break;
    if (id == kHelipadId && size >= kHelipadMinSize) {
      helipads.push_back(position_at(airport, at + 12, at + 16));
    } else if (id == kHelipadObjectId && size >= kObjectAt) {
      const Record sub(airport.view(), airport.file_offset(at), size);
      result.objects.push_back(sub);
      objects.push_back(size >= kPositionedObjectSize ? position_at(sub, kObjectLonAt, kObjectLatAt)
                                                      : Position{NAN, NAN});
    }
    at += size;
  }
  result.placed.assign(objects.size(), false);
  result.object_of.assign(helipads.size(), -1);
  const bool in_order = objects.size() * helipads.size() > kMaxPairs;
  for (size_t j = 0; j < objects.size(); ++j) {
    if (std::isnan(objects[j].lat)) continue;
    size_t best = helipads.size();
    double best_distance = INFINITY;
    for (size_t i = 0; i < helipads.size(); ++i) {
      if (result.object_of[i] >= 0) continue;
      if (in_order) {
        best = i;
        break;
      }
      const double d = distance_squared(objects[j], helipads[i]);
      if (d < best_distance) {
        best = i;
        best_distance = d;
      }
    }
    if (best == helipads.size()) continue;
    result.object_of[best] = static_cast<int32_t>(j);
    result.placed[j] = true;
  }
}

void write_helipad_start(DecodeContext& ctx, const char* name, const Record& record) {
  const DecodeOptions& o = ctx.options;
  Output& out = ctx.out;
  const uint32_t flags = record.u8(7);
  if (ctx.geometry != nullptr) {
    ctx.geometry->helipad({
        {decode_latitude(record.i32(16)), decode_longitude(record.i32(12))},
        record.f32(24),
        record.f32(28),
        record.f32(32),
        ((flags >> 5) & 1) != 0
    });
  }
  out.format("\t\t<%s lat=\"%s\" lon=\"%s\" alt=%s\n", name,
             format_coordinate(o, decode_latitude(record.i32(16))),
             format_coordinate(o, decode_longitude(record.i32(12))),
             format_altitude(o, record.i32(20)));
  // An MSFS 2020 helipad of surface code 0 is written as the name its sources give it (19
  // helipads of five airports); that compiler stores their CEMENT as the code the older forms name
  // CONCRETE. The 2024 compiler keeps the older code (both KSUA helipads: CONCRETE, code 0).
  const uint32_t surface = record.u8(6);
  if (ctx.airport_id == kMsfsAirportId && surface == 0) {
    out.format("\t\t\tsurface=\"CEMENT\" heading=\"%.2lf\"\n", record.f32(32));
  } else {
    out.format("\t\t\tsurface=\"%s\" heading=\"%.2lf\"\n", surface_name(surface), record.f32(32));
  }
  out.format("\t\t\tlength=%s width=%s\n", format_length(o, record.f32(24)),
             format_length(o, record.f32(28)));
  out.write("\t\t\tclosed=\"");
  out.write(true_false((flags >> 5) & 1));
  out.write("\" transparent=\"");
  out.write(true_false((flags >> 4) & 1));
  out.format("\" type=\"%s\"", EnumText(kHelipadTypes, flags & ~0x30u));
}

// A helipad has no record comment, with or without -t.
void decode_helipad(DecodeContext& ctx, const char* name, const Record& record, RecordWalk&) {
  Output& out = ctx.out;
  const Record* object = nullptr;
  if (HelipadObjects* h = ctx.helipad_objects; h != nullptr) {
    const uint32_t ordinal = h->helipads_met++;
    if (ordinal < h->object_of.size() && h->object_of[ordinal] >= 0) {
      object = &h->objects[static_cast<size_t>(h->object_of[ordinal])];
    }
  }
  write_helipad_start(ctx, name, record);
  if (object == nullptr) {
    out.write(" />\n");
    return;
  }
  out.write(">\n");
  write_counted_scenery_objects(ctx, *object, kObjectSizeAt);
  out.format("\t\t</%s>\n", name);
}

void decode_helipad_object(DecodeContext& ctx, const char*, const Record& record, RecordWalk&) {
  HelipadObjects* h = ctx.helipad_objects;
  if (h != nullptr) {
    const uint32_t index = h->objects_met++;
    if (index < h->placed.size() && h->placed[index]) return;  // written inside its helipad
  }
  // The schema allows no scenery object directly inside an airport.
  dump_subrecord(ctx, record);
}

}  // namespace terrova
