// Approaches with their leg lists, transitions and DME arcs, the leg attribute table, and
// damaged approaches.
#include "airport/approach.h"

#include <gtest/gtest.h>

#include <string>

#include "airport_records.h"
#include "golden.h"

namespace terrova {
namespace {

using namespace testkit;

std::vector<uint8_t> airport_file(const Bytes& subrecords) {
  return single_airport_file(subrecords, "Approaches");
}

LegEntry leg(uint32_t type, uint32_t flags = 0, uint32_t turn = 0, uint32_t descriptor = 1) {
  LegEntry l;
  l.type = type;
  l.flags = flags;
  l.turn = turn;
  l.descriptor = descriptor;
  l.altitude2 = 1200.5f;
  return l;
}

Bytes approaches() {
  Bytes s;
  ApproachHeader h;
  h.suffix = 0;
  h.type_flags = 4 | 1 << 4 | 0x80;  // ILS, LEFT, GPS overlay
  begin_approach(s, h);
  std::vector<LegEntry> legs;
  legs.push_back(leg(15));           // IF
  legs.push_back(leg(4, 0, 2));      // CF: no row, every attribute
  legs.push_back(leg(18, 0x07, 1));  // TF: trueCourse, time, flyOver YES
  legs.push_back(leg(18, 0, 3));     // TF: magneticCourse, distance, flyOver NO
  legs.push_back(leg(1, 0, 0, 4));   // AF
  legs.push_back(leg(2, 0, 2, 0));   // CA without a descriptor
  legs.push_back(leg(3, 0, 1, 5));   // CD with descriptor 5: none
  legs.push_back(leg(5, 4, 1, 2));   // CI
  legs.push_back(leg(6, 4, 2, 3));   // CR
  legs.push_back(leg(7, 0, 0, 4));   // DF
  legs.push_back(leg(10));           // FD
  legs.push_back(leg(11));           // FM
  legs.push_back(leg(12, 2, 1));     // HA
  legs.push_back(leg(16, 0, 2));     // PI
  legs.push_back(leg(17, 5, 2));     // RF
  legs.push_back(leg(20, 2));        // VD
  legs.push_back(leg(21));           // VI
  legs.push_back(leg(23, 4, 1));     // VR
  legs.push_back(leg(24));           // past the leg types: a number, every attribute
  legs[3].recommended_type = 7;      // " ", its identifier still written
  legs[4].recommended_type = 1;
  legs[4].recommended_ident = "";   // word 0 writes "0"
  legs[4].recommended_region = "";  // empty: no recommendedRegion
  legs[4].fix_region = "";          // fixRegion is written even when empty
  legs[5].fix_type = 9;
  legs[6].recommended_type = 8;
  legs[7].fix_type = 10;  // past the fix types: TERMINAL_WAYPOINT
  legs[8].fix_type = 6;
  legs[9].fix_type = 4;
  legs[9].recommended_type = 3;
  legs[10].distance = 1852.0f;
  leg_list(s, 0x2D, legs);
  leg_list(s, 0x2E, {leg(2, 0, 2), leg(7, 0, 1), leg(9)});  // FC: every attribute
  s.begin(0x99).zeros(10).end();                            // not a child kind: passed over
  TransitionHeader full;
  begin_transition(s, full);
  leg_list(s, 0x2F, {leg(15), leg(18)});
  s.begin(0x2D).u16(0).end();  // not a transition child: passed over
  s.end();
  TransitionHeader dme;
  dme.type = 2;
  dme.radial = -5;
  begin_transition(s, dme);
  leg_list(s, 0x2F, {leg(8)});
  leg_list(s, 0x2F, {});
  s.end();
  leg_list(s, 0x2D, {});  // every leg list writes its tags, also without legs
  // Children that start within the last 32 bytes of the approach are not read.
  leg_list(s, 0x2E, {});
  s.zeros(24);
  s.end();

  h.suffix = 'L';
  h.runway = 44;
  h.type_flags = 15 | 7 << 4;  // type and designator past their tables
  h.fix_type = 6;
  h.fix_region = "K1";
  begin_approach(s, h);
  s.zeros(32).end();  // no child: the last 32 bytes are never read

  h.fix_type = 7;  // not an approach fix: nothing at all
  begin_approach(s, h);
  leg_list(s, 0x2D, {leg(18)});
  s.zeros(32).end();

  // Approaches that end at the runway or a localizer are written like the others.
  h.fix_type = 9;
  h.fix_ident = "RW25";
  begin_approach(s, h);
  leg_list(s, 0x2D, {leg(15), leg(4)});
  begin_transition(s, full);
  leg_list(s, 0x2F, {leg(18)});
  s.end();
  s.zeros(32).end();
  h.fix_type = 8;
  h.fix_ident = "IXO";
  begin_approach(s, h);
  s.end();

  h.fix_type = 3;
  h.fix_ident = "OEV";
  h.suffix = ' ';
  h.type_flags = 11;
  h.runway = 0;
  begin_approach(s, h);
  s.end();  // 32 bytes: the fixed part alone
  return s;
}

TEST(Approaches, ElementsInEveryStyle) {
  const std::vector<uint8_t> file = airport_file(approaches());
  Decoded d = decode(file);
  EXPECT_EQ(d.malformed, 0u);
  expect_golden("airport/golden/approaches.xml", d.document);
  expect_golden("airport/golden/approaches_terse.xml", decode(file, switches("t")).document);
  expect_golden("airport/golden/approaches_dfm.xml", decode(file, switches("dfm")).document);
}

TEST(Approaches, DamagedChildrenEndInsideTheApproach) {
  Bytes s;
  ApproachHeader h;
  begin_approach(s, h);
  leg_list(s, 0x2D, {leg(18), leg(15)}, 4);  // count past the list: two legs, then the warning
  s.begin(0x2C).u8(2).u8(0).u32(0).u32(0).f32(0).end();  // a DME arc without its DME fields
  begin_transition(s, TransitionHeader{});
  s.begin(0x2F).u16(1).zeros(40).end_with_size(600);  // legs past the transition
  s.end();
  s.begin(0x2E).end();                      // a leg list without its count
  s.begin(0x2E).u16(0).end_with_size(900);  // runs past the approach: ends its children
  leg_list(s, 0x2D, {leg(18)});             // not reached
  s.zeros(32).end();
  s.begin(0x24).zeros(20).end();  // smaller than an approach's fixed part: skipped
  start(s, 8, 0x00, 47.2589, 11.3268, 581000, 81.5f);  // the airport goes on
  Decoded d = decode(airport_file(s));
  EXPECT_EQ(d.malformed, 6u);
  expect_golden("airport/golden/approaches_damaged.xml", d.document);
}

TEST(Approaches, LegAttributeTable) {
  // Leg types with a row of their own, and their masks.
  const uint32_t with_rows[] = {1,  2,  3,  5,  6,  7,  10, 11, 12, 13,
                                14, 15, 16, 17, 18, 19, 20, 21, 22, 23};
  for (uint32_t type : with_rows) EXPECT_TRUE(leg_type_has_row(type)) << type;
  for (uint32_t type : {0u, 4u, 8u, 9u, 24u, 255u}) {
    EXPECT_FALSE(leg_type_has_row(type)) << type;
    // Without a row a leg carries every attribute, as TF does.
    EXPECT_EQ(leg_attributes(type).mask_a, 0x7F);
    EXPECT_EQ(leg_attributes(type).mask_b, 0xFF);
  }
  EXPECT_EQ(leg_attributes(1).mask_a, 0x77);
  EXPECT_EQ(leg_attributes(1).mask_b, 0xFE);
  EXPECT_EQ(leg_attributes(6).mask_b, 0xE1);
  EXPECT_EQ(leg_attributes(15).mask_b, 0xEE);
  EXPECT_EQ(leg_attributes(21).mask_a, 0x04);
  EXPECT_EQ(leg_attributes(21).mask_b, 0x00);
  EXPECT_EQ(leg_attributes(23).mask_a, 0x75);
  EXPECT_EQ(leg_attributes(23).mask_b, 0xF1);
  EXPECT_EQ(leg_type_name(4).str(), "CF");
  EXPECT_EQ(leg_type_name(23).str(), "VR");
  EXPECT_EQ(leg_type_name(0).str(), "0");
  EXPECT_EQ(leg_type_name(24).str(), "24");
  EXPECT_STREQ(fix_type_name(7), " ");
  EXPECT_STREQ(fix_type_name(9), "RUNWAY");
  EXPECT_STREQ(fix_type_name(0), "TERMINAL_WAYPOINT");
  EXPECT_STREQ(fix_type_name(15), "TERMINAL_WAYPOINT");
  EXPECT_EQ(approach_type_name(11).str(), "LOCALIZER_BACKCOURSE");
  EXPECT_EQ(approach_type_name(12).str(), "12");
}

}  // namespace
}  // namespace terrova
