// Runway sub-record of MSFS (0xCE), fixed part of 96 bytes:
//   +6  u8   0; +7 u8 not read
//   +8  u8   primary number        +9  u8 primary designator code
//   +10 u8   secondary number      +11 u8 secondary designator code
//   +12 u32  primary ILS identifier, plain base 38; +16 the secondary one
//   +20..+47 position, altitude, length, width, heading, pattern altitude as the 0x04 form
//   +48 u16  markings: bits 0-12 as the 0x04 form, 13 alternateThreshold, 14
//            alternateFixedDistance, 15 alternateTouchdown
//   +50 u8   lights: bits 0-4 as the 0x04 form; 5 alternatePrecision, 6 leadingZeroIdent, 7
//            noThresholdEndArrows (marking attributes)
//   +51 u8   pattern bits 0-5 as the 0x04 form; bit 6 groundMerging, bit 7
//            excludeVegetationAround, each set = FALSE
//   +52      20 bytes, zero in every file seen (marking biases)
//   +72 f32  falloff
//   +76      16 bytes, surface material GUID
//   +92      4 bytes, not read
//   +96      child records, each with u16 id and u32 size:
//            5-10 end zones (32 bytes): +6 u16 legacy surface (0), +8 GUID surface, +24 f32
//                 length, +28 f32 width
//            11-14 VASIs as the 0x04 form
//            0xDF, 0xE0 approach lights, primary and secondary end (24 bytes): +6 flags and +7
//                 strobes as the 0x04 form, +8 f32 spacing, +12 f32 offset, +16 f32 slope, +20
//                 4 bytes not read
//            0x3E deformation point (24 bytes): +8 f32 ratio along the runway from the primary
//                 end, +12 f32 elevation, metres, +16 8 bytes not read
// Inside an MSFS 2024 airport (0x113), checked on KISM's runway against its source:
//   +6  u8   bit 7 transparent (0x80 there, transparent="TRUE"; 0 in every 2020 runway)
//   0x65 child, marking biases (16 bytes): +6 u16 0, +8 f32 primaryMarkingBias, +12 f32
//        secondaryMarkingBias, metres (80.0 and 80.0, so the order is not settled by the bytes)
// The runway's starts are the 0x11 sub-records of the airport whose runway number and designator
// match one end (+8/+9 primary, +10/+11 secondary); they are written inside it as `RunwayStart`.
#include <algorithm>
#include <iterator>
#include <span>
#include <vector>

#include "airport/apron.h"
#include "airport/msfs_airport.h"
#include "airport/runway.h"
#include "airport/subrecords.h"
#include "format/ident.h"
#include "format/values.h"
#include "format/xml.h"

