// Runway sub-record (0x04):
//   +0  u16  id
//   +2  u32  size, child records included
//   +6  u16  surface code
//   +8  u8   primary runway number
//   +9  u8   primary designator code
//   +11 u8   secondary designator code
//   +12 u32  primary ILS identifier, plain base 38; 0 = none
//   +16 u32  secondary ILS identifier, plain base 38; 0 = none
//   +20 u32  longitude, packed
//   +24 u32  latitude, packed
//   +28 s32  altitude, millimetres
//   +32 f32  length, metres
//   +36 f32  width, metres
//   +40 f32  heading, degrees
//   +44 f32  pattern altitude, metres
//   +48 u16  marking flags (bits 0-12)
//   +50 u8   light flags: bits 0-1 edge, 2-3 centre line intensity, bit 4 centre red
//   +51 u8   pattern flags: bits 0-5, set means "NO" (takeoff, landing) or "RIGHT" (pattern)
//   +52      child records up to the end of the sub-record, each with u16 id and u32 size:
//            5-10 end zones: +6 u16 surface, +8 f32 length, +12 f32 width (metres)
//            11-14 VASIs: +6 u16 type, +8 f32 bias X, +12 f32 bias Z, +16 f32 spacing,
//                         +20 f32 pitch
//            15-16 approach lights: +6 u8 bits 0-3 system, bit 5 end lights, bit 6 REIL,
//                                   bit 7 touchdown; +7 u8 strobes
//            0xB3-0xB4 approach lights of the later form: as 15-16, then +8 and +12 two f32
//                      REIL offsets whose axes are not known; not written
//
// Runway sub-record of the later form (0x3E): +0..+51 as above, but bit 7 of the surface code
// marks a transparent runway (water); +52 16 bytes material set GUID (all zero: none); child
// records from +68.
#include "airport/runway.h"

#include <algorithm>
#include <span>
#include <vector>

#include "airport/apron.h"
#include "airport/subrecords.h"
#include "format/ident.h"
#include "format/values.h"
#include "format/xml.h"

