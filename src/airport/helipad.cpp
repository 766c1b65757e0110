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
// A helipad scenery-object sub-record (0xB5) right after a helipad belongs to it; its object is
// written inside the helipad:
//   +6  u32  object size N
//   +10      one scenery object of N bytes, then padding to a multiple of 4
// One that follows no helipad is written where it stands.
#include "airport/subrecords.h"
#include "format/xml.h"
#include "scenery/scenery_object.h"

namespace terrova {
namespace {

constexpr const char* kHelipadTypes[] = {"NONE", "H", "SQUARE", "CIRCLE", "MEDICAL"};
constexpr uint16_t kHelipadObjectId = 0xB5;
constexpr uint32_t kObjectSizeAt = 6;
constexpr uint32_t kObjectAt = 10;

// Writes the scenery object of a helipad object sub-record.
void write_helipad_object(DecodeContext& ctx, const Record& record) {
  if (record_holds(ctx, record, kObjectAt))
    write_counted_scenery_objects(ctx, record, kObjectSizeAt);
}

}  // namespace

// A helipad has no record comment, with or without -t.
void decode_helipad(DecodeContext& ctx, const char* name, const Record& record,
                    RecordWalk& siblings) {
  const DecodeOptions& o = ctx.options;
  Output& out = ctx.out;
  // The object sub-record is taken before the start tag is written, so that the warning for a
  // damaged one stands on a line of its own and not inside the tag.
  uint16_t next_id = 0;
  Record object;
  const bool has_object =
      siblings.peek_id(next_id) && next_id == kHelipadObjectId && siblings.next(object);
  object.name_kind("SceneryObject");
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
  out.format("\" type=\"%s\"", EnumText(kHelipadTypes, flags & ~0x30u));
  if (has_object) {
    out.write(">\n");
    write_helipad_object(ctx, object);
    out.format("\t\t</%s>\n", name);
    return;
  }
  out.write(" />\n");
}

void decode_helipad_object(DecodeContext& ctx, const char*, const Record& record, RecordWalk&) {
  write_helipad_object(ctx, record);
}

}  // namespace terrova
