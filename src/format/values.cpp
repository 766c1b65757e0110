#include "format/values.h"

#include <cmath>

#include "text/numbers.h"

namespace terrova {
namespace {

constexpr const char* kSurfaceNames[] = {
    "CONCRETE", "GRASS",       "WATER",      "UNKNOWN",    "ASPHALT", "UNKNOWN", "UNKNOWN",
    "CLAY",     "SNOW",        "ICE",        "UNKNOWN",    "UNKNOWN", "DIRT",    "CORAL",
    "GRAVEL",   "OIL_TREATED", "STEEL_MATS", "BITUMINOUS", "BRICK",   "MACADAM", "PLANKS",
    "SAND",     "SHALE",       "TARMAC",     "UNKNOWN"};

constexpr const char* kDesignatorNames[] = {"NONE", "LEFT", "RIGHT", "CENTER", "WATER", "A"};

constexpr const char* kWaypointTypeNames[] = {" ",   "NAMED",    "UNNAMED", "VOR",
                                              "NDB", "OFFROUTE", "IAF",     "FAF"};

constexpr const char* kCompassNames[] = {"NORTH", "NORTHEAST", "EAST", "SOUTHEAST",
                                         "SOUTH", "SOUTHWEST", "WEST", "NORTHWEST"};

// The whole degrees of a non-negative coordinate, truncated toward zero. Values beyond the int
// range give INT_MIN, the integer conversion result of the platform the format came from.
int32_t whole_degrees(double y) {
  if (!(y < 2147483648.0)) return INT32_MIN;
  return static_cast<int32_t>(y);
}

template <class T>
std::string render(const T& value) {
  std::string s;
  Output out(drain_to_string, &s, false);
  value.append_to(out);
  out.flush();
  return s;
}

}  // namespace

void CoordinateText::append_to(Output& out) const {
  if (!degrees_minutes) {
    out.fixed(degrees, 6);
    return;
  }
  // Minutes are rounded by their formatting alone; there is no carry into the degrees.
  if (degrees >= 0) {
    int32_t d = whole_degrees(degrees);
    out.format("%d %0.5lf", d, (degrees - d) * 60);
  } else {
    double y = -degrees;
    int32_t d = whole_degrees(y);
    out.format("-%d %0.5lf", d, (y - d) * 60);
  }
}

std::string CoordinateText::str() const { return render(*this); }

CoordinateText format_coordinate(const DecodeOptions& options, double degrees) {
  return CoordinateText{degrees, options.degrees_minutes};
}

void QuotedNumber::append_to(Output& out) const {
  char* p = out.reserve(fixed_room(value, precision) + 3);
  *p++ = '"';
  p = write_fixed(p, value, precision);
  if (unit != 0) *p++ = unit;
  *p++ = '"';
  out.commit(p);
}

std::string QuotedNumber::str() const { return render(*this); }

QuotedNumber format_altitude(const DecodeOptions& options, int32_t millimetres) {
  if (options.feet) return QuotedNumber{millimetres * 0.0032808000000000004, 3, 'F'};
  return QuotedNumber{millimetres * 0.001, 2, 0};
}

QuotedNumber format_length(const DecodeOptions& options, float metres) {
  if (options.feet) return QuotedNumber{metres * 3.2808, 3, 'F'};
  return QuotedNumber{metres, 2, 0};
}

QuotedNumber format_range(const DecodeOptions& options, float metres) {
  if (options.nautical_miles) return QuotedNumber{metres * 0.0005399568034557235, 2, 'N'};
  return QuotedNumber{metres, 2, 0};
}

EnumText::EnumText(std::span<const char* const> table, uint32_t code) {
  if (code < table.size()) {
    name_ = table[code];
    return;
  }
  length_ = static_cast<uint8_t>(write_unsigned(digits_, code) - digits_);
}

EnumText format_runway_number(uint32_t number) {
  number &= 0xFF;
  if (number == 0) number = 36;
  if (number >= 37 && number <= 44) return EnumText(kCompassNames[number - 37]);
  // Two digits for 1-36; bytes past the compass directions keep their plain number.
  static constexpr const char* kOneToNine[] = {"00", "01", "02", "03", "04",
                                               "05", "06", "07", "08", "09"};
  if (number < 10) return EnumText(kOneToNine[number]);
  return EnumText::number(number);
}

EnumText surface_name(uint32_t code) {
  if (code == 254) code = 24;
  return EnumText(kSurfaceNames, code);
}

EnumText designator_name(uint32_t code) { return EnumText(kDesignatorNames, code); }

EnumText waypoint_type_name(uint32_t code) { return EnumText(kWaypointTypeNames, code); }

double signed_magvar(float degrees) {
  double v = degrees;
  return v >= 180 ? v - 360 : v;
}

}  // namespace terrova
