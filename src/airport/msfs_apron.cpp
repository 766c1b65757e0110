// Apron sub-record of MSFS (0xD3):
//   +6  u8   bit 0 drawSurface, bit 1 drawDetail, bit 2 localUV, bit 3 stretchUV, bit 4
//            groundMerging, bit 5 excludeVegetationAround, bit 6 excludeVegetationInside (bits
//            4-6 set = FALSE)
//   +7  u8   opacity
//   +8       4 bytes, RGBA colour (its XML form is not known; not written)
//   +12      16 bytes, surface material GUID
//   +28 f32  tiling
//   +32 f32  heading
//   +36 f32  falloff
//   +40 s32  priority
//   +44 u16  vertex count V
//   +46 u16  triangle count T
//   +48      V vertices of 8 bytes (packed longitude, latitude), then T triangles of three u16
//            vertex indices (not written), then padding to a multiple of 4; counts that do not fit
//            the record are reported
// Consecutive aprons are written in one `Aprons` element.
#include "airport/apron.h"
#include "airport/msfs_airport.h"
#include "format/xml.h"

namespace terrova {
namespace {

constexpr uint16_t kApronId = 0xD3;
constexpr uint32_t kFlagsAt = 6;
constexpr uint32_t kOpacityAt = 7;
constexpr uint32_t kSurfaceAt = 12;
constexpr uint32_t kTilingAt = 28;
constexpr uint32_t kHeadingAt = 32;
constexpr uint32_t kFalloffAt = 36;
constexpr uint32_t kPriorityAt = 40;
constexpr uint32_t kCountAt = 44;
constexpr uint32_t kVerticesAt = 48;
constexpr uint32_t kVertexSize = 8;
constexpr uint32_t kTriangleSize = 6;

// The vertex count, when the vertices and triangles fit the record; otherwise the damage is
// reported and the vertices that fit before the triangles are written (or before the record's
// end, when the triangles alone do not fit).
uint32_t vertex_count(DecodeContext& ctx, const Record& record) {
  const uint64_t vertices = uint64_t{record.u16(kCountAt)} * kVertexSize;
  const uint64_t triangles = uint64_t{record.u16(kCountAt + 2)} * kTriangleSize;
  const uint64_t room = record.size() - kVerticesAt;
  if (vertices + triangles <= room) return record.u16(kCountAt);
  ctx.report_malformed(record.offset());
  return static_cast<uint32_t>((triangles < room ? room - triangles : room) / kVertexSize);
}

void write_one_apron(DecodeContext& ctx, const char* name, const Record& record) {
  if (!ctx.options.terse) write_record_comment(ctx.out, name, record.offset());
  ApronFields f;
  const uint32_t flags = record.u8(kFlagsAt);
  f.flags = flags;
  f.surface_guid = &record;
  f.surface_guid_at = kSurfaceAt;
  f.in_container = true;
  f.record = &record;
  f.vertices_at = kVerticesAt;
  f.vertex_count = vertex_count(ctx, record);
  MsfsAttributes& m = f.later.msfs;
  m.flag("localUV", (flags >> 2) & 1);
  m.flag("stretchUV", (flags >> 3) & 1);
  m.integer("priority", record.i32(kPriorityAt));
  m.number("tiling", record.f32(kTilingAt));
  m.number("heading", record.f32(kHeadingAt));
  m.number("falloff", record.f32(kFalloffAt));
  m.integer("opacity", record.u8(kOpacityAt));
  m.flag("groundMerging", ((flags >> 4) & 1) == 0);
  m.flag("excludeVegetationAround", ((flags >> 5) & 1) == 0);
  m.flag("excludeVegetationInside", ((flags >> 6) & 1) == 0);
  write_apron(ctx, name, f);
}

}  // namespace

void decode_msfs_apron(DecodeContext& ctx, const char* name, const Record& record,
                       RecordWalk& siblings) {
  ctx.out.format("\t\t<%ss>\n", name);
  write_one_apron(ctx, name, record);
  uint16_t id = 0;
  Record next;
  while (siblings.peek_id(id) && id == kApronId && siblings.next(next)) {
    next.name_kind(name);
    if (record_holds(ctx, next, kVerticesAt)) write_one_apron(ctx, name, next);
  }
  ctx.out.format("\t\t</%ss>\n", name);
}

}  // namespace terrova
