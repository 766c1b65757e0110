// The frame of a plan: the SVG head with its view box and style sheet, the title, the scale bar,
// the north arrow and the legend. The view box is in metres; the frame is laid out in pixels of
// the plan at its own size (`unit` metres each), so that it reads the same at every airport size.
#include "plan/svg_plan.h"

#include <bit>
#include <cmath>
#include <cstring>

#include "format/xml.h"
#include "plan/svg_canvas.h"

namespace terrova::plan {

const StyleName kStyleNames[kStyleCount] = {
    {"rwy",         "runway"          },
    {"closed",      "closed"          },
    {"p-taxi",      "taxiway"         },
    {"p-rwy",       "runway path"     },
    {"p-park",      "parking path"    },
    {"p-path",      "path"            },
    {"p-closed",    "closed path"     },
    {"p-vehicle",   "vehicle path"    },
    {"apron",       "apron"           },
    {"gate",        "gate"            },
    {"ramp",        "ramp parking"    },
    {"park-other",  "other parking"   },
    {"jetway",      "jetway"          },
    {"edge",        "apron edge light"},
    {"fence-blast", "blast fence"     },
    {"fence-bound", "boundary fence"  },
    {"heli",        "helipad"         },
    {"start",       "start"           },
    {"tower",       "tower"           },
    {"sign",        "taxiway sign"    },
    {"ils",         "ILS localizer"   },
};

namespace {

// The plan's drawing area at its own size, the frame around it, in pixels.
constexpr double kMostWidth = 1100;
constexpr double kMostHeight = 800;
constexpr double kLeastPlanWidth = 760;
constexpr double kMargin = 24;
constexpr double kTitleBand = 64;
constexpr double kScaleRow = 36;
constexpr double kLegendRow = 22;
constexpr double kLegendItem = 170;
// The smallest extent drawn, in metres: a plan of one tower is not a close-up of a point.
constexpr double kLeastExtent = 300;

// The style sheet, in user units (decimetres); stroke widths of the frame-like lines follow the
// pixel size `u` (metres).
void write_style(Output& out, double u) {
  const double px = u * kUnitsPerMetre;  // user units of a pixel
  out.write("<style type=\"text/css\">\n");
  out.write(
      "text{font-family:'DejaVu Sans',Arial,Helvetica,sans-serif;text-anchor:middle;"
      "dominant-baseline:central}\n");
  out.format(".apron{fill:#d3d0c8;stroke:#a39f94;stroke-width:%0.1lf}\n", px);
  out.write(
      ".p-taxi,.p-rwy,.p-park,.p-path,.p-closed,.p-vehicle"
      "{fill:none;stroke-linecap:round;stroke-linejoin:round}\n");
  out.write(".p-taxi{stroke:#8c8c8c}.p-rwy{stroke:#6e6e6e}.p-park{stroke:#a8a8a8}\n");
  out.write(".p-path{stroke:#bca978}.p-closed{stroke:#c98a8a}.p-vehicle{stroke:#d8bf5a}\n");
  out.format(".centre{fill:none;stroke:#f2c200;stroke-width:%0.1lf;stroke-linejoin:round}\n",
             std::fmax(4, 0.6 * px));
  out.format(".rwy{fill:#3b3b3b;stroke:#ffffff;stroke-width:%0.1lf}\n", std::fmax(5, 0.8 * px));
  out.write(".threshold{fill:#5d5d5d}.bar{fill:#ffffff}\n");
  out.write(".blastpad{fill:#e8c547;stroke:#7a6a20;stroke-width:5}.overrun{fill:#9a9a86}\n");
  out.format(".closed{stroke:#ffd000;stroke-width:%0.1lf;fill:none}\n", std::fmax(20, 1.5 * px));
  out.write(".rwy-num{fill:#1c1c1c;font-weight:bold}\n");
  out.format(".gate,.ramp,.park-other{stroke-width:%0.1lf;fill-opacity:0.45}\n",
             std::fmax(3, 0.6 * px));
  out.write(".gate{fill:#5b8fd6;stroke:#24518f}.ramp{fill:#79b86b;stroke:#336b28}\n");
  out.write(".park-other{fill:#e0a050;stroke:#8a5a1c}\n");
  out.format(".nose{stroke:#24384f;stroke-width:%0.1lf}\n", std::fmax(3, 0.5 * px));
  out.write(".park-num{fill:#0e2236}.taxi-name{fill:#3a3000;font-weight:bold}\n");
  out.write(".jetway{stroke:#36506e;stroke-width:35;stroke-linecap:butt}\n");
  out.format(".edge{fill:none;stroke:#2a5cff;stroke-width:%0.1lf;stroke-dasharray:%0.1lf,%0.1lf}\n",
             1.5 * px, 2 * px, 2 * px);
  out.format(".fence-blast{fill:none;stroke:#b02a2a;stroke-width:%0.1lf}\n", 2 * px);
  out.format(
      ".fence-bound{fill:none;stroke:#555555;stroke-width:%0.1lf;stroke-dasharray:%0.1lf,%0.1lf}\n",
      1.5 * px, 5 * px, 3 * px);
  out.format(".heli{fill:#5a5a5a;stroke:#ffffff;stroke-width:%0.1lf}.heli-label{fill:#ffffff}\n",
             0.8 * px);
  out.format(".start{fill:#d93636;stroke:#ffffff;stroke-width:%0.1lf}\n", 0.6 * px);
  out.format(".tower{fill:#7a3fa0;stroke:#ffffff;stroke-width:%0.1lf}.tower-label{fill:#4a1f66}\n",
             0.8 * px);
  out.write(
      ".sign{fill:#ffd400;stroke:#000000;stroke-width:4}"
      ".sign-label{fill:#000000;font-size:40px}\n");
  out.format(".ils{fill:#c040c0;fill-opacity:0.12;stroke:#a020a0;stroke-width:%0.1lf}\n", px);
  out.write(".ils-label{fill:#801880}\n");
  out.write(".frame{fill:#222222;text-anchor:start;dominant-baseline:auto}.bg{fill:#f6f3ec}\n");
  out.format(".rule{stroke:#222222;stroke-width:%0.1lf;fill:none}\n", 1.5 * px);
  out.write("</style>\n");
}

// A round length for the scale bar: 1, 2 or 5 times a power of ten, at most `most` metres.
double scale_length(double most) {
  double step = std::pow(10.0, std::floor(std::log10(most)));
  if (step * 5 <= most) return step * 5;
  if (step * 2 <= most) return step * 2;
  return step;
}

void write_rect(Output& out, const char* css_class, double x, double y, double w, double h) {
  out.format("<rect class=\"%s\" x=\"", css_class);
  write_number(out, x);
  out.write("\" y=\"");
  write_number(out, y);
  out.write("\" width=\"");
  write_number(out, w);
  out.write("\" height=\"");
  write_number(out, h);
  out.write("\"/>\n");
}

// `<text class="frame" x=... y=... font-size=...` of a text of the frame at (x, y), in metres of
// user space; the caller ends the tag.
void open_frame_text(Output& out, double x, double y, double size) {
  out.write("<text class=\"frame\" x=\"");
  write_number(out, x);
  out.write("\" y=\"");
  write_number(out, y);
  out.write("\" font-size=\"");
  write_number(out, size);
  out.put('"');
}

// A legend swatch of the style at (x, y), its top left corner, in user units.
void write_swatch(Canvas& c, Style style, double x, double y) {
  const double u = c.unit;
  const char* css_class = kStyleNames[style].css_class;
  Output& out = c.out;
  if (style >= kStyleTaxi && style <= kStyleVehiclePath) {
    out.format("<polyline class=\"%s\" stroke-width=\"", css_class);
    write_number(out, 7 * u);
    out.write("\" points=\"");
    write_point(out, {x + 3 * u, -(y + 6 * u)});
    write_point(out, {x + 21 * u, -(y + 6 * u)});
    out.write("\"/>\n");
  } else if (style == kStyleClosedEnd || style == kStyleEdgeLights || style == kStyleBlastFence ||
             style == kStyleBoundaryFence || style == kStyleJetway) {
    out.format("<polyline class=\"%s\" points=\"", css_class);
    write_point(out, {x, -(y + 6 * u)});
    write_point(out, {x + 24 * u, -(y + 6 * u)});
    out.write("\"/>\n");
  } else {
    write_rect(out, css_class, x, y, 24 * u, 12 * u);
  }
}

}  // namespace

char* put_long_integer(char* p, uint64_t n) {
  static constexpr uint64_t kPowers[] = {
      1, 10, 100, 1000, 10000, 100000, 1000000, 10000000, 100000000, 1000000000, 10000000000};
  // The number of digits from the bit length (1233/4096 is just above log10 2), less one where
  // the estimate passes the value. The digits go straight to their place, two at a time from
  // the last.
  const auto estimate = static_cast<uint32_t>((std::bit_width(n) * 1233) >> 12);
  char* const end = p + estimate + (n >= kPowers[estimate] ? 1 : 0);
  char* d = end;
  while (n >= 100) {
    d -= 2;
    std::memcpy(d, kDigitPairs + (n % 100) * 2, 2);
    n /= 100;
  }
  if (n >= 10) {
    std::memcpy(d - 2, kDigitPairs + n * 2, 2);
  } else {
    d[-1] = static_cast<char>('0' + n);
  }
  return end;
}

char* put_number(char* p, double metres) { return put_integer(p, to_tenths(metres)); }

void write_number(Output& out, double metres) {
  out.commit(put_number(out.reserve(kNumberRoom), metres));
}

void write_point(Output& out, const Vec& p) {
  char* at = out.reserve(2 * kNumberRoom + 2);
  *at++ = ' ';
  at = put_number(at, p.x);
  *at++ = ',';
  out.commit(put_number(at, -p.y));
}

void write_text(Output& out, std::string_view text) { write_escaped_text(out, text); }

namespace {

void write_name(Output& out, const PlanData& plan) { write_text(out, plan.name); }

// An angle in degrees, to a tenth.
char* put_angle(char* p, double degrees) {
  const int64_t t = to_tenths(degrees);
  const int64_t whole = t / 10;
  if (t < 0 && whole == 0) *p++ = '-';
  p = put_integer(p, whole);
  const int64_t tenth = t < 0 ? whole * 10 - t : t - whole * 10;
  if (tenth != 0) {
    *p++ = '.';
    *p++ = static_cast<char>('0' + tenth);
  }
  return p;
}

}  // namespace

void write_label(Canvas& c, const char* css_class, const Vec& at, double size, double angle,
                 std::string_view text) {
  Output& out = c.out;
  const std::string_view name = css_class;
  // The element up to its text in one reservation: there are many labels.
  char* p = out.reserve(name.size() + 64 + 6 * kNumberRoom);
  p = put_text(p, "<text class=\"");
  p = put_text(p, name);
  p = put_text(p, "\" x=\"");
  p = put_number(p, at.x);
  p = put_text(p, "\" y=\"");
  p = put_number(p, -at.y);
  *p++ = '"';
  if (size > 0) {
    p = put_text(p, " font-size=\"");
    p = put_number(p, size);
    *p++ = '"';
  }
  // Turned when the turn shows in a tenth of a degree.
  if (std::fabs(angle * 10) >= 0.5) {
    p = put_text(p, " transform=\"rotate(");
    p = put_angle(p, angle);
    *p++ = ' ';
    p = put_number(p, at.x);
    *p++ = ' ';
    p = put_number(p, -at.y);
    p = put_text(p, ")\"");
  }
  *p++ = '>';
  out.commit(p);
  write_text(out, text);
  out.write("</text>\n");
}

void write_plan_svg(const PlanData& plan, std::string& svg, OutputStorage& storage) {
  Bounds b;
  add_shape_bounds(plan, b);
  if (b.empty()) b.add({0, 0}, kLeastExtent / 2);
  // Small plans are widened about their middle.
  const double mid_x = (b.min_x + b.max_x) / 2;
  const double mid_y = (b.min_y + b.max_y) / 2;
  const double w = std::fmax(b.max_x - b.min_x, kLeastExtent);
  const double h = std::fmax(b.max_y - b.min_y, kLeastExtent);
  const double u = std::fmax(w / kMostWidth, h / kMostHeight);

  // The frame in pixels: the title above the plan, the scale bar and the legend below it.
  bool used[kStyleCount] = {};
  mark_styles(plan, used);
  Style used_styles[kStyleCount];
  size_t used_count = 0;
  for (uint32_t s = 0; s < kStyleCount; ++s) {
    if (used[s]) used_styles[used_count++] = static_cast<Style>(s);
  }
  const double width_px = std::ceil(std::fmax(w / u + 2 * kMargin, kLeastPlanWidth));
  const size_t per_row = static_cast<size_t>((width_px - 2 * kMargin) / kLegendItem);
  const size_t rows = (used_count + per_row - 1) / per_row;
  const double plan_top = kMargin + kTitleBand;
  const double height_px = std::ceil(plan_top + h / u + kMargin + kScaleRow +
                                     static_cast<double>(rows) * kLegendRow + 8);
  // The user units of the top left corner.
  const double x0 = mid_x - width_px / 2 * u;
  const double y0 = -(mid_y + h / 2) - plan_top * u;

  svg.clear();
  // Room for the usual text of each shape, so that the text is not moved as it grows.
  const size_t points = plan.aprons.points.size() + plan.edge_lights.points.size();
  svg.reserve(8192 + points * 12 + plan.paths.size() * 40 + plan.parkings.size() * 200 +
              plan.signs.size() * 160);
  Output out(drain_to_string, &svg, false, storage);
  out.set_text_encoding(plan.text_encoding);
  out.write("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n");
  out.write(
      "<svg xmlns=\"http://www.w3.org/2000/svg\" xmlns:xlink=\"http://www.w3.org/1999/xlink\" "
      "version=\"1.1\"");
  out.format(" width=\"%0.0lf\" height=\"%0.0lf\" viewBox=\"", width_px, height_px);
  write_number(out, x0);
  out.put(' ');
  write_number(out, y0);
  out.put(' ');
  write_number(out, width_px * u);
  out.put(' ');
  write_number(out, height_px * u);
  out.write("\">\n<title>");
  write_text(out, plan.ident);
  if (!plan.name.empty()) out.write(" - ");
  write_name(out, plan);
  out.write("</title>\n");
  write_style(out, u);
  write_rect(out, "bg", x0, y0, width_px * u, height_px * u);
  Canvas canvas{out, u};
  draw_shapes(canvas, plan);
  // Everything after the shapes is the frame.
  out.write("<g id=\"frame\">\n");
  // The title: ident and name, then city and country.
  auto px = [&](double x) { return x0 + x * u; };
  auto py = [&](double y) { return y0 + y * u; };
  open_frame_text(out, px(kMargin), py(kMargin + 22), 22 * u);
  out.write(" font-weight=\"bold\">");
  write_text(out, plan.ident);
  if (!plan.name.empty()) out.write(" \xE2\x80\x94 ");
  write_name(out, plan);
  out.write("</text>\n");
  if (!plan.city.empty() || !plan.country.empty()) {
    open_frame_text(out, px(kMargin), py(kMargin + 46), 15 * u);
    out.put('>');
    write_text(out, plan.city);
    if (!plan.city.empty() && !plan.country.empty()) out.write(", ");
    write_text(out, plan.country);
    out.write("</text>\n");
  }

  // The north arrow at the top right.
  const double arrow_x = width_px - kMargin - 14;
  const Vec arrow[] = {
      {px(arrow_x),      -py(kMargin + 4) },
      {px(arrow_x + 10), -py(kMargin + 34)},
      {px(arrow_x),      -py(kMargin + 27)},
      {px(arrow_x - 10), -py(kMargin + 34)}
  };
  out.write("<polygon class=\"frame\" points=\"");
  for (const Vec& p : arrow) write_point(out, p);
  out.write("\"/>\n");
  write_label(canvas, "frame-n", {px(arrow_x), -py(kMargin + 48)}, 14 * u, 0, "N");

  // The scale bar below the plan.
  const double bar_y = plan_top + h / u + kMargin + 10;
  const double metres = scale_length(200 * u);
  out.write("<polyline class=\"rule\" points=\"");
  write_point(out, {px(kMargin), -py(bar_y - 6)});
  write_point(out, {px(kMargin), -py(bar_y)});
  write_point(out, {px(kMargin) + metres, -py(bar_y)});
  write_point(out, {px(kMargin) + metres, -py(bar_y - 6)});
  out.write("\"/>\n");
  open_frame_text(out, px(kMargin) + metres + 8 * u, py(bar_y + 4), 13 * u);
  out.format(">%0.0lf m</text>\n", metres);

  // The legend: the styles used, in rows.
  for (size_t i = 0; i < used_count; ++i) {
    const double x = kMargin + static_cast<double>(i % per_row) * kLegendItem;
    const double y = bar_y + 16 + static_cast<double>(i / per_row) * kLegendRow;
    write_swatch(canvas, used_styles[i], px(x), py(y));
    open_frame_text(out, px(x + 30), py(y + 10.5), 12 * u);
    out.format(">%s</text>\n", kStyleNames[used_styles[i]].legend);
  }
  out.write("</g>\n</svg>\n");
  out.flush();
}

}  // namespace terrova::plan
