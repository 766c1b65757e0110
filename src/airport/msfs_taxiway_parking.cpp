// TaxiwayParking sub-record of MSFS (0xE7):
//   +6  u16  entry count: 0 leaves the sub-record unwritten; otherwise the entries fill it
//   +8       entries of 56 + 4n bytes:
//              +0  u8  bits 0-5 name code, bits 6-7 push-back code
//              +1  u16 bits 0-3 parking type code, bits 4-15 parking number
//              +3  u8  airline-code count n
//              +4  f32 radius, metres
//              +8  f32 heading, degrees
//              +12 f32 tee offsets 1-4, metres, 4 of them
//              +28 u32 longitude, packed
//              +32 u32 latitude, packed
//              +36     n airline codes of 4 characters, NUL-padded
//              +36+4n  u8 number marking, u8 suffix (a parking name code), u8 has3DMesh (checked:
//                      536 TRUE, 121 FALSE or left out), 5 bytes zero, f32 number bias X, f32
//                      number bias Z, f32 number heading (degrees)
// Parking type codes are those of the older forms, and 15 GATE_EXTRA (checked: 18 spots).
// Each entry is written as the older forms write theirs, with the MSFS attributes after them.
#include "airport/msfs_airport.h"
#include "airport/taxiway.h"
#include "format/xml.h"

namespace terrova {
namespace {

constexpr uint32_t kEntriesAt = 8;
constexpr uint32_t kEntryFixedSize = 56;
constexpr uint32_t kAirlinesAt = 36;
constexpr uint32_t kAirlineCodeSize = 4;
constexpr uint32_t kTeeOffsetsAt = 12;
constexpr uint32_t kLonAt = 28;
constexpr uint32_t kLatAt = 32;
// Offsets in the tail after the airline codes.
constexpr uint32_t kNumberMarkingAt = 0;
constexpr uint32_t kSuffixAt = 1;
constexpr uint32_t kHas3DMeshAt = 2;
constexpr uint32_t kNumberBiasXAt = 8;
constexpr uint32_t kNumberBiasZAt = 12;
constexpr uint32_t kNumberHeadingAt = 16;
constexpr uint32_t kGateExtraType = 15;

}  // namespace

void decode_msfs_taxiway_parking(DecodeContext& ctx, const char* name, const Record& record,
                                 RecordWalk&) {
  if (record.u16(6) == 0) return;
  if (!ctx.options.terse) write_record_comment(ctx.out, name, record.offset());
  uint32_t index = 0;
  uint64_t at = kEntriesAt;
  do {
    const uint32_t airlines = record.u8(at + 3);
    const uint64_t tail = at + kAirlinesAt + uint64_t{airlines} * kAirlineCodeSize;
    const uint64_t length = kEntryFixedSize + uint64_t{airlines} * kAirlineCodeSize;
    // An entry that does not fit, airline codes and tail included, ends the list.
    if (!record.holds(at, length)) {
      ctx.report_malformed(record.offset());
      return;
    }
    TaxiwayParkingFields f = read_parking_entry_head(record, at);
    f.lon = record.i32(at + kLonAt);
    f.lat = record.i32(at + kLatAt);
    f.record = &record;
    f.airline_at = static_cast<uint32_t>(at + kAirlinesAt);
    f.airline_count = airlines;
    if (f.type == kGateExtraType) f.type_name = "GATE_EXTRA";
    for (uint32_t i = 0; i < 4; ++i) {
      f.later.tee_offsets[i] = record.f32(at + kTeeOffsetsAt + 4 * i);
    }
    MsfsAttributes& m = f.later.msfs;
    m.text("suffix", parking_name(record.u8(tail + kSuffixAt)).text);
    m.flag("numberMarking", record.u8(tail + kNumberMarkingAt) != 0);
    m.number("numberBiasX", record.f32(tail + kNumberBiasXAt));
    m.number("numberBiasZ", record.f32(tail + kNumberBiasZAt));
    m.number("numberHeading", record.f32(tail + kNumberHeadingAt));
    // Written only when set: the byte is 0 where the sources leave the attribute out.
    if (record.u8(tail + kHas3DMeshAt) != 0) m.flag("has3DMesh", true);
    write_taxiway_parking(ctx, name, index++, f);
    ctx.out.write(" />\n");
    at += length;
  } while (at < record.size());
}

}  // namespace terrova
