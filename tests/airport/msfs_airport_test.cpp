// MSFS 2020 airports (0x56): the fixed part, the name and tower sub-records, and the ground
// layout, each case decoded plain, with -t and with -dfm against its golden documents.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "golden.h"
#include "msfs_records.h"

namespace terrova {
namespace {

using namespace testkit;

// A file holding the airports that `subs` fills, each a 0x56 record.
std::vector<uint8_t> msfs_file(const std::function<void(Bytes&)>& airports, uint32_t count = 1) {
  Bytes records;
  airports(records);
  BglBuilder bgl;
  bgl.section(3).add(records, count);
  return bgl.build();
}

void framework(Bytes& b) {
  MsfsAirportFields f;
  f.traffic = 178;      // 0.70
  f.flags = 4;          // closed
  f.fuel = 0x0003C030;  // 100, JETA, JETA1: YES
  begin_msfs_airport(b, f);
  msfs_airport_name(b, "Beijing Daxing");
  msfs_tower(b, 39.5101616268946, 116.410864096241, 7.7108);
  b.end();
  MsfsAirportFields other;  // no tower sub-record, full traffic, starAirport
  other.ident = "EDDS";
  other.flags = 1;
  begin_msfs_airport(b, other);
  msfs_airport_name(b, "Stuttgart").end();
}

struct GoldenCase {
  const char* name;
  std::function<void(Bytes&)> airports;
  uint32_t count;
};

const GoldenCase kCases[] = {
    {"msfs_airport", framework, 2},
};

TEST(MsfsAirport, GoldenDocuments) {
  for (const GoldenCase& c : kCases) {
    SCOPED_TRACE(c.name);
    const std::vector<uint8_t> file = msfs_file(c.airports, c.count);
    const Decoded d = decode(file);
    EXPECT_EQ(d.malformed, 0u);
    const std::string base = std::string("airport/golden/") + c.name;
    expect_golden(base + ".xml", d.document);
    expect_golden(base + "_terse.xml", decode(file, switches("t")).document);
    expect_golden(base + "_dfm.xml", decode(file, switches("dfm")).document);
  }
}

TEST(MsfsAirport, DamagedTowerAndFixedPart) {
  // A tower too short for its doubles is reported and the airport goes on; a record shorter than
  // its 0x44-byte fixed part ends the walk.
  Bytes b;
  begin_msfs_airport(b, MsfsAirportFields{});
  msfs_airport_name(b, "Short tower");
  b.begin(0x66).u16(24).u16(1).zeros(8).end();
  b.end();
  b.begin(0x56).zeros(0x30).end();
  BglBuilder bgl;
  bgl.section(3).add(b, 2);
  const Decoded d = decode(bgl.build(), switches("t"));
  EXPECT_EQ(d.malformed, 2u);
  EXPECT_EQ(d.document.find("<Tower"), std::string::npos);
  EXPECT_NE(d.document.find("name=\"Short tower\""), std::string::npos);
}

}  // namespace
}  // namespace terrova
