// What the two halves of the SVG writer share: the frame (view box, title, legend) and the shapes.
// Shapes are given in the local plane (x east, y north, metres) and written in SVG user units,
// which are metres too, with y turned to point south.
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
  void add(const Vec& p, double pad = 0);
  bool empty() const { return !(min_x <= max_x); }
};

struct Canvas {
  Output& out;
  double unit;  // metres per pixel of the plan at its own size
  bool used[kStyleCount] = {};
};

// Numbers of the view: one decimal of a metre is more than the eye sees.
void write_number(Output& out, double value);
// " x,y" of a point in SVG user units.
void write_point(Output& out, const Vec& p);
// Text from the file, escaped as the document escapes it.
void write_text(Output& out, std::string_view text);
// `<text class=... x= y= font-size=...>text</text>`, rotated by `angle` degrees clockwise about
// its position, centred on it.
void write_label(Canvas& canvas, const char* css_class, const Vec& at, double size, double angle,
                 std::string_view text);

// The extent of every shape of the plan, labels included as far as they can be known.
void add_shape_bounds(const PlanData& plan, Bounds& bounds);
// Draws every shape, and marks the styles used.
void draw_shapes(Canvas& canvas, const PlanData& plan);

// The direction of a heading: a unit vector in the local plane.
Vec direction(double heading);

}  // namespace terrova::plan
