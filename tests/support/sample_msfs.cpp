// An MSFS 2020 airport of every record kind the decoders read, for the fuzz seeds and the sample
// inputs: the 0x56 airport with its tower, a runway with its children, parking, paths, aprons of
// both forms, edge lights, a jetway, painted elements, a sign, an approach and a departure.
#include "msfs2024_records.h"
#include "msfs_procedure_records.h"
#include "msfs_records.h"
#include "sample_sections.h"

namespace terrova::testkit {

void add_msfs_sample(BglBuilder& bgl) {
  const std::vector<LatLon> square = {
      {48.6890, 9.2200},
      {48.6890, 9.2210},
      {48.6895, 9.2210},
      {48.6895, 9.2200}
  };
  Bytes a;
  MsfsAirportFields f;
  f.lat = 48.689877;
  f.lon = 9.221982;
  f.ident = "EDDS";
  f.traffic = 178;
  begin_msfs_airport(a, f);
  msfs_delete_airport(a, 0x0DF6, 0x1C);
  msfs_airport_name(a, "Stuttgart");
  msfs_tower(a, 48.6901, 9.2208, 7.7);
  start(a, 7, 0x10, 48.686, 9.200, 388000, 74.0f);
  MsfsRunwayFields r;
  begin_msfs_runway(a, r);
  msfs_end_zone(a, 5, Guid{}, 300.0f, 45.11f);
  deformation_point(a, 0.5f, 380.0f);
  msfs_approach_lights(a, 0xDF, 0x62, 1, 33.0f, 0.0f);
  a.end();
  MsfsParkingEntry spot;
  msfs_parking(a, {spot, spot});
  msfs_paths(a, {MsfsPathEntry{}});
  MsfsApronFields apron;
  apron.vertices = square;
  msfs_apron(a, apron);
  msfs_apron(a, apron);
  // The later SDKs' apron form, coloured, with its texture offsets.
  apron.id = 0xD0;
  apron.flags = 0x9F;
  apron.offset_u = 29;
  apron.offset_v = 16;
  msfs_apron(a, apron);
  msfs_edge_lights(a, 0.0f, 60.96f, square);
  ObjectHeader h;
  h.kind = 0x19;
  Bytes first;
  scenery_object(first, h, sim_object(1.0f, "ASO_Jetway"));
  h.kind = 0x0B;
  Bytes second;
  scenery_object(second, h, library_object(Guid{}, 1.0f));
  msfs_jetway(a, 3, 10, 0, first, second);
  painted_line(a, 36, 1, Guid{}, square);
  hatched_area(a, 6, 45.0f, 2.0f, square);
  msfs_sign(a, 48.6893, 9.2205, 74.0f, 3, 1, "A1|B");
  ApproachHeader approach;
  begin_approach(a, approach);
  msfs_leg_list(a, 0xE1, {MsfsLeg{}, MsfsLeg{}});
  a.end();
  begin_terminal_procedure(a, 0x42, "ABTA4H", 1, 0, 1);
  runway_transition(a, 7, 0, {MsfsLeg{}});
  enroute_transition(a, {MsfsLeg{}});
  a.end();
  a.end();
  bgl.section(3).add(a, 1);
}

void add_msfs2024_sample(BglBuilder& bgl) {
  Bytes a;
  begin_msfs2024_airport(a, {});
  msfs_delete_airport(a, 0x0108, 0x21);
  msfs_airport_name(a,
                    "Witham F\xC3\xAF"
                    "eld");
  msfs_tower(a, 27.1846, -80.2225, 10.0);
  MsfsRunwayFields r;
  begin_msfs_runway(a, r);
  marking_biases(a, 80.0f, 80.0f).end();
  start(a, 7, 0x10, 48.686, 9.200, 388000, 74.0f);
  com(a, 1, 123080000, "KSUA");
  msfs_paths(a, {MsfsPathEntry{}});
  msfs2024_helipad(a, {});
  NameListFields names;
  names.cities = {"Stuart"};
  names.entries = {
      {0, 0, 0, 0, "KSUA"}
  };
  bgl.section(3).add(a.end(), 1);
  bgl.section(0x35).add(name_list(names, true), 1);
}

}  // namespace terrova::testkit
