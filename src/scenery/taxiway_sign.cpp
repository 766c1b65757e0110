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
// The later kinds 0x13 and 0x14 have the 44-byte header, the count at +44 and their entries at
// +48 (0x13) or +80 (0x14, 32 more bytes after the count). Their entries place each sign:
//            +0 f32 x, metres east; +4 f32 y, metres north; +8 f32 altitude, metres;
//            +12 u16 pitch, +14 u16 bank, +16 u16 heading, each value * 360/65536 degrees;
//            +18 u16 flags: bit 0 altitude above ground, bit 1 clamp pitch, bit 2 clamp bank;
//            +20 u8 size number; +21 u8 justification; +22 label, zero-terminated;
//            the next entry starts at the next even offset, as above.
//
// The records are read here, when the scenery-object section meets them, and written by the
// airport that claims them.
#include "scenery/taxiway_sign.h"

#include "format/values.h"

namespace terrova {
namespace {

constexpr uint32_t kEntryFixedSize = 12;
constexpr uint32_t kPlacedEntryFixedSize = 22;
constexpr uint32_t kPlacedSignsKind = 0x13;
constexpr uint32_t kPlacedSignsLongKind = 0x14;

// Where the count of a sign record of this kind lies, and where its entries start.
struct SignLayout {
  uint32_t count_at;
  uint32_t entries_at;
  uint32_t entry_fixed_size;
  bool placed;
};

SignLayout sign_layout(uint32_t kind_id) {
  switch (kind_id) {
    case 14:
      return {44, 48, kEntryFixedSize, false};
    case kPlacedSignsKind:
      return {44, 48, kPlacedEntryFixedSize, true};
    case kPlacedSignsLongKind:
      return {44, 80, kPlacedEntryFixedSize, true};
    default:
      return {28, 32, kEntryFixedSize, false};
  }
}

SignEntry read_entry(const Record& record, uint64_t pos, bool placed, std::string_view label) {
  SignEntry e;
  e.offset = static_cast<uint32_t>(record.file_offset(pos));
  e.x = record.f32(pos);
  e.y = record.f32(pos + 4);
  e.label = label;
  if (!placed) {
    e.heading = record.u16(pos + 8);
    e.size = record.u8(pos + 10);
    e.justification = record.u8(pos + 11);
    return e;
  }
  e.placed = true;
  e.alt = record.f32(pos + 8);
  e.pitch = record.u16(pos + 12);
  e.bank = record.u16(pos + 14);
  e.heading = record.u16(pos + 16);
  e.placement_flags = record.u16(pos + 18);
  e.size = record.u8(pos + 20);
  e.justification = record.u8(pos + 21);
  return e;
}

}  // namespace

bool is_taxiway_sign_kind(uint32_t kind_id) {
  return kind_id == 5 || kind_id == 14 || kind_id == kPlacedSignsKind ||
         kind_id == kPlacedSignsLongKind;
}

void keep_taxiway_signs(DecodeContext& ctx, const Record& record) {
  SharedTables& t = ctx.tables;
  DeferredSign sign;
  sign.offset = record.offset();
  sign.lat = decode_latitude(record.i32(8));
  sign.lon = decode_longitude(record.i32(4));
  sign.first_entry = static_cast<uint32_t>(t.sign_entries.size());

  const uint64_t end = record.size();
  const SignLayout layout = sign_layout(record.id());
  if (uint64_t{layout.entries_at} > end) {
    sign.damaged = true;
    sign.damaged_at = record.offset();
    t.deferred_signs.push_back(sign);
    return;
  }
  const uint32_t count = record.u32(layout.count_at);
  const uint32_t fixed = layout.entry_fixed_size;
  uint64_t pos = layout.entries_at;
  for (uint32_t i = 0; i < count; ++i) {
    // An entry must hold its fixed part and its label's zero byte inside the record.
    const std::string_view label = pos + fixed <= end ? record.text(pos + fixed, end) : "";
    if (pos + fixed + label.size() >= end) {
      sign.damaged = true;
      sign.damaged_at = static_cast<uint32_t>(record.file_offset(pos));
      break;
    }
    t.sign_entries.push_back(read_entry(record, pos, layout.placed, label));
    pos += fixed + 1 + label.size();
    if ((pos & 1) != 0) ++pos;
  }
  sign.entry_count = static_cast<uint32_t>(t.sign_entries.size()) - sign.first_entry;
  t.deferred_signs.push_back(sign);
}

}  // namespace terrova
