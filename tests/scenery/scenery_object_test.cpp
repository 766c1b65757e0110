// The scenery-object walk: header attributes in both header forms, objects of kinds without a
// decoder as dumps of the whole record, taxiway signs set aside, the circle and damaged runs.
#include "scenery/scenery_object.h"

#include <gtest/gtest.h>

#include "decode_with_tables.h"
#include "golden.h"
#include "scenery_records.h"

namespace terrova {
namespace {

using namespace testkit;

Bytes objects() {
  Bytes b;
  ObjectHeader h;
  h.kind = 6;
  h.alt_mm = 12345;
  h.agl = 0x0310;  // NoShadow, NoSnow, LowResAltitude; bit 0 clear: not above ground
  h.pitch = 0xFFFF;
  h.bank = 0x8000;
  h.heading = 0x4000;
  h.complexity = 9;  // past the table: VERY_SPARSE
  scenery_object(b, h, Bytes().u32(0x01020304).u32(0x05060708).u32(0x090A0B0C).u32(0x0D0E0F10));
  taxiway_signs(b, 5, 47.26, 11.35, {Sign{}});
  ObjectHeader extended;
  extended.kind = 11;  // a library object in the extended header form
  extended.agl = 0;
  extended.complexity = 5;
  scenery_object(b, extended, Bytes().zeros(20));
  taxiway_signs(b, 14, 47.27, 11.36, {Sign{}, Sign{}});
  ObjectHeader zero;
  zero.kind = 0;  // kind 0 is no row of the table
  zero.lat = -33.5;
  zero.lon = -70.25;
  zero.agl = 0x0004;  // a bit without an element still means above ground
  scenery_object(b, zero, Bytes());
  return b;
}

TEST(SceneryObjects, HeadersDumpsAndDeferredSigns) {
  BglBuilder bgl;
  bgl.section(37).add(objects(), 5);
  Layout layout;
  const std::vector<uint8_t> file = bgl.build(&layout);
  SharedTables tables;
  Decoded d = decode_with_tables(file, tables);
  EXPECT_EQ(d.malformed, 0u);
  expect_golden("scenery/golden/objects.xml", d.document);
  // Both sign records are set aside, pending, in file order.
  ASSERT_EQ(tables.deferred_signs.size(), 2u);
  EXPECT_EQ(tables.deferred_signs[0].offset, layout.sections[0].data[0] + 44);
  EXPECT_TRUE(tables.deferred_signs[0].pending);
  EXPECT_LT(tables.deferred_signs[0].offset, tables.deferred_signs[1].offset);
  EXPECT_TRUE(tables.deferred_signs[1].pending);

  SharedTables terse_tables;
  Decoded terse = decode_with_tables(file, terse_tables, switches("t"));
  expect_golden("scenery/golden/objects_terse.xml", terse.document);
  EXPECT_EQ(terse_tables.deferred_signs.size(), 2u);
}

TEST(SceneryObjects, CircleLeavesNoTraceButSignsAreStillDeferred) {
  BglBuilder bgl;
  bgl.section(37).add(objects(), 5);
  DecodeOptions o = switches("d");
  o.circle_enabled = true;
  o.center_lat = -33.5;
  o.center_lon = -70.25;
  o.radius_m = 1000;
  SharedTables tables;
  Decoded d = decode_with_tables(bgl.build(), tables, o);
  EXPECT_EQ(tables.deferred_signs.size(), 2u);
  expect_golden("scenery/golden/objects_circle.xml", d.document);
}

TEST(SceneryObjects, KindTable) {
  const SceneryObjectKind* building = find_scenery_object_kind(1);
  ASSERT_NE(building, nullptr);
  EXPECT_STREQ(building->name, "GenericBuilding");
  ASSERT_NE(find_scenery_object_kind(10), nullptr);
  EXPECT_STREQ(find_scenery_object_kind(10)->name, "GenericBuilding");
  EXPECT_STREQ(find_scenery_object_kind(16)->name, "Trigger");
  EXPECT_STREQ(find_scenery_object_kind(0x10007)->name, "Trigger");  // low 16 bits compared
  for (uint32_t unknown : {0u, 5u, 6u, 8u, 9u, 14u, 15u, 17u, 18u}) {
    EXPECT_EQ(find_scenery_object_kind(unknown), nullptr) << unknown;
  }
}

TEST(SceneryObjects, RecordsThatCannotAdvanceEndTheRun) {
  for (uint32_t bad_size : {0u, 4u, 27u}) {
    Bytes b;
    scenery_object(b, ObjectHeader{}, Bytes());
    b.begin_u16(6).zeros(24).end_with_size(bad_size);
    scenery_object(b, ObjectHeader{}, Bytes());
    BglBuilder bgl;
    bgl.section(37).add(b, 3);
    Decoded d = decode(bgl.build(), switches("t"));
    EXPECT_EQ(d.malformed, 1u) << bad_size;
    EXPECT_NE(d.document.find("</SceneryObject>"), std::string::npos);
    EXPECT_EQ(d.document.find("</SceneryObject>"), d.document.rfind("</SceneryObject>"));
  }
  // An extended-header sign record shorter than its 44-byte header, and a record that
  // reaches past its run.
  Bytes sign;
  sign.begin_u16(14).zeros(34).end();
  Bytes past;
  past.begin_u16(6).zeros(24).end_with_size(200);
  BglBuilder bgl;
  bgl.section(37).add(sign, 1).add(past, 1);
  SharedTables tables;
  Decoded d = decode_with_tables(bgl.build(), tables, switches("t"));
  EXPECT_EQ(d.malformed, 2u);
  EXPECT_TRUE(tables.deferred_signs.empty());
  EXPECT_EQ(d.document.find("SceneryObject"), std::string::npos);
}

TEST(SceneryObjects, OnlySignsWriteOnlyTheirComments) {
  Bytes b;
  taxiway_signs(b, 5, 47.26, 11.35, {Sign{}});
  taxiway_signs(b, 14, 47.27, 11.36, {Sign{}});
  BglBuilder bgl;
  bgl.section(37).add(b, 2);
  const std::vector<uint8_t> file = bgl.build();
  SharedTables tables;
  Decoded d = decode_with_tables(file, tables);
  EXPECT_EQ(d.document.find("SceneryObject"), std::string::npos);
  size_t comments = 0;
  for (size_t at = d.document.find("<!-- TaxiwaySign, offset"); at != std::string::npos;
       at = d.document.find("<!-- TaxiwaySign, offset", at + 1)) {
    ++comments;
  }
  EXPECT_EQ(comments, 2u);
  SharedTables terse_tables;
  Decoded terse = decode_with_tables(file, terse_tables, switches("t"));
  EXPECT_EQ(terse.document.find("TaxiwaySign"), std::string::npos);
  EXPECT_EQ(terse_tables.deferred_signs.size(), 2u);
}

TEST(SceneryObjects, TheLastObjectMayEndPastTheRunInsideTheFile) {
  Bytes b;
  scenery_object(b, ObjectHeader{}, Bytes().u32(1));
  ObjectHeader second;
  second.lat = -12.5;
  scenery_object(b, second, Bytes().u32(2));
  const uint32_t first_size = 32;
  for (uint32_t length : {first_size + 1, first_size + 31}) {
    BglBuilder bgl;
    bgl.section(37).add(b, 2).subsections.back().data_size = length;
    bgl.section(24).add(Bytes().zeros(64), 0);  // more file after the run
    Decoded d = decode(bgl.build(), switches("t"));
    EXPECT_EQ(d.malformed, 0u) << length;
    EXPECT_NE(d.document.find("lat=\"-12.500000\""), std::string::npos) << length;
  }
  // A run that ends right where the second object starts holds only the first.
  BglBuilder bgl;
  bgl.section(37).add(b, 2).subsections.back().data_size = first_size;
  Decoded d = decode(bgl.build(), switches("t"));
  EXPECT_EQ(d.document.find("lat=\"-12.500000\""), std::string::npos);
}

// The element a kind decoder writes for one object, without the object's own header lines.
std::string kind_element(const Bytes& object) {
  BglBuilder bgl;
  bgl.section(37).add(object, 1);
  const std::string document = decode(bgl.build(), switches("t")).document;
  const size_t start = document.find("imageComplexity=");
  const size_t end = document.find("\t</SceneryObject>");
  if (start == std::string::npos || end == std::string::npos) return document;
  return document.substr(start, end - start);
}

TEST(SceneryObjects, ExtendedHeaderKindsDecodeAsTheirShortPartners) {
  const Bytes building = Bytes().f32(1.5f).zeros(4).u16(4).u16(10).u16(20).u16(30).zeros(
      32);  // a FLAT building: 48 bytes of kind data
  struct Pair {
    uint32_t short_kind;
    Bytes kind_data;
  };
  for (const Pair& pair : {
           Pair{1, building                                                    },
           Pair{2, Bytes().u32(1).u32(2).u32(3).u32(4).f32(2)                  },
           Pair{3, Bytes().f32(6).f32(3).u32(0x00302010).u32(0x00FF8000).u16(1)},
           Pair{4, Bytes().text("fx_x").zeros(76).cstr("p")                    },
           Pair{7, Bytes().u16(0).f32(5).u32(0).u32(1).f32(1).f32(2)           },
  }) {
    Bytes short_form;
    ObjectHeader h;
    h.kind = pair.short_kind;
    scenery_object(short_form, h, pair.kind_data);
    Bytes long_form;
    h.kind = pair.short_kind + 9;
    scenery_object(long_form, h, pair.kind_data);
    const std::string element = kind_element(short_form);
    EXPECT_NE(element.find("\t\t<"), std::string::npos) << pair.short_kind;
    EXPECT_EQ(element, kind_element(long_form)) << pair.short_kind;
  }
}

TEST(SceneryObjects, TheWalkFollowsWhatTheKindDecoderConsumed) {
  // Each record's size field claims the object after it as well; the kind decoder describes
  // only its own data, so the walk finds the inner object as the next one.
  Bytes inner;
  ObjectHeader inner_header;
  inner_header.kind = 6;
  inner_header.lat = -10;
  scenery_object(inner, inner_header, Bytes().u32(0xCAFEF00D));

  const Bytes flat = Bytes().f32(1).zeros(4).u16(4).zeros(38);  // FLAT: 48 bytes
  const Bytes sock = Bytes().f32(6).f32(3).zeros(8).u16(0);     // always 18 bytes
  const Bytes library = library_object(Guid{}, 1, Attachment{});
  for (const auto& [kind, data] : {
           std::pair{1u, flat   },
           std::pair{3u, sock   },
           std::pair{2u, library}, // consumes its attachment block
  }) {
    Bytes b;
    ObjectHeader h;
    h.kind = kind;
    b.begin_u16(h.kind).lon(h.lon).lat(h.lat).i32(0).u16(0).u16(0).u16(0).u16(0).u32(2);
    b.raw(data).raw(inner).end();
    BglBuilder bgl;
    bgl.section(37).add(b, 1);
    Decoded d = decode(bgl.build(), switches("t"));
    EXPECT_EQ(d.malformed, 0u) << kind;
    EXPECT_NE(d.document.find("lat=\"-10.000000\""), std::string::npos) << kind;
    EXPECT_NE(d.document.find("0D F0 FE CA"), std::string::npos) << kind;
  }
}

}  // namespace
}  // namespace terrova
