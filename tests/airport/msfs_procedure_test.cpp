// MSFS 2020 airports (0x56): DeleteAirport with the navaid deletion records of the navaid
// sections, painted elements, taxiway signs and procedures; each case plain, with -t and with
// -dfm against its golden documents, and the variable-length records damaged.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "airport/painted_elements.h"
#include "golden.h"
#include "msfs_procedure_records.h"
#include "nav_records.h"
#include "xml_check.h"

namespace terrova {
namespace {

using namespace testkit;

constexpr Guid kSurface = {
    {0x85d02b2b, 0x452e08a1, 0x5a6d07ab, 0x8428f5e7}
};
constexpr Guid kNoSurface = {
    {0, 0, 0, 0}
};
const std::vector<LatLon> kTriangle = {
    {39.5101, 116.4101},
    {39.5102, 116.4103},
    {39.5104, 116.4102}
};

// Bytes of one MSFS airport named "Daxing" holding `subs`, in section 3 after `navaids`.
std::vector<uint8_t> msfs_file(const Bytes& subs,
                               const std::function<void(BglBuilder&)>& navaids = {}) {
  Bytes airport;
  begin_msfs_airport(airport, MsfsAirportFields{});
  msfs_airport_name(airport, "Daxing").raw(subs).end();
  BglBuilder bgl;
  if (navaids) navaids(bgl);
  bgl.section(3).add(airport, 1);
  return bgl.build();
}

MsfsLeg leg(uint32_t type, std::string_view fix, float speed = -1.0f, float angle = 0.0f) {
  MsfsLeg m;
  m.leg.type = type;
  m.leg.fix_ident = std::string(fix);
  m.speed_limit = speed;
  m.vertical_angle = angle;
  return m;
}

std::vector<uint8_t> ground_case() {
  Bytes subs;
  msfs_delete_airport(subs, 0x0CF6, 0x1C);
  msfs_sign(subs, 39.5105, 116.4105, 117.73f, 3, 1, "d   1990>");
  msfs_sign(subs, 39.5106, 116.4106, -12.5f, 4, 2, "B&C");  // justification past the names
  msfs_sign(subs, 39.5107, 116.4107, 0.0f, 0, 0, "0");      // sizes without a name
  msfs_sign(subs, 39.5108, 116.4108, 0.0f, 6, 0, "6");
  painted_line(subs, 36, 0, kNoSurface, kTriangle);
  painted_line(subs, 6, 3, kSurface, kTriangle);
  painted_line(subs, 9, 7, kNoSurface, {});  // true angle past the names, no vertices
  hatched_area(subs, 6, -45.5f, 1.2f, kTriangle);
  painted_line(subs, 0, 4, kNoSurface, kTriangle);  // after a hatched area: a new container
  return msfs_file(subs, [](BglBuilder& bgl) {
    Bytes vors, ndbs, waypoints;  // each run goes on after its deletion record
    navaid_deletion(vors, "ZBAD");
    begin_navaid(vors, Navaid{.frequency_hz = 114700000, .ident = pack_ident("DAX")}).end();
    navaid_deletion(ndbs, "ZBAD");
    add_ndb(ndbs, Ndb{.ident = pack_ident("DX"), .name = "DAXING"});
    navaid_deletion(waypoints, "ZBAA");  // another airport's terminal waypoints
    bgl.section(19).add(vors, 2);
    bgl.section(23).add(ndbs, 2);
    bgl.section(34).add(waypoints, 1);
  });
}

std::vector<uint8_t> procedures_case() {
  Bytes subs;
  begin_approach(
      subs,
      ApproachHeader{
          .suffix = '0', .runway = 7, .fix_ident = "DS416", .fix_type = 6, .fix_region = "ED"});
  msfs_leg_list(subs, 0xE1, {leg(15, "DS416"), leg(4, "ISTE", 210.0f, -3.0f)});
  msfs_leg_list(subs, 0xE2, {leg(18, "LBU")});
  begin_transition(subs, TransitionHeader{});
  MsfsLeg plain = leg(18, "VATER");
  plain.leg.recommended_ident.clear();  // no recommended navaid: stored as 0
  msfs_leg_list(subs, 0xE3, {plain});
  subs.end().end();
  begin_terminal_procedure(subs, 0x42, "ABTA4H", 1, 1, 1);
  runway_transition(subs, 7, 0, {leg(19, "DS030")});
  msfs_leg_list(subs, 0xE5, {leg(18, "ABTAL")});
  enroute_transition(subs, {leg(18, "KRH")});
  subs.begin(0x49).u32(0xABCD).end();  // a later form: dumped
  subs.end();
  // An arrival stored runway transition first: written in the schema's order, enroute first.
  begin_terminal_procedure(subs, 0x48, "BADS2A", 2, 0, 1);
  runway_transition(subs, 7, 0, {leg(7, "ISTE")});
  runway_transition(subs, 25, 2, {leg(7, "ISTW")});
  enroute_transition(subs, {leg(15, "KRH"), leg(18, "BADSO")});
  subs.end();
  return msfs_file(subs);
}

// The records of later SDKs: an approach (0xFA) with 72-byte lists and a full and a DME-arc
// transition (0x49), a departure with the later common-route and runway-transition lists, and an
// arrival with a 68-byte enroute list.
std::vector<uint8_t> later_procedures_case() {
  Bytes subs;
  begin_later_msfs_approach(
      subs,
      ApproachHeader{
          .suffix = '0', .runway = 33, .type_flags = 0x24, .fix_ident = "FF33L", .fix_type = 6});
  msfs_leg_list(subs, 0xF4, {leg(15, "FF33L"), leg(4, "RW33L", 160.0f)});
  msfs_leg_list(subs, 0xF5, {leg(18, "MA33")});
  begin_later_msfs_transition(subs, TransitionHeader{}, 1);
  msfs_leg_list(subs, 0xF6, {leg(18, "KTI")});
  subs.end();
  begin_later_msfs_transition(subs, TransitionHeader{.type = 2}, 1);
  msfs_leg_list(subs, 0xF6, {leg(18, "OEV")});
  subs.end().end();
  begin_terminal_procedure(subs, 0x42, "BENQO1", 1, 1, 0);
  msfs_leg_list(subs, 0xF8, {leg(7, "SFAIM"), leg(7, "NAT")});
  subs.begin(0x46).u8(1).u8(29).u8(0).zeros(3);
  msfs_leg_list(subs, 0xF7, {leg(19, "DS030")}).end().end();
  begin_terminal_procedure(subs, 0x48, "MEGAN1", 0, 0, 1);
  subs.begin(0x47).u8(1).u8(0);
  msfs_leg_list(subs, 0xF1, {leg(18, "KRH")}).end().end();
  return msfs_file(subs);
}

struct GoldenCase {
  const char* name;
  std::vector<uint8_t> (*file)();
};
const GoldenCase kCases[] = {
    {"msfs_painted_signs_deletions", ground_case          },
    {"msfs_procedures",              procedures_case      },
    {"msfs_later_procedures",        later_procedures_case},
};

TEST(MsfsProcedures, GoldenDocuments) {
  for (const GoldenCase& c : kCases) {
    SCOPED_TRACE(c.name);
    expect_golden_styles(c.file(), std::string("airport/golden/") + c.name);
  }
}

// Codes the sources pair with a name, a gap between them and codes past the table.
TEST(MsfsProcedures, PaintedLineTypeNames) {
  EXPECT_EQ(painted_line_type_name(36).str(), "SLIM_RED");
  EXPECT_EQ(painted_line_type_name(41).str(), "HOLD_SHORT_BACKWARD_MARKED_L");
  EXPECT_EQ(painted_line_type_name(8).str(), "8");
  EXPECT_EQ(painted_line_type_name(42).str(), "42");
}

// Each damaged record is reported once where it was met; the airport goes on after those whose
// size its walk can trust, and the document stays well-formed.
TEST(MsfsProcedures, DamagedRecords) {
  Bytes subs;
  painted_line(subs, 6, 0, kNoSurface, kTriangle, 9);  // vertices past the record
  subs.begin(0xD8).u8(6).zeros(5).end();               // shorter than its fixed part
  hatched_area(subs, 36, 10.0f, 2.0f, kTriangle);
  begin_terminal_procedure(subs, 0x42, "SID1", 2, 0, 0);
  runway_transition(subs, 7, 0, {leg(19, "DS030")});
  subs.begin(0x46).u8(1).end();                              // shorter than its fixed part
  subs.begin(0x47).u8(0).u8(0).zeros(2).end_with_size(500);  // leaves the departure
  subs.end();
  begin_terminal_procedure(subs, 0x48, "STAR1", 0, 1, 0);
  msfs_leg_list(subs, 0xE5, {leg(18, "KRH")}, 3);  // a count past the list
  subs.end();
  begin_approach(subs, ApproachHeader{.fix_type = 6});
  msfs_leg_list(subs, 0xE1, {leg(15, "DS416")}, 2);
  subs.end();
  begin_later_msfs_approach(subs, ApproachHeader{.fix_type = 6});
  msfs_leg_list(subs, 0xF4, {leg(15, "DS416")}, 2);  // 72-byte legs: a count past the list
  subs.begin(0x49).u8(1).u8(0).zeros(16).end();      // short of its 8 later bytes
  subs.end();
  msfs_sign(subs, 39.5, 116.4, 0.0f, 1, 0, "LAST");
  const std::vector<uint8_t> file = msfs_file(subs, [](BglBuilder& bgl) {
    Bytes ndbs;  // a deletion record too short for its identifier ends the run
    ndbs.begin(0xDB).u16(0).end();
    bgl.section(23).add(ndbs, 2);
  });
  const Decoded d = decode(file);
  EXPECT_EQ(d.malformed, 9u);
  EXPECT_EQ(xml_problem(d.document), "");
  expect_golden("airport/golden/msfs_procedures_damaged.xml", d.document);
}

// Every byte of each golden file in turn set to 0, 0xFF and its value plus one: every document
// stays well-formed.
TEST(MsfsProcedures, EveryDamagedByteLeavesAWellFormedDocument) {
  for (const GoldenCase& c : kCases) {
    const std::vector<uint8_t> file = c.file();
    for (size_t at = 0; at < file.size(); ++at) {
      for (uint8_t value : {uint8_t{0}, uint8_t{0xFF}, static_cast<uint8_t>(file[at] + 1)}) {
        std::vector<uint8_t> bad = file;
        bad[at] = value;
        ASSERT_EQ(xml_problem(decode(bad).document), "") << c.name << " byte " << at;
      }
    }
  }
}

}  // namespace
}  // namespace terrova
