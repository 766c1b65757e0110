// Packed positions, altitudes, lengths, ranges, runway numbers, surfaces and designators, and
// their text in the units and coordinate style of the run.
//
// The formatters return small value objects that the output templates write in place ("%s"),
// so a template can hold several of them without any buffer or allocation. The unit formatters
// write their own double quotes ("alt=%s"); coordinates are bare ("lat=\"%s\"").
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "bgl/context.h"
#include "text/output.h"

namespace terrova {

// Latitude: 90 - v * 45/2^27 degrees; v = 0 is 90 north, v = 2^29 is 90 south.
inline double decode_latitude(int32_t packed) { return 90.0 - packed * 3.3527612686157227e-07; }
// Longitude: v * 15/2^25 - 180 degrees; v = 3 * 2^27 is 0.
inline double decode_longitude(int32_t packed) { return packed * 4.470348358154297e-07 - 180.0; }

// A coordinate in decimal degrees ("%0.6lf") or degrees and decimal minutes ("%d %0.5lf").
struct CoordinateText {
  double degrees;
  bool degrees_minutes;
  void append_to(Output& out) const;
  std::string str() const;
};
CoordinateText format_coordinate(const DecodeOptions& options, double degrees);

// A number in double quotes with an optional unit letter after it: "1.23", "3.281F", "1.00N".
struct QuotedNumber {
  double value;
  int precision;
  char unit;  // 0 for none
  void append_to(Output& out) const;
  std::string str() const;
};
// Millimetres as metres ("%0.2lf") or feet ("%0.3lfF").
QuotedNumber format_altitude(const DecodeOptions& options, int32_t millimetres);
// Metres as metres ("%0.2lf") or feet ("%0.3lfF").
QuotedNumber format_length(const DecodeOptions& options, float metres);
// Metres as metres ("%0.2lf") or nautical miles ("%0.2lfN").
QuotedNumber format_range(const DecodeOptions& options, float metres);

// A name from a code table, or the code as a plain decimal number when the code lies beyond the
// table. Usable as text ("%s") for as long as the object lives.
class EnumText {
 public:
  EnumText(std::span<const char* const> table, uint32_t code);
  explicit EnumText(const char* name) : name_(name) {}
  // The code as a plain decimal number.
  static EnumText number(uint32_t code) { return EnumText({}, code); }
  std::string_view str() const {
    return name_ != nullptr ? std::string_view(name_) : std::string_view(digits_, length_);
  }
  operator std::string_view() const { return str(); }

 private:
  const char* name_ = nullptr;
  char digits_[11] = {};
  uint8_t length_ = 0;
};

// Runway number: 0 is written as 36, 1-36 with two digits, 37-44 as compass directions.
EnumText format_runway_number(uint32_t number);
// Surface name; 254 is "UNKNOWN".
EnumText surface_name(uint32_t code);
// "NONE", "LEFT", "RIGHT", "CENTER", "WATER", "A".
EnumText designator_name(uint32_t code);
// Waypoint type: " ", "NAMED", "UNNAMED", "VOR", "NDB", "OFFROUTE", "IAF", "FAF". Shared by
// enroute waypoints and the terminal waypoints written inside airports.
EnumText waypoint_type_name(uint32_t code);
// Magnetic variation as stored (0-360) to signed degrees: 180 and above lose 360.
double signed_magvar(float degrees);

// "TRUE" or "FALSE".
inline std::string_view true_false(bool value) {
  return value ? std::string_view("TRUE", 4) : std::string_view("FALSE", 5);
}

}  // namespace terrova
