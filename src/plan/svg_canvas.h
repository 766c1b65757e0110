// What the two halves of the SVG writer share: the frame (view box, title, legend) and the shapes.
// Shapes are given in the local plane (x east, y north, metres) and written in SVG user units,
// tenths of a metre, with y turned to point south.
#pragma once

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <limits>
#include <span>
#include <string_view>

#include "plan/plan_data.h"
#include "text/output.h"

namespace terrova::plan {

// The styles a plan can use, in legend order.
enum Style : uint32_t {
  kStyleRunway,
  kStyleClosedEnd,
  kStyleTaxi,
  kStyleRunwayPath,
  kStyleParkingPath,
  kStylePath,
  kStyleClosedPath,
  kStyleVehiclePath,
  kStyleApron,
  kStyleGate,
  kStyleRamp,
  kStyleOtherParking,
  kStyleJetway,
  kStyleEdgeLights,
  kStyleBlastFence,
  kStyleBoundaryFence,
  kStyleHelipad,
  kStyleStart,
  kStyleTower,
  kStyleSign,
  kStyleIls,
  kStyleCount
};

// The class name of each style and its text in the legend.
struct StyleName {
  const char* css_class;
  const char* legend;
};
extern const StyleName kStyleNames[kStyleCount];

struct Canvas {
  Output& out;
  double unit;  // metres per pixel of the plan at its own size
};

// Lengths and positions of the view, in metres, written in user units: whole tenths of a metre,
// which is more than the eye sees.
void write_number(Output& out, double metres);
// The same at `p`, which has room for `kNumberRoom` bytes (a number takes at most 11 of them, and
// a short one stores 8 bytes at once); returns the number's end.
constexpr size_t kNumberRoom = 17;
char* put_number(char* p, double metres);
// "00" to "99".
inline constexpr char kDigitPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";
char* put_long_integer(char* p, uint64_t n);
// A whole number, with room for `kNumberRoom` bytes at `p`. Most numbers of a plan are the short
// steps of its outlines and paths: those of up to five digits are written here without a branch on
// their length (which the processor could not foresee), the others by `put_long_integer`.
inline char* put_integer(char* p, int64_t value) {
  *p = '-';
  p += value < 0 ? 1 : 0;
  // Differences of two bounded values are at most 4e9.
  const uint64_t n = value < 0 ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
  if (std::endian::native != std::endian::little || n >= 100000) [[unlikely]] {
    return put_long_integer(p, n);
  }
  const uint32_t v = static_cast<uint32_t>(n);
  const uint32_t digits = 1 + (v >= 10) + (v >= 100) + (v >= 1000) + (v >= 10000);
  // The five digits, the first in the lowest byte, then the leading zeros shifted out.
  const uint32_t high = v / 100;
  uint16_t middle_pair;
  uint16_t last_pair;
  std::memcpy(&middle_pair, kDigitPairs + (high % 100) * 2, 2);
  std::memcpy(&last_pair, kDigitPairs + (v % 100) * 2, 2);
  const uint64_t text =
      (uint64_t{'0' + high / 100} | uint64_t{middle_pair} << 8 | uint64_t{last_pair} << 24) >>
      (8 * (5 - digits));
  std::memcpy(p, &text, 8);
  return p + digits;
}

// Text at `p`, which has room for it; returns its end.
inline char* put_text(char* p, std::string_view text) {
  std::memcpy(p, text.data(), text.size());
  return p + text.size();
}

// One step of the "d" text of a path of straight lines: its command and a point, "M" absolute,
// "l" (line) and "m" (new start) relative to the pen, so that the numbers stay short and the
// rounding does not add up. The room a step takes at most:
constexpr size_t kStepRoom = 2 * kNumberRoom + 2;
inline char* put_step(char* p, char command, int64_t x, int64_t y) {
  *p++ = command;
  p = put_integer(p, x);
  *p++ = ',';
  return put_integer(p, y);
}

// The segments of a path, each a line from its start to its end: a segment that starts where the
// last one ended goes on from it, any other starts anew. Whether it does follows no pattern, so
// the new start is always written and kept or not without a branch. The caller has reserved
// `2 * kStepRoom` bytes for each segment, and `kStepRoom` more for the first start.
struct SegmentText {
  char* p;
  Tenths pen;
  bool started = false;
  void add(const Tenths& from, const Tenths& to) {
    if (!started) {
      p = put_step(p, 'M', from.x, from.y);
      pen = from;
      started = true;
    }
    char* const start = p;
    char* const moved = put_step(p, 'm', int64_t{from.x} - pen.x, int64_t{from.y} - pen.y);
    p = from == pen ? start : moved;
    p = put_step(p, 'l', int64_t{to.x} - from.x, int64_t{to.y} - from.y);
    pen = to;
  }
};

// " x,y" of a point, in user units.
void write_point(Output& out, const Vec& p);
// Text from the file, escaped as the document escapes it.
void write_text(Output& out, std::string_view text);
// `<text class=... x= y= font-size=...>text</text>`, rotated by `angle` degrees clockwise about
// its position, centred on it; a `size` of 0 leaves the size to the style sheet.
void write_label(Canvas& canvas, const char* css_class, const Vec& at, double size, double angle,
                 std::string_view text);

// The extent of every shape of the plan, labels included as far as they can be known.
void add_shape_bounds(const PlanData& plan, Bounds& bounds);
// Marks the styles that `draw_shapes` uses, for the legend (which is laid out before the shapes
// are drawn, so that the plan is written in one pass).
void mark_styles(const PlanData& plan, bool used[kStyleCount]);
// Draws every shape.
void draw_shapes(Canvas& canvas, const PlanData& plan);

// The direction of a heading: a unit vector in the local plane.
Vec direction(double heading);

}  // namespace terrova::plan
