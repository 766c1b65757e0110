// ILS record (a VOR/ILS record of section 19 whose type is 4), as far as a runway writes it:
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
//            0x14 localizer: +6 u8 bits 4-7 runway end; +8 f32 heading; +12 f32 width
//            0x15 glide slope: +8 u32 longitude; +12 u32 latitude; +16 s32 altitude mm;
//                              +20 f32 range m; +24 f32 pitch
//            0x16 DME: +8 u32 longitude; +12 u32 latitude; +16 s32 altitude mm; +20 f32 range m
//            0x19 name: +6 text, size - 6 bytes, of which at most 47 are written
#include <algorithm>

#include "airport/subrecords.h"
#include "format/ident.h"
#include "format/values.h"
#include "format/xml.h"

namespace terrova {
namespace {

constexpr uint32_t kIlsFixedSize = 40;
constexpr uint32_t kLocalizerId = 0x14;
constexpr uint32_t kGlideSlopeId = 0x15;
constexpr uint32_t kDmeId = 0x16;
constexpr uint32_t kNameId = 0x19;
constexpr uint32_t kMaxNameLength = 47;

constexpr const char* kEnds[] = {"PRIMARY", "SECONDARY"};

// The bytes each sub-record kind reads.
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

// The last localizer, glide slope, DME and name sub-records of an ILS record (0: none).
struct IlsParts {
  uint32_t localizer = 0;
  uint32_t glide_slope = 0;
  uint32_t dme = 0;
  std::string_view name;
};

// Scans the sub-records until one of another kind; damage ends the scan too.
IlsParts scan_parts(DecodeContext& ctx, uint32_t offset) {
  const Image& image = ctx.image;
  IlsParts parts;
  const uint64_t end = uint64_t{offset} + image.u32(offset + 2);
  uint64_t pos = uint64_t{offset} + kIlsFixedSize;
  while (pos < end) {
    const uint32_t id = image.u16(pos);
    const uint32_t fixed = fixed_size_of(id);
    if (pos + 2 <= end && fixed == 0) break;
    const uint32_t size = pos + 6 <= end ? image.u32(pos + 2) : 0;
    if (size < fixed || size < 6 || pos + size > end || !image.contains(pos, size)) {
      ctx.report_malformed(pos);
      break;
    }
    const uint32_t at = static_cast<uint32_t>(pos);
    if (id == kLocalizerId) parts.localizer = at;
    if (id == kGlideSlopeId) parts.glide_slope = at;
    if (id == kDmeId) parts.dme = at;
    if (id == kNameId) parts.name = image.text(at + 6, std::min(size - 6, kMaxNameLength));
    pos += size;
  }
  return parts;
}

}  // namespace

void write_runway_ils(DecodeContext& ctx, uint32_t offset) {
  const Image& image = ctx.image;
  const DecodeOptions& o = ctx.options;
  Output& out = ctx.out;
  if (!image.contains(offset, kIlsFixedSize)) {
    ctx.report_malformed(offset);
    return;
  }
  const IlsParts parts = scan_parts(ctx, offset);
  const uint32_t loc = parts.localizer;
  const double heading = loc != 0 ? image.f32(loc + 8) : 0.0;
  const double width = loc != 0 ? image.f32(loc + 12) : 0.0;
  const uint32_t end_code = loc != 0 ? image.u8(loc + 6) >> 4 : 0;

  out.format("\t\t\t<Ils lat=\"%s\" lon=\"%s\"\n",
             format_coordinate(o, decode_latitude(image.i32(offset + 12))),
             format_coordinate(o, decode_longitude(image.i32(offset + 8))));
  out.format("\t\t\t\talt=%s heading=\"%0.2lf\"\n", format_altitude(o, image.i32(offset + 16)),
             heading);
  out.format("\t\t\t\tfrequency=\"%.3lf\" end=\"%s\" backCourse=\"%s\"\n",
             image.i32(offset + 20) * 0.000001, EnumText(kEnds, end_code),
             true_false((image.u8(offset + 7) >> 2) & 1));
  out.format("\t\t\t\trange=%s magvar=\"%.2lf\" ident=\"%s\" width=\"%.2lf\"\n",
             format_range(o, image.f32(offset + 24)), signed_magvar(image.f32(offset + 28)),
             decode_ident(image.u32(offset + 32)), width);
  out.write("\t\t\t\tname=");
  write_quoted_text(out, parts.name);
  if (parts.glide_slope == 0 && parts.dme == 0) {
    out.write(" />\n");
    return;
  }
  out.write(" >\n");
  if (const uint32_t gs = parts.glide_slope; gs != 0) {
    out.format("\t\t\t\t<GlideSlope lat=\"%s\" lon=\"%s\"\n",
               format_coordinate(o, decode_latitude(image.i32(gs + 12))),
               format_coordinate(o, decode_longitude(image.i32(gs + 8))));
    out.format("\t\t\t\t\talt=%s pitch=\"%.2lf\" range=%s />\n",
               format_altitude(o, image.i32(gs + 16)), image.f32(gs + 24),
               format_range(o, image.f32(gs + 20)));
  }
  if (const uint32_t dme = parts.dme; dme != 0) {
    out.format("\t\t\t\t<Dme lat=\"%s\" lon=\"%s\" alt=%s range=%s />\n",
               format_coordinate(o, decode_latitude(image.i32(dme + 12))),
               format_coordinate(o, decode_longitude(image.i32(dme + 8))),
               format_altitude(o, image.i32(dme + 16)), format_range(o, image.f32(dme + 20)));
  }
  out.write("\t\t\t</Ils>\n");
}

}  // namespace terrova
