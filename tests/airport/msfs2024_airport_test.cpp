// MSFS 2024 add-on airports (0x113): the fixed part, the sub-records of their own and the MSFS
// sub-records they share, each case decoded plain, with -t and with -dfm against its golden
// documents; and a damaged airport.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "airport_records.h"
#include "golden.h"
#include "msfs2024_records.h"
#include "msfs_procedure_records.h"
#include "msfs_records.h"

namespace terrova {
namespace {

using namespace testkit;

constexpr Guid kAsphalt = {
    {0x2e0de83f, 0x4435b79a, 0xdcdc5c90, 0x595cc5ea}
};

// A file of one airport holding `subs`, with the name list of its 2024 form (section 0x35): the
// entry of another airport comes first, so that the airport's own is found only at its place.
std::vector<uint8_t> msfs2024_file(const std::function<void(Bytes&)>& subs,
                                   const Msfs2024AirportFields& f = {}) {
  Bytes airport;
  begin_msfs2024_airport(airport, f);
  subs(airport);
  NameListFields names;
  names.regions = {"K7"};
  names.cities = {"Orlando", "Stuart"};
  names.entries = {
      {0, 0, 0, 0, "KMCO" },
      {0, 0, 0, 1, f.ident}
  };
  BglBuilder bgl;
  bgl.section(3).add(airport.end(), 1);
  bgl.section(0x35).add(name_list(names, true), 1);
  return bgl.build();
}

// A DeleteAirport with the two 2024 bits, deleteAllFrequencies and the jetways (bit 10, as in the
// 2020 form), the name, the ground-merging values, a com, the empty taxiway path list that every
// real file holds, and two coloured helipads.
void helipads(Bytes& b) {
  msfs_delete_airport(b, 0x0508, 0x21);
  msfs_airport_name(b, "Witham Field");
  msfs_ground_merging(b, 7.0f, 3.5f);  // on the airport's start tag, as in the 2020 form
  com(b, 1, 123080000, "M\xC3\xBCnchen Radar");
  msfs_paths(b, {});
  msfs2024_helipad(b, {});
  msfs2024_helipad(b, {.flags = 0x34, .red = 0, .green = 110, .blue = 115});  // MEDICAL, closed
}

// A tower, a transparent runway with its marking biases and two starts; a start of no runway; a
// taxiway path (0xD4, the 2020 form).
void runway(Bytes& b) {
  msfs_airport_name(b, "Kissimmee Gateway A\xC3\xA9roport");
  msfs_tower(b, 28.2901, -81.4371, 30.0);
  const size_t runway_at = b.size();
  MsfsRunwayFields r;
  r.surface = kAsphalt;
  begin_msfs_runway(b, r);
  marking_biases(b, 80.0f, 60.0f).end();
  b.put_u16(runway_at + 6, 0x80);  // transparent
  start(b, 7, 0x10, 48.686, 9.200, 388000, 74.0f);
  start(b, 25, 0x10, 48.693, 9.243, 360000, 254.0f);
  start(b, 2, 0x30, 48.690, 9.219, 388920, 0.0f);
  MsfsPathEntry path;
  path.surface = kAsphalt;
  msfs_paths(b, {path});
}

struct GoldenCase {
  const char* name;
  std::function<void(Bytes&)> subs;
  Msfs2024AirportFields airport;
};

// The helipad case has the full traffic, which the 2024 form writes; the runway case 0.70 and a
// magnetic variation of 355 degrees.
const GoldenCase kCases[] = {
    {"msfs2024_helipads", helipads, {.counts = {0, 1, 0, 0, 0, 0x82}}                  },
    {"msfs2024_runway",   runway,   {.magvar = 355.0f, .ident = "KISM", .traffic = 178}},
};

TEST(Msfs2024Airport, GoldenDocuments) {
  for (const GoldenCase& c : kCases) {
    SCOPED_TRACE(c.name);
    expect_golden_styles(msfs2024_file(c.subs, c.airport), std::string("airport/golden/") + c.name);
  }
}

TEST(Msfs2024Airport, DamagedRecords) {
  // A helipad and a bias child too short for their fields are reported and left out, a path list
  // whose count reaches past its record stops at its end; the airport goes on. The next airport
  // record cannot hold its fixed part: the walk ends there.
  Bytes airports;
  begin_msfs2024_airport(airports, {});
  msfs_airport_name(airports, "Witham Field");
  airports.begin(0xFB).zeros(14).end();
  MsfsPathEntry path;
  msfs_paths(airports, {path}, 2);
  MsfsRunwayFields r;
  begin_msfs_runway(airports, r);
  airports.begin(0x65).u16(0).f32(80.0f).end();
  airports.end();
  com(airports, 1, 123080000, "after the damage");
  airports.end();
  airports.begin(0x113).zeros(40).end();
  BglBuilder bgl;
  bgl.section(3).add(airports, 2);
  const Decoded d = decode(bgl.build());
  EXPECT_EQ(d.malformed, 4u);
  expect_golden("airport/golden/msfs2024_damaged.xml", d.document);
}

}  // namespace
}  // namespace terrova
