// The shapes of a plan: aprons, taxiway paths, runways with their ends, parking places, jetways,
// lights, fences, helipads, starts, signs, localizers and the tower, drawn in that order so that
// the smaller things lie on top.
#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>
#include <vector>

#include "plan/svg_canvas.h"

namespace terrova::plan {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kFeatherLength = 1500;  // metres of a localizer feather
constexpr double kSignLength = 8;        // metres of a sign's marker
constexpr double kSignDepth = 3;

Vec operator+(const Vec& a, const Vec& b) { return {a.x + b.x, a.y + b.y}; }
Vec operator*(const Vec& a, double k) { return {a.x * k, a.y * k}; }
// The vector to the right of a direction.
Vec right_of(const Vec& d) { return {d.y, -d.x}; }

// The four corners of the band along `d` from `from` to `to` metres, `half` metres to each side.
struct Band {
  Vec corners[4];
};
Band band(const Vec& centre, const Vec& d, double from, double to, double half) {
  const Vec r = right_of(d);
  return {
      {centre + d * from + r * half, centre + d * to + r * half, centre + d * to + r * -half,
       centre + d * from + r * -half}
  };
}

// A closed outline or an open line through the points, as one path element.
template <class Point>
void write_outline(Output& out, const char* css_class, std::span<const Point> points, bool closed) {
  if (points.empty()) return;
  // One reservation for the whole element: the writer's state is not touched point by point.
  const std::string_view name = css_class;
  char* p = out.reserve(name.size() + points.size() * kStepRoom + 24);
  p = put_text(p, "<path class=\"");
  p = put_text(p, name);
  p = put_text(p, "\" d=\"");
  Tenths pen = tenths_of(points[0]);
  p = put_step(p, 'M', pen.x, pen.y);
  for (const Point& point : points.subspan(1)) {
    const Tenths at = tenths_of(point);
    p = put_step(p, 'l', int64_t{at.x} - pen.x, int64_t{at.y} - pen.y);
    pen = at;
  }
  if (closed) *p++ = 'z';
  out.commit(put_text(p, "\"/>\n"));
}

void write_polygon(Output& out, const char* css_class, std::span<const Vec> points) {
  write_outline(out, css_class, points, true);
}

void write_circle(Output& out, const char* css_class, const Vec& centre, double radius) {
  out.format("<circle class=\"%s\" cx=\"", css_class);
  write_number(out, centre.x);
  out.write("\" cy=\"");
  write_number(out, -centre.y);
  out.write("\" r=\"");
  write_number(out, radius);
  out.write("\"/>\n");
}

void write_line(Output& out, const char* css_class, const Vec& a, const Vec& b) {
  const Vec points[] = {a, b};
  write_outline(out, css_class, std::span<const Vec>(points), false);
}

// In square user units.
double squared_length(const PlanPath& p) {
  const double dx = static_cast<double>(p.to.x) - p.from.x;
  const double dy = static_cast<double>(p.to.y) - p.from.y;
  return dx * dx + dy * dy;
}

// The angle of the text that runs along `d`, turned so that it never reads upside down.
double upright_angle(const Vec& d) {
  double angle = std::atan2(-d.y, d.x) * 180.0 / kPi;
  if (angle > 90) angle -= 180;
  if (angle < -90) angle += 180;
  return angle;
}

Style path_style(uint32_t type) {
  switch (type) {
    case kPathRunway:
      return kStyleRunwayPath;
    case kPathParking:
      return kStyleParkingPath;
    case kPathPath:
      return kStylePath;
    case kPathClosed:
      return kStyleClosedPath;
    case kPathVehicle:
      return kStyleVehiclePath;
    default:
      return kStyleTaxi;
  }
}

Style parking_style(uint32_t type) {
  if (type >= 8 && type <= 10) return kStyleGate;
  if (type >= 1 && type <= 7) return kStyleRamp;
  return kStyleOtherParking;
}

// "A12" for gate A 12, "G5" for a plain gate, "P3" for a parking, "7" for a place without a name.
struct ParkingLabel {
  char text[16];
  size_t size;
  std::string_view view() const { return {text, size}; }
};
ParkingLabel parking_label(const PlanParking& p) {
  static constexpr std::string_view kPrefixes[] = {"",  "P",  "N", "NE", "E", "SE",
                                                   "S", "SW", "W", "NW", "G", "D"};
  ParkingLabel label;
  char* at = label.text;
  if (p.name_code < 12) {
    at = std::copy(kPrefixes[p.name_code].begin(), kPrefixes[p.name_code].end(), at);
  } else {
    *at++ = static_cast<char>((p.name_code & 63) + 53);
  }
  at = std::to_chars(at, label.text + sizeof label.text, p.number).ptr;
  label.size = static_cast<size_t>(at - label.text);
  return label;
}

// How far the zones of an end reach beyond it, and the size of its number.
double zones_beyond(const RunwayEndShape& end) { return end.blast_pad.length + end.overrun.length; }
double number_size(const PlanRunway& r) { return std::fmin(std::fmax(r.width * 0.8, 12), 60); }

void draw_runway(Canvas& c, const PlanRunway& r) {
  Output& out = c.out;
  const Vec d = direction(r.heading);
  const double half = r.length / 2;
  out.write("<g class=\"runway\">\n");
  for (int e = 0; e < 2; ++e) {
    const RunwayEndShape& end = r.ends[e];
    const double sign = e == 0 ? -1 : 1;  // the primary end lies behind the centre
    double at = half;
    if (end.blast_pad.length > 0) {
      write_polygon(
          out, "blastpad",
          band(r.centre, d * sign, at, at + end.blast_pad.length, end.blast_pad.width / 2).corners);
      at += end.blast_pad.length;
    }
    if (end.overrun.length > 0) {
      write_polygon(
          out, "overrun",
          band(r.centre, d * sign, at, at + end.overrun.length, end.overrun.width / 2).corners);
    }
  }
  write_polygon(out, "rwy", band(r.centre, d, -half, half, r.width / 2).corners);
  for (int e = 0; e < 2; ++e) {
    const RunwayEndShape& end = r.ends[e];
    const Vec out_d = d * (e == 0 ? -1 : 1);
    if (end.offset_threshold.length > 0) {
      const double inner = half - std::fmin(end.offset_threshold.length, r.length);
      write_polygon(out, "threshold", band(r.centre, out_d, inner, half, r.width / 2).corners);
      write_polygon(out, "bar", band(r.centre, out_d, inner, inner + 3, r.width / 2).corners);
    }
    if (end.closed) {
      const double reach = std::fmin(r.width * 1.5, r.length / 2);
      const Band x = band(r.centre, out_d, half - reach, half, r.width / 2);
      write_line(out, "closed", x.corners[0], x.corners[2]);
      write_line(out, "closed", x.corners[1], x.corners[3]);
    }
    const double size = number_size(r);
    const Vec at = r.centre + out_d * (half + zones_beyond(end) + size * 0.9);
    write_label(c, "rwy-num", at, size, r.heading + (e == 0 ? 0 : 180),
                runway_end_text(r.number, end.designator, e == 1));
  }
  out.write("</g>\n");
}

void draw_paths(Canvas& c, const PlanData& plan) {
  Output& out = c.out;
  // Paths of one style and width make one SVG path of as many segments, in the order of their
  // style and width, and within it in file order. Each item is the group key (the style and the
  // width in tenths, 16 bits) above the path's place; they are sorted by their key a byte at a
  // time, each pass keeping the order of the one before, which costs less than comparisons
  // whose outcome the processor cannot foresee.
  constexpr uint32_t kWidthBits = 13;  // checked widths are at most 5000 tenths
  std::vector<uint64_t> order(plan.paths.size());
  for (size_t i = 0; i < order.size(); ++i) {
    const PlanPath& p = plan.paths[i];
    const auto tenths = std::min<uint64_t>(static_cast<uint64_t>(p.width * kUnitsPerMetre + 0.5),
                                           (uint64_t{1} << kWidthBits) - 1);
    order[i] = (uint64_t{path_style(p.type)} << (32 + kWidthBits)) | (tenths << 32) | i;
  }
  std::vector<uint64_t> sorted(order.size());
  for (const uint32_t shift : {32u, 40u}) {
    uint32_t starts[257] = {};
    for (const uint64_t item : order) ++starts[((item >> shift) & 0xFF) + 1];
    for (size_t b = 0; b < 256; ++b) starts[b + 1] += starts[b];
    for (const uint64_t item : order) sorted[starts[(item >> shift) & 0xFF]++] = item;
    order.swap(sorted);
  }
  // Each group's segments are defined once and drawn by reference: in its style and width, and
  // the taxiway groups again as their centre lines.
  uint32_t group = 0;
  uint32_t first_taxi_group = 0;
  uint32_t taxi_groups = 0;
  for (size_t at = 0; at < order.size(); ++group) {
    const PlanPath& first = plan.paths[order[at] & 0xFFFFFFFF];
    const Style style = path_style(first.type);
    out.format("<defs><path id=\"g%u\" d=\"", group);
    size_t end = at;
    while (end < order.size() && order[end] >> 32 == order[at] >> 32) ++end;
    SegmentText text{out.reserve((end - at) * 2 * kStepRoom + kStepRoom), {}};
    for (; at < end; ++at) {
      const PlanPath& p = plan.paths[order[at] & 0xFFFFFFFF];
      text.add(p.from, p.to);
    }
    out.commit(text.p);
    out.format("\"/></defs>\n<use xlink:href=\"#g%u\" class=\"%s\" stroke-width=\"", group,
               kStyleNames[style].css_class);
    write_number(out, first.width);
    out.write("\"/>\n");
    if (style == kStyleTaxi && taxi_groups++ == 0) first_taxi_group = group;
  }
  // The taxiway groups follow each other: their style leads the key.
  for (uint32_t g = first_taxi_group; g < first_taxi_group + taxi_groups; ++g) {
    out.format("<use xlink:href=\"#g%u\" class=\"centre\"/>\n", g);
  }
  // Each taxi name along the longest of its paths, and along every other long one.
  constexpr size_t kNone = ~size_t{0};
  std::vector<size_t> longest(plan.names.size(), kNone);
  for (size_t i = 0; i < plan.paths.size(); ++i) {
    const uint32_t name = plan.paths[i].name;
    if (name >= longest.size()) continue;
    if (longest[name] == kNone ||
        squared_length(plan.paths[i]) > squared_length(plan.paths[longest[name]])) {
      longest[name] = i;
    }
  }
  for (size_t i = 0; i < plan.paths.size(); ++i) {
    const PlanPath& p = plan.paths[i];
    if (p.name >= longest.size()) continue;
    const std::string& name = plan.names[p.name];
    const double length2 = squared_length(p);
    const double size = std::fmin(std::fmax(p.width * 0.6, 4), 30);
    // Lengths in user units: a long path is 250 m, and the name must fit along its path.
    const double long_path = 250 * kUnitsPerMetre;
    const double least = size * static_cast<double>(name.size()) * kUnitsPerMetre;
    if ((longest[p.name] != i && length2 < long_path * long_path) || length2 < least * least) {
      continue;
    }
    const Vec from = vec_of(p.from);
    const Vec to = vec_of(p.to);
    const Vec along{to.x - from.x, to.y - from.y};
    write_label(c, "taxi-name", (from + to) * 0.5, size, upright_angle(along), name);
  }
}

void draw_parking(Canvas& c, const PlanParking& p) {
  Output& out = c.out;
  const Style style = parking_style(p.type);
  write_circle(out, kStyleNames[style].css_class, p.position, p.radius);
  write_line(out, "nose", p.position, p.position + direction(p.heading) * p.radius);
  const ParkingLabel label = parking_label(p);
  const double size =
      std::fmin(p.radius * 1.4 / static_cast<double>(label.size + 1), p.radius * 0.7);
  write_label(c, "park-num", p.position, size, 0, label.view());
}

// Where a localizer's feather starts, metres from the localizer against its course: at the
// approach end of the runway it serves (the runway along its course whose axis passes near it),
// so that the feather lies beyond the runway as charts draw it; at the localizer when no runway
// of the plan fits.
double feather_start(const PlanData& plan, const PlanIls& ils) {
  const Vec back = direction(ils.heading + 180);
  double start = 0;
  for (const PlanRunway& r : plan.runways) {
    const double turn = std::fabs(std::remainder(r.heading - ils.heading, 180.0));
    const Vec to{r.centre.x - ils.position.x, r.centre.y - ils.position.y};
    const double across = std::fabs(to.x * back.y - to.y * back.x);
    if (turn > 10 || across > 300) continue;
    start = std::fmax(start, to.x * back.x + to.y * back.y + r.length / 2);
  }
  return start;
}

void draw_ils(Canvas& c, const PlanIls& ils, double start) {
  // The beam widens from the localizer; the feather is its part beyond the runway.
  const double back = ils.heading + 180;
  const double spread = ils.width / 2;
  const Vec at = ils.position;
  const Vec d = direction(back);
  const double end = start + kFeatherLength;
  const double slope = std::tan(spread * kPi / 180);
  const Vec r = right_of(d);
  const Vec points[] = {at + d * start + r * (start * slope), at + d * end + r * (end * slope),
                        at + d * (end - kFeatherLength * 0.2), at + d * end + r * (-end * slope),
                        at + d * start + r * (-start * slope)};
  write_polygon(c.out, "ils", points);
  write_line(c.out, "ils", at, at + d * end);
  std::string label = ils.ident;
  Output text(drain_to_string, &label, false, 64);
  text.format(" %0.2lf", ils.frequency_mhz);
  text.flush();
  const double size = std::fmax(40, 11 * c.unit);
  write_label(c, "ils-label", at + d * (end + size * 4), size, upright_angle(d), label);
}

void draw_sign(Canvas& c, const PlanSign& s, std::string_view label) {
  const Vec face = direction(s.heading + 90);
  write_polygon(c.out, "sign",
                band(s.position, face, -kSignLength / 2, kSignLength / 2, kSignDepth / 2).corners);
  // The sign text's size is in the style sheet: there are many signs.
  write_label(c, "sign-label", s.position + Vec{0, kSignDepth + 3}, 0, 0, label);
}

void draw_marker(Canvas& c, Style style, const Vec& at, double heading, bool triangle) {
  const double size = std::fmax(10, 6 * c.unit);
  if (triangle) {
    const Vec d = direction(heading);
    const Vec points[] = {at + d * size, at + right_of(d) * (size * 0.6),
                          at + right_of(d) * (-size * 0.6)};
    write_polygon(c.out, kStyleNames[style].css_class, points);
  } else {
    write_circle(c.out, kStyleNames[style].css_class, at, size);
  }
}

}  // namespace

