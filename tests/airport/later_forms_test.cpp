// Airport records of the later simulators: the 0xAB airport with its traffic scalar and its com
// type byte, 0x3E runways with their material set and both forms of approach lights, and the
// same records damaged.
#include <gtest/gtest.h>

#include <array>

#include "airport_records.h"
#include "golden.h"
#include "nav_records.h"

namespace terrova {
namespace {

using namespace testkit;

constexpr std::array<uint8_t, 16> kCountingGuid = {0, 1, 2,  3,  4,  5,  6,  7,
                                                   8, 9, 10, 11, 12, 13, 14, 15};

Bytes airport_with(uint32_t id, uint32_t traffic, const Bytes& subrecords) {
  Bytes b;
  AirportFields f;
  f.id = id;
  f.tower = false;
  f.traffic = traffic;
  airport_name(begin_airport(b, f), "Later");
  return b.raw(subrecords).end();
}

// An ILS for the runway's primary end.
Bytes ils_record() {
  Bytes b;
  Navaid n;
  n.type = 4;
  n.lat = 47.2601;
  n.lon = 11.3115;
  n.altitude_mm = 580000;
  n.frequency_hz = 109700000;
  n.range_m = 33336.0f;
  n.magvar = 357.0f;
  n.ident = pack_ident("OEV");
  n.region = pack_region("LO");
  begin_navaid(b, n);
  add_localizer(b, 0, 81.5f, 5.25f);
  add_navaid_name(b, "ILS 08");
  return b.end();
}

TEST(LaterAirportForms, RunwaysComsAndTrafficScalar) {
  Bytes subs;
  later_com(subs, 6, 120100000, "TOWER");
  later_com(subs, 13, 118000000, "ASOS");
  later_com(subs, 14, 121500000, "PAST");  // past the table: its number
  RunwayFields full;
  full.id = 0x3E;
  full.material_set = kCountingGuid;
  full.primary_ils = "OEV";
  full.markings = 0x00FF;
  full.lights = 0x06;
  begin_runway(subs, full);
  end_zone(subs, 7, 4, 380.0f, 60.0f);
  later_approach_lights(subs, 0xB4, 0x6B, 3, 12.5f, -4.0f);
  approach_lights(subs, 15, 0x42, 0);  // the older form beside the later: file order
  later_approach_lights(subs, 0xB3, 0xA1, 0, 0.0f, 0.0f);
  vasi(subs, 11, 8, 45.0f, 1014.0f, 0.0f, 2.5f);
  subs.end();
  RunwayFields plain;  // all-zero material set: none written
  plain.id = 0x3E;
  plain.number = 26;
  plain.patterns = 0x24;
  begin_runway(subs, plain).end();
  RunwayFields water = plain;  // bit 7 of the surface: a transparent WATER runway
  water.surface = 0x82;
  begin_runway(subs, water).end();
  Bytes older;  // the runway of the later form inside an airport of the older form
  RunwayFields other = plain;
  other.material_set[15] = 0xAB;
  begin_runway(older, other).end();
  Bytes airports;
  airports.raw(airport_with(0xAB, 0x99, subs));     // 0.60
  airports.raw(airport_with(0xAB, 0xFF, Bytes()));  // full traffic: not written
  airports.raw(airport_with(0x3C, 0x99, older));    // no scalar in the older form
  BglBuilder bgl;
  bgl.section(19).add(ils_record(), 1);
  bgl.section(3).add(airports, 3);
  const std::vector<uint8_t> file = bgl.build();
  Decoded d = decode(file);
  EXPECT_EQ(d.malformed, 0u);
  expect_golden("airport/golden/later_forms.xml", d.document);
  expect_golden("airport/golden/later_forms_terse.xml", decode(file, switches("t")).document);
  expect_golden("airport/golden/later_forms_dfm.xml", decode(file, switches("dfm")).document);
}

TEST(LaterAirportForms, TrafficScalarStandsBeforeTheLineThatClosesTheStartTag) {
  // With name attributes the start tag closes on the last of them; without, on the magnetic
  // variation line.
  NameListFields names;
  names.cities = {"Innsbruck"};
  names.countries = {"Austria"};
  names.entries.push_back({0, 0, 0, 0, "LOWI"});
  Bytes airports;
  airports.raw(airport_with(0xAB, 0xB3, Bytes()));
  BglBuilder bgl;
  bgl.section(39).add(name_list(names), 1);
  bgl.section(3).add(airports, 1);
  const Decoded d = decode(bgl.build(), switches("t"));
  EXPECT_NE(d.document.find("\t\tmagvar=\"-3.00\" alt=\"581.00\"\r\n\t\tcity=\"Innsbruck\"\r\n"
                            "\t\ttrafficScalar=\"0.70\"\r\n\t\tcountry=\"Austria\">\r\n"),
            std::string::npos)
      << d.document;
  Bytes alone;
  alone.raw(airport_with(0xAB, 0xB3, Bytes()));
  BglBuilder without_names;
  without_names.section(3).add(alone, 1);
  EXPECT_NE(
      decode(without_names.build(), switches("t"))
          .document.find("\t\ttrafficScalar=\"0.70\"\r\n\t\tmagvar=\"-3.00\" alt=\"581.00\">\r\n"),
      std::string::npos);
}

TEST(LaterAirportForms, ComTypeByteBelongsToTheLaterAirportOnly) {
  Bytes later;
  later_com(later, 5, 121800000, "G");
  Bytes older;
  later_com(older, 5, 121800000, "G");  // the same bytes read as a u16 in the older form
  BglBuilder bgl;
  bgl.section(3).add(airport_with(0xAB, 0, later), 1).add(airport_with(0x3C, 0, older), 1);
  Decoded d = decode(bgl.build(), switches("t"));
  EXPECT_NE(d.document.find("type=\"GROUND\""), std::string::npos);
  EXPECT_NE(d.document.find("type=\"1797\""), std::string::npos);
}

TEST(LaterAirportForms, DamagedRunways) {
  Bytes subs;
  RunwayFields r;
  r.id = 0x3E;
  r.material_set = kCountingGuid;
  begin_runway(subs, r);
  subs.begin(0xB3).u8(0x41).u8(2).f32(1.0f).end();  // 12 bytes: too short for its 16
  end_zone(subs, 9, 1, 100.0f, 45.0f);              // still read after the short one
  subs.begin(0xB4).u8(0x41).u8(2).zeros(8);
  subs.end_with_size(400);  // leaves the runway: ends the child walk
  subs.end();
  Bytes short_runway;  // holds the older fixed part but not the material set
  begin_runway(short_runway, RunwayFields{});
  short_runway.put_u16(0, 0x3E);
  short_runway.end();
  subs.raw(short_runway);
  later_com(subs, 6, 120100000, "after");  // the airport goes on after the damaged runways
  BglBuilder bgl;
  bgl.section(3).add(airport_with(0xAB, 0x33, subs), 1);
  Decoded d = decode(bgl.build());
  EXPECT_EQ(d.malformed, 3u);
  expect_golden("airport/golden/later_forms_damaged.xml", d.document);
}

}  // namespace
}  // namespace terrova
