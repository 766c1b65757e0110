// Enroute waypoints with their routes, terminal waypoints set aside for the airports, the decode
// circle and damaged records.
#include <gtest/gtest.h>

#include "format/ident.h"
#include "nav_test_support.h"

namespace terrova {
namespace {

using namespace testkit;
using navtest::circle;
using navtest::concat;
using navtest::count_of;
using navtest::decode_tables;
using navtest::kWarning;

Waypoint fix(uint8_t type, double lat, double lon, const char* ident,
             std::vector<Route> routes = {}) {
  return Waypoint{.type = type,
                  .lat = lat,
                  .lon = lon,
                  .magvar = 359.0f,
                  .ident = pack_ident(ident, 1),
                  .region = pack_region("K7"),
                  .routes = std::move(routes),
                  .route_count = std::nullopt};
}

Route airway(uint8_t type, const char* name, const char* previous, const char* next) {
  return Route{.type = type,
               .name = name,
               .next_ident = next[0] ? pack_ident(next, 2) : 0,
               .next_region = pack_region("K7"),
               .next_altitude_m = 3048.0f,
               .previous_ident = previous[0] ? pack_ident(previous, 2) : 0,
               .previous_region = pack_region("CY"),
               .previous_altitude_m = 1524.5f};
}

// The airport identifier in bits 11-31 of a terminal waypoint's region word.
uint32_t terminal_region(const char* airport, const char* region) {
  return (pack_ident(airport) << 6) | pack_region(region);
}

Bytes one(const Waypoint& w) {
  Bytes b;
  return add_waypoint(b, w);
}

std::vector<Bytes> waypoints() {
  Waypoint terminal = fix(6, 47.44, -122.30, "RW16R", {airway(1, "V1", "SEA", "")});
  terminal.ident = pack_ident("RW16R", 6);
  terminal.region = terminal_region("KSEA", "K1");
  Waypoint counted_without_entries = fix(2, 2.0, 3.0, "EMPTY");
  counted_without_entries.route_count = 2;
  return {
      one(fix(1, 47.5, -122.5, "ALPHA")),  // no routes: an empty element
      one(fix(3, 48.0, -123.0, "BRAVO",
              {airway(1, "V23", "ALPHA", "CHRLY"),  // both neighbours
               airway(2, "J5", "", "DELTA"),        // next only
               airway(3, "ABCDEFGH", "", "HOTEL"),  // a full name, then a word
               airway(0, "", "", ""),               // no name, no neighbours
               airway(7, "Q<&\"", "ECHO", "")})),   // escaped name, type past the table
      one(terminal),
      one(fix(7, 49.0, -124.0, "FOXT")),
      one(fix(9, 50.0, -125.0, "GOLF")),  // type past the table
      one(counted_without_entries),
  };
}

TEST(Waypoint, EnrouteWaypointsWithTheirRoutes) {
  const std::vector<Bytes> records = waypoints();
  BglBuilder bgl;
  bgl.section(34).add(concat(records), 6);
  Layout layout;
  const std::vector<uint8_t> file = bgl.build(&layout);
  Decoded d = navtest::expect_goldens("waypoint", file);
  EXPECT_EQ(d.malformed, 0u);

  // The terminal waypoint is kept with its airport's identifier as its key.
  const SharedTables tables = decode_tables(file);
  ASSERT_EQ(tables.deferred_waypoints.size(), 1u);
  EXPECT_EQ(tables.deferred_waypoints[0].offset,
            layout.sections[0].data[0] + records[0].size() + records[1].size());
  EXPECT_EQ(tables.deferred_waypoints[0].airport, ident_number(pack_ident("KSEA")));
  EXPECT_EQ(tables.deferred_waypoints[0].region, terminal_region("KSEA", "K1"));
}

TEST(Waypoint, TheCircleKeepsEnrouteWaypointsButTerminalOnesAreAlwaysCollected) {
  Waypoint far_terminal = fix(6, -33.0, 151.0, "FAR");
  far_terminal.ident = pack_ident("FAR", 6);
  far_terminal.region = terminal_region("YSSY", "YM");
  Waypoint near_terminal = fix(6, 47.0, 8.0, "NEAR");
  near_terminal.ident = pack_ident("NEAR", 6);
  near_terminal.region = terminal_region("LSZH", "LS");
  BglBuilder bgl;
  bgl.section(34).add(concat({one(far_terminal), one(fix(2, 47.1, 8.1, "IN")), one(near_terminal),
                              one(fix(2, 40.0, 8.0, "OUT"))}),
                      4);
  const std::vector<uint8_t> file = bgl.build();
  const DecodeOptions around_zurich = circle(47.0, 8.0, 50);
  expect_golden("nav/golden/waypoint_circle.xml", decode(file, around_zurich).document);
  const SharedTables tables = decode_tables(file, around_zurich);
  ASSERT_EQ(tables.deferred_waypoints.size(), 2u);
  EXPECT_EQ(tables.deferred_waypoints[0].airport, ident_number(pack_ident("YSSY")));
  EXPECT_EQ(tables.deferred_waypoints[1].airport, ident_number(pack_ident("LSZH")));
}

TEST(Waypoint, DamagedRecordsEndTheWalkWithAWarning) {
  // A record size of 0 after a sound waypoint.
  Bytes zero = one(fix(1, 1, 1, "ZERO"));
  zero.put_u32(2, 0);
  BglBuilder a;
  a.section(34).add(concat({one(fix(1, 1, 1, "ONE")), zero, one(fix(1, 2, 2, "TWO"))}), 3);
  Decoded da = decode(a.build(), switches("t"));
  EXPECT_EQ(da.malformed, 1u);
  EXPECT_EQ(count_of(da.document, "<Waypoint "), 1u);

  // A record too short for its fixed part, and one that reaches past the file.
  Bytes short_record = one(fix(1, 1, 1, "SHORT"));
  short_record.put_u32(2, 20);
  Bytes huge = one(fix(1, 1, 1, "HUGE"));
  huge.put_u32(2, 0xFFFFFFF0u);
  for (const Bytes& bad : {short_record, huge}) {
    BglBuilder b;
    b.section(34).add(concat({bad, one(fix(1, 2, 2, "TWO"))}), 2);
    Decoded db = decode(b.build(), switches("t"));
    EXPECT_EQ(db.malformed, 1u);
    EXPECT_EQ(count_of(db.document, "<Waypoint "), 0u);
  }

  // A route entry cut by the record's end: the routes before it stay, the element is closed and
  // the walk goes on with the next record.
  Bytes cut = one(fix(1, 5, 5, "CUT", {airway(1, "V1", "A", "B"), airway(2, "J2", "C", "D")}));
  cut.data.resize(cut.size() - 3);
  cut.put_u32(2, static_cast<uint32_t>(cut.size()));
  BglBuilder c;
  c.section(34).add(concat({cut, one(fix(1, 6, 6, "NEXT"))}), 2);
  Decoded dc = decode(c.build());
  EXPECT_EQ(dc.malformed, 1u);
  EXPECT_EQ(count_of(dc.document, kWarning), 1u);
  expect_golden("nav/golden/waypoint_cut_route.xml", dc.document);
}

}  // namespace
}  // namespace terrova
