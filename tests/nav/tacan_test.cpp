// TACAN stations: channel and band, the DME-only flag, names, the decode circle and damaged
// records.
#include <gtest/gtest.h>

#include "nav_test_support.h"

namespace terrova {
namespace {

using namespace testkit;
using navtest::circle;
using navtest::concat;
using navtest::count_of;
using navtest::kWarning;

Tacan station(double lat, double lon, int32_t channel, uint8_t flags, const char* ident) {
  return Tacan{.lat = lat,
               .lon = lon,
               .altitude_mm = 701344,
               .channel = channel,
               .flags = flags,
               .range_m = 50035.3f,
               .magvar = 1.0f,
               .ident = pack_ident(ident),
               .region = pack_region("LE")};
}

// A station with a DME and a name, a Y-band DME-only station named twice, a station without
// sub-records, one whose scan is ended by an unknown sub-record, and one of magvar 350.
std::vector<Bytes> stations() {
  std::vector<Bytes> r(5);
  begin_tacan(r[0], station(38.9457, -1.8634, 17, 0x02, "TAB"));
  add_dme(r[0], 38.9457, -1.8634, 701344, 50035.3f);
  add_navaid_name(r[0], "TACAN");
  r[0].end();
  begin_tacan(r[1], station(40.0, -3.5, 126, 0x01, "TDY"));
  add_navaid_name(r[1], "First name that is longer");
  add_navaid_name(r[1], "A <&> B  ");  // the later name counts, trailing blanks trimmed
  r[1].end();
  begin_tacan(r[2], station(-33.5, 151.25, 1, 0x03, "T1")).end();
  begin_tacan(r[3], station(0.0, 0.0, 59, 0x02, "TZ"));
  r[3].begin(0x55).u16(0).end();
  add_navaid_name(r[3], "unseen");
  r[3].end();
  Tacan west = station(45.0, -100.0, 100, 0x02, "TW");
  west.magvar = 350.0f;
  begin_tacan(r[4], west);
  add_navaid_name(r[4], std::string(70, 'N'));  // the first 63 characters count
  r[4].end();
  return r;
}

TEST(Tacan, Stations) {
  BglBuilder bgl;
  bgl.section(0xA0).add(concat(stations()), 5);
  const Decoded d = navtest::expect_goldens("tacan", bgl.build());
  EXPECT_EQ(d.malformed, 0u);
  EXPECT_EQ(count_of(d.document, "<Tacan "), 5u);
}

TEST(Tacan, DecodeCircle) {
  BglBuilder bgl;
  bgl.section(0xA0).add(concat(stations()), 5);
  const Decoded d = decode(bgl.build(), circle(38.95, -1.86, 10, "t"));
  EXPECT_EQ(count_of(d.document, "<Tacan "), 1u);
  EXPECT_NE(d.document.find("channel=\"17X\""), std::string::npos);
}

TEST(Tacan, DamagedRecords) {
  std::vector<Bytes> r = stations();
  // A name sub-record whose size leaves the station: the station is written from what was read.
  Bytes cut;
  begin_tacan(cut, station(10.0, 10.0, 20, 0x02, "TC"));
  add_navaid_name(cut, "cut");
  cut.put_u32(39 + 2, 200);
  cut.end();
  // A record too small for its fixed part ends the run.
  Bytes tiny;
  tiny.begin(0xA0).zeros(20).end();
  BglBuilder bgl;
  bgl.section(0xA0).add(concat({r[0], cut, tiny, r[1]}), 4);
  const Decoded d = decode(bgl.build());
  EXPECT_EQ(d.malformed, 2u);
  EXPECT_EQ(count_of(d.document, kWarning), 2u);
  expect_golden("nav/golden/tacan_damaged.xml", d.document);
}

}  // namespace
}  // namespace terrova
