// What the two halves of the SVG writer share: the frame (view box, title, legend) and the shapes.
// Shapes are given in the local plane (x east, y north, metres) and written in SVG user units,
// tenths of a metre, with y turned to point south.
#pragma once

#include <cstdint>
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
// A whole number.
char* put_integer(char* p, int64_t value);
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
