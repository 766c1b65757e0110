// MSFS 2020 airports (0x56): the fixed part, the name and tower sub-records, and the ground
// layout, each case decoded plain, with -t and with -dfm against its golden documents.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "golden.h"
#include "msfs_records.h"
#include "nav_records.h"

namespace terrova {
namespace {

using namespace testkit;

constexpr Guid kAsphalt = {
    {0x2e0de83f, 0x4435b79a, 0xdcdc5c90, 0x595cc5ea}
};

// An ILS named by a runway end: `ident` on runway `number`.
Bytes ils(const char* ident, uint32_t number, double lat, double lon) {
  Bytes b;
  Navaid n;
  n.type = 4;
  n.lat = lat;
  n.lon = lon;
  n.altitude_mm = 388000;
  n.frequency_hz = 109500000;
  n.range_m = 33336.0f;
  n.magvar = 359.0f;
  n.ident = pack_ident(ident);
  n.region = pack_region("ED");
  begin_navaid(b, n);
  add_localizer(b, static_cast<uint8_t>(number), 74.0f, 4.0f);
  add_navaid_name(b, ident);
  return b.end();
}

// A file of one MSFS airport holding `subs`, with the two ILS of runway 07/25 and a section-37
// windsock of the MSFS kind.
std::vector<uint8_t> msfs_file(const std::function<void(Bytes&)>& subs, MsfsAirportFields f = {}) {
  Bytes airport;
  f.lat = 48.689877;
  f.lon = 9.221982;
  f.ident = "EDDS";
  begin_msfs_airport(airport, f);
  msfs_airport_name(airport, "Stuttgart");
  subs(airport);
  airport.end();
  Bytes navaids;
  navaids.raw(ils("ISTE", 7, 48.694756, 9.247711)).raw(ils("ISTW", 25, 48.683506, 9.188383));
  Bytes objects;
  ObjectHeader h;
  h.kind = 0x18;
  scenery_object(objects, h, msfs_windsock(5.5f, 3.5f, 1, "Windsock"));
  BglBuilder bgl;
  bgl.section(19).add(navaids, 2);
  bgl.section(3).add(airport, 1);
  bgl.section(37).add(objects, 1);
  return bgl.build();
}

// Runway 07/25 with its children, its starts and ILS; a helipad start and one that serves no
// runway stay `Start`; com types 14 and 15 are named, 16 stays a number.
void runway(Bytes& b) {
  msfs_tower(b, 48.6901616268946, 9.220864096241, 7.7108);
  start(b, 7, 0x10, 48.686, 9.200, 388000, 74.0f);
  start(b, 25, 0x10, 48.693, 9.243, 360000, 254.0f);
  start(b, 3, 0x30, 48.690555, 9.219894, 388920, 0.0f);
  start(b, 12, 0x12, 48.69, 9.21, 388000, 120.0f);
  MsfsRunwayFields r;
  r.surface = kAsphalt;
  r.primary_ils = "ISTE";
  r.secondary_ils = "ISTW";
  r.markings = 0xA0FF;  // bits 13 and 15 of this form
  r.lights = 0x45;      // bit 6 leadingZeroIdent
  r.patterns = 0x40;    // groundMerging FALSE
  begin_msfs_runway(b, r);
  msfs_approach_lights(b, 0xE0, 0x65, 0, 33.5f, 0.0f);
  msfs_approach_lights(b, 0xDF, 0xE2, 12, 33.0f, 60.0f);
  vasi(b, 11, 8, 20.0f, 300.0f, 9.0f, 3.0f);
  msfs_end_zone(b, 5, kAsphalt, 300.0f, 45.11f);
  msfs_end_zone(b, 10,
                Guid{
                    {0, 0, 0, 0}
  },
                60.0f, 45.0f);
  deformation_point(b, 0.0f, 388.65f);
  deformation_point(b, 1.0f, 359.61f);
  b.begin(0x70).zeros(10).end();  // a child of unknown kind: passed over
  b.end();
  com(b, 14, 121915000, "PRE TAXI");
  com(b, 15, 121915000, "STUTTGART");
  com(b, 16, 121915000, "PAST");
}

// Parking, paths, two aprons and edge lights in one container each, a jetway with its objects.
void ground(Bytes& b) {
  MsfsParkingEntry gate;
  gate.base.airlines = {"DLH", "EWG"};
  gate.base.push_back = 3;
  gate.tee_offsets[0] = 12.5f;
  gate.suffix = 12;  // GATE_A
  gate.bias_x = 10.0f;
  gate.bias_z = 10.0f;
  gate.number_heading = 163.0f;
  MsfsParkingEntry ramp;
  ramp.base.name_code = 1;
  ramp.base.type = 1;
  ramp.number_marking = 0;
  msfs_parking(b, {gate, ramp});
  MsfsPathEntry taxi;
  taxi.surface = kAsphalt;
  MsfsPathEntry on_runway = taxi;
  on_runway.type_flags = 0x72;  // RUNWAY, enhanced
  on_runway.number_or_name = 7;
  on_runway.terrain = 1;  // groundMerging TRUE, the vegetation flags TRUE
  MsfsPathEntry to_gate = taxi;
  to_gate.type_flags = 0x03;  // PARKING, not drawn
  to_gate.end = 1500;         // a parking index past the 12 bits of the older end word
  msfs_paths(b, {taxi, on_runway, to_gate});
  MsfsApronFields apron;
  apron.surface = kAsphalt;
  apron.vertices = {
      {48.6901, 9.2101},
      {48.6905, 9.2101},
      {48.6905, 9.2108},
      {48.6901, 9.2109}
  };
  msfs_apron(b, apron);
  apron.flags = 0x0C;
  apron.priority = -1;
  apron.vertices.pop_back();
  msfs_apron(b, apron);
  msfs_edge_lights(b, 0.0f, 60.96f,
                   {
                       {48.6901, 9.2101},
                       {48.6905, 9.2101}
  });
  msfs_edge_lights(b, 90.0f, 30.0f,
                   {
                       {48.6905, 9.2108},
                       {48.6901, 9.2109},
                       {48.6900, 9.2110}
  });
  ObjectHeader h;
  h.kind = 0x19;
  h.heading = 0x4000;
  Bytes jetway;
  scenery_object(jetway, h, sim_object(1.0f, "ASO_Jetway"));
  Bytes library;
  h.kind = 11;
  scenery_object(library, h, library_object(Guid{}, 1.0f));
  msfs_jetway(b, 1, 10, 0, jetway, library);
}

// The records of the later SDKs. The ground-merging pair goes on the airport's start tag and the
// runway's materials after its start; the known drawing words of a projected mesh are named and
// another is written as its number; a light preset with bytes of unknown meaning is dumped.
void later_records(Bytes& b) {
  msfs_ground_merging(b, 7.0f, 5.5f);
  start(b, 7, 0x10, 48.686, 9.200, 388000, 74.0f);
  MsfsRunwayFields r;
  r.surface = kAsphalt;
  begin_msfs_runway(b, r);
  msfs_runway_material(b, kAsphalt, 0, 2.0f, 1.0f, 1.0f);
  msfs_runway_material(b, kAsphalt, 6, 1.5f, 1.5f, 1.1f);
  b.end();
  MsfsVectorPlacementFields v;
  v.vertices = {
      {48.6901, 9.2101},
      {48.6905, 9.2108}
  };
  msfs_vector_placement(b, v);
  v.flags = 0x20;  // avoidDiscontinuity FALSE, rotation code 0
  v.vertices.push_back({48.6909, 9.2110});
  msfs_vector_placement(b, v);
  ObjectHeader h;
  h.kind = 11;
  h.heading = 0x5B06;
  Bytes mark;
  scenery_object(mark, h, library_object(Guid{}, 1.1f));
  msfs_projected_mesh(b, 0, 4, 0x15, mark);
  msfs_projected_mesh(b, 1, 32, 0x1F, mark);
  msfs_projected_mesh(b, 6, 12, 0x17, mark);
  msfs_light_support(b, 3);
  msfs_light_support(b, 2);
  b.begin(0x58).zeros(26).end();
  b.begin(0x58).zeros(2).f32(0.5f).zeros(20).end();
}

// The later SDKs' ground layout: coloured runway, paths and aprons, a road and a runway path with
// its designator, 3D-mesh and GATE_EXTRA spots, and 0xD0 aprons in one container with a 0xD3 one.
void later_ground(Bytes& b) {
  MsfsRunwayFields r;
  r.surface = kAsphalt;
  r.colour = 0xFF15461A;  // red 21, green 70, blue 26
  begin_msfs_runway(b, r);
  b.end();
  MsfsParkingEntry gate;
  gate.has_3d_mesh = 1;
  gate.base.type = 15;  // GATE_EXTRA
  MsfsParkingEntry unnamed;
  unnamed.base.type = 14;  // no sample names it
  msfs_parking(b, {gate, unnamed});
  MsfsPathEntry road;
  road.type_flags = 0x67;  // ROAD
  road.colour = 0xFF313131;
  MsfsPathEntry on_runway;
  on_runway.type_flags = 0x62;
  on_runway.number_or_name = 7;
  on_runway.designator = 2;  // RIGHT
  // A path with a material record after it, and one whose count names one that is not there.
  MsfsPathEntry with_material;
  with_material.material_count = 1;
  with_material.after.begin(0xD5).zeros(38).end();
  MsfsPathEntry no_material;
  no_material.material_count = 1;
  msfs_paths(b, {road, on_runway, with_material, no_material, road});
  MsfsApronFields apron;
  apron.id = 0xD0;
  apron.flags = 0x9F;  // flipUV and the UV flags, groundMerging FALSE
  apron.colour = 0xFFCBCBCB;
  apron.offset_u = 29;
  apron.offset_v = 16;
  apron.surface = kAsphalt;
  apron.vertices = {
      {48.6901, 9.2101},
      {48.6905, 9.2101},
      {48.6905, 9.2108}
  };
  msfs_apron(b, apron);
  apron.flags = 0x03;
  apron.colour = 0;
  apron.offset_u = apron.offset_v = 0;
  msfs_apron(b, apron);
  apron.id = 0xD3;
  msfs_apron(b, apron);
}

// Forms of later SDKs: a tower of a scenery object, the ground-merging transfer values, a
// transparent runway with no marking or light bit (both elements still written) whose first
// deformation point has control points and whose marking biases are a child, a helipad of
// surface code 0 and the deletion of the jetways alone (bit 10, not 11).
void later_forms(Bytes& b) {
  ObjectHeader h;
  h.kind = 11;
  Bytes tower;
  scenery_object(tower, h, library_object(kAsphalt, 1.0f));
  msfs_tower_object(b, tower);
  msfs_ground_merging(b, 7.0f, 3.5f);
  MsfsRunwayFields r;
  r.surface_flags = 0x80;
  begin_msfs_runway(b, r);
  deformation_point(b, 0.0f, 318.99f, 0.0f, -0.010559f);
  deformation_point(b, 1.0f, 312.86f);
  b.begin(0x65).u16(0).f32(50.0f).f32(-4.0f).end();  // marking biases
  b.end();
  helipad(b, 0, 2, 48.69, 9.22, 388000, 20.0f, 20.0f, 90.0f);
  b.begin(0x33).u16(0x0460).zeros(4).end();
}

struct GoldenCase {
  const char* name;
  std::function<void(Bytes&)> subs;
  MsfsAirportFields airport;
};

// The runway case has a tower, the traffic scalar, the closed flag and fuel; the ground case no
// tower, the full traffic and the starAirport flag.
const GoldenCase kCases[] = {
    {"msfs_runway",        runway,        {.fuel = 0x0003C030, .traffic = 178, .flags = 4}},
    {"msfs_ground",        ground,        {.flags = 1}                                    },
 // Sub-records of the later SDKs.
    {"msfs_later_records", later_records, {}                                              },
    {"msfs_later_ground",  later_ground,  {}                                              },
    {"msfs_later_forms",   later_forms,   {.flags = 2, .flatten = 1}                      },
};

TEST(MsfsAirport, GoldenDocuments) {
  for (const GoldenCase& c : kCases) {
    SCOPED_TRACE(c.name);
    expect_golden_styles(msfs_file(c.subs, c.airport), std::string("airport/golden/") + c.name);
  }
}

TEST(MsfsAirport, DamagedVariableLengthRecords) {
  // Each list whose count reaches past its record stops at the record's end with one warning;
  // the elements around stay whole and the airport goes on.
  const std::vector<uint8_t> file = msfs_file([](Bytes& b) {
    b.begin(0x66).u16(24).u16(1).zeros(8).end();  // a tower too short for its doubles
    msfs_ground_merging(b, 1.0f, 2.0f);
    b.begin(0xE9).u16(0).end();  // too short for its values
    MsfsRunwayFields r;
    begin_msfs_runway(b, r);
    deformation_point(b, 0.5f, 380.0f);
    b.begin(0x65).u16(0).end();                 // marking biases too short: no bias written
    b.begin(0xDF).u8(0x41).u8(2).end();         // too short for its 24 bytes
    b.begin(0x07).zeros(4).end_with_size(500);  // leaves the runway: ends its children
    b.end();
    MsfsPathEntry path;
    msfs_paths(b, {path, path}, 3);
    MsfsPathEntry bad_material;  // a path material past its sub-record: ends the paths
    bad_material.material_count = 1;
    bad_material.after.begin(0xD5).zeros(4).end_with_size(500);
    msfs_paths(b, {bad_material, path});
    MsfsApronFields apron;
    apron.vertices = {
        {48.69, 9.21},
        {48.70, 9.21},
        {48.70, 9.22}
    };
    apron.count = 40;
    msfs_apron(b, apron);
    apron.count.reset();
    msfs_apron(b, apron);
    apron.id = 0xD0;
    apron.count = 40;
    msfs_apron(b, apron);
    b.begin(0xD0).zeros(40).end();  // too short for its counts
    msfs_edge_lights(b, 0.0f, 60.96f,
                     {
                         {48.69, 9.21}
    },
                     9);
    MsfsParkingEntry spot;
    msfs_parking(b, {spot});
    b.put_u16(b.size() - 53, 0x40);  // the entry's airline count: past the record
    ObjectHeader h;
    h.kind = 0x19;
    Bytes title_past_end;
    Bytes kind_data = sim_object(1.0f, "ASO_Jetway");
    kind_data.put_u32(4, 400);
    scenery_object(title_past_end, h, kind_data);
    msfs_jetway(b, 2, 10, 0, title_past_end, Bytes());
    const size_t jetway = b.size();
    msfs_jetway(b, 3, 10, 0, title_past_end, title_past_end);
    b.put_u16(jetway + 16, 0x400);  // L2 past the record
    com(b, 6, 118805000, "after the damage");
  });
  const Decoded d = decode(file, switches("t"));
  EXPECT_EQ(d.malformed, 17u);
  expect_golden("airport/golden/msfs_damaged.xml", d.document);
}

TEST(MsfsAirport, DamagedLaterRecords) {
  // A count or size that reaches past its record writes what fits with one warning; a record too
  // small for its fixed part is reported and written not at all. The airport goes on after each.
  const std::vector<uint8_t> file = msfs_file([](Bytes& b) {
    b.begin(0xE9).u16(0).f32(7.0f).end();  // no pair for the start tag
    MsfsRunwayFields r;
    begin_msfs_runway(b, r);
    b.begin(0xCB).u8(1).u8(255).zeros(10).end();
    b.end();
    MsfsVectorPlacementFields v;
    v.vertices = {
        {48.6901, 9.2101},
        {48.6905, 9.2108}
    };
    v.count = 40;
    msfs_vector_placement(b, v);
    b.begin(0x5A).u16(0).zeros(20).end();
    ObjectHeader h;
    h.kind = 11;
    Bytes mark;
    scenery_object(mark, h, library_object(Guid{}, 1.0f));
    const size_t mesh = b.size();
    msfs_projected_mesh(b, 0, 4, 0x15, mark);
    b.put_u16(mesh + 12, 0x400);  // the object's size past the record
    b.begin(0x57).u8(3).zeros(20).end();
    com(b, 6, 118805000, "after the damage");
  });
  const Decoded d = decode(file, switches("t"));
  EXPECT_EQ(d.malformed, 6u);
  expect_golden("airport/golden/msfs_later_damaged.xml", d.document);
}

TEST(MsfsAirport, RecordsOfNoKnownFormAreDumpedWhole) {
  // A tower whose object would leave it, and a second ground-merging record that the start tag
  // cannot hold: each dumped, no tower invented, no warning.
  const Decoded d = decode(msfs_file([](Bytes& b) {
    b.begin(0x66).u16(64).u16(0).zeros(8).end();
    msfs_ground_merging(b, 7.0f, 7.0f);
    msfs_ground_merging(b, 1.0f, 2.0f);
  }));
  EXPECT_EQ(d.malformed, 0u);
  EXPECT_EQ(d.document.find("<Tower"), std::string::npos);
  EXPECT_NE(d.document.find("dumping unknown record (0x66)"), std::string::npos);
  EXPECT_NE(d.document.find("groundMergingTransfertBright=\"7.00\""), std::string::npos);
  EXPECT_NE(d.document.find("dumping unknown record (0xe9)"), std::string::npos);
}

TEST(MsfsAirport, ExclusionRectanglesOfMsfsFilesTakeTheMsfsNames) {
  // The older files' name of the windsock bit is in the scenery goldens.
  Bytes rectangles, airport;
  exclusion_rectangle(rectangles, 0x0400, 48.68, 48.69, 9.21, 9.22);
  begin_msfs_airport(airport, MsfsAirportFields{});
  BglBuilder bgl;
  bgl.section(3).add(msfs_airport_name(airport, "X").end(), 1);
  bgl.section(46).add(rectangles, 1);
  EXPECT_NE(decode(bgl.build()).document.find("excludeWindsockObjects = \"TRUE\""),
            std::string::npos);
}

}  // namespace
}  // namespace terrova
