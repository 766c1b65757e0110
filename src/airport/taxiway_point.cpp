// TaxiwayPoint sub-record (0x1A):
//   +0  u16  id
//   +2  u32  size
//   +6  u16  entry count (not used: the entries fill the sub-record)
//   +8       entries of 12 bytes:
//              +0 u8  point type code
//              +1 u8  orientation: 1 reverse, anything else forward
//              +2     2 bytes, not read
//              +4 u32 longitude, packed
//              +8 u32 latitude, packed
// TaxiwayPoint sub-record of the later form (0xAC): the same with entries of 16 bytes, each the
// 12-byte entry above followed by
//              +12 s32 altitude, millimetres
#include <iterator>

#include "airport/taxiway.h"
#include "format/xml.h"

namespace terrova {
namespace {

constexpr uint32_t kEntriesAt = 8;
constexpr uint32_t kEntrySize = 12;
constexpr uint32_t kLaterEntrySize = 16;
constexpr uint16_t kLaterId = 0xAC;
constexpr const char* kPointTypes[] = {nullptr,
                                       "NORMAL",
                                       "HOLD_SHORT",
                                       "UNKNOWN",
                                       "ILS_HOLD_SHORT",
                                       "HOLD_SHORT_NO_DRAW",
                                       "ILS_HOLD_SHORT_NO_DRAW"};

}  // namespace

EnumText taxiway_point_type_name(uint32_t code) {
  if (code == 0 || code >= std::size(kPointTypes)) return EnumText::number(code);
  return EnumText(kPointTypes[code]);
}

void write_taxiway_point(DecodeContext& ctx, const char* name, uint32_t index,
                         const TaxiwayPointFields& f) {
  const DecodeOptions& o = ctx.options;
  ctx.out.format("\t\t<%s index=\"%d\" type=\"%s\"\n", name, index,
                 taxiway_point_type_name(f.type));
  write_later_attributes(ctx, "\t\t\t", f.later);
  ctx.out.format("\t\t\torientation=\"%s\" lat=\"%s\" lon=\"%s\"",
                 f.reverse ? "REVERSE" : "FORWARD", format_coordinate(o, decode_latitude(f.lat)),
                 format_coordinate(o, decode_longitude(f.lon)));
}

void decode_taxiway_point(DecodeContext& ctx, const char* name, const Record& record, RecordWalk&) {
  if (!ctx.options.terse) write_record_comment(ctx.out, name, record.offset());
  const bool later = record.id() == kLaterId;
  const uint32_t entry_size = later ? kLaterEntrySize : kEntrySize;
  uint32_t index = 0;
  uint64_t at = kEntriesAt;
  for (; record.holds(at, entry_size); at += entry_size, ++index) {
    TaxiwayPointFields f;
    f.later.has_alt = later;
    f.later.alt_mm = record.i32(at + 12);
    f.type = record.u8(at);
    f.reverse = record.u8(at + 1) == 1;
    f.lon = record.i32(at + 4);
    f.lat = record.i32(at + 8);
    write_taxiway_point(ctx, name, index, f);
    if (ctx.geometry != nullptr) {
      ctx.geometry->taxiway_point(index, {decode_latitude(f.lat), decode_longitude(f.lon)});
    }
    ctx.out.write(" />\n");
  }
  // Bytes left over that cannot hold an entry: the sub-record is cut.
  if (at < record.size()) ctx.report_malformed(record.offset());
}

}  // namespace terrova
