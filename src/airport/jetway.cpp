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

}  // namespace

void decode_jetway(DecodeContext& ctx, const char* name, const Record& record, RecordWalk&) {
  if (!ctx.options.terse) write_record_comment(ctx.out, name, record.offset());
  ctx.out.format("\t\t<%s gateName=\"%s\" parkingNumber=\"%d\">\n", name,
                 parking_name(record.u16(8)), record.u16(6));
  write_counted_scenery_objects(ctx, record, kObjectSizeAt);
  ctx.out.format("\t\t</%s>\n", name);
}

}  // namespace terrova