Vec direction(double heading) {
  const double a = heading * kPi / 180.0;
  return {std::sin(a), std::cos(a)};
}

void add_shape_bounds(const PlanData& plan, Bounds& b) {
  for (const PlanRunway& r : plan.runways) {
    const Vec d = direction(r.heading);
    const double size = number_size(r);
    for (int e = 0; e < 2; ++e) {
      const double reach = r.length / 2 + zones_beyond(r.ends[e]) + size * 1.6;
      const double half = std::fmax(r.width, r.ends[e].blast_pad.width) / 2;
      for (const Vec& p : band(r.centre, d * (e == 0 ? -1 : 1), 0, reach, half).corners) b.add(p);
    }
  }
  for (const PlanHelipad& h : plan.helipads) b.add(h.centre, std::fmax(h.length, h.width));
  for (const PlanStart& s : plan.starts) b.add(s.position, 12);
  for (const PlanParking& p : plan.parkings) b.add(p.position, p.radius);
  // The many paths and points of outlines and lines: their extent is kept as they are added.
  if (!plan.path_bounds.empty()) {
    b.add({plan.path_bounds.min_x, plan.path_bounds.min_y});
    b.add({plan.path_bounds.max_x, plan.path_bounds.max_y});
  }
  for (const PlanLines* lines : {&plan.aprons, &plan.edge_lights, &plan.fences}) {
    if (lines->empty()) continue;
    b.add(vec_of(lines->least));
    b.add(vec_of(lines->most));
  }
  for (const PlanJetway& j : plan.jetways) {
    b.add(j.from, 4);
    b.add(j.to, 4);
  }
  for (const PlanSign& s : plan.signs) b.add(s.position, kSignLength + 4);
  for (const PlanIls& ils : plan.ils) {
    b.add(ils.position);
    const double end = feather_start(plan, ils) + kFeatherLength;
    b.add(ils.position + direction(ils.heading + 180) * (end + 400), 100);
  }
  if (plan.has_tower) b.add(plan.tower, 20);
}

