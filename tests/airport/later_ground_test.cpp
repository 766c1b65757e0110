// The later stored forms of taxiway points, parking, paths, aprons and approaches, and jetways and
// helipad objects: their documents in every unit style, their sameness with the older forms when
// they carry nothing more, and their damaged forms.
#include <gtest/gtest.h>

#include <string>

#include "airport_records.h"
#include "golden.h"
#include "scenery_records.h"

namespace terrova {
namespace {

using namespace testkit;

std::vector<uint8_t> airport_file(const Bytes& subrecords) {
  return single_airport_file(subrecords, "Later forms");
}

std::vector<uint8_t> guid_bytes(uint8_t first) {
  std::vector<uint8_t> g;
  for (uint8_t i = 0; i < 16; ++i) g.push_back(static_cast<uint8_t>(first + i * 17));
  return g;
}

void expect_documents(const Bytes& subrecords, const std::string& stem) {
  expect_golden_styles(airport_file(subrecords), "airport/golden/" + stem);
}

Bytes taxiways() {
  Bytes s;
  std::vector<TaxiwayPointEntry> points(3);
  points[0].alt_mm = 581250;
  points[1].type = 2;
  points[1].orientation = 1;
  points[1].alt_mm = 0;  // the default: no alt
  points[2].alt_mm = -1500;
  taxiway_points(s, points, 0xAC);

  std::vector<ParkingEntry> parking(3);
  parking[0].airlines = {"BAW", "DLH"};
  parking[0].tee_offsets[0] = 12.5f;
  parking[0].tee_offsets[2] = 30.25f;
  parking[0].alt_mm = 582000;
  parking[1].name_code = 13;  // GATE_B
  parking[1].tee_offsets[3] = 40.0f;
  parking[2].name_code = 1;  // nothing more than the older form
  taxiway_parking(s, 0xAD, parking);

  std::vector<PathEntry> paths(2);
  paths[0].material_set = guid_bytes(0x11);
  paths[0].type_flags = 1 | 0x60;
  paths[1].type_flags = 2;  // an all-zero GUID: no materialSet
  paths[1].number_or_name = 26;
  taxiway_paths(s, paths, {}, 0x40);

  // Every terrain code and fixtures of every code in one record whose fixture bytes are sound.
  std::vector<PathEntry> terrain;
  for (uint32_t code = 0; code < 4; ++code) {
    PathEntry p;
    p.start = code;
    p.terrain = code | code << 3;
    p.fixtures = code == 3 ? 0 : code | (2 - code) << 2;
    if (code == 1) p.material_set = guid_bytes(0xA0);
    terrain.push_back(p);
  }
  taxiway_paths(s, terrain, {}, 0xAE);
  // A fixture byte out of its form in one entry: no fixtures for the whole record.
  std::vector<PathEntry> odd(2);
  odd[0].fixtures = 0x05;
  odd[1].fixtures = 0x40;
  odd[1].terrain = 2;
  taxiway_paths(s, odd, {}, 0xAE);
  return s;
}

TEST(LaterGroundForms, TaxiwaysInEveryStyle) { expect_documents(taxiways(), "later_taxiways"); }

// A later entry that carries nothing but the older fields writes the older element.
TEST(LaterGroundForms, PlainLaterEntriesWriteTheOlderElements) {
  std::vector<TaxiwayPointEntry> points(2);
  points[1].type = 4;
  std::vector<ParkingEntry> parking(2);
  parking[0].airlines = {"SWR"};
  std::vector<PathEntry> paths(2);
  paths[1].type_flags = 2;
  paths[1].number_or_name = 8;
  Bytes older, later;
  taxiway_points(older, points);
  taxiway_points(later, points, 0xAC);
  taxiway_parking(older, 0x3D, parking);
  taxiway_parking(later, 0xAD, parking);
  taxiway_paths(older, paths);
  taxiway_paths(later, paths, {}, 0x40);
  taxiway_paths(later, paths, {}, 0xAE);
  taxiway_paths(older, paths);
  ApproachHeader h;
  TransitionHeader dme;
  dme.type = 2;
  begin_approach(older, h);
  leg_list(older, 0x2D, {LegEntry{}});
  begin_transition(older, TransitionHeader{});
  leg_list(older, 0x2F, {LegEntry{}}).end();
  begin_transition(older, dme).end();
  leg_list(older, 0x2E, {LegEntry{}}).end();
  begin_later_approach(later, h);
  leg_list(later, 0x2D, {LegEntry{}});
  begin_later_transition(later, TransitionHeader{});
  leg_list(later, 0x2F, {LegEntry{}}).end();
  begin_later_transition(later, dme).end();
  leg_list(later, 0x2E, {LegEntry{}}).end();

  const Decoded a = decode(airport_file(older), switches("t"));
  const Decoded b = decode(airport_file(later), switches("t"));
  EXPECT_EQ(a.document, b.document);
  EXPECT_EQ(b.malformed, 0u);
  EXPECT_NE(b.document.find("<Transition transitionType=\"DME\""), std::string::npos);
  EXPECT_NE(b.document.find("fixIdent=\"OEV\""), std::string::npos);
}

Bytes aprons() {
  Bytes s;
  const std::vector<LatLon> triangle = {
      {47.2601, 11.3451},
      {47.2605, 11.3451},
      {47.2605, 11.3459}
  };
  apron(s, 4, triangle);
  apron_triangles(s, 0x41, 3);
  LaterApron a;
  a.surface = 1;
  a.terrain = 2 | 2 << 3;
  a.material_set = guid_bytes(0x20);
  a.alt_mm = 581500;
  a.vertices = triangle;
  later_apron(s, a);
  apron_triangles(s, 0xB0, 1);
  LaterApron plain;  // nothing more than the older form, and no companion
  plain.vertices = {triangle[0]};
  later_apron(s, plain);
  // Each form takes only its own companions: 0xB0 after 0x37 stays a record of its own.
  apron(s, 4, triangle);
  apron_triangles(s, 0xB0, 3);
  return s;
}

TEST(LaterGroundForms, ApronsWithTheirCompanionsInEveryStyle) {
  expect_documents(aprons(), "later_aprons");
}

Bytes library_object_record(double lat) {
  Bytes object;
  ObjectHeader h;
  h.kind = 11;
  h.lat = lat;
  h.heading = 0x2000;
  scenery_object(object, h, library_object(Guid{}, 1.5f));
  return object;
}

Bytes jetways_and_helipads() {
  Bytes s;
  jetway(s, 12, 14, library_object_record(47.2603));  // GATE_C 12
  jetway(s, 3, 10, library_object_record(47.2604));   // GATE 3
  // As the compiler stores them: objects before the helipads. Each goes to the nearest helipad
  // that holds none yet, in the order of the objects.
  helipad_object(s, library_object_record(47.2620));  // the second helipad
  helipad_object(s, library_object_record(47.2620));  // the first: the second is taken
  helipad_object(s, library_object_record(47.2611));  // the third, the only one left
  helipad(s, 4, 0x21, 47.2611, 11.3512, 581000, 20.0f, 20.0f, 90.0f);
  helipad(s, 4, 0x02, 47.2621, 11.3512, 581000, 25.0f, 25.0f, 0.0f);
  helipad(s, 4, 0x02, 47.2631, 11.3512, 581000, 25.0f, 25.0f, 0.0f);
  helipad_object(s, library_object_record(47.2630));  // no helipad left: dumped
  return s;
}

TEST(LaterGroundForms, JetwaysAndHelipadObjectsInEveryStyle) {
  expect_documents(jetways_and_helipads(), "later_jetways_helipads");
}

Bytes approaches() {
  Bytes s;
  ApproachHeader h;
  h.suffix = 'Z';
  h.runway = 26;
  h.type_flags = 10 | 2 << 4;  // RNAV, RIGHT
  h.fix_ident = "RW26Z";
  h.fix_type = 5;
  begin_later_approach(s, h);
  LegEntry l;
  leg_list(s, 0x2D, {l, l});
  TransitionHeader dme;
  dme.type = 2;
  dme.fix_ident = "ABCDE";
  dme.fix_type = 6;
  begin_later_transition(s, dme);
  leg_list(s, 0x2F, {l}).end();
  leg_list(s, 0x2E, {l}).end();
  ApproachHeader no_fix = h;
  no_fix.fix_type = 1;  // no fix type of an approach: nothing is written
  begin_later_approach(s, no_fix).end();
  ApproachHeader at_runway = h;
  at_runway.fix_type = 9;  // ends at the runway: written like the others
  begin_later_approach(s, at_runway);
  leg_list(s, 0x2D, {l}).end();
  return s;
}

TEST(LaterGroundForms, ApproachesInEveryStyle) {
  expect_documents(approaches(), "later_approaches");
}

// Each damaged record is reported and written as far as it goes; the records after it are still
// decoded and the document stays whole.
TEST(LaterGroundForms, DamagedRecordsAreReportedAndCut) {
  Bytes s;
  // Points: a second entry of 13 bytes.
  s.begin(0xAC).u16(2).u8(1).u8(0).u16(0).lon(11.34).lat(47.26).i32(1000);
  s.u8(2).u8(0).u16(0).lon(11.35).lat(47.27).u8(0).end();
  // Parking: the second entry's airline codes reach past the sub-record.
  std::vector<ParkingEntry> parking(2);
  parking[1].airline_count = 2;
  parking[1].airlines = {"AB"};
  taxiway_parking(s, 0xAD, parking);
  // Paths: the count reaches past the sub-record.
  taxiway_paths(s, {PathEntry{}}, 3, 0x40);
  taxiway_paths(s, {PathEntry{}}, 2, 0xAE);
  // Aprons: the vertex count reaches past the apron; a companion too short for its flags.
  LaterApron a;
  a.vertices = {
      {47.26, 11.34}
  };
  a.count = 5;
  later_apron(s, a);
  s.begin(0xB0).u8(1).end();
  apron(s, 4, {});
  s.begin(0x41).end();
  // A jetway and a helipad object whose object reaches past the record.
  const Bytes object = library_object_record(47.2603);
  jetway(s, 1, 10, object, static_cast<uint32_t>(object.size()) + 40);
  helipad(s, 4, 1, 47.2611, 11.3512, 581000, 20.0f, 20.0f, 90.0f);
  helipad_object(s, object, static_cast<uint32_t>(object.size()) + 40);
  // An approach too small for its fixed part, one whose transition is cut.
  s.begin(0xB6).zeros(20).end();
  begin_later_approach(s, ApproachHeader{});
  leg_list(s, 0x2D, {LegEntry{}});
  s.begin(0xB7).u8(2).u8(0).u32(5).u32(0).end();  // a DME arc without its DME fields
  leg_list(s, 0x2E, {LegEntry{}}).end();
  // A record after the damage is still decoded.
  taxi_names(s, {"LAST"});

  const Decoded d = decode(airport_file(s));
  // One warning per damaged record; the jetway and the helipad object also report the padding
  // that their cut object area then holds.
  EXPECT_EQ(d.malformed, 13u);
  expect_golden("airport/golden/later_damaged.xml", d.document);
}

// A helipad's object sub-record that reaches past the airport ends the walk and is given to no
// helipad: the helipad is written self-closed, the warning on a line of its own after it.
TEST(LaterGroundForms, DamagedHelipadObjectIsReportedAfterTheHelipad) {
  Bytes s;
  helipad(s, 4, 1, 47.2611, 11.3512, 581000, 20.0f, 20.0f, 90.0f);
  s.begin(0xB5).u32(40).raw(library_object_record(47.2611)).end_with_size(4000);
  const Decoded d = decode(airport_file(s), switches("t"));
  EXPECT_EQ(d.malformed, 1u);
  const size_t warning = d.document.find("<!-- WARNING: malformed data");
  const size_t helipad_at = d.document.find("\t\t<Helipad ");
  ASSERT_NE(warning, std::string::npos);
  ASSERT_NE(helipad_at, std::string::npos);
  EXPECT_GT(warning, helipad_at);
  EXPECT_NE(d.document.find("type=\"H\" />\r\n<!-- WARNING"), std::string::npos);
}

}  // namespace
}  // namespace terrova
