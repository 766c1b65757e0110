// Runways: attributes, markings, lights, the child records grouped by kind, the ILS records of
// both runway ends, and damaged runways and ILS records.
#include <gtest/gtest.h>

#include "airport_records.h"
#include "decode_with_tables.h"
#include "golden.h"
#include "nav_records.h"

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

// A navaid section with three ILS records and a VOR; the VOR is written at the top level, the
// ILS records inside the runways that name them.
Bytes navaids() {
  Bytes b;
  Navaid full;
  full.type = 4;
  full.flags = 0x04;  // back course
  full.lat = 47.2601;
  full.lon = 11.3115;
  full.altitude_mm = 580000;
  full.frequency_hz = 109700000;
  full.range_m = 33336.0f;
  full.magvar = 357.0f;
  full.ident = pack_ident("OEV");
  full.region = pack_region("LO");
  begin_navaid(b, full);
  add_localizer(b, 26, 261.5f, 4.75f);
  add_glide_slope(b, 47.2598, 11.3561, 579000, 18520.0f, 3.0f);
  add_navaid_name(b, "Innsbruck <08>");
  // A later localizer replaces the earlier one. Its runway byte 18 (0x12) once gave SECONDARY;
  // the end is the one whose identifier matched (PRIMARY here), whatever this byte holds.
  add_localizer(b, 18, 81.5f, 5.25f);
  add_dme(b, 47.2597, 11.3562, 580000, 92600.0f);
  b.end();
  Navaid broken = full;
  broken.flags = 0;
  broken.ident = pack_ident("OIS");
  broken.frequency_hz = 111100000;
  broken.magvar = 180.0f;
  begin_navaid(b, broken);
  add_localizer(b, 0, 80.0f, 6.0f);  // runway byte 0, named by the secondary identifier
  b.begin(0x99).u32(0).end();        // ends the scan: the glide slope after it is not seen
  add_glide_slope(b, 47.2598, 11.3561, 579000, 18520.0f, 3.0f);
  b.end();
  Navaid named = broken;
  named.ident = pack_ident("ILX");
  named.magvar = 357.0f;
  begin_navaid(b, named);
  add_navaid_name(b, std::string(47, 'A') + "BCDEFGHIJKLM");  // 60 bytes: the first 47 count
  add_localizer(b, 2, 90.0f, 3.0f);
  b.end();
  Navaid vor = full;
  vor.type = 3;
  vor.flags = 0x01;
  vor.ident = pack_ident("OEV");  // a VOR of the same identifier is no ILS
  begin_navaid(b, vor);
  add_navaid_name(b, "Innsbruck VOR");
  return b.end();
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
  BglBuilder bgl;
  bgl.section(3).add(airport_with(runways), 1);
  bgl.section(19).add(navaids(), 4);
  const std::vector<uint8_t> file = bgl.build();
  Decoded d = decode(file);
  EXPECT_EQ(d.malformed, 0u);
  expect_golden("airport/golden/runway_ils.xml", d.document);
  expect_golden("airport/golden/runway_ils_fm.xml", decode(file, switches("tfm")).document);
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
  begin_runway(runways, b);
  runways.begin(3).u16(0).end_with_size(200);  // reaches past the runway
  runways.end();
  Bytes ils;
  Navaid n;
  n.type = 4;
  n.lat = 47.26;
  n.lon = 11.31;
  n.frequency_hz = 109700000;
  n.ident = pack_ident("OEV");
  begin_navaid(ils, n);
  add_localizer(ils, 0, 81.5f, 5.0f);
  ils.begin(0x15).end_with_size(0);  // a glide slope of size 0 ends the scan with a warning
  ils.end();
  BglBuilder bgl;
  bgl.section(3).add(airport_with(runways), 1);
  bgl.section(19).add(ils, 1);
  Decoded d = decode(bgl.build(), switches("t"));
  EXPECT_EQ(d.malformed, 4u);
  expect_golden("airport/golden/runway_damaged.xml", d.document);
}

TEST(Runway, IlsEntryDamageIsReportedWhereTheIlsIsWritten) {
  // The navaid section hands runways typed entries; damage it met among an entry's sub-records
  // is reported inside the runway, once per matching end, after the fields it could read.
  Bytes runways;
  RunwayFields a;
  a.primary_ils = "IINN";
  a.secondary_ils = "IINN";
  begin_runway(runways, a).end();
  BglBuilder bgl;
  bgl.section(3).add(airport_with(runways), 1);
  SharedTables tables;
  IlsEntry ils;
  ils.ident = pack_ident("IINN");
  ils.ident_number = ident_number(ils.ident);
  ils.frequency_hz = 110500000;
  ils.name = "NORTH";
  ils.damaged = true;
  ils.damaged_at = 0x1234;
  tables.deferred_navaids.push_back(ils);
  Decoded d = decode_with_tables(bgl.build(), tables, switches("t"));
  EXPECT_EQ(d.malformed, 2u);
  EXPECT_NE(d.document.find("<!-- WARNING: malformed data at offset 0x00001234 -->"),
            std::string::npos);
  EXPECT_NE(d.document.find("frequency=\"110.500\""), std::string::npos);
  EXPECT_NE(d.document.find("name=\"NORTH\" />"), std::string::npos);
}

}  // namespace
}  // namespace terrova
