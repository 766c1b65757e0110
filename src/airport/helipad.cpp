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

constexpr uint32_t kHelipadFixedSize = 36;
constexpr const char* kHelipadTypes[] = {"NONE", "H", "SQUARE", "CIRCLE", "MEDICAL"};

}  // namespace

// A helipad has no record comment, with or without -t.
uint32_t decode_helipad(DecodeContext& ctx, const char* name, uint32_t offset, uint32_t) {
  const Image& image = ctx.image;
  const DecodeOptions& o = ctx.options;
  Output& out = ctx.out;
  const uint32_t size = image.u32(offset + 2);
  if (!subrecord_holds(ctx, offset, size, kHelipadFixedSize)) return size;
  const uint32_t flags = image.u8(offset + 7);
  out.format("\t\t<%s lat=\"%s\" lon=\"%s\" alt=%s\n", name,
             format_coordinate(o, decode_latitude(image.i32(offset + 16))),
             format_coordinate(o, decode_longitude(image.i32(offset + 12))),
             format_altitude(o, image.i32(offset + 20)));
  out.format("\t\t\tsurface=\"%s\" heading=\"%.2lf\"\n", surface_name(image.u8(offset + 6)),
             image.f32(offset + 32));
  out.format("\t\t\tlength=%s width=%s\n", format_length(o, image.f32(offset + 24)),
             format_length(o, image.f32(offset + 28)));
  out.write("\t\t\tclosed=\"");
  out.write(true_false((flags >> 5) & 1));
  out.write("\" transparent=\"");
  out.write(true_false((flags >> 4) & 1));
  out.format("\" type=\"%s\" />\n", EnumText(kHelipadTypes, flags & ~0x30u));
  return size;
}

}  // namespace terrova
