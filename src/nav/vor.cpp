// VOR, VOR-DME, DME-only and VOT stations of section 19, and the ILS records that the runways
// write later.
//
// VOR/ILS record:
//   0x00 u16  id, 0x0013 (any other id ends the run)
//   0x02 u32  size, sub-records included
//   0x06 u8   type: 0 none, 1 terminal, 2 low, 3 high, 4 ILS, 5 VOT
//   0x07 u8   flags: bit 0 set when a VOR stands beside the DME (0x11, 0x31), clear for a
//             DME-only station (0x10)
//   0x08 s32  longitude, packed
//   0x0C s32  latitude, packed
//   0x10 s32  altitude, millimetres
//   0x14 s32  frequency, Hz
//   0x18 f32  range, metres
//   0x1C f32  magnetic variation, degrees
//   0x20 u32  identifier word
//   0x24 u32  region word
//   0x28      sub-records up to the record's end, each u16 id and u32 size:
//     0x0016 DME:  0x08 s32 longitude, 0x0C s32 latitude, 0x10 s32 altitude (mm),
//                  0x14 f32 range (m)
//     0x0019 name: text from 0x06, size - 6 bytes, not NUL-terminated
#include <algorithm>
#include <cstring>

#include "format/circle.h"
#include "format/ident.h"
#include "format/values.h"
#include "format/xml.h"
#include "nav/ils.h"
#include "nav/nav.h"
#include "nav/record_walk.h"

namespace terrova {
namespace {

constexpr uint16_t kVorId = 0x0013;
constexpr uint32_t kVorFixedSize = 0x28;
constexpr uint16_t kDmeId = 0x0016;
constexpr uint32_t kDmeSize = 0x18;
constexpr uint16_t kNameId = 0x0019;
constexpr uint8_t kIlsType = 4;
// The name keeps at most 63 characters.
constexpr uint32_t kNameCapacity = 63;

constexpr const char* kVorTypeNames[] = {" ", "TERMINAL", "LOW", "HIGH", " ", "VOT"};

struct DmeFields {
  bool seen = false;
  int32_t lon = 0;
  int32_t lat = 0;
  int32_t alt = 0;
  float range = 0;
};

void write_vor(DecodeContext& ctx, const Record& vor) {
  const DecodeOptions& o = ctx.options;

  // The sub-records: the last DME and name sub-records count; any other id ends the scan, and
  // the station is written from what was read.
  char name[kNameCapacity + 1] = {};
  DmeFields dme;
  RecordWalk subs(ctx, vor, kVorFixedSize);
  uint16_t id = 0;
  Record sub;
  while (subs.peek_id(id) && (id == kDmeId || id == kNameId)) {
    if (!subs.next(sub, id == kDmeId ? kDmeSize : 6)) break;
    sub.name_kind(id == kDmeId ? "Dme" : "VorName");
    if (id == kDmeId) {
      dme = {true, sub.i32(0x08), sub.i32(0x0C), sub.i32(0x10), sub.f32(0x14)};
    } else {
      // A later name is copied over an earlier one, as the buffer holds it.
      const std::string_view text = sub.bytes(6, std::min(sub.size() - 6, kNameCapacity));
      std::memcpy(name, text.data(), text.size());
    }
  }
  trim_trailing_blanks(name);

  ctx.out.format(
      "\t<Vor lat=\"%s\" lon=\"%s\" alt=%s type=\"%s\"\n\t\tfrequency=\"%0.3lf\" magvar=\"%0.2lf\"",
      format_coordinate(o, decode_latitude(vor.i32(0x0C))),
      format_coordinate(o, decode_longitude(vor.i32(0x08))), format_altitude(o, vor.i32(0x10)),
      EnumText(kVorTypeNames, vor.u8(0x06)), vor.i32(0x14) * 1e-06, signed_magvar(vor.f32(0x1C)));
  ctx.out.format(" range=%s region=\"%s\"\n\t\tident=\"%s\" name=", format_range(o, vor.f32(0x18)),
                 decode_region(vor.u32(0x24)), decode_ident(vor.u32(0x20)));
  write_quoted_text(ctx.out, std::string_view(name));
  ctx.out.put(' ');
  if (!dme.seen) {
    ctx.out.write("dme=\"FALSE\" dmeOnly=\"FALSE\" >\n");
  } else {
    // Every flags value with a DME sub-record: a station whose flags lack the VOR bit is
    // DME-only.
    const bool dme_only = (vor.u8(0x07) & 1) == 0;
    ctx.out.format("dme=\"TRUE\" dmeOnly=\"%s\" >\n", true_false(dme_only));
    ctx.out.format("\t\t<Dme lat=\"%s\" lon=\"%s\" alt=%s range=%s />\n",
                   format_coordinate(o, decode_latitude(dme.lat)),
                   format_coordinate(o, decode_longitude(dme.lon)), format_altitude(o, dme.alt),
                   format_range(o, dme.range));
  }
  ctx.out.write("\t</Vor>\n\n");
}

// ILS records inside the circle are kept for the runways; the other stations are written.
void take_navaid(DecodeContext& ctx, const Record& record) {
  if (!in_decode_circle(ctx.options, decode_latitude(record.i32(0x0C)),
                        decode_longitude(record.i32(0x08)), record)) {
    return;
  }
  record.name_kind(record.u8(0x06) == kIlsType ? "Ils" : "Vor");
  if (ctx.facts != nullptr) {
    report_navaid(ctx, record,
                  {record.u8(0x06) == kIlsType ? "ILS" : "VOR", 0x08, 0x0C, 0x20, 0x24});
  }
  if (record.u8(0x06) == kIlsType) {
    ctx.tables.deferred_navaids.push_back(read_ils(record));
  } else {
    write_vor(ctx, record);
  }
}

}  // namespace

void decode_vors(DecodeContext& ctx, const SubsectionRun& run) {
  walk_sized_records(ctx, run, kVorFixedSize, kVorId, kDeleteIlss,
                     [&ctx](const Record& record) { take_navaid(ctx, record); });
}

}  // namespace terrova
