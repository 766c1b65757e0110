// Coastlines and political boundaries of section 35, listed in the section's record index.
//
// Geopol record (its length comes from the index entry):
//   0x00 u16  id
//   0x02 u32  size (not read)
//   0x06 u16  flags: 0x4000 boundary, 0x8000 coastline
//   0x08 s32  minimum longitude, packed
//   0x0C s32  minimum latitude, packed
//   0x10 s32  maximum longitude, packed
//   0x14 s32  maximum latitude, packed
//   0x18      vertices up to the record's length, 8 bytes each: s32 longitude, s32 latitude
#include "bgl/record.h"
#include "format/values.h"
#include "format/xml.h"
#include "nav/nav.h"
#include "nav/record_set.h"

namespace terrova {
namespace {

constexpr uint32_t kGeopolFixedSize = 0x18;
constexpr uint32_t kVertexSize = 8;

void write_geopol(DecodeContext& ctx, uint32_t at, uint32_t length) {
  const DecodeOptions& o = ctx.options;
  Record geopol;
  if (!record_at(ctx, ctx.image, at, length, kGeopolFixedSize, geopol)) return;
  geopol.name_kind("Geopol");
  if (!o.terse) {
    // The bounding box in plain degrees.
    write_record_comment(ctx.out, "Geopol", at);
    ctx.out.write("\t<!--\n");
    ctx.out.format("\t\tMin East  = %.04lf\n", decode_longitude(geopol.i32(0x08)));
    ctx.out.format("\t\tMin North = %.04lf\n", decode_latitude(geopol.i32(0x0C)));
    ctx.out.format("\t\tMax East  = %.04lf\n", decode_longitude(geopol.i32(0x10)));
    ctx.out.format("\t\tMax North = %.04lf\n", decode_latitude(geopol.i32(0x14)));
    ctx.out.write("\t-->\n");
  }
  // The boundary flag wins over the coastline flag; with neither the type stays empty.
  const uint16_t flags = geopol.u16(0x06);
  ctx.out.format("\t<%s type=\"", "Geopol");
  if ((flags & 0x4000) != 0) {
    ctx.out.write("BOUNDARY");
  } else if ((flags & 0x8000) != 0) {
    ctx.out.write("COASTLINE");
  }
  ctx.out.write("\">\n");
  for (uint64_t vertex = kGeopolFixedSize; vertex < length; vertex += kVertexSize) {
    if (!geopol.holds(vertex, kVertexSize)) {
      ctx.report_malformed(geopol.file_offset(vertex));
      break;
    }
    ctx.out.format("\t\t<Vertex lat=\"%s\" lon=\"%s\" />\n",
                   format_coordinate(o, decode_latitude(geopol.i32(vertex + 4))),
                   format_coordinate(o, decode_longitude(geopol.i32(vertex))));
  }
  ctx.out.format("\t</%s>\n", "Geopol");
}

}  // namespace

void decode_geopols(DecodeContext& ctx, const SectionEntry& section) {
  walk_record_index(ctx, section, write_geopol);
}

}  // namespace terrova
