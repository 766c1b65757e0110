// Light support sub-record of MSFS (0x57): an area whose lights or light objects are left out.
// Checked against the author's source (9 records of one airport, every field):
//   +6  u8   flags: bit 0 excludeLights, bit 1 excludeLightObjects
//   +7  u8   zero (not read)
//   +8  f64  latitude, degrees
//   +16 f64  longitude, degrees
//   +24 f64  altitude, metres
//   +32 f64  altitude2, metres
//   +40 f32  heading, degrees
//   +44 f32  width, metres
//   +48 f32  length, metres
#include "airport/msfs_later_records.h"
#include "format/values.h"
#include "format/xml.h"

namespace terrova {
namespace {

constexpr uint32_t kFlagsAt = 6;
constexpr uint32_t kLatitudeAt = 8;
constexpr uint32_t kLongitudeAt = 16;
constexpr uint32_t kAltitudeAt = 24;
constexpr uint32_t kAltitude2At = 32;
constexpr uint32_t kHeadingAt = 40;
constexpr uint32_t kWidthAt = 44;
constexpr uint32_t kLengthAt = 48;

}  // namespace

void decode_msfs_light_support(DecodeContext& ctx, const char* name, const Record& record,
                               RecordWalk&) {
  const DecodeOptions& o = ctx.options;
  if (!o.terse) write_record_comment(ctx.out, name, record.offset());
  const uint32_t flags = record.u8(kFlagsAt);
  ctx.out.format("\t\t<%s latitude=\"%s\" longitude=\"%s\"\n", name,
                 format_coordinate(o, record_f64(record, kLatitudeAt)),
                 format_coordinate(o, record_f64(record, kLongitudeAt)));
  ctx.out.format("\t\t\taltitude=%s altitude2=%s heading=\"%0.2lf\"\n",
                 format_length(o, static_cast<float>(record_f64(record, kAltitudeAt))),
                 format_length(o, static_cast<float>(record_f64(record, kAltitude2At))),
                 static_cast<double>(record.f32(kHeadingAt)));
  // The schema takes width and length as plain numbers: always metres.
  ctx.out.format("\t\t\twidth=\"%0.2lf\" length=\"%0.2lf\"\n",
                 static_cast<double>(record.f32(kWidthAt)),
                 static_cast<double>(record.f32(kLengthAt)));
  ctx.out.format("\t\t\texcludeLights=\"%s\" excludeLightObjects=\"%s\" />\n",
                 true_false(flags & 1), true_false((flags >> 1) & 1));
}

}  // namespace terrova