namespace terrova {
namespace {

constexpr uint32_t kChildrenAt = 96;
constexpr uint32_t kMarkingsAt = 48;
constexpr uint32_t kLightsAt = 50;
constexpr uint32_t kPatternAt = 51;
constexpr uint32_t kFalloffAt = 72;
constexpr uint32_t kSurfaceAt = 76;
constexpr uint16_t kDeformationId = 0x3E;
constexpr uint16_t kPrimaryLightsId = 0xDF;
constexpr uint16_t kSecondaryLightsId = 0xE0;
constexpr uint32_t kEndZoneSize = 32;
constexpr uint32_t kEndZoneLengthAt = 24;  // the width follows
constexpr uint32_t kVasiSize = 24;
constexpr uint32_t kLightsSize = 24;
constexpr uint32_t kDeformationSize = 24;
constexpr uint32_t kFlagsAt = 6;
constexpr unsigned kTransparentBit = 7;
constexpr uint16_t kMarkingBiasId = 0x65;
constexpr uint32_t kMarkingBiasSize = 16;
constexpr uint32_t kPrimaryBiasAt = 8;
constexpr uint32_t kSecondaryBiasAt = 12;
constexpr const char* kEnds[] = {"PRIMARY", "SECONDARY"};
constexpr const char* kEndZones[] = {"OffsetThreshold", "BlastPad", "Overrun"};

struct MarkingBit {
  const char* name;
  uint32_t at;
  unsigned bit;
};
constexpr MarkingBit kMsfsMarkings[] = {
    {"alternateThreshold",     kMarkingsAt, 13},
    {"alternateFixedDistance", kMarkingsAt, 14},
    {"alternateTouchdown",     kMarkingsAt, 15},
    {"alternatePrecision",     kLightsAt,   5 },
    {"leadingZeroIdent",       kLightsAt,   6 },
    {"noThresholdEndArrows",   kLightsAt,   7 },
};

std::string_view flag(uint32_t value, unsigned bit) { return true_false((value >> bit) & 1); }

// The first child of `id`, found by a quiet walk (the children's own walk reports damaged sizes).
bool find_child(const Record& runway, uint16_t id, Record& found) {
  uint64_t at = kChildrenAt;
  while (runway.holds(at, 6)) {
    const uint32_t size = runway.u32(at + 2);
    if (size < 6 || !runway.holds(at, size)) return false;
    if (runway.u16(at) == id) {
      found = Record(runway.view(), runway.file_offset(at), size);
      return true;
    }
    at += size;
  }
  return false;
}

// The attributes that the 2024 form adds.
void write_2024_runway_attributes(DecodeContext& ctx, const Record& runway) {
  ctx.out.format("\t\t\ttransparent=\"%s\"\n", flag(runway.u8(kFlagsAt), kTransparentBit));
  // A bias child too short for its values is reported by the walk of the children, after the
  // start tag.
  Record bias;
  if (!find_child(runway, kMarkingBiasId, bias) || bias.size() < kMarkingBiasSize) return;
  ctx.out.format("\t\t\tprimaryMarkingBias=%s secondaryMarkingBias=%s\n",
                 format_length(ctx.options, bias.f32(kPrimaryBiasAt)),
                 format_length(ctx.options, bias.f32(kSecondaryBiasAt)));
}

// The runway attributes of this form, before the line of the secondary end.
void write_runway_attributes(DecodeContext& ctx, const Record& runway) {
  if (ctx.airport_id == kMsfs2024AirportId) write_2024_runway_attributes(ctx, runway);
  const uint32_t pattern = runway.u8(kPatternAt);
  ctx.out.format("\t\t\tfalloff=\"%0.2lf\"\n", static_cast<double>(runway.f32(kFalloffAt)));
  ctx.out.format("\t\t\tgroundMerging=\"%s\"\n", true_false(((pattern >> 6) & 1) == 0));
  ctx.out.format("\t\t\texcludeVegetationAround=\"%s\"\n", true_false(((pattern >> 7) & 1) == 0));
}

using StartEntry = std::pair<uint16_t, Record>;

// The starts of one runway end, in file order.
std::span<const StartEntry> starts_of(const MsfsRunwayStarts& index, uint32_t key) {
  const auto less = [](const StartEntry& a, const StartEntry& b) { return a.first < b.first; };
  const auto range = std::equal_range(index.starts.begin(), index.starts.end(),
                                      StartEntry(static_cast<uint16_t>(key), Record()), less);
  return {range.first, range.second};
}

// The starts of both ends, in file order.
void write_runway_starts(DecodeContext& ctx, const Record& runway) {
  if (ctx.runway_starts == nullptr) return;
  const DecodeOptions& o = ctx.options;
  std::span<const StartEntry> ends[2] = {
      starts_of(*ctx.runway_starts, uint32_t{runway.u8(8)} << 8 | runway.u8(9)),
      starts_of(*ctx.runway_starts, uint32_t{runway.u8(10)} << 8 | runway.u8(11))};
  // Both ends of a runway may carry the same key (a damaged record): each start is written once.
  if (ends[0].data() == ends[1].data()) ends[1] = {};
  while (!ends[0].empty() || !ends[1].empty()) {
    const bool first = ends[1].empty() || (!ends[0].empty() && ends[0].front().second.offset() <
                                                                   ends[1].front().second.offset());
    const Record& start = (first ? ends[0] : ends[1]).front().second;
    ctx.out.format("\t\t\t<RunwayStart end=\"%s\" lat=\"%s\" lon=\"%s\"\n", kEnds[first ? 0 : 1],
                   format_coordinate(o, decode_latitude(start.i32(12))),
                   format_coordinate(o, decode_longitude(start.i32(8))));
    ctx.out.format("\t\t\t\talt=%s heading=\"%0.2lf\" />\n", format_altitude(o, start.i32(16)),
                   static_cast<double>(start.f32(20)));
    if (ctx.geometry != nullptr) {
      StartShape shape;
      shape.position = {decode_latitude(start.i32(12)), decode_longitude(start.i32(8))};
      shape.heading = start.f32(20);
      shape.number = start.u8(6);
      shape.designator = start.u8(7) & 15u;
      ctx.geometry->start(shape);
    }
    (first ? ends[0] : ends[1]) = (first ? ends[0] : ends[1]).subspan(1);
  }
}

void write_deformation(DecodeContext& ctx, const Record& point) {
  ctx.out.format("\t\t\t<RunwayDeformation ratio=\"%0.6lf\" alt=%s />\n",
                 static_cast<double>(point.f32(8)), format_length(ctx.options, point.f32(12)));
}

void write_markings(DecodeContext& ctx, const Record& runway) {
  const uint32_t markings = runway.u16(kMarkingsAt);
  bool any = (markings & 0x1FFF) != 0;
  for (const MarkingBit& m : kMsfsMarkings) any = any || ((runway.u8(m.at) >> m.bit) & 1) != 0;
  if (!any) return;
  write_markings_head(ctx.out, markings);
  for (const MarkingBit& m : kMsfsMarkings) {
    const uint32_t value = m.at == kMarkingsAt ? markings : runway.u8(m.at);
    ctx.out.format("\t\t\t\t%s=\"%s\"\n", m.name, flag(value, m.bit));
  }
  write_markings_tail(ctx.out, markings);
}

void write_end_zone(DecodeContext& ctx, const Record& zone) {
  const uint32_t kind = zone.id() - 5u;
  ctx.out.format("\t\t\t<%s end=\"%s\" length=%s width=%s\n\t\t\t\tsurface=\"", kEndZones[kind / 2],
                 kEnds[kind % 2], format_length(ctx.options, zone.f32(24)),
                 format_length(ctx.options, zone.f32(28)));
  write_registry_guid(ctx.out, zone, 8);
  ctx.out.write("\" />\n");
}

void write_approach_lights(DecodeContext& ctx, const Record& lights) {
  write_approach_lights_head(ctx.out, lights.id() == kSecondaryLightsId ? 1 : 0, lights);
  ctx.out.format("\t\t\t\tspacing=%s offset=%s slope=\"%0.2lf\"\n",
                 format_length(ctx.options, lights.f32(8)),
                 format_length(ctx.options, lights.f32(12)), static_cast<double>(lights.f32(16)));
  write_approach_lights_tail(ctx.out, lights);
}

// A child group: its ids, the bytes its writer reads, and the writer, in the order the elements
// stand inside the runway.
struct ChildKind {
  uint16_t first_id;
  uint16_t last_id;
  uint32_t size;
  void (*write)(DecodeContext& ctx, const Record& child);
  const char* name;
};
constexpr ChildKind kChildKinds[] = {
    {kDeformationId,   kDeformationId,     kDeformationSize, write_deformation,     "RunwayDeformation"},
    {5,                6,                  kEndZoneSize,     write_end_zone,        "OffsetThreshold"  },
    {7,                8,                  kEndZoneSize,     write_end_zone,        "BlastPad"         },
    {9,                10,                 kEndZoneSize,     write_end_zone,        "Overrun"          },
    {kPrimaryLightsId, kSecondaryLightsId, kLightsSize,      write_approach_lights, "ApproachLights"   },
    {11,               14,                 kVasiSize,        write_vasi,            "Vasi"             },
};
constexpr size_t kMarkingsPlace = 1;  // markings and lights stand after the deformation points

const ChildKind* child_kind_of(uint32_t id) {
  for (const ChildKind& kind : kChildKinds) {
    if (id >= kind.first_id && id <= kind.last_id) return &kind;
  }
  return nullptr;
}

// Writes the children of one kind in file order (all kinds when `kind` is nullptr: nothing is
// written, the damage is reported). The walk is repeated for each kind, so that the elements
// stand in the schema's order; a damaged child is reported once, by the reporting walk.
// Walks the children and writes those of `kind`; with no kind, reports the damaged ones and keeps
// the end zones in `zones` when it is given.
void walk_children(DecodeContext& ctx, const Record& runway, const ChildKind* kind,
                   std::vector<Record>* zones = nullptr) {
  uint64_t at = kChildrenAt;
  while (runway.holds(at, 6)) {
    const uint32_t size = runway.u32(at + 2);
    if (size < 6 || !runway.holds(at, size)) {
      if (kind == nullptr) ctx.report_malformed(runway.file_offset(at));
      return;
    }
    Record child(runway.view(), runway.file_offset(at), size);
    const ChildKind* of = child_kind_of(child.id());
    if (kind == nullptr) {
      // The first pass enters the children in the unread-bytes report as kinds of their own.
      child.register_coverage();
      if (of != nullptr) child.name_kind(of->name);
      if (child.id() == kMarkingBiasId && ctx.airport_id == kMsfs2024AirportId) {
        child.name_kind("RunwayMarkingBias");
        if (child.size() < kMarkingBiasSize) ctx.report_malformed(child.offset());
      }
    }
    if (of != nullptr && child.size() < of->size) {
      if (kind == nullptr) ctx.report_malformed(child.offset());
    } else if (of != nullptr && of == kind) {
      kind->write(ctx, child);
    } else if (zones != nullptr && of != nullptr && of->write == write_end_zone) {
      zones->push_back(child);
    }
    at += size;
  }
}

}  // namespace

void decode_msfs_runway(DecodeContext& ctx, const char* name, const Record& record, RecordWalk&) {
  RunwayStartTag tag;
  tag.surface_guid_at = kSurfaceAt;
  tag.extra_lines = write_runway_attributes;
  write_runway_start_tag(ctx, name, record, tag);
  std::vector<Record> zones;
  walk_children(ctx, record, nullptr, ctx.geometry != nullptr ? &zones : nullptr);
  for (size_t i = 0; i < std::size(kChildKinds); ++i) {
    if (i == kMarkingsPlace) {
      write_markings(ctx, record);
      if ((record.u8(kLightsAt) & 0x1F) != 0) write_lights(ctx.out, record.u8(kLightsAt) & 0x1F);
    }
    walk_children(ctx, record, &kChildKinds[i]);
  }
  write_runway_ils_records(ctx, record.u32(12), record.u32(16));
  write_runway_starts(ctx, record);
  if (ctx.geometry != nullptr) report_runway(ctx, record, zones, kEndZoneLengthAt);
  ctx.out.format("\t\t</%s>\n", name);
}

void decode_msfs_start(DecodeContext& ctx, const char* name, const Record& record,
                       RecordWalk& siblings) {
  const int key = runway_start_key(record);
  const MsfsRunwayStarts* index = ctx.runway_starts;
  if (key >= 0 && index != nullptr &&
      std::binary_search(index->runway_ends.begin(), index->runway_ends.end(), key)) {
    return;  // written inside its runway
  }
  decode_start(ctx, name, record, siblings);
}

}  // namespace terrova
