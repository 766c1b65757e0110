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
#include "xml_check.h"

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
  airport.end();
  NameListFields names;
  names.regions = {"K7"};
  names.countries = {"United States"};
  names.states = {"Florida"};
  names.cities = {"Orlando", "Stuart"};
  names.entries = {
      {0, 0, 0, 0, "KMCO" },
      {0, 0, 0, 1, f.ident}
  };
  BglBuilder bgl;
  bgl.section(3).add(airport, 1);
  bgl.section(0x35).add(name_list(names, true), 1);
  return bgl.build();
}

// A DeleteAirport with the two 2024 bits and deleteAllFrequencies, the name, coms, the empty
// taxiway path list that every real file holds, and two coloured helipads.
void helipads(Bytes& b) {
  msfs_delete_airport(b, 0x0108, 0x21);
  msfs_airport_name(b, "Witham Field");
  com(b, 1, 123080000, "M\xC3\xBCnchen Radar");
  msfs_paths(b, {});
  Msfs2024HelipadFields pad;
  msfs2024_helipad(b, pad);
  pad.red = 0;
  pad.green = 110;
  pad.blue = 115;
  pad.flags = 0x34;  // MEDICAL, transparent, closed
  pad.lat = 27.18571167;
  pad.lon = -80.22213634;
  pad.heading = 64.511841f;
  msfs2024_helipad(b, pad);
}

// A tower, a transparent runway with its marking biases and two starts; a start of no runway; a
// taxiway path (0xD4, the 2020 form).
void runway(Bytes& b) {
  msfs_airport_name(b, "Kissimmee Gateway A\xC3\xA9roport");
  msfs_tower(b, 28.2901, -81.4371, 30.0);
  MsfsRunwayFields r;
  r.number = 6;
  r.secondary_number = 24;
  r.lat = 28.29049049;
  r.lon = -81.43746481;
  r.alt_mm = 25874;
  r.length = 1524.0f;
  r.width = 29.76f;
  r.heading = 58.045f;
  r.markings = 0x10;
  r.surface = kAsphalt;
  const size_t runway_at = b.size();
  begin_msfs_runway(b, r);
  marking_biases(b, 80.0f, 60.0f);
  b.end();
  b.put_u16(runway_at + 6, 0x80);  // transparent
  start(b, 6, 0x10, 28.28737410, -81.44310607, 25899, 58.03f);
  start(b, 24, 0x10, 28.29360665, -81.43182322, 25916, 238.03f);
  start(b, 2, 0x30, 28.2899, -81.4370, 23925, 0.0f);
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
Msfs2024AirportFields kism() {
  Msfs2024AirportFields f;
  f.lat = 28.28980565;
  f.lon = -81.43708348;
  f.alt_mm = 23925;
  f.magvar = 355.0f;
  f.ident = "KISM";
  f.traffic = 178;
  f.counts[0] = 1;
  f.counts[2] = 3;
  return f;
}

const GoldenCase kCases[] = {
    {"msfs2024_helipads", helipads, {.counts = {0, 1, 0, 0, 0, 0x82}}},
    {"msfs2024_runway",   runway,   kism()                           },
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

TEST(Msfs2024Airport, EveryDamagedByteLeavesAWellFormedDocument) {
  // Each byte of an airport of every 2024 kind in turn set to 0x00, 0xFF and its value plus one.
  const std::vector<uint8_t> file = msfs2024_file([](Bytes& b) {
    helipads(b);
    runway(b);
  });
  ASSERT_EQ(decode(file).malformed, 0u);
  size_t damaged = 0;
  for (size_t at = 0; at < file.size(); ++at) {
    for (uint8_t value : {uint8_t{0x00}, uint8_t{0xFF}, static_cast<uint8_t>(file[at] + 1)}) {
      std::vector<uint8_t> bad = file;
      bad[at] = value;
      const Decoded d = decode(bad);
      damaged += d.malformed != 0;
      const std::string problem = xml_problem(d.document);
      ASSERT_EQ(problem, "") << "byte " << at << " set to " << int{value};
    }
  }
  EXPECT_GT(damaged, 100u);  // the sweep reaches the damage paths, not only odd values
}

}  // namespace
}  // namespace terrova
