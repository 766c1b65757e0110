// Painted line sub-record of MSFS airports (0xCF):
//   +0  u16  id
//   +2  u32  size
//   +6  u8   line type code (the table below)
//   +7  u8   true-angle code: 0 NONE, 1 BEGIN, 2 END, 3 BOTH_ENDS, 4 ALL_POINTS (checked: all
//            but END; END by the order of the others)
//   +8  u32  vertex count V
//   +12      16 bytes, surface material GUID (all zero: none)
//   +28      V vertices of 8 bytes: u32 longitude, u32 latitude, packed
#include <iterator>

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

// Line type names by code, each paired with its code by the sources of the painted lines and
// hatched areas that use it (checked: 2,006 lines and areas of 12 airports). The codes no source
// uses (nullptr, and those past the table) are written as numbers: the schema's list of names is
// not in code order.
constexpr const char* kLineTypes[] = {
    "DEFAULT",                       // 0
    "HOLD_SHORT_FORWARD",            // 1
    "HOLD_SHORT_BACKWARD",           // 2
    "EDGE_LINE_DASHED",              // 3
    "EDGE_LINE_SOLID",               // 4
    "EDGE_SERVICE_DASHED",           // 5
    "EDGE_SERVICE_SOLID",            // 6
    "HOLD_SHORT_TAXIWAY",            // 7
    nullptr,                         // 8
    "SERVICE_DASHED",                // 9
    "DEFAULT_LIGHTED",               // 10
    "HOLD_SHORT_FORWARD_LIGHTED",    // 11
    "HOLD_SHORT_BACKWARD_LIGHTED",   // 12
    nullptr,                         // 13
    "EDGE_LINE_SOLID_LIGHTED",       // 14
    "EDGE_SERVICE_DASHED_LIGHTED",   // 15
    nullptr,                         // 16
    "HOLD_SHORT_TAXIWAY_LIGHTED",    // 17
    "ILS_HOLD_SHORT_LIGHTED",        // 18
    "SERVICE_DASHED_LIGHTED",        // 19
    "WIDE_YELLOW",                   // 20
    "WIDE_YELLOW_LIGHTED",           // 21
    nullptr,                         // 22
    nullptr,                         // 23
    "ENHANCED_CENTER",               // 24
    nullptr,                         // 25
    "WIDE_WHITE",                    // 26
    nullptr,                         // 27
    nullptr,                         // 28
    "NON_MOVEMENT_BACK_LIGHTED",     // 29
    nullptr,                         // 30
    nullptr,                         // 31
    nullptr,                         // 32
    nullptr,                         // 33
    nullptr,                         // 34
    nullptr,                         // 35
    "SLIM_RED",                      // 36
    nullptr,                         // 37
    "HOLD_SHORT_FORWARD_MARKED",     // 38
    "HOLD_SHORT_BACKWARD_MARKED",    // 39
    "HOLD_SHORT_FORWARD_MARKED_L",   // 40
    "HOLD_SHORT_BACKWARD_MARKED_L",  // 41
};

}  // namespace

EnumText painted_line_type_name(uint32_t code) {
  if (code < std::size(kLineTypes) && kLineTypes[code] != nullptr) {
    return EnumText(kLineTypes[code]);
  }
  return EnumText::number(code);
}

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
  out.format("\t\t\t<PaintedLine type=\"%s\" trueAngle=\"%s\"", painted_line_type_name(f.type),
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
