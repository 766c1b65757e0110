// Ground-merging transfer sub-record of MSFS (0xE9), 16 bytes (bytes: one record, with the
// author's source):
//   +6  u16  zero (not read)
//   +8  f32  groundMergingTransfertBright
//   +12 f32  groundMergingTransfertDark
// Both values are 7.0 in the one record seen; the order of the two follows the schema's order of
// the attributes and is not settled by the bytes. The values are attributes of the airport, so
// they are written on its start tag, found by a look-ahead over the airport's sub-records.
#include "airport/msfs_later_records.h"
#include "airport/subrecords.h"

namespace terrova {
namespace {

constexpr uint16_t kGroundMergingId = 0xE9;
constexpr uint32_t kBrightAt = 8;
constexpr uint32_t kDarkAt = 12;
constexpr uint32_t kSize = 16;

}  // namespace

void write_msfs_ground_merging(DecodeContext& ctx, const LineFrame& frame) {
  bool written = false;
  for_each_airport_subrecord(ctx, kGroundMergingId, [&](const Record& record) {
    // One pair on the tag; a record too small for it is reported by the walk's row.
    if (written || record.size() < kSize) return;
    written = true;
    ctx.start_tag_subrecord = record.offset();
    ctx.out.format("%sgroundMergingTransfertBright=\"%0.2lf\"%s", frame.before,
                   static_cast<double>(record.f32(kBrightAt)), frame.after);
    ctx.out.format("%sgroundMergingTransfertDark=\"%0.2lf\"%s", frame.before,
                   static_cast<double>(record.f32(kDarkAt)), frame.after);
  });
}

void decode_msfs_ground_merging(DecodeContext& ctx, const char*, const Record& record,
                                RecordWalk&) {
  // One record was written with the airport's start tag. The tag holds each attribute once, so a
  // further record of the kind is dumped rather than lost.
  if (record.offset() != ctx.start_tag_subrecord) dump_subrecord(ctx, record);
}

}  // namespace terrova
