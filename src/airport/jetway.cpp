// Jetway sub-record (0x3A):
//   +0  u16  id
//   +2  u32  size
//   +6  u16  parking number
//   +8  u16  gate name: the parking name code of the parking place it serves
//   +10 u32  object size N
//   +14      one scenery object of N bytes (header and kind data, as in a scenery-object
//            section), then padding to a multiple of 4
#include "airport/taxiway.h"
#include "format/xml.h"
#include "scenery/scenery_object.h"

namespace terrova {
namespace {

constexpr uint32_t kObjectSizeAt = 10;
constexpr uint32_t kObjectAt = 14;
// The jetway object's header: +4 packed longitude, +8 packed latitude, +22 heading in units of
// 360/65536 degree.
constexpr uint32_t kObjectHeaderRead = 24;

}  // namespace

void report_jetway(DecodeContext& ctx, uint32_t gate_name, uint32_t parking_number,
                   const Record& objects) {
  JetwayShape j;
  j.gate_name = gate_name;
  j.parking_number = parking_number;
  j.has_position = objects.holds(0, kObjectHeaderRead);
  if (j.has_position) {
    j.position = {decode_latitude(objects.i32(8)), decode_longitude(objects.i32(4))};
    j.heading = static_cast<float>(objects.u16(22) * (360.0 / 65536.0));
  }
  ctx.geometry->jetway(j);
}

void decode_jetway(DecodeContext& ctx, const char* name, const Record& record, RecordWalk&) {
  if (!ctx.options.terse) write_record_comment(ctx.out, name, record.offset());
  ctx.out.format("\t\t<%s gateName=\"%s\" parkingNumber=\"%d\">\n", name,
                 parking_name(record.u16(8)), record.u16(6));
  write_counted_scenery_objects(ctx, record, kObjectSizeAt);
  if (ctx.geometry != nullptr) {
    report_jetway(ctx, record.u16(8), record.u16(6),
                  record.part(kObjectAt, record.u32(kObjectSizeAt)));
  }
  ctx.out.format("\t\t</%s>\n", name);
}

}  // namespace terrova
