// TACAN stations of the later simulators' section 0xA0.
//
// TACAN record (75 bytes with its sub-records, not aligned):
//   0x00 u16  id, 0x00A0 (any other id ends the run)
//   0x02 u32  size, sub-records included
//   0x06 s32  longitude, packed
//   0x0A s32  latitude, packed
//   0x0E s32  altitude, millimetres
//   0x12 s32  channel number
//   0x16 u8   flags: bit 0 set for the Y band, clear for X; bit 1 set when the station is more
//             than a DME
//   0x17 f32  range, metres
//   0x1B f32  magnetic variation, degrees
//   0x1F u32  identifier word
//   0x23 u32  region word
//   0x27      sub-records up to the record's end, each u16 id and u32 size:
//     0x0016 DME (24 bytes): the DME's own position and range; the element has no place for
//            them, so they are read past
//     0x0019 name: text from 0x06, size - 6 bytes, not NUL-terminated
#include <algorithm>
#include <cstring>

#include "format/circle.h"
#include "format/ident.h"
#include "format/values.h"
#include "format/xml.h"
#include "nav/nav.h"
#include "nav/record_walk.h"

namespace terrova {
namespace {

constexpr uint16_t kTacanId = 0x00A0;
constexpr uint32_t kTacanFixedSize = 0x27;
constexpr uint16_t kDmeId = 0x0016;
constexpr uint32_t kDmeSize = 0x18;
constexpr uint16_t kNameId = 0x0019;
// The name keeps at most 63 characters, as a VOR's does.
constexpr uint32_t kNameCapacity = 63;

void write_tacan(DecodeContext& ctx, const Record& tacan) {
  const DecodeOptions& o = ctx.options;
  if (!in_decode_circle(o, decode_latitude(tacan.i32(0x0A)), decode_longitude(tacan.i32(0x06)),
                        tacan)) {
    return;
  }
  tacan.name_kind("Tacan");

  // The sub-records: the last name counts; any other id than a DME or a name ends the scan, and
  // the station is written from what was read.
  char name[kNameCapacity + 1] = {};
  RecordWalk subs(ctx, tacan, kTacanFixedSize);
  uint16_t id = 0;
  Record sub;
  while (subs.peek_id(id) && (id == kDmeId || id == kNameId)) {
    if (!subs.next(sub, id == kDmeId ? kDmeSize : 6)) break;
    sub.name_kind(id == kDmeId ? "TacanDme" : "TacanName");
    if (id == kNameId) {
      const std::string_view text = sub.text(6, std::min(sub.size() - 6, kNameCapacity));
      std::memset(name, 0, sizeof name);
      std::memcpy(name, text.data(), text.size());
    }
  }
  trim_trailing_blanks(name);

  const uint32_t flags = tacan.u8(0x16);
  ctx.out.format("\t<Tacan lat=\"%s\" lon=\"%s\" alt=%s channel=\"%d%c\"\n\t\tmagvar=\"%0.2lf\"",
                 format_coordinate(o, decode_latitude(tacan.i32(0x0A))),
                 format_coordinate(o, decode_longitude(tacan.i32(0x06))),
                 format_altitude(o, tacan.i32(0x0E)), tacan.i32(0x12), (flags & 1) ? 'Y' : 'X',
                 signed_magvar(tacan.f32(0x1B)));
  ctx.out.format(
      " range=%s region=\"%s\"\n\t\tident=\"%s\" name=", format_range(o, tacan.f32(0x17)),
      decode_region(tacan.u32(0x23)), decode_ident(tacan.u32(0x1F)));
  write_quoted_text(ctx.out, std::string_view(name));
  ctx.out.format(" dmeOnly=\"%s\" />\n\n", true_false((flags & 2) == 0));
}

}  // namespace

void decode_tacans(DecodeContext& ctx, const SubsectionRun& run) {
  walk_sized_records(ctx, run, kTacanFixedSize, kTacanId, 0,
                     [&ctx](const Record& record) { write_tacan(ctx, record); });
}

}  // namespace terrova
