// Packed positions and the text of values in every unit and coordinate style.
#include "format/values.h"

#include <gtest/gtest.h>

#include "golden.h"

namespace terrova {
namespace {

using testkit::switches;

std::string coordinate(const DecodeOptions& o, double v) { return format_coordinate(o, v).str(); }

TEST(Coordinates, PackedValues) {
  EXPECT_EQ(decode_latitude(0), 90.0);
  EXPECT_EQ(decode_latitude(1 << 29), -90.0);
  EXPECT_EQ(decode_longitude(0), -180.0);
  EXPECT_EQ(decode_longitude(3 << 27), 0.0);
  EXPECT_EQ(decode_longitude(static_cast<int32_t>(3u << 28)), 180.0);  // wraps negative as s32
}

TEST(Coordinates, DecimalDegreesAndDegreesMinutes) {
  const DecodeOptions plain;
  const DecodeOptions dm = switches("d");
  EXPECT_EQ(coordinate(plain, 47.258711), "47.258711");
  EXPECT_EQ(coordinate(plain, -0.25), "-0.250000");
  EXPECT_EQ(coordinate(dm, 47.5), "47 30.00000");
  EXPECT_EQ(coordinate(dm, 0.25), "0 15.00000");
  EXPECT_EQ(coordinate(dm, -0.25), "-0 15.00000");
  EXPECT_EQ(coordinate(dm, -0.5), "-0 30.00000");
  EXPECT_EQ(coordinate(dm, 12.9999999999), "12 60.00000");  // no carry into the degrees
  EXPECT_EQ(coordinate(dm, -122.5), "-122 30.00000");
}

TEST(Units, AltitudesLengthsAndRanges) {
  const DecodeOptions plain;
  const DecodeOptions feet = switches("f");
  const DecodeOptions miles = switches("m");
  EXPECT_EQ(format_altitude(plain, 0).str(), "\"0.00\"");
  EXPECT_EQ(format_altitude(feet, 0).str(), "\"0.000F\"");
  EXPECT_EQ(format_altitude(plain, 1234).str(), "\"1.23\"");
  EXPECT_EQ(format_altitude(plain, -2500).str(), "\"-2.50\"");
  EXPECT_EQ(format_altitude(feet, 1000).str(), "\"3.281F\"");
  EXPECT_EQ(format_length(plain, 45.5f).str(), "\"45.50\"");
  EXPECT_EQ(format_length(feet, 1.0f).str(), "\"3.281F\"");
  EXPECT_EQ(format_length(miles, 1852.0f).str(), "\"1852.00\"");  // -m leaves lengths alone
  EXPECT_EQ(format_range(miles, 1852.0f).str(), "\"1.00N\"");
  EXPECT_EQ(format_range(feet, 1852.0f).str(), "\"1852.00\"");  // -f leaves ranges alone
  EXPECT_EQ(format_length(plain, 1e30f).str(), "\"1000000015047466219876688855040.00\"");
}

TEST(Codes, RunwayNumbers) {
  EXPECT_EQ(format_runway_number(0).str(), "36");
  EXPECT_EQ(format_runway_number(7).str(), "07");
  EXPECT_EQ(format_runway_number(27).str(), "27");
  EXPECT_EQ(format_runway_number(36).str(), "36");
  EXPECT_EQ(format_runway_number(37).str(), "NORTH");
  EXPECT_EQ(format_runway_number(44).str(), "NORTHWEST");
  EXPECT_EQ(format_runway_number(45).str(), "45");
  EXPECT_EQ(format_runway_number(0x107).str(), "07");  // only the low byte counts
}

TEST(Codes, SurfacesDesignatorsAndCodesBeyondTheTables) {
  EXPECT_EQ(surface_name(254).str(), "UNKNOWN");
  EXPECT_EQ(surface_name(4).str(), "ASPHALT");
  EXPECT_EQ(surface_name(23).str(), "TARMAC");
  EXPECT_EQ(surface_name(25).str(), "25");
  EXPECT_EQ(surface_name(255).str(), "255");
  EXPECT_EQ(designator_name(0).str(), "NONE");
  EXPECT_EQ(designator_name(5).str(), "A");
  EXPECT_EQ(designator_name(6).str(), "6");
  EXPECT_EQ(waypoint_type_name(0).str(), " ");
  EXPECT_EQ(waypoint_type_name(7).str(), "FAF");
  EXPECT_EQ(waypoint_type_name(8).str(), "8");
}

TEST(Codes, SignedMagneticVariation) {
  EXPECT_EQ(signed_magvar(180.0f), -180.0);
  EXPECT_EQ(signed_magvar(179.99f), static_cast<double>(179.99f));
  EXPECT_EQ(signed_magvar(355.5f), -4.5);
  EXPECT_EQ(signed_magvar(0.0f), 0.0);
}

}  // namespace
}  // namespace terrova
