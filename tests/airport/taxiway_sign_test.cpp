// Taxiway signs: which airport claims a sign record, the sign entries and their alignment, and
// damaged sign records.
#include <gtest/gtest.h>

#include "airport_records.h"
#include "decode_with_tables.h"
#include "golden.h"
#include "scenery_records.h"

namespace terrova {
namespace {

using namespace testkit;

Bytes airport_at(const std::string& ident, double lat, double lon) {
  AirportFields f;
  f.ident = ident;
  f.lat = lat;
  f.lon = lon;
  f.tower = false;
  Bytes b;
  airport_name(begin_airport(b, f), ident);
  return b.end();
}

Sign sign(float x, float y, uint32_t heading, std::string label) {
  Sign s;
  s.x = x;
  s.y = y;
  s.heading = heading;
  s.label = std::move(label);
  return s;
}

TEST(TaxiwaySigns, ClaimedByTheFirstAirportWithinHalfADegree) {
  Bytes signs;
  taxiway_signs(signs, 5, 47.26, 11.40, {sign(10, -5, 0, "A1")});     // 4.5 km from LOWI
  taxiway_signs(signs, 14, 47.341, 11.34, {sign(0, 0, 65535, "B")});  // 9 km: nobody's
  taxiway_signs(signs, 5, 48.5, 13.0, {sign(0, 0, 100, "FAR")});      // no airport near
  Bytes airports;
  airports.raw(airport_at("LOWI", 47.26, 11.34));
  airports.raw(airport_at("LOWX", 47.341, 11.34));  // right at the second record: taken already
  airports.raw(airport_at("LOWY", 47.26, 11.40));   // right at the first: taken already
  BglBuilder bgl;
  bgl.section(3).add(airports, 3);
  bgl.section(37).add(signs, 3);
  SharedTables tables;
  Decoded d = decode_with_tables(bgl.build(), tables);
  EXPECT_EQ(d.malformed, 0u);
  expect_golden("airport/golden/taxiway_signs_claim.xml", d.document);
  ASSERT_EQ(tables.deferred_signs.size(), 3u);
  EXPECT_FALSE(tables.deferred_signs[0].pending);
  EXPECT_FALSE(tables.deferred_signs[1].pending);  // taken, though written by nobody
  EXPECT_TRUE(tables.deferred_signs[2].pending);
}

TEST(TaxiwaySigns, AnAirportOutsideTheCircleLeavesItsSignsPending) {
  Bytes signs;
  taxiway_signs(signs, 5, 47.26, 11.35, {sign(0, 0, 0, "A")});
  Bytes airports;
  airports.raw(airport_at("LOWO", 47.26, 11.34));   // outside the circle
  airports.raw(airport_at("LOWI", 47.27, 11.345));  // inside; 1.2 km from the signs
  BglBuilder bgl;
  bgl.section(3).add(airports, 2);
  bgl.section(37).add(signs, 1);
  DecodeOptions o = switches("t");
  o.circle_enabled = true;
  o.center_lat = 47.28;
  o.center_lon = 11.345;
  o.radius_m = 1500;
  Decoded d = decode(bgl.build(), o);
  EXPECT_EQ(d.document.find("LOWO"), std::string::npos);
  const size_t airport = d.document.find("<Airport ident=\"LOWI\"");
  const size_t signs_at = d.document.find("<TaxiwaySign ");
  ASSERT_NE(airport, std::string::npos);
  EXPECT_GT(signs_at, airport);
}

TEST(TaxiwaySigns, EntriesLabelsAndAlignment) {
  Bytes signs;
  std::vector<Sign> entries = {sign(0, 0, 0, "AB"),                 // 15 bytes, raised to 16
                               sign(25.5f, -12.25f, 16384, "CDE"),  // 16 bytes
                               sign(-100, 200, 65535, "<x&y>")};
  entries[1].size = 5;
  entries[1].justification = 6;  // past the table: written as its number
  taxiway_signs(signs, 5, 47.26, 11.34, entries);
  BglBuilder bgl;
  bgl.section(3).add(airport_at("LOWI", 47.26, 11.34), 1);
  bgl.section(37).add(signs, 1);
  Decoded d = decode(bgl.build(), switches("d"));
  EXPECT_EQ(d.malformed, 0u);
  expect_golden("airport/golden/taxiway_signs_entries.xml", d.document);
  Decoded terse = decode(bgl.build(), switches("t"));
  EXPECT_EQ(terse.document.find("TaxiwaySign x:"), std::string::npos);
  EXPECT_NE(terse.document.find("label=\"&lt;x&amp;y&gt;\""), std::string::npos);
}

// The padding after a label evens the position within the sign record: a record at an odd file
// offset gives the same signs as one at an even offset.
TEST(TaxiwaySigns, ARecordAtAnOddOffsetReadsEveryEntry) {
  const std::vector<Sign> entries = {sign(0, 0, 0, "AB"), sign(5, 5, 100, "C"),
                                     sign(10, 10, 200, "DEF"), sign(15, 15, 300, "G")};
  const auto signs_of = [&](size_t prefix) {
    Bytes objects;
    // An object record of kind 6 whose odd or even length places the sign record after it.
    scenery_object(objects, ObjectHeader{}, Bytes().zeros(prefix));
    taxiway_signs(objects, 5, 47.26, 11.34, entries);
    BglBuilder bgl;
    bgl.section(3).add(airport_at("LOWI", 47.26, 11.34), 1);
    bgl.section(37).add(objects, 2);
    Layout layout;
    const std::vector<uint8_t> file = bgl.build(&layout);
    const Decoded d = decode(file, switches("t"));
    EXPECT_EQ(d.malformed, 0u);
    const size_t sign_record = layout.sections[1].data[0] + 28 + prefix;
    const std::string& doc = d.document;
    const size_t first = doc.find("\t\t<TaxiwaySign ");
    return std::make_pair(sign_record % 2,
                          first == std::string::npos ? std::string() : doc.substr(first));
  };
  const auto [even_parity, even] = signs_of(2);
  const auto [odd_parity, odd] = signs_of(1);
  ASSERT_NE(even_parity, odd_parity);
  EXPECT_EQ(odd, even);
  EXPECT_NE(odd.find("label=\"G\""), std::string::npos);
}

TEST(TaxiwaySigns, CountsAndLabelsStopAtTheEndOfTheRecord) {
  Bytes signs;
  taxiway_signs(signs, 5, 47.26, 11.34, {sign(0, 0, 0, "A"), sign(1, 1, 0, "B")});
  signs.put_u32(28, 7);  // seven signs claimed, two stored
  Bytes unterminated;
  taxiway_signs(unterminated, 5, 47.26, 11.34, {sign(0, 0, 0, "AB")});
  unterminated.data.resize(unterminated.size() - 2);  // drop the zero byte and the padding
  unterminated.put_u16(2, static_cast<uint32_t>(unterminated.size()));
  Bytes short_record;  // a header without room for the sign count
  ObjectHeader header;
  header.kind = 5;
  header.lat = 47.26;
  header.lon = 11.34;
  scenery_object(short_record, header, Bytes());
  BglBuilder bgl;
  bgl.section(3).add(airport_at("LOWI", 47.26, 11.34), 1);
  bgl.section(37).add(signs, 1).add(unterminated, 1).add(short_record, 1);
  Decoded d = decode(bgl.build(), switches("t"));
  EXPECT_EQ(d.malformed, 3u);
  expect_golden("airport/golden/taxiway_signs_damaged.xml", d.document);
}

PlacedSign placed(float x, float y, float alt, uint32_t flags, std::string label) {
  PlacedSign s;
  s.x = x;
  s.y = y;
  s.alt = alt;
  s.flags = flags;
  s.label = std::move(label);
  return s;
}

// Kinds 0x13 and 0x14 place each sign with its own altitude and attitude; their entries are
// aligned as the older ones, and 0x14 keeps 32 more bytes before them.
TEST(TaxiwaySigns, PlacedSignsOfTheLaterKinds) {
  std::vector<PlacedSign> first = {placed(0, 0, 701.34f, 0, "d<E"),           // 26 bytes
                                   placed(-455.5f, -16.75f, 2.5f, 7, "AB")};  // 25, raised to 26
  first[0].heading = 61713;  // 339.00 degrees in units of 360/65536
  first[0].size = 3;
  first[0].justification = 2;
  first[1].pitch = 182;         // 1.00 degree
  first[1].bank = 65536 - 364;  // 358.00
  first[1].heading = 32768;
  std::vector<PlacedSign> second = {placed(10, 20, -3.0f, 5, "B"), placed(0, 0, 0, 2, "")};
  Bytes signs;
  placed_taxiway_signs(signs, 0x13, 47.26, 11.34, first);
  placed_taxiway_signs(signs, 0x14, 47.261, 11.341, second);
  taxiway_signs(signs, 14, 47.26, 11.34, {sign(1, 1, 16384, "OLD")});  // beside the older kind
  BglBuilder bgl;
  bgl.section(3).add(airport_at("LOWI", 47.26, 11.34), 1);
  bgl.section(37).add(signs, 3);
  const std::vector<uint8_t> file = bgl.build();
  Decoded d = decode(file);
  EXPECT_EQ(d.malformed, 0u);
  expect_golden("airport/golden/taxiway_signs_placed.xml", d.document);
  expect_golden("airport/golden/taxiway_signs_placed_terse.xml",
                decode(file, switches("t")).document);
  expect_golden("airport/golden/taxiway_signs_placed_dfm.xml",
                decode(file, switches("dfm")).document);
}

TEST(TaxiwaySigns, DamagedPlacedSigns) {
  Bytes counted;  // three signs claimed, one stored
  placed_taxiway_signs(counted, 0x13, 47.26, 11.34, {placed(1, 2, 3, 1, "A")});
  counted.put_u32(44, 3);
  Bytes unterminated;  // the label's zero byte is cut off
  placed_taxiway_signs(unterminated, 0x13, 47.26, 11.34, {placed(0, 0, 0, 0, "XY")});
  unterminated.data.resize(unterminated.size() - 2);
  unterminated.put_u16(2, static_cast<uint32_t>(unterminated.size()));
  Bytes short_long;  // a 0x14 record with its count but without the 32 bytes after it
  placed_taxiway_signs(short_long, 0x14, 47.26, 11.34, {});
  short_long.data.resize(short_long.size() - 32);
  short_long.put_u16(2, static_cast<uint32_t>(short_long.size()));
  BglBuilder bgl;
  bgl.section(3).add(airport_at("LOWI", 47.26, 11.34), 1);
  bgl.section(37).add(counted, 1).add(unterminated, 1).add(short_long, 1);
  Decoded d = decode(bgl.build(), switches("t"));
  EXPECT_EQ(d.malformed, 3u);
  expect_golden("airport/golden/taxiway_signs_placed_damaged.xml", d.document);
}

}  // namespace
}  // namespace terrova
