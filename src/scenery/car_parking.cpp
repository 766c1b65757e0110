// Car parking, kind data of MSFS scenery objects of kinds 0x16 and 0x1E: the outline of an area
// that the simulator fills with parked cars.
// Kind 0x16 (checked: all 29 of five airports, every vertex):
//   +0  u16      vertex count n
//   +2  n x 16   vertices: f64 latitude, f64 longitude, degrees
// Kind 0x1E, the later form (checked: the 9 of three airports, every vertex and heading):
//   +0  u16      vertex count n
//   +2  f32      `carsHeading`, radians as the source writes it
//   +6  n x 16   vertices as above
//   +6 + 16n     4 bytes, zero in every record (bytes); `isRectangle` is not found in the bytes
//                (TRUE and FALSE areas differ nowhere), so it is not written
// A count that the kind data cannot hold is reported; the vertices that fit are written.
#include <cstring>

#include "format/values.h"
#include "format/xml.h"
#include "scenery/kinds.h"

namespace terrova {
namespace {

constexpr uint32_t kCountAt = 0;
constexpr uint32_t kVerticesAt = 2;
constexpr uint32_t kHeadingAt = 2;
constexpr uint32_t kLaterVerticesAt = 6;
constexpr uint32_t kLaterTail = 4;
constexpr uint32_t kVertexSize = 16;

double f64_at(const Record& record, uint64_t at) {
  const uint64_t bits = uint64_t{record.u32(at)} | uint64_t{record.u32(at + 4)} << 32;
  double value = 0;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

// Writes the element with its vertices from `vertices_at`; returns the kind data consumed.
uint32_t write_car_parking(DecodeContext& ctx, const char* name, const Record& kind_data,
                           uint32_t vertices_at, uint32_t tail, bool with_heading) {
  const uint32_t count = kind_data.u16(kCountAt);
  uint64_t length = vertices_at + uint64_t{count} * kVertexSize + tail;
  uint32_t fitting = count;
  if (length > kind_data.size()) {
    ctx.report_malformed(kind_data.offset());
    fitting = (kind_data.size() - vertices_at) / kVertexSize;
    length = kind_data.size();
  }
  Output& out = ctx.out;
  out.format("\t\t<%s", name);
  if (with_heading) {
    out.format(" carsHeading=\"%0.6lf\"", static_cast<double>(kind_data.f32(kHeadingAt)));
  }
  out.write(">\n");
  for (uint32_t i = 0; i < fitting; ++i) {
    const uint64_t at = vertices_at + uint64_t{i} * kVertexSize;
    out.format("\t\t\t<Vertex lat=\"%s\" lon=\"%s\" />\n",
               format_coordinate(ctx.options, f64_at(kind_data, at)),
               format_coordinate(ctx.options, f64_at(kind_data, at + 8)));
  }
  out.format("\t\t</%s>\n", name);
  return static_cast<uint32_t>(length);
}

}  // namespace

uint32_t decode_car_parking(DecodeContext& ctx, const char* name, const Record& kind_data) {
  return write_car_parking(ctx, name, kind_data, kVerticesAt, 0, false);
}

uint32_t decode_later_car_parking(DecodeContext& ctx, const char* name, const Record& kind_data) {
  return write_car_parking(ctx, name, kind_data, kLaterVerticesAt, kLaterTail, true);
}

}  // namespace terrova
