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
//   +53 u8   traffic scalar × 255; 255, the full traffic, is also what the compiler stores when
//            the source sets none
//   +54 u8   flags: bit 0 starAirport, bit 1 isOnTIN (checked: the one source that says TRUE),
//            bit 2 closed, bit 3 set: tinColorCorrection FALSE (checked: set in the one file whose
//            source says FALSE, clear in the seven that say TRUE)
//   +56 u8   departure count       +58 u8 arrival count
//   +59 u8   bit 0 applyFlatten (checked: set in the eight files whose source says TRUE, clear in
//            the fourteen that say FALSE)
//   +60 u16  apron count, +62 painted line count, +64 painted polygon count, +66 hatched area count
// Sub-records from +0x44 fill the record: an optional DeleteAirport (0x33), the name (0x19, text
// zero-padded to a multiple of 4), the tower (0x66) when there is one, then the others.
// `airportTestRadius` is in no byte of the record (searched as f32, f64 and integers).
//
// Tower sub-record (0x66), two forms told apart by +6, the size of what follows +10:
//   +6  u16  24: the position form (checked on ZBAD)
//   +8  u16  1
//   +10 f64  latitude, degrees
//   +18 f64  longitude, degrees
//   +26 f64  altitude, metres
//   +34      padding to a multiple of 4
// or
//   +6  u16  n, the size of the tower's scenery object (64 in both files of this form: a library
//            object of kind 0x0B; checked on AZGA)
//   +8  u16  0
//   +10      the scenery object, n bytes, then padding to a multiple of 4
// The object form holds no position of the tower itself: its source's `Tower lat lon alt` are not
// stored (the altitude is not the object's, which is above ground), so `Tower` is written with
// its `SceneryObject` only. Any other size at +6 is dumped with the record.
#include "airport/msfs_airport.h"

#include <algorithm>
#include <cstring>

#include "airport/subrecords.h"
#include "format/values.h"
#include "format/xml.h"
#include "scenery/scenery_object.h"

namespace terrova {
namespace {

constexpr uint32_t kFlagsAt = 54;
constexpr unsigned kStarAirportBit = 0;
constexpr unsigned kOnTinBit = 1;
constexpr unsigned kNoTinColorCorrectionBit = 3;
constexpr unsigned kClosedBit = 2;
constexpr uint32_t kFlattenAt = 59;
constexpr uint16_t kTowerId = 0x66;
constexpr uint32_t kPayloadSizeAt = 6;
constexpr uint32_t kPayloadAt = 10;
constexpr uint32_t kPositionSize = 24;
constexpr uint32_t kObjectHeaderSize = 44;  // a scenery object's header, before its kind data
constexpr uint32_t kObjectLonAt = 4;        // in the object header; the latitude follows
constexpr uint32_t kObjectLatAt = 8;
constexpr uint32_t kTowerLatAt = 10;
constexpr uint32_t kTowerLonAt = 18;
constexpr uint32_t kTowerAltAt = 26;
constexpr uint32_t kTowerSize = 34;
constexpr uint16_t kStartId = 0x11;
constexpr uint32_t kStartSize = 24;
constexpr uint32_t kRunwayFixedSize = 96;

// The object form of the tower sub-record: `Tower` holding the scenery object of `payload` bytes
// at +10.
void write_tower_object(DecodeContext& ctx, const Record& tower, uint32_t payload) {
  if (payload < kObjectHeaderSize || !tower.holds(kPayloadAt, payload)) {
    dump_subrecord(ctx, tower);
    return;
  }
  const Record object = tower.part(kPayloadAt, payload);
  ctx.out.write("\t\t<Tower>\n");
  write_scenery_objects(ctx, object);
  ctx.out.write("\t\t</Tower>\n");
  if (ctx.geometry != nullptr) {
    ctx.geometry->tower(
        {decode_latitude(object.i32(kObjectLatAt)), decode_longitude(object.i32(kObjectLonAt))});
  }
}

double f64_at(const Record& record, uint32_t at) {
  const uint64_t bits = uint64_t{record.u32(at)} | uint64_t{record.u32(at + 4)} << 32;
  double value = 0;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

}  // namespace

void write_msfs_airport_flags(DecodeContext& ctx, const Record& airport, const LineFrame& frame) {
  const uint32_t flags = airport.u8(kFlagsAt);
  // The 2024 form keeps isOnTIN and applyFlatten where the 2020 form has them (every 2024 sample:
  // both clear, both FALSE in its source); its other bits of +54 do not follow the 2020 meanings
  // (KSUA: bit 3 set with tinColorCorrection TRUE; starAirport TRUE with bit 0 clear), so they are
  // not written.
  const bool form_2020 = airport.id() == kMsfsAirportId;
  if (form_2020) {
    ctx.out.format("%sstarAirport=\"%s\"%s", frame.before,
                   true_false((flags >> kStarAirportBit) & 1), frame.after);
    ctx.out.format("%sclosed=\"%s\"%s", frame.before, true_false((flags >> kClosedBit) & 1),
                   frame.after);
  }
  ctx.out.format("%sisOnTIN=\"%s\"%s", frame.before, true_false((flags >> kOnTinBit) & 1),
                 frame.after);
  ctx.out.format("%sapplyFlatten=\"%s\"%s", frame.before, true_false(airport.u8(kFlattenAt) & 1),
                 frame.after);
  if (form_2020) {
    ctx.out.format("%stinColorCorrection=\"%s\"%s", frame.before,
                   true_false(((flags >> kNoTinColorCorrectionBit) & 1) == 0), frame.after);
  }
}

void write_msfs_tower(DecodeContext& ctx, RecordWalk& subs) {
  uint16_t id = 0;
  Record tower;
  if (!subs.peek_id(id) || id != kTowerId || !subs.next(tower)) return;
  tower.name_kind("Tower");
  const uint32_t payload = tower.u16(kPayloadSizeAt);
  if (payload != kPositionSize) {
    write_tower_object(ctx, tower, payload);
    return;
  }
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
