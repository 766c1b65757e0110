// Taxiway sign sub-record of MSFS airports (0xD9), one sign a record, 84 bytes:
//   +0  u16  id
//   +2  u32  size
//   +6  u16  number of sign sub-records of the airport; not written
//   +8  u32  longitude, packed
//   +12 u32  latitude, packed
//   +16 f32  heading, degrees
//   +20 u8   size: 1 to 5 SIZE1 to SIZE5 (2 to 5 checked against authors' sources, 1 the one
//            name left; 0, seen in one file, has no name and is written as its number)
//   +21 u8   justification: 0 LEFT, 1 RIGHT (checked)
//   +22      label, NUL-padded to 62 bytes
#include <iterator>

#include "airport/taxiway_sign.h"
#include "format/xml.h"

namespace terrova {
namespace {

constexpr uint32_t kLonAt = 8;
constexpr uint32_t kLatAt = 12;
constexpr uint32_t kHeadingAt = 16;
constexpr uint32_t kSizeAt = 20;
constexpr uint32_t kJustificationAt = 21;
constexpr uint32_t kLabelAt = 22;
constexpr uint32_t kLabelLength = 62;

constexpr const char* kJustifications[] = {"LEFT", "RIGHT"};
constexpr const char* kSizes[] = {"SIZE1", "SIZE2", "SIZE3", "SIZE4", "SIZE5"};
constexpr uint32_t kFirstSizeCode = 1;

// The size's name, or its number for a code without one.
EnumText size_name(uint32_t code) {
  const uint32_t index = code - kFirstSizeCode;  // wraps below the first code
  return index < std::size(kSizes) ? EnumText(kSizes, index) : EnumText::number(code);
}

}  // namespace

void decode_msfs_taxiway_sign(DecodeContext& ctx, const char* name, const Record& record,
                              RecordWalk&) {
  if (!ctx.options.terse) write_record_comment(ctx.out, name, record.offset());
  TaxiwaySignFields f;
  f.lat = decode_latitude(record.i32(kLatAt));
  f.lon = decode_longitude(record.i32(kLonAt));
  f.heading = record.f32(kHeadingAt);
  f.size = record.u8(kSizeAt);
  f.size_name = size_name(f.size);
  f.justification = EnumText(kJustifications, record.u8(kJustificationAt));
  f.label = record.text(kLabelAt, kLabelLength);
  write_taxiway_sign(ctx, f);
}

}  // namespace terrova
