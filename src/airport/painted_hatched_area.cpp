// Painted hatched area sub-record of MSFS airports (0xD8):
//   +0  u16  id
//   +2  u32  size
//   +6  u8   type code, one of the painted line type codes
//   +7       3 bytes, zero
//   +10 u16  vertex count V
//   +12 f32  heading of the hatching, degrees
//   +16 f32  spacing of the hatching, metres
//   +20      V vertices of 8 bytes: u32 longitude, u32 latitude, packed
#include "airport/apron.h"
#include "airport/painted_elements.h"
#include "format/values.h"

namespace terrova {
namespace {

constexpr uint32_t kTypeAt = 6;
constexpr uint32_t kCountAt = 10;
constexpr uint32_t kHeadingAt = 12;
constexpr uint32_t kSpacingAt = 16;
constexpr uint32_t kVerticesAt = 20;

}  // namespace

PaintedHatchedAreaFields read_painted_hatched_area(const Record& record) {
  PaintedHatchedAreaFields f;
  f.type = record.u8(kTypeAt);
  f.heading = record.f32(kHeadingAt);
  f.spacing = record.f32(kSpacingAt);
  f.record = &record;
  f.vertices_at = kVerticesAt;
  f.vertex_count = record.u16(kCountAt);
  return f;
}

void write_painted_hatched_area(DecodeContext& ctx, const PaintedHatchedAreaFields& f) {
  Output& out = ctx.out;
  out.format("\t\t\t<PaintedHatchedArea type=\"%s\" heading=\"%0.2lf\" spacing=%s>\n",
             painted_line_type_name(f.type), static_cast<double>(f.heading),
             format_length(ctx.options, f.spacing));
  write_vertices(ctx, "\t\t\t\t", *f.record, f.vertices_at, f.vertex_count);
  out.write("\t\t\t</PaintedHatchedArea>\n");
}

}  // namespace terrova
