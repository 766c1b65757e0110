#include "format/circle.h"

#include <cmath>

namespace terrova {
namespace {

constexpr double kPi = 3.141592653589;
constexpr double kDegreesToRadians = 0.01745329251993889;
constexpr double kRadiansToDegrees = 57.29577951309679;
constexpr double kEarthRadius = 6367311.808279065;
constexpr double kNorthScale = 1.5705214855345313e-07;
constexpr double kEastScale = 1.5678565956776043e-07;
constexpr double kPolarGuard = 1e-06;

}  // namespace

bool in_decode_circle(const DecodeOptions& options, double lat, double lon, const Record& record) {
  if (in_decode_circle(options, lat, lon)) return true;
  record.leave_out_of_report();
  return false;
}

bool in_decode_circle(const DecodeOptions& options, double lat, double lon) {
  if (!options.circle_enabled) return true;
  double d = great_circle_distance(options.center_lat, options.center_lon, lat, lon);
  return !(d > options.radius_m);
}

double great_circle_distance(double lat1, double lon1, double lat2, double lon2) {
  const double p1 = lat1 * kDegreesToRadians;
  const double p2 = lat2 * kDegreesToRadians;
  const double dl = (lon2 - lon1) * kDegreesToRadians;
  const double cos_dl = std::cos(dl);
  const double y = 0.5 * (std::cos(p2 - p1) * (1 + cos_dl) + std::cos(p1 + p2) * (cos_dl - 1));
  return std::atan2(std::sqrt(1 - y * y), y) * kEarthRadius;
}

Position offset_position(double lat, double lon, double east, double north) {
  const double a = lat * kDegreesToRadians;
  const double b = lon * kDegreesToRadians;
  const double c = east * kEastScale;
  const double dn = north * kNorthScale;
  Position result;
  result.lat = (a + dn) * kRadiansToDegrees;
  if (c == 0) {
    result.lon = b * kRadiansToDegrees;
    return result;
  }
  // The east offset is a great-circle distance c from the point; e is the longitude difference
  // between two points of the starting latitude whose central angle is c.
  double e;
  const double cos_a = std::cos(a);
  if (cos_a < kPolarGuard) {
    e = 0;
  } else {
    const double sin_a = std::sin(a);
    const double x = (std::cos(c) - sin_a * sin_a) / (cos_a * cos_a);
    if (x > 1) {
      e = 0;
    } else if (x < -1) {
      e = kPi;
    } else {
      e = std::atan2(std::sqrt(1 - x * x), x);
    }
  }
  result.lon = (c > 0 ? b + e : b - e) * kRadiansToDegrees;
  return result;
}

}  // namespace terrova
