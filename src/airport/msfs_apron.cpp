// Apron sub-records of MSFS, two forms (0xD3, and 0xD0 of the later SDKs):
//   +6  u8   bit 0 drawSurface, bit 1 drawDetail, bit 2 localUV, bit 3 stretchUV, bit 4
//            groundMerging, bit 5 excludeVegetationAround, bit 6 excludeVegetationInside (bits
//            4-6 set = FALSE); 0xD0: bit 7 flipUV (checked on 32 aprons; 0 in every 0xD3)
//   +7  u8   opacity
//   +8       4 bytes, colour (see msfs_coloration.cpp): `Coloration`
//   +12      16 bytes, surface material GUID
//   +28 f32  tiling
//   +32 f32  heading (radians, as the sources write it)
//   +36 f32  falloff
//   +40 s32  priority
//   0xD0 only, then the counts follow 4 bytes later:
//   +44 u8   offsetU, +45 u8 offsetV (checked: 0 where the source leaves them out), +46 u16 0
//   +44 u16  vertex count V (0xD0: +48)
//   +46 u16  triangle count T (0xD0: +50)
//   +48      V vertices of 8 bytes (packed longitude, latitude), then T triangles of three u16
//            vertex indices (not written), then padding to a multiple of 4; counts that do not fit
//            the record are reported (0xD0: from +52)
// Checked against the sources of 15 airports (865 aprons of the 0xD0 form, 136 of the 0xD3 form):
// every flag, opacity, colour, surface, tiling, heading, falloff, priority, offset and vertex.
// The sources' `isRectangle` has no bytes: aprons with TRUE and FALSE are stored alike.
// Consecutive aprons of either form are written in one `Aprons` element.
#include "airport/apron.h"
#include "airport/msfs_airport.h"
#include "format/xml.h"

namespace terrova {
namespace {

constexpr uint16_t kApronId = 0xD3;
constexpr uint16_t kLaterApronId = 0xD0;
constexpr uint32_t kFlagsAt = 6;
constexpr uint32_t kOpacityAt = 7;
constexpr uint32_t kColorationAt = 8;
constexpr uint32_t kSurfaceAt = 12;
constexpr uint32_t kTilingAt = 28;
constexpr uint32_t kHeadingAt = 32;
constexpr uint32_t kFalloffAt = 36;
constexpr uint32_t kPriorityAt = 40;
constexpr uint32_t kOffsetUAt = 44;  // 0xD0
constexpr uint32_t kOffsetVAt = 45;  // 0xD0
constexpr uint32_t kCountAt = 44;
constexpr uint32_t kLaterCountAt = 48;
constexpr uint32_t kVertexSize = 8;
constexpr uint32_t kTriangleSize = 6;
constexpr unsigned kFlipUVBit = 7;
constexpr int kHeadingDecimals = 6;

bool is_apron(uint16_t id) { return id == kApronId || id == kLaterApronId; }

// Where the form keeps its vertex and triangle counts; the vertices follow them.
uint32_t count_at(const Record& record) {
  return record.id() == kLaterApronId ? kLaterCountAt : kCountAt;
}

// The vertex count, when the vertices and triangles fit the record; otherwise the damage is
// reported and the vertices that fit before the triangles are written (or before the record's
// end, when the triangles alone do not fit).
uint32_t vertex_count(DecodeContext& ctx, const Record& record) {
  const uint32_t at = count_at(record);
  const uint64_t vertices = uint64_t{record.u16(at)} * kVertexSize;
  const uint64_t triangles = uint64_t{record.u16(at + 2)} * kTriangleSize;
  const uint64_t room = record.size() - (at + 4);
  if (vertices + triangles <= room) return record.u16(at);
  ctx.report_malformed(record.offset());
  return static_cast<uint32_t>((triangles < room ? room - triangles : room) / kVertexSize);
}

void write_one_apron(DecodeContext& ctx, const char* name, const Record& record) {
  if (!ctx.options.terse) write_record_comment(ctx.out, name, record.offset());
  const bool later = record.id() == kLaterApronId;
  ApronFields f;
  const uint32_t flags = record.u8(kFlagsAt);
  f.flags = flags;
  f.surface_guid = &record;
  f.surface_guid_at = kSurfaceAt;
  f.coloration = &record;
  f.coloration_at = kColorationAt;
  f.in_container = true;
  f.record = &record;
  f.vertices_at = count_at(record) + 4;
  f.vertex_count = vertex_count(ctx, record);
  MsfsAttributes& m = f.later.msfs;
  m.flag("localUV", (flags >> 2) & 1);
  m.flag("stretchUV", (flags >> 3) & 1);
  if (later) m.flag("flipUV", (flags >> kFlipUVBit) & 1);
  m.integer("priority", record.i32(kPriorityAt));
  m.number("tiling", record.f32(kTilingAt));
  // The sources leave the texture offsets out where they are 0.
  if (later && record.u8(kOffsetUAt) != 0) m.integer("offsetU", record.u8(kOffsetUAt));
  if (later && record.u8(kOffsetVAt) != 0) m.integer("offsetV", record.u8(kOffsetVAt));
  // Radians: six decimals, as the sources write them (two would turn the texture by up to 0.3°).
  m.number("heading", record.f32(kHeadingAt), kHeadingDecimals);
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
  while (siblings.peek_id(id) && is_apron(id) && siblings.next(next)) {
    next.name_kind(name);
    if (record_holds(ctx, next, count_at(next) + 4)) write_one_apron(ctx, name, next);
  }
  ctx.out.format("\t\t</%ss>\n", name);
}

}  // namespace terrova
