// Jetway sub-record of MSFS (0xDE):
//   +6  u16  parking number
//   +8  u16  gate name: the parking name code of the parking place it serves
//   +10 u16  suffix: a parking name code
//   +12 u16  0
//   +14 u16  size L1 of the first object
//   +16 u16  size L2 of the second object
//   +18      the jetway SimObject, a scenery object of L1 bytes (kind 0x19)
//   +18+L1   its LibraryObject, a scenery object of L2 bytes (kind 0x0B)
//   then padding to a multiple of 4
#include "airport/msfs_airport.h"
#include "airport/taxiway.h"
#include "format/xml.h"
#include "scenery/scenery_object.h"

namespace terrova {
namespace {

constexpr uint32_t kParkingNumberAt = 6;
constexpr uint32_t kGateNameAt = 8;
constexpr uint32_t kSuffixAt = 10;
constexpr uint32_t kFirstSizeAt = 14;
constexpr uint32_t kSecondSizeAt = 16;
constexpr uint32_t kObjectsAt = 18;

}  // namespace

void decode_msfs_jetway(DecodeContext& ctx, const char* name, const Record& record, RecordWalk&) {
  if (!ctx.options.terse) write_record_comment(ctx.out, name, record.offset());
  ctx.out.format("\t\t<%s gateName=\"%s\" parkingNumber=\"%d\"\n\t\t\tsuffix=\"%s\">\n", name,
                 parking_name(record.u16(kGateNameAt)), record.u16(kParkingNumberAt),
                 parking_name(record.u16(kSuffixAt)));
  const uint64_t length = uint64_t{record.u16(kFirstSizeAt)} + record.u16(kSecondSizeAt);
  // Sizes that reach past the record are reported; the objects that fit are still written.
  if (!record.holds(kObjectsAt, length)) ctx.report_malformed(record.offset());
  const Record objects = record.part(kObjectsAt, length);
  write_scenery_objects(ctx, objects);
  if (ctx.geometry != nullptr) {
    report_jetway(ctx, record.u16(kGateNameAt), record.u16(kParkingNumberAt), objects);
  }
  ctx.out.format("\t\t</%s>\n", name);
}

}  // namespace terrova