namespace terrova {
namespace {

constexpr uint32_t kRunwayFixedSize = 52;
constexpr uint32_t kMaterialSetAt = 52;
constexpr uint32_t kTransparentBit = 0x80;
constexpr uint32_t kEndZoneLengthAt = 8;  // of an end zone child; the width follows
constexpr uint32_t kLaterRunwayFixedSize = 68;

constexpr const char* kEnds[] = {"PRIMARY", "SECONDARY"};

constexpr const char* kVasiTypes[] = {"NONE",   "VASI21", "VASI31", "VASI22", "VASI32",
                                      "VASI23", "VASI33", "PAPI2",  "PAPI4",  "TRICOLOR",
                                      "PVASI",  "TVASI",  "BALL",   "APAP"};

constexpr const char* kApproachSystems[] = {
    "NONE", "ODALS",   "MALSF",    "MALSR", "SSALF", "SSALR", "ALSF1", "ALSF2",
    "RAIL", "CALVERT", "CALVERT2", "MALS",  "SALS",  "SALSF", "SSALS", "SSALS"};

constexpr const char* kIntensities[] = {nullptr, "LOW", "MEDIUM", "HIGH"};

// Child record ids and the bytes each kind reads.
struct ChildGroup {
  uint32_t first_id;
  uint32_t last_id;
  uint32_t fixed_size;
  const char* name;  // the element it is written as
};
constexpr ChildGroup kOffsetThresholds = {5, 6, 16, "OffsetThreshold"};
constexpr ChildGroup kBlastPads = {7, 8, 16, "BlastPad"};
constexpr ChildGroup kOverruns = {9, 10, 16, "Overrun"};
constexpr ChildGroup kVasis = {11, 14, 24, "Vasi"};
constexpr ChildGroup kApproachLights = {15, 16, 8, "ApproachLights"};
constexpr ChildGroup kLaterApproachLights = {0xB3, 0xB4, 16, "ApproachLights"};
constexpr ChildGroup kGroups[] = {kOffsetThresholds, kBlastPads,          kOverruns, kVasis,
                                  kApproachLights,   kLaterApproachLights};

const char* yes_no(uint32_t flags, unsigned bit) { return (flags >> bit) & 1 ? "NO" : "YES"; }
const char* left_right(uint32_t flags, unsigned bit) {
  return (flags >> bit) & 1 ? "RIGHT" : "LEFT";
}
std::string_view flag(uint32_t flags, unsigned bit) { return true_false((flags >> bit) & 1); }

}  // namespace

void write_markings_head(Output& out, uint32_t m) {
  out.write("\t\t\t<Markings ");
  out.format("edges=\"%s\" threshold=\"%s\"\n", flag(m, 0), flag(m, 1));
  out.format("\t\t\t\tfixedDistance=\"%s\" touchdown=\"%s\"\n", flag(m, 2), flag(m, 3));
  out.format("\t\t\t\tdashes=\"%s\" ident=\"%s\"\n", flag(m, 4), flag(m, 5));
  out.format("\t\t\t\tprecision=\"%s\" edgePavement=\"%s\"\n", flag(m, 6), flag(m, 7));
  out.format("\t\t\t\tsingleEnd=\"%s\" primaryClosed=\"%s\"\n", flag(m, 8), flag(m, 9));
  out.format("\t\t\t\tsecondaryClosed=\"%s\"\n", flag(m, 10));
}

void write_markings_tail(Output& out, uint32_t m) {
  out.format("\t\t\t\tprimaryStol=\"%s\" secondaryStol=\"%s\" />\n", flag(m, 11), flag(m, 12));
}

void write_lights(Output& out, uint32_t l) {
  out.write("\t\t\t<Lights ");
  if (const char* center = kIntensities[(l >> 2) & 3]) out.format("center=\"%s\" ", center);
  if (const char* edge = kIntensities[l & 3]) out.format("edge=\"%s\" ", edge);
  out.format("centerRed=\"%s\" ", flag(l, 4));
  out.write("/>\n");
}

namespace {

void write_end_zone(DecodeContext& ctx, const Record& zone) {
  static constexpr const char* kNames[] = {"OffsetThreshold", "BlastPad", "Overrun"};
  const uint32_t id = zone.id();
  ctx.out.format("\t\t\t<%s end=\"%s\" length=%s width=%s surface=\"%s\" />\n",
                 kNames[(id - 5) / 2], kEnds[(id - 5) % 2], format_length(ctx.options, zone.f32(8)),
                 format_length(ctx.options, zone.f32(12)), surface_name(zone.u16(6)));
}

void write_approach_lights(DecodeContext& ctx, const Record& lights) {
  const uint32_t end = lights.id() >= kLaterApproachLights.first_id
                           ? lights.id() - kLaterApproachLights.first_id
                           : lights.id() - kApproachLights.first_id;
  write_approach_lights_head(ctx.out, end, lights);
  write_approach_lights_tail(ctx.out, lights);
}

}  // namespace

void write_approach_lights_head(Output& out, uint32_t end, const Record& lights) {
  out.format("\t\t\t<ApproachLights end=\"%s\"\n", kEnds[end & 1]);
  out.format("\t\t\t\tsystem=\"%s\" ", kApproachSystems[lights.u8(6) & 15]);
  out.format("strobes=\"%d\"\n", lights.u8(7));
}

void write_approach_lights_tail(Output& out, const Record& lights) {
  const uint32_t flags = lights.u8(6);
  out.format("\t\t\t\treil=\"%s\" ", flag(flags, 6));
  out.format("touchdown=\"%s\" ", flag(flags, 7));
  out.format("endLights=\"%s\" />\n", flag(flags, 5));
}

void write_vasi(DecodeContext& ctx, const Record& vasi) {
  const DecodeOptions& o = ctx.options;
  const uint32_t id = vasi.id();
  ctx.out.format("\t\t\t<Vasi end=\"%s\" side=\"%s\" type=\"%s\"\n", kEnds[(id - 11) / 2],
                 designator_name((id - 11) % 2 + 1), EnumText(kVasiTypes, vasi.u16(6)));
  ctx.out.format("\t\t\t\tbiasX=%s biasZ=%s spacing=%s pitch=\"%0.2lf\" />\n",
                 format_length(o, vasi.f32(8)), format_length(o, vasi.f32(12)),
                 format_length(o, vasi.f32(16)), vasi.f32(20));
}

namespace {

const ChildGroup* group_of(uint32_t id) {
  for (const ChildGroup& g : kGroups) {
    if (id >= g.first_id && id <= g.last_id) return &g;
  }
  return nullptr;
}

// The runway's child records of known kind, in file order. Other ids are passed over by the low
// half of their size field; a child whose size would not advance the walk or that leaves the
// runway ends the walk.
std::vector<Record> collect_children(DecodeContext& ctx, const Record& runway,
                                     uint32_t children_at) {
  std::vector<Record> children;
  RecordWalk walk(ctx, runway, children_at);
  uint16_t id = 0;
  Record child;
  while (walk.more()) {
    const ChildGroup* group = walk.peek_id(id) ? group_of(id) : nullptr;
    if (!walk.next(child, 6, group != nullptr ? SizeField::kU32 : SizeField::kU16)) break;
    if (group != nullptr) child.name_kind(group->name);
    if (group != nullptr && record_holds(ctx, child, group->fixed_size)) children.push_back(child);
  }
  return children;
}

void write_children(DecodeContext& ctx, const std::vector<Record>& children) {
  auto in = [](const ChildGroup& g, uint32_t id) { return id >= g.first_id && id <= g.last_id; };
  for (const ChildGroup& zone : {kOffsetThresholds, kBlastPads, kOverruns}) {
    for (const Record& child : children) {
      if (in(zone, child.id())) write_end_zone(ctx, child);
    }
  }
  // Both forms of approach lights, in file order.
  for (const Record& child : children) {
    if (in(kApproachLights, child.id()) || in(kLaterApproachLights, child.id())) {
      write_approach_lights(ctx, child);
    }
  }
  for (const Record& child : children) {
    if (in(kVasis, child.id())) write_vasi(ctx, child);
  }
}

}  // namespace

// Hands the runway's outline, its ends and their zones to the geometry listener.
void report_runway(DecodeContext& ctx, const Record& record, std::span<const Record> children,
                   uint32_t zone_length_at) {
  RunwayShape r;
  r.centre = {decode_latitude(record.i32(24)), decode_longitude(record.i32(20))};
  r.length = record.f32(32);
  r.width = record.f32(36);
  r.heading = record.f32(40);
  r.number = record.u8(8);
  r.primary.designator = record.u8(9);
  r.secondary.designator = record.u8(11);
  r.primary.closed = (record.u16(48) >> 9) & 1;
  r.secondary.closed = (record.u16(48) >> 10) & 1;
  for (const Record& child : children) {
    const uint32_t id = child.id();
    if (id < kOffsetThresholds.first_id || id > kOverruns.last_id) continue;
    RunwayEndShape& end = (id - 5) % 2 == 0 ? r.primary : r.secondary;
    EndZone* zones[] = {&end.offset_threshold, &end.blast_pad, &end.overrun};
    *zones[(id - 5) / 2] = {child.f32(zone_length_at), child.f32(zone_length_at + 4)};
  }
  ctx.geometry->runway(r);
}

// Every ILS record kept by the navaid decoder whose identifier matches one runway end is
// written, once per matching end.
// The records come in list order; a record that matches both ends is written twice in a row.
void write_runway_ils_records(DecodeContext& ctx, uint32_t primary, uint32_t secondary) {
  SharedTables& t = ctx.tables;
  t.navaids_by_ident.update(t.deferred_navaids.size(),
                            [&](size_t i) { return t.deferred_navaids[i].ident_number; });
  using Matches = std::span<const KeyIndex::Entry>;
  Matches first = primary != 0 ? t.navaids_by_ident.find(primary) : Matches();
  Matches second = secondary != 0 ? t.navaids_by_ident.find(secondary) : Matches();
  while (!first.empty() || !second.empty()) {
    const uint32_t next = std::min(first.empty() ? UINT32_MAX : first.front().position,
                                   second.empty() ? UINT32_MAX : second.front().position);
    const IlsEntry& ils = t.deferred_navaids[next];
    if (!first.empty() && first.front().position == next) {
      write_runway_ils(ctx, ils, RunwayEnd::kPrimary);
      first = first.subspan(1);
    }
    if (!second.empty() && second.front().position == next) {
      write_runway_ils(ctx, ils, RunwayEnd::kSecondary);
      second = second.subspan(1);
    }
    if (ctx.geometry != nullptr) report_runway_ils(ctx, ils);
    if (ctx.facts != nullptr) ctx.facts->airport_part(AirportPart::kIls, 1);
  }
}

// Writes ` materialSet="{...}"` on a line of its own for a GUID that is not all zero: the first
// u32 and two u16 little-endian, then eight single bytes, in the braced registry form.
void write_material_set(Output& out, const Record& record, uint32_t at) {
  if (guid_is_zero(record, at)) return;
  out.write("\t\t\tmaterialSet=\"");
  write_registry_guid(out, record, at);
  out.write("\"\n");
}

void write_runway_start_tag(DecodeContext& ctx, const char* name, const Record& record,
                            const RunwayStartTag& tag) {
  const DecodeOptions& o = ctx.options;
  Output& out = ctx.out;
  if (!o.terse) write_record_comment(out, name, record.offset());
  out.format("\t\t<%s lat=\"%s\" lon=\"%s\" alt=%s\n", name,
             format_coordinate(o, decode_latitude(record.i32(24))),
             format_coordinate(o, decode_longitude(record.i32(20))),
             format_altitude(o, record.i32(28)));
  // The later form marks a runway whose surface is not drawn (a water runway) with bit 7 of its
  // surface code; the surface is the code without it.
  const uint32_t surface = record.u16(6);
  const bool transparent = tag.material_set_at != 0 && (surface & kTransparentBit) != 0;
  out.write("\t\t\tsurface=\"");
  if (tag.surface_guid_at != 0) {
    write_registry_guid(out, record, tag.surface_guid_at);
  } else {
    out.write(surface_name(transparent ? surface & ~kTransparentBit : surface));
  }
  out.format("\" heading=\"%0.2lf\" length=%s width=%s\n", record.f32(40),
             format_length(o, record.f32(32)), format_length(o, record.f32(36)));
  const EnumText number = format_runway_number(record.u8(8));
  const uint32_t primary_designator = record.u8(9);
  const uint32_t secondary_designator = record.u8(11);
  if (primary_designator != 0 || secondary_designator != 0) {
    out.format("\t\t\tnumber=\"%s\" primaryDesignator=\"%s\" secondaryDesignator=\"%s\"\n", number,
               designator_name(primary_designator), designator_name(secondary_designator));
  } else {
    out.format("\t\t\tnumber=\"%s\" designator=\"NONE\"\n", number);
  }
  out.format("\t\t\tpatternAltitude=%s\n", format_length(o, record.f32(44)));
  const uint32_t pattern = record.u8(51);
  out.format("\t\t\tprimaryTakeoff=\"%s\" ", yes_no(pattern, 0));
  out.format("primaryLanding=\"%s\" ", yes_no(pattern, 1));
  out.format("primaryPattern=\"%s\"\n", left_right(pattern, 2));
  if (transparent) out.write("\t\t\ttransparent=\"TRUE\"\n");
  if (tag.material_set_at != 0) write_material_set(out, record, tag.material_set_at);
  if (tag.extra_lines != nullptr) tag.extra_lines(ctx, record);
  out.format("\t\t\tsecondaryTakeoff=\"%s\" ", yes_no(pattern, 3));
  out.format("secondaryLanding=\"%s\" ", yes_no(pattern, 4));
  out.format("secondaryPattern=\"%s\">\n", left_right(pattern, 5));
}

namespace {

// Writes the runway from its 52-byte fixed part, the material set of the later form when
// `has_material_set`, and the child records from `children_at`.
void write_runway(DecodeContext& ctx, const char* name, const Record& record, bool has_material_set,
                  uint32_t children_at) {
  RunwayStartTag tag;
  if (has_material_set) tag.material_set_at = kMaterialSetAt;
  write_runway_start_tag(ctx, name, record, tag);
  const uint32_t markings = record.u16(48);
  if (markings != 0) {
    write_markings_head(ctx.out, markings);
    write_markings_tail(ctx.out, markings);
  }
  const uint32_t lights = record.u8(50);
  if (lights != 0) write_lights(ctx.out, lights);

  const std::vector<Record> children = collect_children(ctx, record, children_at);
  write_children(ctx, children);
  if (ctx.geometry != nullptr) report_runway(ctx, record, children, kEndZoneLengthAt);
  write_runway_ils_records(ctx, record.u32(12), record.u32(16));
  ctx.out.format("\t\t</%s>\n", name);
}

}  // namespace

void decode_runway(DecodeContext& ctx, const char* name, const Record& record, RecordWalk&) {
  write_runway(ctx, name, record, false, kRunwayFixedSize);
}

void decode_later_runway(DecodeContext& ctx, const char* name, const Record& record, RecordWalk&) {
  write_runway(ctx, name, record, true, kLaterRunwayFixedSize);
}

}  // namespace terrova
