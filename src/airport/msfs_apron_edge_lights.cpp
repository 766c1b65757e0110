// Apron edge lights of MSFS (0x31 with +6 = 0, the polyline form):
//   +6  u8   0: this form (1 is the older form with edges, see apron_edge_lights.cpp)
//   +7  u8   not read (1 in the files of one SDK, 9 in another: no source settles it)
//   +8  u16  vertex count V
//   +10 u16  edge count, 0
//   +12      4 bytes, zero
//   +16 f32  heading
//   +20 f32  spacing, metres
//   +24      V vertices of 8 bytes: u32 longitude, u32 latitude, packed
// Each record is one `EdgeLights` holding its vertices; consecutive records of this form are
// written in one `ApronEdgeLights` element. No byte names a light preset (no source of these
// files sets one), so `preset` is not written: an empty name would be one the author never gave. A
// record of the older form is written as that form.
#include "airport/apron.h"
#include "airport/msfs_airport.h"
#include "format/values.h"
#include "format/xml.h"

namespace terrova {
namespace {

constexpr uint16_t kEdgeLightsId = 0x31;
constexpr uint32_t kFormAt = 6;
constexpr uint32_t kCountAt = 8;
constexpr uint32_t kHeadingAt = 16;
constexpr uint32_t kSpacingAt = 20;
constexpr uint32_t kVerticesAt = 24;

bool is_polyline_form(const Record& record) { return record.u8(kFormAt) == 0; }

void write_edge_lights(DecodeContext& ctx, const Record& record) {
  if (!ctx.options.terse) write_record_comment(ctx.out, "EdgeLights", record.offset());
  ctx.out.format("\t\t\t<EdgeLights snapToVertices=\"FALSE\" heading=\"%0.2lf\" spacing=%s>\n",
                 static_cast<double>(record.f32(kHeadingAt)),
                 format_length(ctx.options, record.f32(kSpacingAt)));
  ctx.outline.clear();
  write_vertices(ctx, "\t\t\t\t", record, kVerticesAt, record.u16(kCountAt),
                 ctx.geometry != nullptr ? &ctx.outline : nullptr);
  ctx.out.write("\t\t\t</EdgeLights>\n");
  if (ctx.geometry != nullptr) ctx.geometry->edge_lights(ctx.outline);
}

}  // namespace

void decode_msfs_apron_edge_lights(DecodeContext& ctx, const char* name, const Record& record,
                                   RecordWalk& siblings) {
  if (!is_polyline_form(record)) {
    decode_apron_edge_lights(ctx, name, record, siblings);
    return;
  }
  ctx.out.format("\t\t<%s>\n", name);
  write_edge_lights(ctx, record);
  uint16_t id = 0;
  Record next;
  // The records of this form that follow join the container; one of the older form closes it and
  // is written after it.
  while (siblings.peek_id(id) && id == kEdgeLightsId && siblings.next(next)) {
    next.name_kind(name);
    if (!record_holds(ctx, next, kVerticesAt)) continue;
    if (!is_polyline_form(next)) {
      ctx.out.format("\t\t</%s>\n", name);
      decode_apron_edge_lights(ctx, name, next, siblings);
      return;
    }
    write_edge_lights(ctx, next);
  }
  ctx.out.format("\t\t</%s>\n", name);
}

}  // namespace terrova
