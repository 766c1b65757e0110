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

constexpr const char* kStartTypes[] = {"RUNWAY", "RUNWAY", "WATER", "HELIPAD"};

}  // namespace

EnumText start_type_name(uint32_t code) { return EnumText(kStartTypes, code); }

void decode_start(DecodeContext& ctx, const char* name, const Record& record, RecordWalk&) {
  const DecodeOptions& o = ctx.options;
  const uint32_t kind = record.u8(7);
  if (!o.terse) write_record_comment(ctx.out, name, record.offset());
  ctx.out.format("\t\t<%s type=\"%s\" lat=\"%s\" lon=\"%s\"\n", name, start_type_name(kind >> 4),
                 format_coordinate(o, decode_latitude(record.i32(12))),
                 format_coordinate(o, decode_longitude(record.i32(8))));
  ctx.out.format("\t\t\talt=%s heading=\"%0.2lf\" number=\"%s\" ",
                 format_altitude(o, record.i32(16)), record.f32(20),
                 format_runway_number(record.u8(6)));
  ctx.out.format("designator=\"%s\" />\n", designator_name(kind & 15));
  if (ctx.geometry != nullptr) {
    ctx.geometry->start({
        {decode_latitude(record.i32(12)), decode_longitude(record.i32(8))},
        record.f32(20),
        record.u8(6),
        kind & 15
    });
  }
}

}  // namespace terrova
