// Start sub-record (0x11):
//   +0  u16  id
//   +2  u32  size
//   +6  u8   runway number
//   +7  u8   bits 0-3 designator code, bits 4-7 start type code
//   +8  u32  longitude, packed
//   +12 u32  latitude, packed
//   +16 s32  altitude, millimetres
//   +20 f32  heading, degrees
#include "airport/subrecords.h"
#include "format/xml.h"

namespace terrova {
namespace {

constexpr uint32_t kStartFixedSize = 24;
constexpr const char* kStartTypes[] = {"RUNWAY", "RUNWAY", "WATER", "HELIPAD"};

}  // namespace

EnumText start_type_name(uint32_t code) { return EnumText(kStartTypes, code); }

uint32_t decode_start(DecodeContext& ctx, const char* name, uint32_t offset, uint32_t) {
  const Image& image = ctx.image;
  const DecodeOptions& o = ctx.options;
  const uint32_t size = image.u32(offset + 2);
  if (!subrecord_holds(ctx, offset, size, kStartFixedSize)) return size;
  const uint32_t kind = image.u8(offset + 7);
  if (!o.terse) write_record_comment(ctx.out, name, offset);
  ctx.out.format("\t\t<%s type=\"%s\" lat=\"%s\" lon=\"%s\"\n", name, start_type_name(kind >> 4),
                 format_coordinate(o, decode_latitude(image.i32(offset + 12))),
                 format_coordinate(o, decode_longitude(image.i32(offset + 8))));
  ctx.out.format("\t\t\talt=%s heading=\"%0.2lf\" number=\"%s\" ",
                 format_altitude(o, image.i32(offset + 16)), image.f32(offset + 20),
                 format_runway_number(image.u8(offset + 6)));
  ctx.out.format("designator=\"%s\" />\n", designator_name(kind & 15));
  return size;
}

}  // namespace terrova
