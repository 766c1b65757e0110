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

void write_vor(DecodeContext& ctx, uint32_t at, uint32_t size) {
  const Image& image = ctx.image;
  const DecodeOptions& o = ctx.options;

  // The sub-records: the last DME and name sub-records count; any other id ends the scan, and
  // the station is written from what was read.
  char name[kNameCapacity + 1] = {};
  DmeFields dme;
  const uint64_t end = uint64_t{at} + size;
  for (uint64_t sub = at + kVorFixedSize; sub < end;) {
    const uint16_t id = image.u16(sub);
    if (id != kDmeId && id != kNameId) break;
    const uint32_t sub_size = image.u32(sub + 2);
    if (!sub_record_fits(ctx, sub, sub_size, end, id == kDmeId ? kDmeSize : 6)) break;
    if (id == kDmeId) {
      dme = {true, image.i32(sub + 0x08), image.i32(sub + 0x0C), image.i32(sub + 0x10),
             image.f32(sub + 0x14)};
    } else {
      // A later name is copied over an earlier one, as the buffer holds it.
      const std::string_view text = image.bytes(sub + 6, std::min(sub_size - 6, kNameCapacity));
      std::memcpy(name, text.data(), text.size());
    }
    sub += sub_size;
  }
  trim_trailing_blanks(name);

  ctx.out.format(
      "\t<Vor lat=\"%s\" lon=\"%s\" alt=%s type=\"%s\"\n\t\tfrequency=\"%0.3lf\" magvar=\"%0.2lf\"",
      format_coordinate(o, decode_latitude(image.i32(at + 0x0C))),
      format_coordinate(o, decode_longitude(image.i32(at + 0x08))),
      format_altitude(o, image.i32(at + 0x10)), EnumText(kVorTypeNames, image.u8(at + 0x06)),
      image.i32(at + 0x14) * 1e-06, signed_magvar(image.f32(at + 0x1C)));
  ctx.out.format(
      " range=%s region=\"%s\"\n\t\tident=\"%s\" name=", format_range(o, image.f32(at + 0x18)),
      decode_region(image.u32(at + 0x24)), decode_ident(image.u32(at + 0x20)));
  write_quoted_text(ctx.out, std::string_view(name));
  ctx.out.put(' ');
  if (!dme.seen) {
    ctx.out.write("dme=\"FALSE\" dmeOnly=\"FALSE\" >\n");
  } else {
    // Every flags value with a DME sub-record: a station whose flags lack the VOR bit is
    // DME-only.
    const bool dme_only = (image.u8(at + 0x07) & 1) == 0;
    ctx.out.format("dme=\"TRUE\" dmeOnly=\"%s\" >\n", true_false(dme_only));
    ctx.out.format("\t\t<Dme lat=\"%s\" lon=\"%s\" alt=%s range=%s />\n",
                   format_coordinate(o, decode_latitude(dme.lat)),
                   format_coordinate(o, decode_longitude(dme.lon)), format_altitude(o, dme.alt),
                   format_range(o, dme.range));
  }
  ctx.out.write("\t</Vor>\n\n");
}

// ILS records inside the circle are set aside for the runways; the other stations are written.
void take_navaid(DecodeContext& ctx, uint32_t at, uint32_t size) {
  const Image& image = ctx.image;
  if (!in_decode_circle(ctx.options, decode_latitude(image.i32(at + 0x0C)),
                        decode_longitude(image.i32(at + 0x08)))) {
    return;
  }
  if (image.u8(at + 0x06) == kIlsType) {
    ctx.tables.deferred_navaids.push_back({at, 0});
  } else {
    write_vor(ctx, at, size);
  }
}

}  // namespace

void decode_vors(DecodeContext& ctx, const SubsectionRun& run) {
  walk_sized_records(ctx, run, kVorFixedSize, kVorId,
                     [&ctx](uint32_t at, uint32_t size) { take_navaid(ctx, at, size); });
}

}  // namespace terrova
