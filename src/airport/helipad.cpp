// Helipad sub-record (0x26):
//   +0  u16  id
//   +2  u32  size
//   +6  u8   surface code
//   +7  u8   bit 5 closed, bit 4 transparent, the other bits the helipad type code
//   +12 u32  longitude, packed
//   +16 u32  latitude, packed
//   +20 s32  altitude, millimetres
//   +24 f32  length, metres
//   +28 f32  width, metres
//   +32 f32  heading, degrees
#include "airport/subrecords.h"

namespace terrova {
namespace {

constexpr const char* kHelipadTypes[] = {"NONE", "H", "SQUARE", "CIRCLE", "MEDICAL"};

}  // namespace

// A helipad has no record comment, with or without -t.
void decode_helipad(DecodeContext& ctx, const char* name, const Record& record, RecordWalk&) {
  const DecodeOptions& o = ctx.options;
  Output& out = ctx.out;
  const uint32_t flags = record.u8(7);
  out.format("\t\t<%s lat=\"%s\" lon=\"%s\" alt=%s\n", name,
             format_coordinate(o, decode_latitude(record.i32(16))),
             format_coordinate(o, decode_longitude(record.i32(12))),
             format_altitude(o, record.i32(20)));
  out.format("\t\t\tsurface=\"%s\" heading=\"%.2lf\"\n", surface_name(record.u8(6)),
             record.f32(32));
  out.format("\t\t\tlength=%s width=%s\n", format_length(o, record.f32(24)),
             format_length(o, record.f32(28)));
  out.write("\t\t\tclosed=\"");
  out.write(true_false((flags >> 5) & 1));
  out.write("\" transparent=\"");
  out.write(true_false((flags >> 4) & 1));
  out.format("\" type=\"%s\" />\n", EnumText(kHelipadTypes, flags & ~0x30u));
}

}  // namespace terrova
