// Airport records: the fixed part, tower, services, the name attributes, the sub-record dispatch
// in file order, the decoding circle, terminal waypoints and damaged records.
#include <gtest/gtest.h>

#include <string>

#include "airport_records.h"
#include "format/fuel.h"
#include "golden.h"
#include "nav_records.h"
#include "scenery_records.h"

namespace terrova {
namespace {

using namespace testkit;

NameListFields innsbruck_names() {
  NameListFields n;
  n.regions = {"Europe"};
  n.countries = {"Austria"};
  n.states = {"Tirol"};
  n.cities = {"Innsbruck"};
  n.airports = {"Innsbruck Kranebitten"};
  n.entries = {
      {0, 0, 0, 0, "LOWI"}
  };
  return n;
}

// An airport with every kind of sub-record this decoder knows, and some it does not.
Bytes full_airport(uint32_t id) {
  AirportFields f;
  f.id = id;
  f.tower_alt_mm = 600000;
  f.fuel = 0x0002000D;  // 73 UNKNOWN, 87 YES, JETA1 PRIOR_REQUEST
  Bytes b;
  begin_airport(b, f);
  delete_airport(b, 0x00A1, {{0x40000804}, {26 | 2 << 8}, {0x3751C780}});
  airport_name(b, "Innsbruck & \"Kranebitten\"");
  Bytes objects;
  scenery_object(objects, ObjectHeader{}, Bytes().u32(0xDEADBEEF));
  ObjectHeader extended;
  extended.kind = 15;  // an extended-header kind without a decoder: dumped
  extended.heading = 0x4000;
  scenery_object(objects, extended, Bytes().u32(7).u32(8));
  tower_objects(b, objects);
  tower_objects(b, Bytes());
  RunwayFields r;
  r.primary_designator = 1;
  r.secondary_designator = 2;
  r.markings = 0x1FFF;
  r.lights = 0x1B;
  r.patterns = 0x15;
  begin_runway(b, r);
  vasi(b, 12, 8, 15.5f, 300.0f, 9.0f, 3.0f);
  end_zone(b, 9, 2, 120.0f, 45.0f);
  approach_lights(b, 16, 0xE3, 12);
  end_zone(b, 6, 0, 250.0f, 40.5f);
  end_zone(b, 7, 4, 60.0f, 50.0f);
  b.end();
  start(b, 8, 0x21, 47.2589, 11.3268, 581000, 81.5f);
  b.begin(0x30).u32(0).end();  // belongs to an apron: passed over silently
  com(b, 6, 120100000, "INNSBRUCK TOWER");
  helipad(b, 1, 0x31, 47.2605, 11.3452, 581500, 20.0f, 20.0f, 45.0f);
  b.begin(0x99).zeros(14).end();  // unknown id: dumped
  delete_airport(b, 0x0002, {}, false);
  taxiway_points(b, {
                        {1, 0, 47.259, 11.33}
  });
  return b.end();
}

std::vector<uint8_t> full_file() {
  BglBuilder bgl;
  bgl.section(3).add(full_airport(0x3C), 1);
  bgl.section(39).add(name_list(innsbruck_names()), 1);
  return bgl.build();
}

TEST(Airport, EverySubrecordKindInFileOrder) {
  Decoded d = decode(full_file());
  EXPECT_EQ(d.malformed, 0u);
  expect_golden("airport/golden/airport_full.xml", d.document);
  expect_golden("airport/golden/airport_full_terse.xml",
                decode(full_file(), switches("t")).document);
  expect_golden("airport/golden/airport_full_fd.xml", decode(full_file(), switches("fd")).document);
}

// The element of an airport, from its start tag to its end tag.
std::string airport_element(const std::string& doc, size_t from = 0) {
  const size_t begin = doc.find("\t<Airport ", from);
  const size_t end = doc.find("\t</Airport>", begin);
  if (begin == std::string::npos || end == std::string::npos) return {};
  return doc.substr(begin, end - begin);
}

TEST(Airport, BothRecordFormsGiveTheSameElement) {
  BglBuilder bgl;
  bgl.section(3).add(full_airport(0x3C), 1).add(full_airport(0x03), 1).add(full_airport(0xAB), 1);
  Layout layout;
  std::vector<uint8_t> file = bgl.build(&layout);
  Decoded d = decode(file);
  EXPECT_EQ(d.malformed, 0u);
  const std::string long_form = airport_element(d.document);
  ASSERT_FALSE(long_form.empty());
  // The inner comments show offsets, so compare the terse documents' elements.
  Decoded terse = decode(file, switches("t"));
  const std::string first = airport_element(terse.document);
  const size_t second_at = terse.document.find("\t</Airport>") + 1;
  const std::string second = airport_element(terse.document, second_at);
  const std::string third =
      airport_element(terse.document, terse.document.find("\t</Airport>", second_at) + 1);
  EXPECT_EQ(first, second);
  EXPECT_EQ(first, third);
  // The record comment of the 56-byte form shows the record offset plus 4, the later 60-byte
  // form plus 8.
  char comment[80];
  std::snprintf(comment, sizeof comment, "<!-- Airport, offset 0x%.8X",
                layout.sections[0].data[0] + 4);
  EXPECT_NE(d.document.find(comment), std::string::npos);
  std::snprintf(comment, sizeof comment, "<!-- Airport, offset 0x%.8X", layout.sections[0].data[1]);
  EXPECT_NE(d.document.find(comment), std::string::npos);
  std::snprintf(comment, sizeof comment, "<!-- Airport, offset 0x%.8X",
                layout.sections[0].data[2] + 8);
  EXPECT_NE(d.document.find(comment), std::string::npos);
}

TEST(Airport, TowerMagvarAndServices) {
  Bytes records;
  AirportFields f;
  f.ident = "LOWS";
  f.tower = false;  // no Tower element; the tower objects are then dumped
  f.magvar = 180.0f;
  f.fuel = 0x04000000;  // bits 26-31 only: an empty Services element
  airport_name(begin_airport(records, f), "No tower");
  tower_objects(records, Bytes());
  records.end();
  f.ident = "LOWL";
  f.tower = true;
  f.tower_alt_mm = 0;  // the airport altitude
  f.magvar = 179.99f;
  f.fuel = 0;
  airport_name(begin_airport(records, f), "Tower without objects").end();
  f.ident = "LOWK";
  f.tower_lat = 0;  // a latitude of 0 degrees with any longitude: no tower
  airport_name(begin_airport(records, f), "Equator tower").end();
  f.ident = "LOWG";
  f.tower_lat = 47.0;
  f.tower_lon = 0;  // a longitude of 0 degrees with any latitude: no tower either
  airport_name(begin_airport(records, f), "Greenwich tower").end();
  BglBuilder bgl;
  bgl.section(3).add(records, 4);
  Decoded d = decode(bgl.build());
  EXPECT_EQ(d.malformed, 0u);
  expect_golden("airport/golden/airport_tower_magvar_services.xml", d.document);
}

TEST(Airport, FuelElements) {
  std::string text;
  Output out(drain_to_string, &text, false);
  write_fuel_elements(out, 0x0000000D);
  write_fuel_elements(out, 0xFC000000);
  write_fuel_elements(out, 0x03000000);
  out.flush();
  EXPECT_EQ(text,
            "\t\t\t<Fuel type=\"73\" availability=\"UNKNOWN\" />\n"
            "\t\t\t<Fuel type=\"87\" availability=\"YES\" />\n"
            "\t\t\t<Fuel type=\"JET5\" availability=\"YES\" />\n");
}

TEST(Airport, OutsideTheCircleWritesNothing) {
  Bytes records;
  AirportFields far;
  far.ident = "LIPB";
  far.lat = 46.46;
  far.lon = 11.33;
  airport_name(begin_airport(records, far), "Bolzano").end();
  airport_name(begin_airport(records, AirportFields{}), "Innsbruck").end();
  BglBuilder bgl;
  bgl.section(3).add(records, 2);
  DecodeOptions o;
  o.circle_enabled = true;
  o.center_lat = 47.26;
  o.center_lon = 11.34;
  o.radius_m = 20000;
  Decoded d = decode(bgl.build(), o);
  EXPECT_EQ(d.document.find("LIPB"), std::string::npos);
  expect_golden("airport/golden/airport_circle.xml", d.document);
}

// The circle keeps or drops an airport whole: what belongs to an airport inside it is written
// wherever it lies, and nothing of an airport outside it is.
TEST(Airport, TheCircleDoesNotCutInsideAnAirport) {
  Bytes records;
  AirportFields inside;  // LOWI, 47.260222 11.343964
  airport_name(begin_airport(records, inside), "Inside");
  RunwayFields far_runway;
  far_runway.lat = 47.5;  // about 27 km away, past the 5 km radius
  begin_runway(records, far_runway).end();
  start(records, 8, 0, 47.5, 11.6, 581000, 80.0f);
  taxiway_points(records, {
                              {1, 0, 47.5, 11.6}
  });
  apron(records, 4,
        {
            {47.5, 11.6}
  });
  records.end();
  AirportFields outside;
  outside.ident = "LOWS";
  outside.lat = 47.793;
  outside.lon = 13.004;
  airport_name(begin_airport(records, outside), "Outside");
  start(records, 15, 0, 47.26, 11.344, 430000, 150.0f);  // inside the circle, but not its airport
  records.end();

  // A sign record 6 km east of the inside airport: outside the circle, within 8000 metres.
  Bytes signs;
  Sign sign;
  sign.label = "A";
  taxiway_signs(signs, 5, 47.260222, 11.343964 + 0.0795, {sign});
  // A terminal waypoint of the inside airport, far from it.
  Waypoint terminal;
  terminal.type = 6;
  terminal.lat = 48.0;
  terminal.lon = 12.0;
  terminal.ident = pack_ident("FAR", 6);
  terminal.region = pack_region("LO") | pack_ident("LOWI") << 6;
  Bytes waypoints;
  add_waypoint(waypoints, terminal);

  BglBuilder bgl;
  bgl.section(3).add(records, 2);
  bgl.section(37).add(signs, 1);
  bgl.section(34).add(waypoints, 1);
  DecodeOptions o = switches("t");
  o.circle_enabled = true;
  o.center_lat = 47.260222;
  o.center_lon = 11.343964;
  o.radius_m = 5000;
  const Decoded d = decode(bgl.build(), o);
  EXPECT_EQ(d.malformed, 0u);
  for (const char* part :
       {"<Runway lat=\"47.500000\"", "<Start type=\"RUNWAY\" lat=\"47.500000\"",
        "<TaxiwayPoint index=\"0\"", "<Apron surface=", "<TaxiwaySign ", "waypointIdent=\"FAR\""}) {
    EXPECT_NE(d.document.find(part), std::string::npos) << part;
  }
  EXPECT_EQ(d.document.find("Outside"), std::string::npos);
  EXPECT_EQ(d.document.find("number=\"15\""), std::string::npos);
}

TEST(Airport, LongNamesAreWrittenWhole) {
  const std::string long_name(60, 'N');
  Bytes records;
  begin_airport(records, AirportFields{});
  records.begin(0x19).text(long_name).u8(0).text("after the zero").end();
  com(records, 1, 118050000, long_name + std::string(1, '\0') + "hidden");
  records.end();
  BglBuilder bgl;
  bgl.section(3).add(records, 1);
  Decoded d = decode(bgl.build(), switches("t"));
  EXPECT_NE(d.document.find("name=\"" + long_name + "\"\r\n"), std::string::npos);
  EXPECT_NE(d.document.find("type=\"ATIS\" name=\"" + long_name + "\" />"), std::string::npos);
  EXPECT_EQ(d.document.find("hidden"), std::string::npos);
  EXPECT_EQ(d.document.find("after"), std::string::npos);
}

TEST(Airport, TerminalWaypointsOfEveryAirportWithTheIdent) {
  // Terminal waypoints (fix type 6) carry their airport's identifier in the region word; the
  // waypoint section sets them aside, whatever the circle, and writes the enroute one itself.
  const auto waypoint = [](uint8_t type, double lat, double lon, float magvar, const char* ident,
                           const char* airport) {
    Waypoint w;
    w.type = type;
    w.lat = lat;
    w.lon = lon;
    w.magvar = magvar;
    w.ident = pack_ident(ident, *airport != 0 ? 6 : 1);
    w.region = pack_region("LO");
    if (*airport != 0) w.region |= pack_ident(airport) << 6;
    return w;
  };
  Bytes waypoints;
  add_waypoint(waypoints, waypoint(6, 47.2, 11.1, 357.0f, "RTT", "LOWI"));
  add_waypoint(waypoints, waypoint(1, 47.25, 11.2, 0.0f, "ENR", ""));     // enroute
  add_waypoint(waypoints, waypoint(9, 47.3, 11.5, 2.5f, "KTI", "LOWI"));  // type 9: "9"
  add_waypoint(waypoints, waypoint(1, 47.4, 11.6, 0.0f, "ZZZ", "LOWS"));
  Bytes airports;
  airport_name(begin_airport(airports, AirportFields{}), "First").end();
  airport_name(begin_airport(airports, AirportFields{}), "Second").end();
  BglBuilder bgl;
  bgl.section(3).add(airports, 2);
  bgl.section(34).add(waypoints, 4);
  Decoded d = decode(bgl.build());
  EXPECT_EQ(d.malformed, 0u);
  expect_golden("airport/golden/airport_terminal_waypoints.xml", d.document);
}

TEST(Airport, DamagedRecordsEndTheirWalkAndCloseTheElement) {
  Bytes records;
  // A sub-record of size 0 after the runway: the walk ends, the airport is closed.
  AirportFields f;
  f.ident = "LOWA";
  airport_name(begin_airport(records, f), "Size zero");
  start(records, 8, 0, 47.26, 11.34, 581000, 80.0f);
  records.begin(0x12).end_with_size(0);
  com(records, 5, 121800000, "NOT REACHED");
  records.end();
  // A sub-record reaching past its airport.
  f.ident = "LOWB";
  airport_name(begin_airport(records, f), "Past the record");
  records.begin(0x11).zeros(18).end_with_size(400);
  records.end();
  // A name sub-record reaching past the airport: the name is left empty.
  f.ident = "LOWC";
  begin_airport(records, f);
  records.begin(0x19).text("Cut").end_with_size(1000);
  records.end();
  // A tower object sub-record too short for its objects, and a damaged DeleteAirport at the
  // start.
  f.ident = "LOWD";
  airport_name(begin_airport(records, f), "Short tower");
  records.begin(0x66).zeros(4).end();
  com(records, 5, 121800000, "NOT REACHED");
  records.end();
  f.ident = "LOWE";
  begin_airport(records, f);
  records.begin(0x33).end_with_size(3);
  records.end();
  // Sub-records too short for their fields are left out; the walk goes on.
  f.ident = "LOWF";
  airport_name(begin_airport(records, f), "Short sub-records");
  records.begin(0x04).zeros(40).end();
  records.begin(0x11).zeros(10).end();
  records.begin(0x12).zeros(2).end();
  records.begin(0x26).zeros(20).end();
  records.begin(0x33).u8(1).end();
  com(records, 5, 121800000, "REACHED");
  records.end();
  // Last, an airport whose size reaches past the run: the subsection's walk ends.
  airport_name(begin_airport(records, f), "Past the run").end_with_size(5000);

  BglBuilder bgl;
  bgl.section(3).add(records, 7);
  Decoded d = decode(bgl.build());
  EXPECT_EQ(d.malformed, 11u);
  EXPECT_EQ(d.document.find("NOT REACHED"), std::string::npos);
  expect_golden("airport/golden/airport_damaged.xml", d.document);
}

TEST(Airport, RecordsTooShortForTheirFixedPartEndTheRun) {
  Bytes records;
  airport_name(begin_airport(records, AirportFields{}), "Good").end();
  records.begin(0x3C).zeros(40).end();  // 46 bytes: no room for the fixed part
  airport_name(begin_airport(records, AirportFields{}), "Not reached").end();
  BglBuilder bgl;
  bgl.section(3).add(records, 3);
  Decoded d = decode(bgl.build(), switches("t"));
  EXPECT_EQ(d.malformed, 1u);
  EXPECT_NE(d.document.find("\"Good\""), std::string::npos);
  EXPECT_EQ(d.document.find("Not reached"), std::string::npos);

  // An airport record without any sub-record has an empty name and is not damaged.
  Bytes bare;
  begin_airport(bare, AirportFields{}).end();
  BglBuilder one;
  one.section(3).add(bare, 1);
  Decoded e = decode(one.build(), switches("t"));
  EXPECT_EQ(e.malformed, 0u);
  EXPECT_NE(e.document.find("<Airport ident=\"LOWI\" name=\"\"\r\n"), std::string::npos);
}

}  // namespace
}  // namespace terrova
