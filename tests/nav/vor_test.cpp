// VHF navaids: VOR, VOR-DME, DME-only and VOT stations, the ILS records set aside for the runways,
// the decode circle and damaged records.
#include <gtest/gtest.h>

#include "nav_test_support.h"

namespace terrova {
namespace {

using namespace testkit;
using navtest::circle;
using navtest::concat;
using navtest::count_of;
using navtest::decode_tables;
using navtest::kWarning;
using navtest::poke_u32;

Navaid station(uint8_t type, uint8_t flags, double lat, double lon, const char* ident) {
  return Navaid{.type = type,
                .flags = flags,
                .lat = lat,
                .lon = lon,
                .altitude_mm = 432100,
                .frequency_hz = 113900000,
                .range_m = 185200.0f,
                .magvar = 350.0f,
                .ident = pack_ident(ident),
                .region = pack_region("K1")};
}

Bytes vor_dme(double lat, double lon, const char* ident, const char* name) {
  Bytes b;
  begin_navaid(b, station(3, 0x11, lat, lon, ident));
  add_dme(b, lat, lon, 120000, 92600.0f);
  add_navaid_name(b, name);
  return b.end();
}

Bytes ils(double lat, double lon, const char* ident) {
  Bytes b;
  begin_navaid(b, station(4, 0x1D, lat, lon, ident));
  add_localizer(b, 0, 163.5f, 5.0f);
  add_glide_slope(b, lat, lon, 110000, 18520.0f, 3.0f);
  add_dme(b, lat, lon, 110000, 18520.0f);
  add_navaid_name(b, "ILS RWY 16R");
  return b.end();
}

// A VOR with a DME and a name, a VOR-DME of flags 0x31, a DME-only station, an ILS, a VOR without
// DME or name, a VOT, type bytes 0 and 9, the flags values without a rule of their own (0x00 and
// 0x01), a cut name and a scan ended by an unknown sub-record.
std::vector<Bytes> stations() {
  std::vector<Bytes> r(11);
  begin_navaid(r[0], station(3, 0x11, 47.4352, -122.3094, "SEA"));
  add_dme(r[0], 47.4353, -122.3095, 120000, 92600.0f);
  add_navaid_name(r[0], "Seattle & Co.  \t");  // trailing blanks trimmed, "&" escaped
  r[0].end();
  begin_navaid(r[1], station(2, 0x31, 46.0, 7.5, "SN"));
  add_navaid_name(r[1], "VOR-DME 31");
  add_dme(r[1], 46.01, 7.51, -2500, 1852.0f);
  r[1].end();
  begin_navaid(r[2], station(1, 0x10, -33.9461, 151.1772, "SY"));
  add_dme(r[2], -33.9461, 151.1772, 6000, 37040.0f);
  add_navaid_name(r[2], "Sydney DME");
  r[2].end();
  r[3] = ils(47.45, -122.3, "ISEA");
  Navaid plain = station(1, 0x00, 0.0, 0.0, "NO");
  plain.magvar = 12.25f;
  begin_navaid(r[4], plain).end();  // no sub-records: empty name, no DME
  begin_navaid(r[5], station(5, 0x00, 51.5, -0.25, "VOT"));
  add_navaid_name(r[5], "Test");
  r[5].end();
  begin_navaid(r[6], station(0, 0x00, 10.0, 20.0, "ZERO"));
  add_dme(r[6], 10.0, 20.0, 0, 1.0f);  // flags without the VOR bit: DME-only
  r[6].end();
  begin_navaid(r[7], station(9, 0x01, 11.0, 21.0, "NINE"));  // type past the table
  add_dme(r[7], 11.0, 21.0, 0, 2.0f);                        // flags with the VOR bit: VOR and DME
  r[7].end();
  begin_navaid(r[8], station(2, 0x11, 12.0, 22.0, "LONG"));
  add_navaid_name(r[8], std::string(60, 'A') + "BCDEFGH");  // 67 characters: 63 are kept
  r[8].end();
  begin_navaid(r[9], station(2, 0x11, 13.0, 23.0, "UNK"));
  add_navaid_name(r[9], "First");
  r[9].begin(0x42).u32(7).end();       // an unknown id ends the scan ...
  add_dme(r[9], 13.0, 23.0, 0, 5.0f);  // ... so this DME is not seen
  r[9].end();
  begin_navaid(r[10], station(2, 0x11, 14.0, 24.0, "TWO"));
  add_navaid_name(r[10], "ABCDEF");
  add_navaid_name(r[10], "XY");  // copied over the first name
  r[10].end();
  return r;
}

TEST(Vor, StationsAreWrittenAndIlsRecordsSetAside) {
  const std::vector<Bytes> records = stations();
  BglBuilder bgl;
  bgl.section(19).add(concat(records), 11);
  Layout layout;
  const std::vector<uint8_t> file = bgl.build(&layout);
  Decoded d = navtest::expect_goldens("vor", file);
  EXPECT_EQ(d.malformed, 0u);

  const uint32_t ils_offset =
      layout.sections[0].data[0] +
      static_cast<uint32_t>(concat({records[0], records[1], records[2]}).size());
  const SharedTables tables = decode_tables(file);
  ASSERT_EQ(tables.deferred_navaids.size(), 1u);
  const IlsEntry& kept = tables.deferred_navaids[0];
  EXPECT_EQ(kept.offset, ils_offset);
  EXPECT_EQ(kept.ident_number, ident_number(kept.ident));
  EXPECT_FALSE(kept.damaged);
}

TEST(Vor, IlsRecordsAreCollectedInFileOrderAcrossSubsectionsAndSections) {
  BglBuilder bgl;
  bgl.section(19)
      .add(concat({ils(1, 1, "IA"), vor_dme(2, 2, "V", "V"), ils(3, 3, "IB")}), 3)
      .add(ils(4, 4, "IC"), 1);
  bgl.section(19).add(ils(5, 5, "ID"), 1);
  Layout layout;
  const std::vector<uint8_t> file = bgl.build(&layout);
  const uint32_t ils_size = static_cast<uint32_t>(ils(0, 0, "IA").size());
  const uint32_t vor_size = static_cast<uint32_t>(vor_dme(2, 2, "V", "V").size());
  const uint32_t first = layout.sections[0].data[0];
  const std::vector<uint32_t> expected = {first, first + ils_size + vor_size,
                                          layout.sections[0].data[1], layout.sections[1].data[0]};
  std::vector<uint32_t> offsets;
  for (const IlsEntry& r : decode_tables(file).deferred_navaids) offsets.push_back(r.offset);
  EXPECT_EQ(offsets, expected);
}

TEST(Vor, ARecordOfAnotherKindEndsTheRun) {
  Bytes other;
  other.begin(0x14).u32(0).zeros(40).end();
  BglBuilder bgl;
  bgl.section(19).add(concat({vor_dme(1, 1, "ONE", "One"), other, vor_dme(2, 2, "TWO", "Two")}), 3);
  Decoded d = decode(bgl.build(), switches("t"));
  EXPECT_EQ(d.malformed, 0u);
  EXPECT_EQ(count_of(d.document, "<Vor "), 1u);
  EXPECT_NE(d.document.find("ident=\"ONE\""), std::string::npos);
}

TEST(Vor, TheDecodeCircleKeepsStationsAndIlsRecordsInsideIt) {
  BglBuilder bgl;
  bgl.section(19).add(
      concat({vor_dme(47.4352, -122.3094, "SEA", "Seattle"), ils(47.45, -122.30, "ISEA"),
              vor_dme(45.5887, -122.5975, "PDX", "Portland"), ils(45.59, -122.60, "IPDX"),
              vor_dme(47.90, -122.28, "PAE", "Paine")}),
      5);
  const std::vector<uint8_t> file = bgl.build();
  const DecodeOptions around_seattle = circle(47.4352, -122.3094, 60);
  expect_golden("nav/golden/vor_circle.xml", decode(file, around_seattle).document);
  // Only the ILS inside the circle is collected.
  EXPECT_EQ(decode_tables(file, around_seattle).deferred_navaids.size(), 1u);
}

// Damaged records end the walk with a warning; the document stays well-formed.
TEST(Vor, DamagedRecordsEndTheWalkWithAWarning) {
  // A record size of 0 between two stations.
  Bytes zero;
  begin_navaid(zero, station(2, 0x11, 3, 3, "ZERO")).end_with_size(0);
  BglBuilder a;
  a.section(19).add(concat({vor_dme(1, 1, "ONE", "One"), zero, vor_dme(2, 2, "TWO", "Two")}), 3);
  Decoded da = decode(a.build(), switches("t"));
  EXPECT_EQ(da.malformed, 1u);
  expect_golden("nav/golden/vor_size_zero.xml", da.document);

  // A record size below the fixed part.
  Bytes short_record;
  begin_navaid(short_record, station(2, 0x11, 3, 3, "SHORT")).end_with_size(0x20);
  BglBuilder b;
  b.section(19).add(concat({short_record, vor_dme(2, 2, "TWO", "Two")}), 2);
  Decoded db = decode(b.build(), switches("t"));
  EXPECT_EQ(db.malformed, 1u);
  EXPECT_EQ(count_of(db.document, "<Vor "), 0u);

  // A record size that reaches past the file; the ILS record is not collected either.
  Bytes huge = ils(1, 1, "IHUGE");
  huge.put_u32(2, 0x7FFFFFF0);
  BglBuilder c;
  c.section(19).add(concat({vor_dme(1, 1, "ONE", "One"), huge}), 2);
  const std::vector<uint8_t> cf = c.build();
  Decoded dc = decode(cf, switches("t"));
  EXPECT_EQ(dc.malformed, 1u);
  EXPECT_EQ(count_of(dc.document, "<Vor "), 1u);
  EXPECT_TRUE(decode_tables(cf).deferred_navaids.empty());

  // A run whose length reaches past the file: its records are read, then the missing one is
  // reported.
  BglBuilder e;
  e.section(19).add(vor_dme(1, 1, "ONE", "One"), 1).subsections.back().data_size = 4000;
  Decoded de = decode(e.build(), switches("t"));
  EXPECT_EQ(de.malformed, 1u);
  EXPECT_EQ(count_of(de.document, "<Vor "), 1u);
}

TEST(Vor, DamagedSubRecordsEndTheScanAndTheStationIsStillWritten) {
  // A name sub-record of size 0 after the DME, then a sound station.
  Bytes zero_name;
  begin_navaid(zero_name, station(2, 0x11, 1, 1, "ZN"));
  add_dme(zero_name, 1, 1, 0, 100.0f);
  zero_name.begin(0x19).text("Lost").end_with_size(0);
  zero_name.end();
  // A DME sub-record that reaches past its record.
  Bytes long_dme;
  begin_navaid(long_dme, station(2, 0x11, 2, 2, "LD"));
  add_navaid_name(long_dme, "Kept");
  long_dme.begin(0x16).u16(0).lon(2).lat(2).i32(0).f32(1.0f).end_with_size(0x40);
  long_dme.end();
  // A DME sub-record too short for its fields.
  Bytes short_dme;
  begin_navaid(short_dme, station(2, 0x11, 3, 3, "SD"));
  short_dme.begin(0x16).u16(0).lon(3).lat(3).end();
  short_dme.end();
  BglBuilder bgl;
  bgl.section(19).add(concat({zero_name, long_dme, short_dme, vor_dme(4, 4, "OK", "Sound")}), 4);
  Decoded d = decode(bgl.build(), switches("t"));
  EXPECT_EQ(d.malformed, 3u);
  EXPECT_EQ(count_of(d.document, kWarning), 3u);
  expect_golden("nav/golden/vor_damaged_subrecords.xml", d.document);
}

}  // namespace
}  // namespace terrova
