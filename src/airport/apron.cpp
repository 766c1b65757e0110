// Apron sub-record (0x37):
//   +0  u16  id
//   +2  u32  size
//   +6  u8   surface code
//   +7  u16  vertex count V
//   +9       V vertices of 8 bytes: u32 longitude, u32 latitude, packed
// Apron sub-record of the later form (0xAF):
//   +6  u8   surface code
//   +7  u8   terrain flags: bits 0-1 flatten, bits 3-4 surface query
//   +8       16 bytes, material set GUID (all zero: none)
//   +24 s32  altitude, millimetres
//   +28 u16  vertex count V
//   +30      V vertices of 8 bytes, then padding to a multiple of 4
// The record right after an apron belongs to it when its id is the companion id of the apron's
// form: 0x30 or 0x41 after 0x37, 0xB0 after 0xAF. In all three:
//   +2  u32  size
//   +7  u8   bit 0 draw surface, bit 1 draw detail
// The rest of a companion (its triangulation) is not decoded; it is consumed with the apron.
#include "airport/apron.h"

#include "airport/msfs_coloration.h"
#include "format/ident.h"
#include "format/values.h"
#include "format/xml.h"

namespace terrova {
namespace {

constexpr uint16_t kCompanionId = 0x30;
constexpr uint16_t kTriangleCompanionId = 0x41;
constexpr uint16_t kLaterApronId = 0xAF;
constexpr uint16_t kLaterCompanionId = 0xB0;
constexpr uint32_t kCompanionFlagsAt = 7;
constexpr uint32_t kVerticesAt = 9;
constexpr uint32_t kVertexSize = 8;
constexpr uint32_t kLaterTerrainAt = 7;
constexpr uint32_t kLaterMaterialSetAt = 8;
constexpr uint32_t kLaterAltitudeAt = 24;
constexpr uint32_t kLaterCountAt = 28;
constexpr uint32_t kLaterVerticesAt = 30;

bool is_companion_of(uint16_t apron_id, uint16_t id) {
  if (apron_id == kLaterApronId) return id == kLaterCompanionId;
  return id == kCompanionId || id == kTriangleCompanionId;
}

}  // namespace

bool write_vertices(DecodeContext& ctx, const char* indent, const Record& record, uint64_t at,
                    uint32_t count, std::vector<GeoPoint>* positions) {
  const DecodeOptions& o = ctx.options;
  if (positions != nullptr && record.holds(at, 0)) {
    const uint64_t held = (record.view().end() - record.file_offset(at)) / kVertexSize;
    positions->reserve(positions->size() + (held < count ? held : count));
  }
  for (uint32_t i = 0; i < count; ++i, at += kVertexSize) {
    if (!record.holds(at, kVertexSize)) {
      ctx.report_malformed(record.offset());
      return false;
    }
    const GeoPoint p{decode_latitude(record.i32(at + 4)), decode_longitude(record.i32(at))};
    ctx.out.write(indent);
    ctx.out.format("<Vertex lat=\"%s\" lon=\"%s\" />\n", format_coordinate(o, p.lat),
                   format_coordinate(o, p.lon));
    if (positions != nullptr) positions->push_back(p);
  }
  return true;
}

std::vector<GeoPoint> read_vertices(const Record& record, uint64_t at, uint32_t count) {
  // As many as the record holds, at most `count`.
  const uint64_t held =
      record.holds(at, 0) ? (record.view().end() - record.file_offset(at)) / kVertexSize : 0;
  std::vector<GeoPoint> vertices(held < count ? held : count);
  for (GeoPoint& vertex : vertices) {
    vertex = {decode_latitude(record.i32(at + 4)), decode_longitude(record.i32(at))};
    at += kVertexSize;
  }
  return vertices;
}

bool write_apron(DecodeContext& ctx, const char* name, const ApronFields& f) {
  Output& out = ctx.out;
  if (!f.in_container) out.format("\t\t<%ss>\n", name);
  out.format("\t\t\t<%s surface=\"", name);
  if (f.surface_guid != nullptr) {
    write_registry_guid(out, *f.surface_guid, f.surface_guid_at);
  } else {
    out.write(surface_name(f.surface));
  }
  out.format("\" drawSurface=\"%s\" drawDetail=\"%s\"", true_false(f.flags & 1),
             true_false((f.flags >> 1) & 1));
  write_later_attributes(ctx, "\t\t\t\t", f.later, true);
  out.write(">\n");
  if (f.coloration != nullptr)
    write_msfs_coloration(ctx, "\t\t\t\t", *f.coloration, f.coloration_at);
  ctx.outline.clear();
  const bool whole = f.record == nullptr ||
                     write_vertices(ctx, "\t\t\t\t", *f.record, f.vertices_at, f.vertex_count,
                                    ctx.geometry != nullptr ? &ctx.outline : nullptr);
  out.format("\t\t\t</%s>\n", name);
  if (!f.in_container) out.format("\t\t</%ss>\n", name);
  if (ctx.geometry != nullptr && f.record != nullptr) ctx.geometry->apron(ctx.outline);
  return whole;
}

void decode_apron(DecodeContext& ctx, const char* name, const Record& record,
                  RecordWalk& siblings) {
  if (!ctx.options.terse) write_record_comment(ctx.out, name, record.offset());
  ApronFields f;
  // The companion is taken only when it is a whole record inside the airport (a damaged one ends
  // the airport's walk like any other damaged sub-record); one too short for its flags is
  // reported and gives clear flags.
  uint16_t next_id = 0;
  Record companion;
  if (siblings.peek_id(next_id) && is_companion_of(record.id(), next_id) &&
      siblings.next(companion)) {
    companion.name_kind("ApronCompanion");
    if (record_holds(ctx, companion, kCompanionFlagsAt + 1)) {
      f.flags = companion.u8(kCompanionFlagsAt);
    }
  }
  f.surface = record.u8(6);
  f.record = &record;
  if (record.id() == kLaterApronId) {
    f.later.terrain = record.u8(kLaterTerrainAt);
    f.later.material_set = &record;
    f.later.material_set_at = kLaterMaterialSetAt;
    f.later.has_alt = true;
    f.later.alt_mm = record.i32(kLaterAltitudeAt);
    f.vertices_at = kLaterVerticesAt;
    f.vertex_count = record.u16(kLaterCountAt);
  } else {
    f.vertices_at = kVerticesAt;
    f.vertex_count = record.u16(7);
  }
  write_apron(ctx, name, f);
}

}  // namespace terrova
