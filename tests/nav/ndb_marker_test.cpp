// NDBs and markers: their elements, the record walk by count and length, the decode circle and
// damaged records.
#include <gtest/gtest.h>

#include "nav_test_support.h"

namespace terrova {
namespace {

using namespace testkit;
using navtest::circle;
using navtest::concat;
using navtest::count_of;
using navtest::kWarning;

Bytes ndb(uint16_t type, double lat, double lon, const char* ident, std::string name,
          int32_t frequency = 350000) {
  Bytes b;
  return add_ndb(b, Ndb{.type = type,
                        .frequency = frequency,
                        .lat = lat,
                        .lon = lon,
                        .altitude_mm = 15240,
                        .range_m = 46300.0f,
                        .magvar = 356.5f,
                        .ident = pack_ident(ident),
                        .region = pack_region("LE"),
                        .name = std::move(name)});
}

Bytes marker(uint8_t type, uint8_t heading, double lat, double lon, uint32_t region) {
  Bytes b;
  return add_marker(b, Marker{.heading = heading,
                              .type = type,
                              .lat = lat,
                              .lon = lon,
                              .altitude_mm = 120000,
                              .ident = pack_ident("OM16"),
                              .region = region});
}

// A beacon whose record ends with its fixed fields: no name sub-record.
Bytes nameless(double lat, double lon, const char* ident) {
  Bytes b = ndb(1, lat, lon, ident, "");
  b.data.resize(0x28);
  b.put_u32(2, 0x28);
  return b;
}

std::vector<uint8_t> ndb_file() {
  BglBuilder bgl;
  bgl.section(23).add(
      concat({ndb(0, 38.95, -1.86, "AB", "ALBACETE"),
              ndb(1, 40.0, -3.5, "MH", std::string("PADDED\0\0\0\0", 10)),  // ends at the zero
              ndb(2, 41.0, 2.0, "H", "Q&A <Beacon>"),
              ndb(3, -12.5, 130.9, "HH", std::string(70, 'N')),  // cut to 63
              ndb(5, 0.0, 0.0, "T5", "", 1234567),               // type past the table
              nameless(39.5, -0.5, "NN")}),
      6);
  return bgl.build();
}

TEST(Ndb, BeaconsAreWrittenWithTheirNames) {
  const std::vector<uint8_t> file = ndb_file();
  Decoded d = navtest::expect_goldens("ndb", file);
  EXPECT_EQ(d.malformed, 0u);
  // A circle around Madrid keeps two beacons and not even the record comment of the others.
  expect_golden("nav/golden/ndb_circle.xml", decode(file, circle(40.0, -3.5, 300)).document);
}

TEST(Marker, MarkersWithTheirHeadings) {
  BglBuilder bgl;
  bgl.section(24).add(concat({marker(0, 0, 47.40, -122.30, pack_region("K1")),
                              marker(1, 128, 47.41, -122.31, pack_region("K1")),
                              marker(2, 255, 47.42, -122.32, 0),  // region word 0: "0"
                              marker(3, 64, 47.43, -122.33, pack_region("A")),
                              marker(4, 1, 47.44, -122.34, pack_region("KA"))}),
                      5);
  const std::vector<uint8_t> file = bgl.build();
  Decoded d = navtest::expect_goldens("marker", file);
  EXPECT_EQ(d.malformed, 0u);
  // A circle of 2 km around the first marker keeps the first two.
  expect_golden("nav/golden/marker_circle.xml", decode(file, circle(47.40, -122.30, 2)).document);
}

TEST(Marker, TheWalkStopsAtTheCountOrAtTheEndOfTheRun) {
  const Bytes three =
      concat({marker(0, 0, 1, 1, 12), marker(1, 0, 2, 2, 12), marker(2, 0, 3, 3, 12)});
  const Bytes follower = marker(3, 0, 9, 9, 12);
  auto markers_written = [&](uint32_t count, std::optional<uint32_t> length) {
    BglBuilder bgl;
    Section& s = bgl.section(24);
    s.add(three, count).subsections.back().data_size = length;
    s.add(follower, 1);
    Decoded d = decode(bgl.build(), switches("t"));
    EXPECT_EQ(d.malformed, 0u);
    return count_of(d.document, "<Marker ");
  };
  EXPECT_EQ(markers_written(3, std::nullopt), 3u + 1u);
  EXPECT_EQ(markers_written(2, std::nullopt), 2u + 1u);  // the count comes first
  // A length shorter than the records claim: a record that starts inside the run is read whole,
  // the next one is not.
  EXPECT_EQ(markers_written(3, 0x1C + 1), 2u + 1u);
  // A count past the records of the run: a record that starts right at the end of the run is
  // still read, here the one of the next subsection, which is then written twice.
  EXPECT_EQ(markers_written(4, std::nullopt), 4u + 1u);
  EXPECT_EQ(markers_written(0, std::nullopt), 0u + 1u);
}

TEST(NdbMarker, DamagedRecordsEndTheWalkWithAWarning) {
  // Size 0, a size below the fixed part and a size past the file, each after a sound record.
  Bytes ndb_zero = ndb(1, 1, 1, "Z", "Zero");
  ndb_zero.put_u32(2, 0);
  Bytes ndb_short = ndb(1, 1, 1, "S", "Short");
  ndb_short.put_u32(2, 0x24);
  Bytes ndb_huge = ndb(1, 1, 1, "H", "Huge");
  ndb_huge.put_u32(2, 0x10000000);
  for (const Bytes& bad : {ndb_zero, ndb_short, ndb_huge}) {
    BglBuilder bgl;
    bgl.section(23).add(concat({ndb(1, 2, 2, "OK", "Sound"), bad, ndb(1, 3, 3, "NO", "Lost")}), 3);
    Decoded d = decode(bgl.build(), switches("t"));
    EXPECT_EQ(d.malformed, 1u);
    EXPECT_EQ(count_of(d.document, "<Ndb "), 1u);
    EXPECT_EQ(count_of(d.document, kWarning), 1u);
  }
  Bytes marker_zero = marker(1, 0, 1, 1, 12);
  marker_zero.put_u32(2, 0);
  Bytes marker_short = marker(1, 0, 1, 1, 12);
  marker_short.put_u32(2, 0x18);
  for (const Bytes& bad : {marker_zero, marker_short}) {
    BglBuilder bgl;
    bgl.section(24).add(concat({marker(0, 10, 2, 2, 12), bad, marker(2, 20, 3, 3, 12)}), 3);
    Decoded d = decode(bgl.build(), switches("t"));
    EXPECT_EQ(d.malformed, 1u);
    EXPECT_EQ(count_of(d.document, "<Marker "), 1u);
  }
  // A run at the end of the file whose length claims more than the file holds.
  BglBuilder tail;
  tail.section(24).add(marker(0, 10, 2, 2, 12), 2).subsections.back().data_size = 0x1000;
  Decoded t = decode(tail.build(), switches("t"));
  EXPECT_EQ(t.malformed, 1u);
  expect_golden("nav/golden/marker_past_file.xml", t.document);
}

TEST(Ndb, ADamagedNameIsReportedAndCutAtTheRecord) {
  // A name sub-record of size 0, one that reaches past its record and one whose header is cut
  // by the record's end: the beacon is written with the text its record holds.
  Bytes zero_name = ndb(1, 1, 1, "ZN", "Zero name");
  zero_name.put_u32(0x2A, 0);
  Bytes long_name = ndb(2, 2, 2, "LN", "Long name");
  long_name.put_u32(0x2A, 0x400);
  Bytes cut_header = ndb(0, 4, 4, "CH", "");
  cut_header.data.resize(0x2B);
  cut_header.put_u32(2, 0x2B);
  BglBuilder bgl;
  bgl.section(23).add(concat({zero_name, long_name, cut_header, ndb(3, 3, 3, "OK", "Sound")}), 4);
  Decoded d = decode(bgl.build(), switches("t"));
  EXPECT_EQ(d.malformed, 3u);
  expect_golden("nav/golden/ndb_damaged_name.xml", d.document);
}

}  // namespace
}  // namespace terrova
