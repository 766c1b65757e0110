// Damaged airports, byte by byte: one airport holding every kind of sub-record, with each of its
// bytes in turn replaced. Whatever the byte, the decode must end with a well-formed document:
// warnings on lines of their own, never inside a tag, and every element closed.
#include <gtest/gtest.h>

#include <string>

#include "airport_records.h"
#include "golden.h"
#include "nav_records.h"
#include "scenery_records.h"
#include "xml_check.h"

namespace terrova {
namespace {

using namespace testkit;

Bytes library_object_record(double lat) {
  Bytes object;
  ObjectHeader h;
  h.kind = 11;
  h.lat = lat;
  scenery_object(object, h, library_object(Guid{}, 1.0f));
  return object;
}

// Every sub-record kind the airport decoder knows, in the order the dispatch meets them.
Bytes every_kind_airport() {
  AirportFields f;
  f.fuel = 0x0000000D;
  Bytes b;
  begin_airport(b, f);
  delete_airport(b, 0x00A1, {{0x40000804}, {26 | 2 << 8}, {0x3751C780}});
  airport_name(b, "Every kind");
  tower_objects(b, library_object_record(47.261));
  RunwayFields r;
  r.primary_ils = "OEV";
  r.markings = 0x0101;
  r.lights = 0x15;
  begin_runway(b, r);
  end_zone(b, 5, 0, 150.0f, 45.0f);
  vasi(b, 11, 8, 15.0f, 300.0f, 9.0f, 3.0f);
  approach_lights(b, 15, 0xE3, 2);
  b.end();
  start(b, 8, 0x21, 47.2589, 11.3268, 581000, 81.5f);
  com(b, 6, 120100000, "TOWER");
  helipad(b, 1, 0x31, 47.2605, 11.3452, 581500, 20.0f, 20.0f, 45.0f);
  helipad_object(b, library_object_record(47.2605));
  taxiway_points(b, {TaxiwayPointEntry{}, TaxiwayPointEntry{}});
  ParkingEntry parking;
  parking.airlines = {"BAW", "DLH"};
  taxiway_parking(b, 0x1B, {parking, ParkingEntry{}});
  taxiway_paths(b, {PathEntry{}, PathEntry{}});
  taxi_names(b, {"A", "B"});
  apron(b, 4,
        {
            {47.26,  11.34 },
            {47.261, 11.341},
            {47.262, 11.34 }
  });
  apron_companion(b, 3);
  apron_edge_lights(b,
                    {
                        {47.26,  11.34 },
                        {47.261, 11.341},
                        {47.262, 11.34 }
  },
                    {{0, 1}, {1, 2}});
  fence(b, 0x38, std::vector<uint8_t>(16, 1), std::vector<uint8_t>(16, 2),
        {
            {47.26,  11.34 },
            {47.261, 11.341}
  });
  ApproachHeader approach;
  begin_approach(b, approach);
  leg_list(b, 0x2D, {LegEntry{}, LegEntry{}});
  TransitionHeader arc;
  arc.type = 2;
  begin_transition(b, arc);
  leg_list(b, 0x2F, {LegEntry{}}).end();
  leg_list(b, 0x2E, {LegEntry{}}).end();
  jetway(b, 3, 10, library_object_record(47.2604));
  return b.end();
}

// The later stored forms of the same kinds, in an airport of the later form.
Bytes later_kinds_airport() {
  AirportFields f;
  f.id = 0xAB;
  f.traffic = 0x99;
  Bytes b;
  begin_airport(b, f);
  airport_name(b, "Later kinds");
  RunwayFields r;
  r.id = 0x3E;
  r.material_set[0] = 1;
  begin_runway(b, r);
  later_approach_lights(b, 0xB3, 0x41, 3, 1.0f, 2.0f);
  b.end();
  later_com(b, 6, 120100000, "TOWER");
  TaxiwayPointEntry point;
  point.alt_mm = 1000;
  taxiway_points(b, {point, point}, 0xAC);
  ParkingEntry parking;
  parking.airlines = {"BAW"};
  parking.alt_mm = 2000;
  taxiway_parking(b, 0xAD, {parking, ParkingEntry{}});
  PathEntry path;
  path.terrain = 0x09;
  taxiway_paths(b, {path, path}, {}, 0xAE);
  taxiway_paths(b, {PathEntry{}}, {}, 0x40);
  LaterApron a;
  a.vertices = {
      {47.26,  11.34 },
      {47.261, 11.341},
      {47.262, 11.34 }
  };
  later_apron(b, a);
  apron_triangles(b, 0xB0, 3);
  apron(b, 4,
        {
            {47.26,  11.34 },
            {47.261, 11.341},
            {47.262, 11.34 }
  });
  apron_triangles(b, 0x41, 1);
  begin_later_approach(b, ApproachHeader{});
  leg_list(b, 0x2D, {LegEntry{}});
  TransitionHeader arc;
  arc.type = 2;
  begin_later_transition(b, arc);
  leg_list(b, 0x2F, {LegEntry{}}).end();
  b.end();
  return b.end();
}

Bytes ils_records() {
  Bytes b;
  Navaid ils;
  ils.type = 4;
  ils.lat = 47.2601;
  ils.lon = 11.3115;
  ils.frequency_hz = 109700000;
  ils.ident = pack_ident("OEV");
  begin_navaid(b, ils);
  add_localizer(b, 0, 81.5f, 5.0f);
  add_glide_slope(b, 47.2598, 11.3561, 579000, 18520.0f, 3.0f);
  add_navaid_name(b, "Innsbruck");
  return b.end();
}

// Decodes the file with each byte of the airport record at `first` (of `length` bytes) replaced
// in turn by 0x00, 0xFF and its own value plus one; every document must be well-formed. Returns
// how many of the damaged files were reported as damaged.
size_t sweep(const std::vector<uint8_t>& file, size_t first, size_t length) {
  size_t damaged = 0;
  for (size_t at = first; at < first + length; ++at) {
    for (uint8_t value : {uint8_t{0x00}, uint8_t{0xFF}, static_cast<uint8_t>(file[at] + 1)}) {
      if (value == file[at]) continue;
      std::vector<uint8_t> bad = file;
      bad[at] = value;
      const Decoded d = decode(bad);
      if (d.malformed != 0) ++damaged;
      const std::string problem = xml_problem(d.document);
      EXPECT_EQ(problem, "") << "byte " << at - first << " set to " << int{value};
      if (!problem.empty()) return damaged;
    }
  }
  return damaged;
}

TEST(AirportDamage, EveryByteOfEveryKindLeavesAWellFormedDocument) {
  BglBuilder bgl;
  const Bytes airport = every_kind_airport();
  bgl.section(3).add(airport, 1);
  bgl.section(19).add(ils_records(), 1);
  Layout layout;
  const std::vector<uint8_t> file = bgl.build(&layout);

  // The undamaged airport decodes without a warning.
  const Decoded whole = decode(file);
  ASSERT_EQ(whole.malformed, 0u);
  ASSERT_EQ(xml_problem(whole.document), "");
  for (const char* element :
       {"<DeleteAirport", "<Tower", "<Runway", "<Ils", "<Start", "<Com", "<Helipad",
        "<TaxiwayPoint", "<TaxiwayParking", "<TaxiwayPath", "<TaxiName", "<Apron ", "<EdgeLights",
        "<BlastFence", "<Approach", "<Transition", "<Jetway"}) {
    EXPECT_NE(whole.document.find(element), std::string::npos) << element;
  }
  // The sweep reaches the damage paths of the walks, not only odd values.
  EXPECT_GT(sweep(file, layout.sections[0].data[0], airport.size()), 100u);
}

TEST(AirportDamage, EveryByteOfTheLaterFormsLeavesAWellFormedDocument) {
  BglBuilder bgl;
  const Bytes airport = later_kinds_airport();
  bgl.section(3).add(airport, 1);
  Layout layout;
  const std::vector<uint8_t> file = bgl.build(&layout);
  const Decoded whole = decode(file);
  ASSERT_EQ(whole.malformed, 0u);
  ASSERT_EQ(xml_problem(whole.document), "");
  EXPECT_GT(sweep(file, layout.sections[0].data[0], airport.size()), 100u);
}

}  // namespace
}  // namespace terrova
