// Airspace boundaries: the index walk that writes each record once, the frequency comment, names,
// every geometry kind, and damaged records and indexes.
#include <gtest/gtest.h>

#include "nav_test_support.h"

namespace terrova {
namespace {

using namespace testkit;
using navtest::count_of;
using navtest::kWarning;
using navtest::poke_u32;

constexpr uint8_t kMslOverAgl = 0x12;  // maximum above mean sea level, minimum above ground

// Class C with its frequency, name and a shape of every kind with coordinates; the unknown
// kind 7 writes nothing.
Bytes class_c() {
  Bytes b;
  begin_boundary(b, 4, kMslOverAgl, 0, 1219200);
  add_boundary_frequency(b, 119200000, "SEATTLE APPROACH");
  add_boundary_name(b, "SEATTLE CLASS C & \"TAC\"");
  add_geometry(b, {
                      {.kind = 1, .index = 0, .lat = 47.6,  .lon = -122.4},
                      {.kind = 2, .index = 1, .lat = 47.6,  .lon = -122.2},
                      {.kind = 3, .index = 2, .lat = 47.45, .lon = -122.3},
                      {.kind = 4, .index = 3, .lat = 47.3,  .lon = -122.2},
                      {.kind = 5, .index = 4, .lat = 47.3,  .lon = -122.4},
                      {.kind = 7, .index = 5, .lat = 1.0,   .lon = 1.0   },
                      {.kind = 2, .index = 6, .lat = 47.6,  .lon = -122.4}
  });
  return b.end();
}

// A tower circle with its name, an unknown sub-record passed over, and a second geometry
// sub-record.
Bytes tower_circle() {
  Bytes b;
  begin_boundary(b, 9, 0x30, -300000, 762000);
  add_boundary_name(b, "PAINE TOWER");
  add_geometry(b, {
                      {.kind = 6, .index = 0, .lat = 0, .lon = 0, .radius_m = 1852.0f}
  });
  b.begin(0x55).u32(0xDEADBEEF).end();
  add_geometry(b, {
                      {.kind = 6, .index = 1, .lat = 0, .lon = 0, .radius_m = 9260.0f}
  });
  return b.end();
}

// No name: the start tag ends with the type, a space and ">"; type and altitude types past
// their tables.
Bytes unnamed() {
  Bytes b;
  begin_boundary(b, 30, 0x45, 1000, 2000);
  add_geometry(b, {
                      {.kind = 1, .index = 0, .lat = -10.0, .lon = 20.0},
                      {.kind = 2, .index = 1, .lat = -10.5, .lon = 20.5}
  });
  return b.end();
}

// A frequency without a name: its text must not end the comment early.
Bytes frequency_only() {
  Bytes b;
  begin_boundary(b, 14, 0x11, 0, 5000000);
  add_boundary_frequency(b, 121500000, "MOA--WEST-");
  add_geometry(b, {
                      {.kind = 1, .index = 0, .lat = 35.0, .lon = -117.0}
  });
  return b.end();
}

// A name first and a frequency after it: the frequency is passed over with the geometry.
Bytes name_then_frequency() {
  Bytes b;
  begin_boundary(b, 16, 0x11, 0, 0);
  add_boundary_name(b, "");
  add_boundary_frequency(b, 118000000, "NOT WRITTEN");
  add_geometry(b, {
                      {.kind = 6, .index = 2, .lat = 0, .lon = 0, .radius_m = 500.0f}
  });
  return b.end();
}

std::vector<uint8_t> boundary_file() {
  BglBuilder bgl;
  Section& s = bgl.section(32);
  Bytes unrelated;
  s.add(unrelated.u32(1).u32(2), 1);  // one subsection entry comes before the index
  s.indexed_records = {class_c(), tower_circle(), unnamed(), frequency_only(),
                       name_then_frequency()};
  s.index = {1, 0, 1, 2, 1, 3, 0, 4};  // listed again: written at the first listing only
  return bgl.build();
}

TEST(Boundary, EachRecordOnceWithItsGeometry) {
  const std::vector<uint8_t> file = boundary_file();
  // The frequency comments stay in the terse document too.
  navtest::expect_indexed_goldens("boundary", file, "Boundary", 5);
}

TEST(Boundary, AnEmptyIndexWritesNothing) {
  BglBuilder bgl;
  bgl.section(32);
  Decoded d = decode(bgl.build(), switches("t"));
  EXPECT_EQ(d.malformed, 0u);
  EXPECT_EQ(d.document.find("Boundary"), std::string::npos);
}

TEST(Boundary, DamagedRecordsAreReportedAndTheIndexWalkGoesOn) {
  Bytes zero = unnamed();
  zero.put_u32(2, 0);
  Bytes huge = unnamed();
  huge.put_u32(2, 0x40000000);
  // A geometry sub-record of size 0 after a sound one.
  Bytes zero_geometry;
  begin_boundary(zero_geometry, 5, 0x11, 0, 100);
  add_geometry(zero_geometry, {
                                  {.kind = 2, .index = 0, .lat = 1, .lon = 1}
  });
  zero_geometry.begin(0x21).u16(1).zeros(10).end_with_size(0);
  zero_geometry.end();
  // A geometry count that reaches past its sub-record: the entries it holds are written.
  Bytes long_count;
  begin_boundary(long_count, 6, 0x11, 0, 100);
  add_geometry(long_count, {
                               {.kind = 2, .index = 0, .lat = 2, .lon = 2},
                               {.kind = 2, .index = 1, .lat = 3, .lon = 3}
  });
  long_count.put_u16(long_count.size() - 28 + 6, 40);  // the count of the sub-record
  long_count.end();
  // A name sub-record that reaches past its record: written without name or geometry.
  Bytes long_name;
  begin_boundary(long_name, 7, 0x11, 0, 100);
  long_name.begin(0x19).cstr("CUT").end_with_size(0x100);
  add_geometry(long_name, {
                              {.kind = 2, .index = 0, .lat = 4, .lon = 4}
  });
  long_name.end();
  // A frequency sub-record shorter than its fields.
  Bytes short_frequency;
  begin_boundary(short_frequency, 8, 0x11, 0, 100);
  short_frequency.begin(0x12).u16(0).u16(0).end();
  short_frequency.end();

  BglBuilder bgl;
  Section& s = bgl.section(32);
  s.indexed_records = {zero,     huge, zero_geometry, long_count, long_name, short_frequency,
                       class_c()};
  s.index = {0, 1, 2, 3, 4, 5, 6};
  Decoded d = decode(bgl.build());
  EXPECT_EQ(d.malformed, 6u);
  EXPECT_EQ(count_of(d.document, kWarning), 6u);
  EXPECT_EQ(count_of(d.document, "<Boundary "), 5u);
  expect_golden("nav/golden/boundary_damaged.xml", d.document);
}

TEST(Boundary, DamagedIndexesAreReported) {
  // An index entry whose offset lies past the file, between two sound listings.
  BglBuilder bgl;
  Section& s = bgl.section(32);
  s.indexed_records = {unnamed(), tower_circle()};
  s.index = {0, 0, 1};
  Layout layout;
  std::vector<uint8_t> file = bgl.build(&layout);
  poke_u32(file, layout.sections[0].subsection_table + 8, 0x7FFFFFF0);
  Decoded d = decode(file, switches("t"));
  EXPECT_EQ(d.malformed, 1u);
  EXPECT_EQ(count_of(d.document, "<Boundary "), 2u);

  // A table size that reaches past the file: the entries inside it are walked (the record bytes
  // after the index read as entries too, and are reported as they come).
  std::vector<uint8_t> past = bgl.build(&layout);
  poke_u32(past, 56 + 16, 0x01000000);
  Decoded p = decode(past, switches("t"));
  EXPECT_GE(p.malformed, 1u);
  EXPECT_GE(count_of(p.document, "<Boundary "), 2u);

  // A table size smaller than the subsection entries it holds.
  BglBuilder small;
  Bytes unrelated;
  small.section(32).add(unrelated.u32(0), 1).indexed_records = {unnamed()};
  std::vector<uint8_t> shrunk = small.build();
  poke_u32(shrunk, 56 + 16, 8);
  Decoded e = decode(shrunk, switches("t"));
  EXPECT_EQ(e.malformed, 1u);
  EXPECT_EQ(count_of(e.document, "<Boundary "), 0u);
}

}  // namespace
}  // namespace terrova
