// Painted line sub-record of MSFS airports (0xCF):
//   +0  u16  id
//   +2  u32  size
//   +6  u8   line type code (names unknown: written as numbers)
//   +7  u8   true-angle code: 0 NONE, 1 BEGIN, 2 END, 3 BOTH_ENDS, 4 ALL_POINTS
//   +8  u32  vertex count V
//   +12      16 bytes, surface material GUID (all zero: none)
//   +28      V vertices of 8 bytes: u32 longitude, u32 latitude, packed
#include "airport/apron.h"
#include "airport/painted_elements.h"
#include "format/ident.h"
#include "format/values.h"

namespace terrova {
namespace {

constexpr uint32_t kTypeAt = 6;
constexpr uint32_t kTrueAngleAt = 7;
constexpr uint32_t kCountAt = 8;
constexpr uint32_t kSurfaceAt = 12;
constexpr uint32_t kVerticesAt = 28;

constexpr const char* kTrueAngles[] = {"NONE", "BEGIN", "END", "BOTH_ENDS", "ALL_POINTS"};

}  // namespace

PaintedLineFields read_painted_line(const Record& record) {
  PaintedLineFields f;
  f.type = record.u8(kTypeAt);
  f.true_angle = record.u8(kTrueAngleAt);
  f.record = &record;
  f.surface_at = kSurfaceAt;
  f.vertices_at = kVerticesAt;
  f.vertex_count = record.u32(kCountAt);
  return f;
}

void write_painted_line(DecodeContext& ctx, const PaintedLineFields& f) {
  Output& out = ctx.out;
  out.format("\t\t\t<PaintedLine type=\"%u\" trueAngle=\"%s\"", f.type,
             EnumText(kTrueAngles, f.true_angle));
  if (!guid_is_zero(*f.record, f.surface_at)) {
    out.write("\n\t\t\t\tsurface=\"");
    write_registry_guid(out, *f.record, f.surface_at);
    out.put('"');
  }
  out.write(">\n");
  write_vertices(ctx, "\t\t\t\t", *f.record, f.vertices_at, f.vertex_count);
  out.write("\t\t\t</PaintedLine>\n");
}

}  // namespace terrova
