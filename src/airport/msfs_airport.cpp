// Airport record of MSFS 2020 (0x56), fixed part of 0x44 bytes; the fields that airport.cpp
// reads for every form keep their offsets:
//   +6  u8   runway count          +7  u8 com count        +8  u8 start count
//   +9  u8   approach count        +10 u8 apron count      +11 bits 0-6 helipad count, bit 7 a
//                                                              DeleteAirport sub-record follows
//   +12 u32  longitude, packed     +16 u32 latitude, packed +20 s32 altitude, millimetres
//   +24      12 bytes, zero: the tower position is in the 0x66 sub-record, never here
//   +36 f32  magnetic variation    +40 u32 identifier, packed
//   +44 u32  region, zero (the name list carries the region)
//   +48 u32  fuel word, as the older forms
//   +53 u8   traffic scalar × 255
//   +54 u8   flags: bit 0 starAirport, bit 2 closed
//   +56 u8   departure count       +58 u8 arrival count
//   +60 u16  apron count, +62 painted line count, +64 painted polygon count, +66 hatched area count
// Sub-records from +0x44 fill the record: an optional DeleteAirport (0x33), the name (0x19, text
// zero-padded to a multiple of 4), the tower (0x66) when there is one, then the others.
//
// Tower sub-record (0x66):
//   +6  u16  24, the bytes of the three values that follow +10
//   +8  u16  1
//   +10 f64  latitude, degrees
//   +18 f64  longitude, degrees
//   +26 f64  altitude, metres
//   +34      padding to a multiple of 4
#include "airport/msfs_airport.h"

#include <algorithm>
#include <cstring>

#include "format/values.h"
#include "format/xml.h"

namespace terrova {
namespace {

constexpr uint32_t kFlagsAt = 54;
constexpr unsigned kStarAirportBit = 0;
constexpr unsigned kClosedBit = 2;
constexpr uint16_t kTowerId = 0x66;
constexpr uint32_t kTowerLatAt = 10;
constexpr uint32_t kTowerLonAt = 18;
constexpr uint32_t kTowerAltAt = 26;
constexpr uint32_t kTowerSize = 34;
constexpr uint16_t kStartId = 0x11;
constexpr uint32_t kStartSize = 24;
constexpr uint32_t kRunwayFixedSize = 96;

double f64_at(const Record& record, uint32_t at) {
  const uint64_t bits = uint64_t{record.u32(at)} | uint64_t{record.u32(at + 4)} << 32;
  double value = 0;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

}  // namespace

void write_msfs_airport_flags(DecodeContext& ctx, const Record& airport, const LineFrame& frame) {
  const uint32_t flags = airport.u8(kFlagsAt);
  ctx.out.format("%sstarAirport=\"%s\"%s", frame.before, true_false((flags >> kStarAirportBit) & 1),
                 frame.after);
  ctx.out.format("%sclosed=\"%s\"%s", frame.before, true_false((flags >> kClosedBit) & 1),
                 frame.after);
}

void write_msfs_tower(DecodeContext& ctx, RecordWalk& subs) {
  uint16_t id = 0;
  Record tower;
  if (!subs.peek_id(id) || id != kTowerId || !subs.next(tower)) return;
  if (!record_holds(ctx, tower, kTowerSize)) return;
  const DecodeOptions& o = ctx.options;
  ctx.out.format("\t\t<Tower lat=\"%s\" lon=\"%s\" alt=%s />\n",
                 format_coordinate(o, f64_at(tower, kTowerLatAt)),
                 format_coordinate(o, f64_at(tower, kTowerLonAt)),
                 format_length(o, static_cast<float>(f64_at(tower, kTowerAltAt))));
  if (ctx.geometry != nullptr) {
    ctx.geometry->tower({f64_at(tower, kTowerLatAt), f64_at(tower, kTowerLonAt)});
  }
}

int runway_start_key(const Record& start) {
  const uint32_t kind = start.u8(7);
  if ((kind >> 4) > 1) return -1;  // water and helipad starts serve no runway
  return static_cast<int>(uint32_t{start.u8(6)} << 8 | (kind & 15));
}

void index_runway_starts(const Record& airport, MsfsRunwayStarts& index) {
  uint64_t at = msfs_fixed_part_size(airport.id());
  while (airport.holds(at, 6)) {
    const uint32_t size = airport.u32(at + 2);
    if (size < 6 || !airport.holds(at, size)) break;
    const Record sub(airport.view(), airport.file_offset(at), size);
    if (sub.id() == kMsfsRunwayId && size >= kRunwayFixedSize) {
      index.runway_ends.push_back(static_cast<uint16_t>(sub.u8(8) << 8 | sub.u8(9)));
      index.runway_ends.push_back(static_cast<uint16_t>(sub.u8(10) << 8 | sub.u8(11)));
    } else if (sub.id() == kStartId && size >= kStartSize && runway_start_key(sub) >= 0) {
      index.starts.emplace_back(static_cast<uint16_t>(runway_start_key(sub)), sub);
    }
    at += size;
  }
  std::sort(index.runway_ends.begin(), index.runway_ends.end());
  std::stable_sort(index.starts.begin(), index.starts.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
}

}  // namespace terrova