void mark_styles(const PlanData& plan, bool used[kStyleCount]) {
  used[kStyleRunway] = !plan.runways.empty();
  for (const PlanRunway& r : plan.runways) {
    if (r.ends[0].closed || r.ends[1].closed) used[kStyleClosedEnd] = true;
  }
  for (const PlanPath& p : plan.paths) used[path_style(p.type)] = true;
  used[kStyleApron] = !plan.aprons.empty();
  for (const PlanParking& p : plan.parkings) used[parking_style(p.type)] = true;
  used[kStyleJetway] = !plan.jetways.empty();
  used[kStyleEdgeLights] = !plan.edge_lights.empty();
  for (const FenceKind kind : plan.fence_kinds) {
    used[kind == FenceKind::kBlast ? kStyleBlastFence : kStyleBoundaryFence] = true;
  }
  used[kStyleHelipad] = !plan.helipads.empty();
  for (const PlanHelipad& h : plan.helipads) {
    if (h.closed) used[kStyleClosedEnd] = true;
  }
  used[kStyleStart] = !plan.starts.empty();
  used[kStyleTower] = plan.has_tower;
  used[kStyleSign] = !plan.signs.empty();
  used[kStyleIls] = !plan.ils.empty();
}

void draw_shapes(Canvas& c, const PlanData& plan) {
  Output& out = c.out;
  for (size_t i = 0; i < plan.aprons.size(); ++i) write_outline(out, "apron", plan.aprons[i], true);
  for (const PlanIls& ils : plan.ils) draw_ils(c, ils, feather_start(plan, ils));
  draw_paths(c, plan);
  for (const PlanRunway& r : plan.runways) draw_runway(c, r);
  for (size_t i = 0; i < plan.edge_lights.size(); ++i) {
    write_outline(out, "edge", plan.edge_lights[i], false);
  }
  for (size_t i = 0; i < plan.fences.size(); ++i) {
    const bool blast = plan.fence_kinds[i] == FenceKind::kBlast;
    write_outline(out, kStyleNames[blast ? kStyleBlastFence : kStyleBoundaryFence].css_class,
                  plan.fences[i], false);
  }
  for (const PlanParking& p : plan.parkings) draw_parking(c, p);
  for (const PlanJetway& j : plan.jetways) {
    write_line(out, "jetway", j.from, j.to);
  }
  for (const PlanHelipad& h : plan.helipads) {
    const Band pad = band(h.centre, direction(h.heading), -h.length / 2, h.length / 2, h.width / 2);
    write_polygon(out, "heli", pad.corners);
    if (h.closed) {
      write_line(out, "closed", pad.corners[0], pad.corners[2]);
    }
    write_label(c, "heli-label", h.centre, std::fmin(h.length, h.width) * 0.6, h.heading, "H");
  }
  for (const PlanStart& s : plan.starts) draw_marker(c, kStyleStart, s.position, s.heading, true);
  const std::string_view labels = plan.sign_labels;
  for (const PlanSign& s : plan.signs) draw_sign(c, s, labels.substr(s.label_at, s.label_size));
  if (plan.has_tower) {
    draw_marker(c, kStyleTower, plan.tower, 0, false);
    write_label(c, "tower-label", plan.tower + Vec{0, -std::fmax(10, 6 * c.unit) * 2.2},
                std::fmax(10, 6 * c.unit), 0, "TWR");
  }
}

}  // namespace terrova::plan
