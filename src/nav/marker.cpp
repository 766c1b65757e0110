// Marker beacons of section 24.
//
// Marker record:
//   0x00 u16  id (any value)
//   0x02 u32  size
//   0x05 u16  heading word: the top byte of the size (0 below 16 MiB) and the heading byte
//   0x06 u8   heading, 360/255 degree
//   0x07 u8   type: 0 inner, 1 middle, 2 outer, 3 back course
//   0x08 s32  longitude, packed
//   0x0C s32  latitude, packed
//   0x10 s32  altitude, millimetres
//   0x14 u32  identifier word
//   0x18 u32  region word; 0 is read as 2
#include "format/circle.h"
#include "format/ident.h"
#include "format/values.h"
#include "format/xml.h"
#include "nav/nav.h"
#include "nav/record_walk.h"

namespace terrova {
namespace {

constexpr uint32_t kMarkerFixedSize = 0x1C;
// 360/65280 degree per unit of the 16-bit word at 0x05.
constexpr double kHeadingUnit = 0.005514705882352941;

constexpr const char* kMarkerTypeNames[] = {"INNER", "MIDDLE", "OUTER", "BACKCOURSE"};

void write_marker(DecodeContext& ctx, const Record& marker) {
  const DecodeOptions& o = ctx.options;
  const double lat = decode_latitude(marker.i32(0x0C));
  const double lon = decode_longitude(marker.i32(0x08));
  if (!in_decode_circle(o, lat, lon, marker)) return;
  marker.name_kind("Marker");
  // A zero region word stands for region value 2, written as the digit 0.
  const uint32_t region = marker.u32(0x18);
  if (!o.terse) write_record_comment(ctx.out, "Marker", marker.offset());
  ctx.out.format(
      "\t<Marker type=\"%s\" lat=\"%s\" lon=\"%s\"\n\t\talt=%s heading=\"%0.2lf\" region=\"%s\" "
      "ident=\"%s\" />\n",
      EnumText(kMarkerTypeNames, marker.u8(0x07)), format_coordinate(o, lat),
      format_coordinate(o, lon), format_altitude(o, marker.i32(0x10)),
      marker.u16(0x05) * kHeadingUnit, decode_region(region == 0 ? 2 : region),
      decode_ident(marker.u32(0x14)));
  ctx.out.put('\n');
}

}  // namespace

void decode_markers(DecodeContext& ctx, const SubsectionRun& run) {
  walk_counted_records(ctx, run, kMarkerFixedSize, 0,
                       [&ctx](const Record& marker) { write_marker(ctx, marker); });
}

}  // namespace terrova
