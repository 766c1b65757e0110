// Taxiway sign record (a scenery object of kind 5, or of kind 14 with 16 more header bytes):
//   +0  u16  kind id
//   +2  u16  record size
//   +4  u32  longitude of the reference point, packed
//   +8  u32  latitude of the reference point, packed
//   +28 u32  number of signs (+44 for kind 14)
//   +32      sign entries (+48 for kind 14), each:
//            +0 f32 x, metres east of the reference point; +4 f32 y, metres north;
//            +8 u16 heading, value * 360/65535 degrees; +10 u8 size number;
//            +11 u8 justification (designator code); +12 label, zero-terminated.
//            The next entry follows the label's zero byte, raised to an even file offset.
#include "airport/taxiway_sign.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "format/circle.h"
#include "format/values.h"
#include "format/xml.h"

namespace terrova {
namespace {

constexpr uint32_t kPending = 1;
constexpr uint32_t kTaken = 0;
constexpr double kClaimWindow = 0.5;     // degrees of latitude and of longitude
constexpr double kClaimDistance = 8000;  // metres

}  // namespace

// The whole degrees that hold a latitude and a longitude, as the key of the sign index.
uint32_t degree_cell(double lat, double lon) {
  const auto lat_band = static_cast<uint32_t>(std::floor(lat) + 1000.0);
  const auto lon_band = static_cast<uint32_t>(std::floor(lon) + 2000.0);
  return (lat_band << 12) | lon_band;
}

void claim_taxiway_signs(DecodeContext& ctx, double lat, double lon) {
  const Image& image = ctx.image;
  SharedTables& t = ctx.tables;
  // Only records in the degree cells around the airport can lie within half a degree of it; they
  // are taken in list order, as a scan of the whole list would take them.
  t.signs_by_cell.update(t.deferred_signs.size(), [&](size_t i) {
    const uint32_t at = t.deferred_signs[i].offset;
    return degree_cell(decode_latitude(image.i32(at + 8)), decode_longitude(image.i32(at + 4)));
  });
  constexpr double kMargin = kClaimWindow + 1e-6;
  std::vector<uint32_t> candidates;
  for (double cell_lat = std::floor(lat - kMargin); cell_lat <= std::floor(lat + kMargin);
       cell_lat += 1) {
    for (double cell_lon = std::floor(lon - kMargin); cell_lon <= std::floor(lon + kMargin);
         cell_lon += 1) {
      for (const KeyIndex::Entry& entry : t.signs_by_cell.find(degree_cell(cell_lat, cell_lon))) {
        candidates.push_back(entry.position);
      }
    }
  }
  std::sort(candidates.begin(), candidates.end());
  for (uint32_t position : candidates) {
    DeferredRecord& node = t.deferred_signs[position];
    if (node.tag != kPending) continue;
    const double sign_lat = decode_latitude(image.i32(node.offset + 8));
    if (!(std::fabs(lat - sign_lat) < kClaimWindow)) continue;
    const double sign_lon = decode_longitude(image.i32(node.offset + 4));
    if (std::fabs(lon - sign_lon) < kClaimWindow) {
      // Taken even when too far to be written, so that no later airport writes it either.
      node.tag = kTaken;
      if (great_circle_distance(lat, lon, sign_lat, sign_lon) < kClaimDistance) {
        write_taxiway_signs(ctx, node.offset);
      }
    }
  }
}

void write_taxiway_signs(DecodeContext& ctx, uint32_t offset) {
  const Image& image = ctx.image;
  const DecodeOptions& o = ctx.options;
  // The scenery-object walk has checked that the record lies inside the image.
  const uint64_t end = uint64_t{offset} + image.u16(offset + 2);
  const uint32_t count_at = image.u16(offset) == 14 ? 44 : 28;
  if (uint64_t{offset} + count_at + 4 > end) {
    ctx.report_malformed(offset);
    return;
  }
  const uint32_t count = image.u32(offset + count_at);
  const double ref_lat = decode_latitude(image.i32(offset + 8));
  const double ref_lon = decode_longitude(image.i32(offset + 4));
  uint64_t pos = uint64_t{offset} + count_at + 4;
  for (uint32_t i = 0; i < count; ++i) {
    // An entry must hold its fixed part and its label's zero byte inside the record.
    const std::string_view label = pos + 12 <= end ? image.text(pos + 12, end - pos - 12) : "";
    if (pos + 12 + label.size() >= end) {
      ctx.report_malformed(pos);
      return;
    }
    const uint32_t at = static_cast<uint32_t>(pos);
    const float x = image.f32(at);
    const float y = image.f32(at + 4);
    if (!o.terse) write_record_comment_f(ctx.out, at, "TaxiwaySign x: %.4f, y: %.4f", x, y);
    const Position p = offset_position(ref_lat, ref_lon, x, y);
    ctx.out.format("\t\t<TaxiwaySign lat=\"%s\" lon=\"%s\" ", format_coordinate(o, p.lat),
                   format_coordinate(o, p.lon));
    ctx.out.format("heading=\"%0.2lf\"\n", image.u16(at + 8) * 360.0 / 65535.0);
    ctx.out.format("\t\t\tsize=\"SIZE%d\" ", image.u8(at + 10));
    ctx.out.format("justification=\"%s\" ", designator_name(image.u8(at + 11)));
    ctx.out.write("label=");
    write_quoted_text(ctx.out, label);
    ctx.out.write(" />\n");
    pos += 13 + label.size();
    if ((pos & 1) != 0) ++pos;
  }
}

}  // namespace terrova
