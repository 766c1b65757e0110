// What the two halves of the SVG writer share: the frame (view box, title, legend) and the shapes.
// Shapes are given in the local plane (x east, y north, metres) and written in SVG user units,
// tenths of a metre, with y turned to point south.
#pragma once

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

struct Bounds {
  double min_x = std::numeric_limits<double>::infinity();
  double min_y = std::numeric_limits<double>::infinity();
  double max_x = -std::numeric_limits<double>::infinity();
  double max_y = -std::numeric_limits<double>::infinity();
  // Plain comparisons: every point given is a number.
  void add(const Vec& p, double pad = 0) {
    if (p.x - pad < min_x) min_x = p.x - pad;
    if (p.x + pad > max_x) max_x = p.x + pad;
    if (p.y - pad < min_y) min_y = p.y - pad;
    if (p.y + pad > max_y) max_y = p.y + pad;
  }
  bool empty() const { return !(min_x <= max_x); }
};

struct Canvas {
  Output& out;
  double unit;  // metres per pixel of the plan at its own size
};

// Lengths and positions of the view, in metres, written in user units: whole tenths of a metre,
// which is more than the eye sees.
void write_number(Output& out, double metres);
// The same at `p`, which has room for `kNumberRoom` bytes (a number takes at most 14 of them);
// returns the number's end.
constexpr size_t kNumberRoom = 17;
char* put_number(char* p, double metres);
char* put_long_integer(char* p, uint64_t n);
// A whole number, with room for 16 bytes at `p`. Most numbers of a plan are the short steps of
// its outlines and paths: those of up to five digits are written here without a branch on their
// length (which the processor could not foresee), the others by `put_long_integer`.
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
  const uint64_t spread = uint64_t{v / 10000} | uint64_t{v / 1000 % 10} << 8 |
                          uint64_t{v / 100 % 10} << 16 | uint64_t{v / 10 % 10} << 24 |
                          uint64_t{v % 10} << 32;
  const uint64_t text = (spread | 0x3030303030) >> (8 * (5 - digits));
  std::memcpy(p, &text, 8);
  return p + digits;
}
// An angle in degrees, to a tenth.
void write_angle(Output& out, double degrees);

// The "d" text of a path of straight lines: "M" to the first point, then each line ("l") and each
// new start ("m") relative to the pen, so that the numbers stay short and the rounding does not
// add up.
class PathText {
 public:
  explicit PathText(Output& out) : out_(out) {}
  void move_to(const Tenths& p) { step(started_ ? 'm' : 'M', p); }
  void line_to(const Tenths& p) { step('l', p); }
  // A line from `from` to `to`: a new start at `from` unless the pen is there already. Whether it
  // is follows no pattern, so the start is always written and kept or not without a branch.
  void segment(const Tenths& from, const Tenths& to) {
    if (!started_) move_to(from);
    char* const start = out_.reserve(4 * kNumberRoom + 4);
    char* at = start;
    *at++ = 'm';
    at = put_integer(at, int64_t{from.x} - pen_.x);
    *at++ = ',';
    at = put_integer(at, int64_t{from.y} - pen_.y);
    at = from == pen_ ? start : at;
    *at++ = 'l';
    at = put_integer(at, int64_t{to.x} - from.x);
    *at++ = ',';
    out_.commit(put_integer(at, int64_t{to.y} - from.y));
    pen_ = to;
  }
  void move_to(const Vec& p) { move_to(tenths_of(p)); }
  void line_to(const Vec& p) { line_to(tenths_of(p)); }
  void close() { out_.put('z'); }
  // True when the pen is at `p`.
  bool at(const Tenths& p) const { return started_ && p == pen_; }

 private:
  void step(char command, const Tenths& p) {
    const bool relative = command != 'M';
    char* at = out_.reserve(2 * kNumberRoom + 2);
    *at++ = command;
    at = put_integer(at, relative ? int64_t{p.x} - pen_.x : p.x);
    *at++ = ',';
    out_.commit(put_integer(at, relative ? int64_t{p.y} - pen_.y : p.y));
    pen_ = p;
    started_ = true;
  }

  Output& out_;
  bool started_ = false;
  Tenths pen_;
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
