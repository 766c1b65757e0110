// One airport's plan as it is drawn: every shape in the local plane around the airport reference
// point, in metres (x east, y north), checked and resolved (paths end at their points and parking
// places). The collector fills it from the geometry listener's calls; the SVG writer draws it.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <span>
#include <string>
#include <vector>

#include "bgl/geometry.h"

namespace terrova::plan {

struct Vec {
  double x = 0;  // metres east of the reference point
  double y = 0;  // metres north
};

// The SVG user unit is a tenth of a metre, so that every number of a plan is a whole one.
constexpr double kUnitsPerMetre = 10;

// A point as it is written: in user units (x east, y south). The many points of taxiways and
// outlines are kept so, rounded once when they are collected.
struct Tenths {
  int32_t x = 0;
  int32_t y = 0;
  bool operator==(const Tenths&) const = default;
};

// Metres as whole user units, rounded half away from zero; beyond 200000 km (or not a number),
// that bound or 0, so that every point fits 32 bits. Every value drawn lies within a few hundred
// kilometres.
inline int64_t to_tenths(double metres) {
  const double scaled = metres * kUnitsPerMetre;
  // Without a branch on the sign, which is as likely one way as the other: half a unit away from
  // zero, then cut toward it.
  if (std::fabs(scaled) < 2e9) [[likely]] {
    return static_cast<int64_t>(scaled + std::copysign(0.5, scaled));
  }
  if (std::isnan(scaled)) return 0;
  return scaled < 0 ? -2000000000 : 2000000000;
}
inline Tenths tenths_of(const Vec& p) {
  return {static_cast<int32_t>(to_tenths(p.x)), static_cast<int32_t>(to_tenths(-p.y))};
}
// (So that a writer takes either kind of point.)
inline Tenths tenths_of(const Tenths& t) { return t; }
inline Vec vec_of(const Tenths& t) { return {t.x / kUnitsPerMetre, -t.y / kUnitsPerMetre}; }

// The extent of shapes, in metres.
struct Bounds {
  double min_x = std::numeric_limits<double>::infinity();
  double min_y = std::numeric_limits<double>::infinity();
  double max_x = -std::numeric_limits<double>::infinity();
  double max_y = -std::numeric_limits<double>::infinity();
  // Every point given is a number.
  void add(const Vec& p, double pad = 0) {
    min_x = std::min(min_x, p.x - pad);
    max_x = std::max(max_x, p.x + pad);
    min_y = std::min(min_y, p.y - pad);
    max_y = std::max(max_y, p.y + pad);
  }
  bool empty() const { return !(min_x <= max_x); }
};

// Lines of many points in one store: line i is `points[ends[i - 1]]` (0 for the first) up to
// `points[ends[i]]`.
struct PlanLines {
  std::vector<Tenths> points;
  std::vector<uint32_t> ends;
  // The extent of all points, kept as they are added.
  Tenths least{INT32_MAX, INT32_MAX};
  Tenths most{INT32_MIN, INT32_MIN};
  size_t size() const { return ends.size(); }
  bool empty() const { return ends.empty(); }
  void clear() {
    points.clear();
    ends.clear();
    least = {INT32_MAX, INT32_MAX};
    most = {INT32_MIN, INT32_MIN};
  }
  std::span<const Tenths> operator[](size_t i) const {
    const uint32_t from = i == 0 ? 0 : ends[i - 1];
    return {points.data() + from, ends[i] - from};
  }
};

struct PlanRunway {
  Vec centre;
  double length = 0;
  double width = 0;
  double heading = 0;
  uint32_t number = 0;
  RunwayEndShape ends[2];  // primary, secondary; zone sizes checked (0: none)
};

struct PlanHelipad {
  Vec centre;
  double length = 0;
  double width = 0;
  double heading = 0;
  bool closed = false;
};

struct PlanStart {
  Vec position;
  double heading = 0;
};

struct PlanParking {
  Vec position;
  double radius = 0;
  double heading = 0;
  uint32_t name_code = 0;
  uint32_t number = 0;
  uint32_t type = 0;
};

// A path without a taxi name.
constexpr uint32_t kNoName = ~uint32_t{0};

struct PlanPath {
  Tenths from;
  Tenths to;
  uint32_t type = 0;  // `PathType`
  float width = 0;
  uint32_t name = kNoName;  // the taxi name's place in `PlanData::names`
};

struct PlanJetway {
  Vec from;  // the jetway object
  Vec to;    // the edge of the parking place it serves
};

struct PlanSign {
  Vec position;
  double heading = 0;
  uint32_t label_at = 0;  // the label text in `PlanData::sign_labels`
  uint32_t label_size = 0;
};

struct PlanIls {
  Vec position;
  double heading = 0;
  double width = 0;  // degrees, checked
  double frequency_mhz = 0;
  std::string ident;
};

struct PlanData {
  std::string ident;
  std::string name;           // texts from the file, Windows-1252
  bool name_in_utf8 = false;  // but the name in UTF-8 (MSFS 2024)
  std::string city;
  std::string country;
  bool has_tower = false;
  Vec tower;
  std::vector<PlanRunway> runways;
  std::vector<PlanHelipad> helipads;
  std::vector<PlanStart> starts;
  std::vector<PlanParking> parkings;
  std::vector<PlanPath> paths;
  Bounds path_bounds;              // of the paths with half their width around their ends
  std::vector<std::string> names;  // the taxi names of the paths, each once, none empty
  PlanLines aprons;                // outlines
  PlanLines edge_lights;
  PlanLines fences;
  std::vector<FenceKind> fence_kinds;  // of each fence
  std::vector<PlanJetway> jetways;
  std::vector<PlanSign> signs;
  std::string sign_labels;  // the label texts of all signs, one after the other
  std::vector<PlanIls> ils;

  // Empty again, keeping the room of every list for the next airport of the file.
  void clear() {
    ident.clear();
    name.clear();
    city.clear();
    country.clear();
    has_tower = false;
    runways.clear();
    helipads.clear();
    starts.clear();
    parkings.clear();
    paths.clear();
    path_bounds = Bounds();
    names.clear();
    aprons.clear();
    edge_lights.clear();
    fences.clear();
    fence_kinds.clear();
    jetways.clear();
    signs.clear();
    sign_labels.clear();
    ils.clear();
  }
};

// The text of a runway end, "09L", from the runway number code of the primary end (with
// `opposite`, the other end's number: 27 for 09, "S" for "N") and the end's own designator code.
std::string runway_end_text(uint32_t number, uint32_t designator, bool opposite);

}  // namespace terrova::plan
