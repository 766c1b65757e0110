// ILS record (a VOR/ILS record of section 19 whose type is 4), read for the runway that writes it:
//   +2  u32  size, sub-records included
//   +7  u8   flags: bit 2 back course
//   +8  u32  longitude, packed
//   +12 u32  latitude, packed
//   +16 s32  altitude, millimetres
//   +20 s32  frequency, Hz
//   +24 f32  range, metres
//   +28 f32  magnetic variation, degrees
//   +32 u32  identifier, packed
//   +40      sub-records, each with u16 id and u32 size:
//            0x14 localizer: +6 u8 runway number, +7 u8 designator (not read: the runway
//                            end is the one whose identifier names the ILS); +8 f32 heading;
//                            +12 f32 width
//            0x15 glide slope: +8 u32 longitude; +12 u32 latitude; +16 s32 altitude mm;
//                              +20 f32 range m; +24 f32 pitch
//            0x16 DME: +8 u32 longitude; +12 u32 latitude; +16 s32 altitude mm; +20 f32 range m
//            0x19 name: +6 text, size - 6 bytes, of which at most 47 are kept
#include "nav/ils.h"

#include <algorithm>

namespace terrova {
namespace {

constexpr uint32_t kIlsFixedSize = 40;
constexpr uint16_t kLocalizerId = 0x14;
constexpr uint16_t kGlideSlopeId = 0x15;
constexpr uint16_t kDmeId = 0x16;
constexpr uint16_t kNameId = 0x19;
constexpr uint32_t kMaxNameLength = 47;

// The bytes each sub-record kind reads; 0 for ids that end the sub-records.
uint32_t fixed_size_of(uint32_t id) {
  switch (id) {
    case kLocalizerId:
      return 16;
    case kGlideSlopeId:
      return 28;
    case kDmeId:
      return 24;
    case kNameId:
      return 6;
    default:
      return 0;
  }
}

PackedPosition position_at(const Record& r, uint64_t at) {
  return {r.i32(at), r.i32(at + 4), r.i32(at + 8)};
}

}  // namespace

IlsEntry read_ils(const Record& ils) {
  IlsEntry e;
  e.offset = ils.offset();
  e.ident = ils.u32(32);
  e.ident_number = ident_number(e.ident);
  e.position = position_at(ils, 8);
  e.frequency_hz = ils.i32(20);
  e.range_m = ils.f32(24);
  e.magvar = ils.f32(28);
  e.back_course = ((ils.u8(7) >> 2) & 1) != 0;

  // The sub-records up to one of another kind; the last of each kind counts. A damaged one ends
  // the read.
  const uint64_t end = ils.size();
  uint64_t pos = kIlsFixedSize;
  while (pos < end) {
    const uint32_t id = ils.u16(pos);
    const uint32_t fixed = fixed_size_of(id);
    if (pos + 2 <= end && fixed == 0) break;
    const uint32_t size = pos + 6 <= end ? ils.u32(pos + 2) : 0;
    if (size < fixed || size < 6 || !ils.holds(pos, size)) {
      e.damaged = true;
      e.damaged_at = static_cast<uint32_t>(ils.file_offset(pos));
      break;
    }
    if (id == kLocalizerId) {
      e.has_localizer = true;
      e.heading = ils.f32(pos + 8);
      e.width = ils.f32(pos + 12);
    } else if (id == kGlideSlopeId) {
      e.has_glide_slope = true;
      e.glide_slope = position_at(ils, pos + 8);
      e.glide_slope_range_m = ils.f32(pos + 20);
      e.glide_slope_pitch = ils.f32(pos + 24);
    } else if (id == kDmeId) {
      e.has_dme = true;
      e.dme = position_at(ils, pos + 8);
      e.dme_range_m = ils.f32(pos + 20);
    } else {
      e.name = ils.text(pos + 6, std::min(size - 6, kMaxNameLength));
    }
    pos += size;
  }
  return e;
}

}  // namespace terrova
