// Taxiway sign record (a scenery object of kind 5, or of kind 14 with 16 more header bytes):
//   +0  u16  kind id
//   +2  u16  record size
//   +4  u32  longitude of the reference point, packed
//   +8  u32  latitude of the reference point, packed
//   +28 u32  number of signs (+44 for kind 14)
//   +32      sign entries (+48 for kind 14), each:
//            +0 f32 x, metres east of the reference point; +4 f32 y, metres north;
//            +8 u16 heading, value * 360/65535 degrees; +10 u8 size number;
//            +11 u8 justification (designator code); +12 label, zero-terminated.
//            The next entry follows the label's zero byte, raised to an even offset counted
//            from the start of the record.
//
// The records are read here, when the scenery-object section meets them, and written by the
// airport that claims them.
#include "scenery/taxiway_sign.h"

#include "format/values.h"

namespace terrova {
namespace {

constexpr uint32_t kEntryFixedSize = 12;

}  // namespace

bool is_taxiway_sign_kind(uint32_t kind_id) { return kind_id == 5 || kind_id == 14; }

void keep_taxiway_signs(DecodeContext& ctx, const Record& record) {
  SharedTables& t = ctx.tables;
  DeferredSign sign;
  sign.offset = record.offset();
  sign.lat = decode_latitude(record.i32(8));
  sign.lon = decode_longitude(record.i32(4));
  sign.first_entry = static_cast<uint32_t>(t.sign_entries.size());

  const uint64_t end = record.size();
  const uint32_t count_at = record.id() == 14 ? 44 : 28;
  if (uint64_t{count_at} + 4 > end) {
    sign.damaged = true;
    sign.damaged_at = record.offset();
    t.deferred_signs.push_back(sign);
    return;
  }
  const uint32_t count = record.u32(count_at);
  uint64_t pos = count_at + 4;
  for (uint32_t i = 0; i < count; ++i) {
    // An entry must hold its fixed part and its label's zero byte inside the record.
    const std::string_view label =
        pos + kEntryFixedSize <= end ? record.text(pos + kEntryFixedSize, end) : "";
    if (pos + kEntryFixedSize + label.size() >= end) {
      sign.damaged = true;
      sign.damaged_at = static_cast<uint32_t>(record.file_offset(pos));
      break;
    }
    t.sign_entries.push_back(SignEntry{static_cast<uint32_t>(record.file_offset(pos)),
                                       record.f32(pos), record.f32(pos + 4), record.u16(pos + 8),
                                       record.u8(pos + 10), record.u8(pos + 11), label});
    pos += kEntryFixedSize + 1 + label.size();
    if ((pos & 1) != 0) ++pos;
  }
  sign.entry_count = static_cast<uint32_t>(t.sign_entries.size()) - sign.first_entry;
  t.deferred_signs.push_back(sign);
}

}  // namespace terrova
