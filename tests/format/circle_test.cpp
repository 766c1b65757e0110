// The partial-decoding circle and its spherical geometry.
#include "format/circle.h"

#include <gtest/gtest.h>

#include <cmath>

namespace terrova {
namespace {

TEST(Circle, EverythingIsInsideWithoutACircle) {
  DecodeOptions o;
  EXPECT_TRUE(in_decode_circle(o, 89, 179));
}

TEST(Circle, Distances) {
  EXPECT_NEAR(great_circle_distance(0, 0, 1, 0), 111130.5556, 0.00005);
  EXPECT_EQ(great_circle_distance(47.5, 8.5, 47.5, 8.5), 0.0);
}

TEST(Circle, TheRadiusItselfIsInside) {
  DecodeOptions o;
  o.circle_enabled = true;
  o.center_lat = 10;
  o.center_lon = 10;
  const double d = great_circle_distance(10, 10, 10.5, 10.5);
  o.radius_m = d;
  EXPECT_TRUE(in_decode_circle(o, 10.5, 10.5));
  o.radius_m = d - 1;
  EXPECT_FALSE(in_decode_circle(o, 10.5, 10.5));
  o.radius_m = 1;
  EXPECT_TRUE(in_decode_circle(o, NAN, 10));  // not a number counts as inside
}

TEST(OffsetPosition, NorthAndEastOffsets) {
  Position p = offset_position(47, 8, 0, 1000);
  EXPECT_NEAR(p.lat - 47, 0.008998, 0.000001);
  EXPECT_EQ(p.lon, 8 * 0.01745329251993889 * 57.29577951309679);
  Position east = offset_position(0, 0, 111319.44, 0);
  EXPECT_NEAR(east.lon, 1.0, 0.0001);
  Position west = offset_position(0, 0, -111319.44, 0);
  EXPECT_NEAR(west.lon, -1.0, 0.0001);
  // The longitude also moves when the north offset is zero.
  EXPECT_GT(offset_position(47, 8, 500, 0).lon, 8.0);
  Position pole = offset_position(90, 8, 5000, 0);
  EXPECT_NEAR(pole.lon, 8.0, 1e-12);
}

}  // namespace
}  // namespace terrova
