// Enroute waypoints of section 34 with the airway routes through them, and the terminal waypoints
// that the airports write later.
//
// Waypoint record:
//   0x00 u16  id (any value)
//   0x02 u32  size, route entries included
//   0x06 u8   waypoint type
//   0x07 u8   number of routes, only tested for zero
//   0x08 s32  longitude, packed
//   0x0C s32  latitude, packed
//   0x10 f32  magnetic variation, degrees
//   0x14 u32  identifier word; its low 4 bits are the fix type, 6 for a terminal waypoint
//   0x18 u32  region word; a terminal waypoint holds its airport's identifier in bits 11-31
//   0x1C      route entries, 33 bytes each, unaligned:
//     0x00 u8   route type
//     0x01 8    route name, NUL-padded
//     0x09 u32  next waypoint identifier word (0: no next waypoint)
//     0x0D u32  next waypoint region word
//     0x11 f32  next segment altitude minimum, metres
//     0x15 u32  previous waypoint identifier word (0: no previous waypoint)
//     0x19 u32  previous waypoint region word
//     0x1D f32  previous segment altitude minimum, metres
#include "format/circle.h"
#include "format/ident.h"
#include "format/values.h"
#include "format/xml.h"
#include "nav/nav.h"
#include "nav/record_walk.h"

namespace terrova {
namespace {

constexpr uint32_t kWaypointFixedSize = 0x1C;
constexpr uint32_t kRouteEntrySize = 33;
constexpr uint32_t kTerminalFixType = 6;

constexpr const char* kRouteTypeNames[] = {" ", "VICTOR", "JET", "BOTH"};

// A route name placed inside the template's quotes, escaped.
struct RouteName {
  std::string_view text;
  void append_to(Output& out) const { write_escaped_text(out, text); }
};

void write_neighbour(DecodeContext& ctx, FormatString<RegionText, IdentText, float> pattern,
                     uint32_t ident, uint32_t region, float altitude_minimum) {
  ctx.out.format(pattern, decode_region(region), decode_ident(ident), altitude_minimum);
}

void write_route(DecodeContext& ctx, const Record& waypoint, uint64_t entry) {
  const Record& r = waypoint;
  ctx.out.format("\t\t<Route routeType=\"%s\" name=\"%s\" >\n",
                 EnumText(kRouteTypeNames, r.u8(entry)), RouteName{r.text(entry + 1, 8)});
  // Altitude minimums stay in metres whatever the unit switches say.
  if (const uint32_t previous = r.u32(entry + 0x15); previous != 0) {
    write_neighbour(ctx,
                    "\t\t\t<Previous waypointType=\"UNNAMED\" waypointRegion=\"%s\"\n"
                    "\t\t\t\twaypointIdent=\"%s\" altitudeMinimum=\"%0.3lf\" />\n",
                    previous, r.u32(entry + 0x19), r.f32(entry + 0x1D));
  }
  if (const uint32_t next = r.u32(entry + 0x09); next != 0) {
    write_neighbour(ctx,
                    "\t\t\t<Next waypointType=\"UNNAMED\" waypointRegion=\"%s\"\n"
                    "\t\t\t\twaypointIdent=\"%s\" altitudeMinimum=\"%0.3lf\" />\n",
                    next, r.u32(entry + 0x0D), r.f32(entry + 0x11));
  }
  ctx.out.write("\t\t</Route>\n");
}

void write_waypoint(DecodeContext& ctx, const Record& waypoint) {
  const Record& r = waypoint;
  const DecodeOptions& o = ctx.options;
  if (!o.terse) write_record_comment(ctx.out, "Waypoint", r.offset());
  ctx.out.format(
      "\t<Waypoint lat=\"%s\" lon=\"%s\" waypointType=\"%s\"\n\t\tmagvar=\"%0.2lf\" "
      "waypointRegion=\"%s\" waypointIdent=\"%s\"",
      format_coordinate(o, decode_latitude(r.i32(0x0C))),
      format_coordinate(o, decode_longitude(r.i32(0x08))), waypoint_type_name(r.u8(0x06)),
      signed_magvar(r.f32(0x10)), decode_region(r.u32(0x18)), decode_ident(r.u32(0x14)));
  if (r.u8(0x07) == 0) {
    ctx.out.write(" />\n\n");
    return;
  }
  ctx.out.write(" >\n");
  // Entries are read while their start lies below the record's end less 28 bytes, which for a
  // sound record (28 + 33 n bytes) gives exactly its n entries. An entry cut by the record's end
  // is damage and ends the routes.
  const uint64_t end = r.size();
  for (uint64_t entry = kWaypointFixedSize; entry < end - kWaypointFixedSize;
       entry += kRouteEntrySize) {
    if (!r.holds(entry, kRouteEntrySize)) {
      ctx.report_malformed(r.file_offset(entry));
      break;
    }
    write_route(ctx, r, entry);
  }
  ctx.out.write("\t</Waypoint>\n\n");
}

// Terminal waypoints are kept for the airports that own them; enroute ones inside the circle are
// written.
void take_waypoint(DecodeContext& ctx, const Record& r) {
  r.name_kind("Waypoint");
  const bool terminal = (r.u32(0x14) & 0xF) == kTerminalFixType;
  if (ctx.facts != nullptr) {
    report_navaid(ctx, r, {"WAYPOINT", 0x08, 0x0C, 0x14, 0x18},
                  terminal ? std::string_view(decode_ident(r.u32(0x18) >> 6)) : std::string_view());
  }
  if (terminal) {
    // The region word shifted by 6 is, as an identifier word, the owning airport.
    ctx.tables.deferred_waypoints.push_back(
        TerminalWaypoint{r.offset(), ident_number(r.u32(0x18) >> 6), r.u8(0x06), r.i32(0x08),
                         r.i32(0x0C), r.f32(0x10), r.u32(0x14), r.u32(0x18)});
  } else if (in_decode_circle(ctx.options, decode_latitude(r.i32(0x0C)),
                              decode_longitude(r.i32(0x08)), r)) {
    write_waypoint(ctx, r);
  }
}

}  // namespace

void decode_waypoints(DecodeContext& ctx, const SubsectionRun& run) {
  walk_sized_records(ctx, run, kWaypointFixedSize, std::nullopt, kDeleteTerminalWaypoints,
                     [&ctx](const Record& record) { take_waypoint(ctx, record); });
}

}  // namespace terrova
