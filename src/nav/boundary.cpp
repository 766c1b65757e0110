// Airspace boundaries of section 32, listed in the section's record index.
//
// Boundary record:
//   0x00 u16  id
//   0x02 u32  size, sub-records included
//   0x06 u8   boundary type
//   0x07 u8   altitude types: bits 4-7 maximum, bits 0-3 minimum
//   0x10 s32  minimum altitude, millimetres
//   0x1C s32  maximum altitude, millimetres
//   0x20      sub-records up to the record's end, each u16 id and u32 size:
//     0x0012 frequency: 0x08 s32 frequency (Hz), 0x0C text of size - 12 bytes (first, optional)
//     0x0019 name: text from 0x06, size - 6 bytes (first or after the frequency, optional)
//     0x0021 geometry: 0x06 u16 entry count, 10-byte entries from 0x08:
//       +0 u8 kind, +1 u8 index, +2 s32 latitude, +6 s32 longitude (a circle's radius, f32 metres)
#include <optional>

#include "bgl/record.h"
#include "format/values.h"
#include "format/xml.h"
#include "nav/nav.h"
#include "nav/record_set.h"

namespace terrova {
namespace {

constexpr uint32_t kBoundaryFixedSize = 0x20;
constexpr uint16_t kFrequencyId = 0x0012;
constexpr uint32_t kFrequencyHeaderSize = 12;
constexpr uint16_t kNameId = 0x0019;
constexpr uint16_t kGeometryId = 0x0021;
constexpr uint32_t kGeometryHeaderSize = 8;
constexpr uint32_t kGeometryEntrySize = 10;

constexpr const char* kBoundaryTypeNames[] = {
    "NONE",      "CENTER",   "CLASS_A",       "CLASS_B",    "CLASS_C",    "CLASS_D",
    "CLASS_E",   "CLASS_F",  "CLASS_G",       "TOWER",      "CLEARANCE",  "GROUND",
    "DEPARTURE", "APPROACH", "MOA",           "RESTRICTED", "PROHIBITED", "WARNING",
    "ALERT",     "DANGER",   "NATIONAL_PARK", "MODEC",      "RADAR",      "TRAINING"};

constexpr const char* kAltitudeTypeNames[] = {"UNKNOWN", "MEAN_SEA_LEVEL", "ABOVE_GROUND_LEVEL",
                                              "UNLIMITED"};

// File text inside a comment, kept from ending the comment early.
struct CommentText {
  std::string_view text;
  void append_to(Output& out) const { write_comment_text(out, text); }
};

// The altitude attributes of a boundary start and a circle, from the record's fixed part.
void write_altitudes(DecodeContext& ctx, const Record& boundary) {
  const uint8_t types = boundary.u8(0x07);
  ctx.out.format("\n\t\t\tmaximumAltitudeType=\"%s\" minimumAltitudeType=\"%s\"\n",
                 EnumText(kAltitudeTypeNames, types >> 4),
                 EnumText(kAltitudeTypeNames, types & 15));
  ctx.out.format("\t\t\taltitudeMinimum=%s altitudeMaximum=%s\n\t\t\t",
                 format_altitude(ctx.options, boundary.i32(0x10)),
                 format_altitude(ctx.options, boundary.i32(0x1C)));
}

void write_geometry_entry(DecodeContext& ctx, const Record& boundary, const Record& geometry,
                          uint64_t entry) {
  const DecodeOptions& o = ctx.options;
  const uint8_t kind = geometry.u8(entry);
  const uint8_t index = geometry.u8(entry + 1);
  switch (kind) {
    case 1:
      ctx.out.write("\t\t<BoundaryStart ");
      write_altitudes(ctx, boundary);
      break;
    case 2:
      ctx.out.write("\t\t<Line ");
      break;
    case 3:
      ctx.out.write("\t\t<Origin ");
      break;
    case 4:
      ctx.out.format("\t\t<Arc type=\"CLOCKWISE\" index=\"%d\" ", index);
      break;
    case 5:
      ctx.out.format("\t\t<Arc type=\"COUNTER_CLOCKWISE\" index=\"%d\" ", index);
      break;
    case 6:
      ctx.out.write("\t\t<Circle");
      write_altitudes(ctx, boundary);
      break;
    default:
      return;  // kinds without an element are passed over
  }
  if (kind == 6) {
    ctx.out.format("index=\"%d\" radius=%s", index, format_range(o, geometry.f32(entry + 6)));
  } else {
    ctx.out.format("lat=\"%s\" lon=\"%s\"",
                   format_coordinate(o, decode_latitude(geometry.i32(entry + 2))),
                   format_coordinate(o, decode_longitude(geometry.i32(entry + 6))));
  }
  ctx.out.write(" />\n");
}

// The entries of one geometry sub-record; a count that reaches past the sub-record is reported
// after the entries that it holds.
void write_geometry(DecodeContext& ctx, const Record& boundary, const Record& geometry) {
  if (!record_holds(ctx, geometry, kGeometryHeaderSize)) return;
  const uint16_t count = geometry.u16(6);
  for (uint32_t i = 0; i < count; ++i) {
    const uint64_t entry = kGeometryHeaderSize + uint64_t{i} * kGeometryEntrySize;
    if (!geometry.holds(entry, kGeometryEntrySize)) {
      ctx.report_malformed(geometry.file_offset(entry));
      return;
    }
    write_geometry_entry(ctx, boundary, geometry, entry);
  }
}

void write_boundary(DecodeContext& ctx, uint32_t at, uint32_t /*index length*/) {
  Record boundary;
  if (!record_at(ctx, ctx.image, at, ctx.image.u32(uint64_t{at} + 2), kBoundaryFixedSize,
                 boundary)) {
    return;
  }

  boundary.name_kind("Boundary");
  // An optional frequency sub-record, then an optional name sub-record; the geometry follows.
  // The frequency comment is written with or without -t. A damaged one of these ends the
  // sub-records: the boundary is written without geometry.
  RecordWalk subs(ctx, boundary, kBoundaryFixedSize);
  uint16_t id = 0;
  Record sub;
  std::optional<std::string_view> name;
  if (subs.peek_id(id) && id == kFrequencyId && subs.next(sub, kFrequencyHeaderSize)) {
    sub.name_kind("BoundaryFrequency");
    ctx.out.write("\t<!--\n");
    ctx.out.format("\t\tCenter %s, Freq: %0.3lf\n\t-->\n",
                   CommentText{sub.text(kFrequencyHeaderSize, sub.size() - kFrequencyHeaderSize)},
                   sub.i32(8) * 1e-06);
  }
  if (subs.peek_id(id) && id == kNameId && subs.next(sub)) {
    sub.name_kind("BoundaryName");
    name = sub.text(6, sub.size() - 6);
  }

  if (!ctx.options.terse) write_record_comment(ctx.out, "Boundary", at);
  ctx.out.format("\t<%s type=\"%s\" ", "Boundary", EnumText(kBoundaryTypeNames, boundary.u8(0x06)));
  if (name) {
    ctx.out.write("name=");
    write_quoted_text(ctx.out, *name);
  }
  ctx.out.write(">\n");
  while (subs.next(sub)) {
    if (sub.id() != kGeometryId) continue;
    sub.name_kind("BoundaryGeometry");
    write_geometry(ctx, boundary, sub);
  }
  ctx.out.format("\t</%s>\n", "Boundary");
}

}  // namespace

void decode_boundaries(DecodeContext& ctx, const SectionEntry& section) {
  walk_record_index(ctx, section, write_boundary);
}

}  // namespace terrova
