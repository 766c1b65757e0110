// Taxiway points, parking places, paths and taxi names: their templates in every unit style,
// their code tables and their damaged forms.
#include "airport/taxiway.h"

#include <gtest/gtest.h>

#include <string>

#include "airport_records.h"
#include "golden.h"

namespace terrova {
namespace {

using namespace testkit;

std::vector<uint8_t> airport_file(const Bytes& subrecords) {
  return single_airport_file(subrecords, "Taxiways");
}

Bytes network() {
  Bytes s;
  std::vector<TaxiwayPointEntry> points;
  for (uint32_t type = 0; type <= 7; ++type) {
    points.push_back({type, type % 3, 47.2595 + type * 0.0001, 11.3401 - type * 0.0002});
  }
  taxiway_points(s, points);
  taxiway_points(s, {
                        {2, 1, -33.9461, -151.1772}
  });  // indices restart at 0

  std::vector<ParkingEntry> parking(6);
  parking[0].airlines = {"BAW", "DLH", "AUA"};
  parking[1].name_code = 37;  // GATE_Z
  parking[1].push_back = 3;
  parking[1].type = 15;  // past the table
  parking[1].number = 4095;
  parking[1].airlines = {"A&\"B", "ABCD"};  // escaped; a code of 4 has no NUL
  parking[2].name_code = 11;
  parking[2].push_back = 1;
  parking[2].type = 13;
  parking[2].heading = 359.996f;
  parking[3].name_code = 63;  // the character 't'
  parking[3].push_back = 2;
  parking[3].type = 0;
  parking[3].radius = 7.125f;
  parking[4].name_code = 12;  // GATE_A
  parking[5].name_code = 0;
  parking[5].type = 4;
  for (uint32_t code = 1; code <= 9; ++code) {  // PARKING and the eight compass names
    ParkingEntry compass;
    compass.name_code = code;
    compass.type = code;
    compass.number = code;
    parking.push_back(compass);
  }
  taxiway_parking(s, 0x1B, parking);
  taxiway_parking(s, 0x1B, {}, 0);  // count 0: nothing at all, not even the comment
  taxiway_parking(s, 0x3D, {parking[0], parking[1]});

  std::vector<PathEntry> paths;
  for (uint32_t type = 0; type <= 7; ++type) {
    PathEntry p;
    p.start = type;
    p.end = 4095 - type;
    p.designator = type % 7;
    p.type_flags = type | (type & 1) << 5 | (type & 2) << 5 | 0x90;  // bits 4 and 7 not read
    p.number_or_name = type == 2 ? 27 : type * 11;
    p.lines = 0x5A * type & 0xFF;
    p.surface = type * 3;
    p.width = 15.125f + static_cast<float>(type);
    p.weight_limit = type == 3 ? -1 : static_cast<int32_t>(type) * 1000;
    paths.push_back(p);
  }
  PathEntry runway;
  runway.type_flags = 2;
  runway.number_or_name = 0;  // runway 36
  runway.designator = 3;
  runway.lines = 0xFF;
  paths.push_back(runway);
  taxiway_paths(s, paths);

  taxi_names(s, {"A", "TWY12345", "", "K&<L>", "B"});
  taxi_names(s, {"Z"});
  return s;
}

TEST(Taxiways, NetworkInEveryStyle) {
  const std::vector<uint8_t> file = airport_file(network());
  Decoded d = decode(file);
  EXPECT_EQ(d.malformed, 0u);
  expect_golden("airport/golden/taxiway_network.xml", d.document);
  expect_golden("airport/golden/taxiway_network_terse.xml", decode(file, switches("t")).document);
  expect_golden("airport/golden/taxiway_network_dfm.xml", decode(file, switches("dfm")).document);
}

// The extended parking entry differs only in 16 bytes that are never written.
TEST(Taxiways, BothParkingLayoutsGiveTheSameElement) {
  ParkingEntry e;
  e.airlines = {"SWR"};
  Bytes short_form, long_form;
  taxiway_parking(short_form, 0x1B, {e, e});
  taxiway_parking(long_form, 0x3D, {e, e});
  const std::string a = decode(airport_file(short_form), switches("t")).document;
  const std::string b = decode(airport_file(long_form), switches("t")).document;
  EXPECT_EQ(a, b);
  EXPECT_NE(a.find("airlineCodes=\"SWR\" />"), std::string::npos);
}

TEST(Taxiways, DamagedSubrecordsStopAtTheirEnd) {
  Bytes s;
  // Points: a last entry cut to 5 bytes.
  s.begin(0x1A).u16(2).u8(1).u8(0).u16(0).lon(11.34).lat(47.26).u8(2).u32(0).end();
  // Parking: the second entry's airline codes reach past the sub-record.
  ParkingEntry whole;
  ParkingEntry cut;
  cut.airline_count = 3;
  cut.airlines = {"AB"};
  taxiway_parking(s, 0x1B, {whole, cut});
  // Parking whose count is not 0 but that holds no entry.
  taxiway_parking(s, 0x3D, {}, 1);
  // Paths and names whose counts reach past the sub-record.
  taxiway_paths(s, {PathEntry{}}, 3);
  taxi_names(s, {"A", "B"}, 5);
  // A sub-record smaller than its count field: reported, skipped by its size.
  s.begin(0x1C).u8(1).end();
  start(s, 8, 0x00, 47.2589, 11.3268, 581000, 81.5f);  // the walk goes on
  Decoded d = decode(airport_file(s));
  EXPECT_EQ(d.malformed, 6u);
  expect_golden("airport/golden/taxiway_damaged.xml", d.document);
}

TEST(Taxiways, CodeTables) {
  EXPECT_EQ(taxiway_point_type_name(1).str(), "NORMAL");
  EXPECT_EQ(taxiway_point_type_name(6).str(), "ILS_HOLD_SHORT_NO_DRAW");
  EXPECT_EQ(taxiway_point_type_name(0).str(), "0");
  EXPECT_EQ(taxiway_point_type_name(7).str(), "7");
  EXPECT_EQ(parking_name(0).str(), "NONE");
  EXPECT_EQ(parking_name(10).str(), "GATE");
  EXPECT_EQ(parking_name(11).str(), "DOCK");
  // The compass names are longer than identifiers; each is written whole.
  const char* compass[] = {"N_PARKING", "NE_PARKING", "E_PARKING", "SE_PARKING",
                           "S_PARKING", "SW_PARKING", "W_PARKING", "NW_PARKING"};
  for (uint32_t code = 2; code <= 9; ++code) EXPECT_EQ(parking_name(code).str(), compass[code - 2]);
  EXPECT_EQ(parking_name(12).str(), "GATE_A");
  EXPECT_EQ(parking_name(37).str(), "GATE_Z");
  EXPECT_EQ(parking_name(38).str(), "GATE_[");
  EXPECT_EQ(parking_name(63).str(), "GATE_t");
  EXPECT_EQ(push_back_name(3).str(), "BOTH");
  EXPECT_EQ(parking_type_name(13).str(), "VEHICLE");
  EXPECT_EQ(parking_type_name(14).str(), "14");
  EXPECT_EQ(path_type_name(0).str(), "0");
  EXPECT_EQ(path_type_name(2).str(), "RUNWAY");
  EXPECT_EQ(path_type_name(6).str(), "VEHICLE");
  EXPECT_EQ(path_type_name(15).str(), "15");
  EXPECT_EQ(edge_style_name(0).str(), "NONE");
  EXPECT_EQ(edge_style_name(3).str(), "SOLID_DASHED");
}

}  // namespace
}  // namespace terrova
