// Runways: attributes, markings, lights, the child records grouped by kind, the ILS records of
// both runway ends, and damaged runways and ILS records.
#include <gtest/gtest.h>

#include "airport_records.h"
#include "decode_with_tables.h"
#include "golden.h"

namespace terrova {
namespace {

using namespace testkit;

// One airport holding the given sub-records.
Bytes airport_with(const Bytes& subrecords) {
  Bytes b;
  AirportFields f;
  f.tower = false;
  airport_name(begin_airport(b, f), "Runways");
  return b.raw(subrecords).end();
}

TEST(Runway, AttributesAndChildrenInTheirFixedOrder) {
  Bytes runways;
  RunwayFields plain;
  plain.markings = 0x0100;  // singleEnd only
  plain.lights = 0x10;      // centerRed only
  plain.number = 0;         // written as 36
  begin_runway(runways, plain);
  vasi(runways, 13, 14, -12.0f, 150.0f, 0.0f, 3.25f);  // type 14 is past the table
  end_zone(runways, 10, 1, 60.0f, 30.0f);
  runways.begin(3).u16(0).end();          // other ids are passed over silently
  approach_lights(runways, 15, 0x0F, 0);  // code 15 is SSALS, as 14 is
  end_zone(runways, 5, 254, 150.0f, 45.0f);
  vasi(runways, 11, 7, 12.0f, 150.0f, 0.0f, 3.0f);
  runways.end();
  RunwayFields odd;
  odd.number = 37;
  odd.secondary_designator = 1;  // primary NONE, secondary LEFT
  odd.patterns = 0x3F;
  odd.surface = 30;  // past the surface table
  odd.lights = 0x0E;
  odd.markings = 0xE000;  // bits 13-15 only: an element with every attribute FALSE
  begin_runway(runways, odd).end();
  RunwayFields past;
  past.primary_designator = 7;  // designator codes past the table are written as numbers
  past.secondary_designator = 3;
  begin_runway(runways, past).end();
  BglBuilder bgl;
  bgl.section(3).add(airport_with(runways), 1);
  Decoded d = decode(bgl.build());
  EXPECT_EQ(d.malformed, 0u);
  expect_golden("airport/golden/runway_children.xml", d.document);
  expect_golden("airport/golden/runway_children_f.xml",
                decode(bgl.build(), switches("tf")).document);
}

// ILS records in a section that nothing decodes, set aside as the navaid section would.
struct IlsFile {
  std::vector<uint8_t> file;
  std::vector<uint32_t> ils_offsets;
};

IlsFile ils_file(const Bytes& runways) {
  Bytes ils;
  IlsFields full;
  full.flags = 0x04;  // back course
  begin_ils(ils, full);
  localizer(ils, 1, 261.5f, 4.75f);
  glide_slope(ils, 47.2598, 11.3561, 579000, 18520.0f, 3.0f);
  ils_name(ils, "Innsbruck <08>");
  localizer(ils, 0, 81.5f, 5.25f);  // a later localizer replaces the earlier one
  ils_dme(ils, 47.2597, 11.3562, 580000, 92600.0f);
  ils.end();
  IlsFields broken;
  broken.ident = "OIS";
  broken.frequency_hz = 111100000;
  broken.magvar = 180.0f;
  begin_ils(ils, broken);
  localizer(ils, 1, 80.0f, 6.0f);
  ils.begin(0x99).u32(0).end();  // ends the scan: the glide slope after it is not seen
  glide_slope(ils, 47.2598, 11.3561, 579000, 18520.0f, 3.0f);
  ils.end();
  IlsFields named;
  named.ident = "ILX";
  begin_ils(ils, named);
  ils_name(ils, std::string(47, 'A') + "BCDEFGHIJKLM");  // 60 bytes: the first 47 are written
  localizer(ils, 2, 90.0f, 3.0f);                        // end code 2 is past the table
  ils.end();
  BglBuilder bgl;
  bgl.section(3).add(airport_with(runways), 1);
  bgl.section(100).add(ils, 3);
  Layout layout;
  IlsFile result;
  result.file = bgl.build(&layout);
  uint32_t at = layout.sections[1].data[0];
  for (int i = 0; i < 3; ++i) {
    result.ils_offsets.push_back(at);
    at += result.file[at + 2] | result.file[at + 3] << 8;
  }
  return result;
}

TEST(Runway, IlsOfBothEnds) {
  Bytes runways;
  RunwayFields a;
  a.primary_ils = "OEV";
  a.secondary_ils = "OIS";
  begin_runway(runways, a).end();
  RunwayFields b;
  b.number = 26;
  b.primary_ils = "ILX";  // the same ILS at both ends is written twice
  b.secondary_ils = "ILX";
  begin_runway(runways, b).end();
  RunwayFields none;  // identifiers 0 and 0: no ILS, whatever records there are
  none.number = 18;
  begin_runway(runways, none).end();
  IlsFile f = ils_file(runways);
  SharedTables tables;
  for (uint32_t offset : f.ils_offsets) tables.deferred_navaids.push_back({offset, 0});
  Decoded d = decode_with_tables(f.file, tables, switches("t"));
  EXPECT_EQ(d.malformed, 0u);
  expect_golden("airport/golden/runway_ils.xml", d.document);
  SharedTables again;
  for (uint32_t offset : f.ils_offsets) again.deferred_navaids.push_back({offset, 0});
  expect_golden("airport/golden/runway_ils_fm.xml",
                decode_with_tables(f.file, again, switches("tfm")).document);
}

TEST(Runway, DamagedChildrenAndIlsRecords) {
  Bytes runways;
  RunwayFields a;
  a.primary_ils = "OEV";
  begin_runway(runways, a);
  end_zone(runways, 5, 0, 100.0f, 45.0f);
  runways.begin(7).u16(0).f32(60.0f).end();  // an end zone without its width: left out
  approach_lights(runways, 15, 0x03, 2);
  runways.begin(9).end_with_size(0);  // ends the children; what was collected is written
  end_zone(runways, 6, 0, 100.0f, 45.0f);
  runways.end();
  RunwayFields b;
  b.number = 26;
  b.primary_ils = "0";  // matches the identifier read from a record cut by the end of the file
  begin_runway(runways, b);
  runways.begin(3).u16(0).end_with_size(200);  // reaches past the runway
  runways.end();
  IlsFile f = ils_file(runways);
  // The first ILS record's glide slope gets a size of 0: its scan ends with a warning.
  const uint32_t first = f.ils_offsets[0];
  const uint32_t glide_slope_at = first + 40 + 16;
  ASSERT_EQ(f.file[glide_slope_at], 0x15);
  f.file[glide_slope_at + 2] = 0;
  SharedTables tables;
  tables.deferred_navaids.push_back({first, 0});
  // A record set aside at the very end of the file cannot hold its fixed part.
  tables.deferred_navaids.push_back({static_cast<uint32_t>(f.file.size() - 8), 0});
  Decoded d = decode_with_tables(f.file, tables, switches("t"));
  EXPECT_EQ(d.malformed, 5u);
  expect_golden("airport/golden/runway_damaged.xml", d.document);
}

}  // namespace
}  // namespace terrova
