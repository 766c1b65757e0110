// Airports for the sample file: a name list and airports of both record forms with towers,
// services, runways with every child kind, starts, frequencies, helipads, taxiway networks,
// aprons, edge lights, fences, approaches, deletions and sub-records that are dumped, and the
// later stored forms of the ground records, jetways and approaches.
#include <iterator>
#include <string>
#include <vector>

#include "airport_records.h"
#include "sample_sections.h"
#include "scenery_records.h"

namespace terrova::testkit {
namespace {

constexpr int kAirportsPerScale = 4;

const char* const kCities[] = {"Innsbruck", "Salzburg", "Graz",   "Linz",    "Klagenfurt",
                               "Wien",      "Bolzano",  "Zürich", "München", "Friedrichshafen"};
const char* const kStates[] = {"Tirol", "Salzburg", "Steiermark", "Oberösterreich", "Kärnten"};
const char* const kCountries[] = {"Austria", "Italy", "Switzerland", "Germany"};
const char* const kRegions[] = {"Europe", "Alps"};

// Four letters from the airport number, so every airport has its own identifier.
std::string ident_of(int i) {
  std::string s = "L";
  for (int k = 0; k < 3; ++k) {
    s += static_cast<char>('A' + i % 26);
    i /= 26;
  }
  return s;
}

void add_runway(Bytes& b, int i, int n, double lat, double lon) {
  RunwayFields r;
  r.surface = static_cast<uint32_t>((i + n) % 25);
  r.number = static_cast<uint32_t>(1 + (i * 7 + n * 9) % 36);
  r.primary_designator = static_cast<uint32_t>(n == 0 ? 0 : 1);
  r.secondary_designator = static_cast<uint32_t>(n == 0 ? 0 : 2);
  if (i % 3 == 0) {
    const std::string ident = ident_of(i);
    r.primary_ils = {'X', ident[1], ident[2]};
    r.secondary_ils = {'Y', ident[1], ident[2]};
  }
  r.lat = lat + 0.002 * n;
  r.lon = lon;
  r.length = 1200.0f + static_cast<float>((i * 131) % 2400);
  r.width = 30.0f + static_cast<float>(n * 15);
  r.heading = static_cast<float>((r.number * 10) % 360) + 0.25f;
  r.markings = static_cast<uint32_t>((i * 0x2F1) & 0x1FFF);
  r.lights = static_cast<uint32_t>(i % 32);
  r.patterns = static_cast<uint32_t>(i % 64);
  begin_runway(b, r);
  end_zone(b, 5, 0, 150.0f, r.width);
  end_zone(b, 8, 4, 60.0f, r.width + 10.0f);
  end_zone(b, 9, 1, 100.0f, r.width);
  approach_lights(b, 15, static_cast<uint32_t>(0xE0 | (i % 16)), static_cast<uint32_t>(i % 20));
  approach_lights(b, 16, 0x42, 0);
  vasi(b, 11, static_cast<uint32_t>(i % 14), -15.0f, 300.0f, 9.0f, 3.0f);
  vasi(b, 14, 8, 15.0f, 320.0f, 0.0f, 3.1f);
  b.end();
}

// The taxiway network, aprons, edge lights and fences of an airport.
void add_ground(Bytes& b, int i, double lat, double lon) {
  std::vector<TaxiwayPointEntry> points;
  for (uint32_t n = 0; n < 4; ++n) {
    points.push_back({1 + (n + static_cast<uint32_t>(i)) % 6, n % 2, lat + 0.0004 * n, lon});
  }
  taxiway_points(b, points);
  ParkingEntry gate;
  gate.name_code = static_cast<uint32_t>(12 + i % 26);
  gate.push_back = static_cast<uint32_t>(i % 4);
  gate.number = static_cast<uint32_t>(i % 4096);
  gate.lat = lat + 0.0008;
  gate.lon = lon + 0.0005;
  gate.airlines = {"DLH", "AUA"};
  ParkingEntry ramp;
  ramp.name_code = 1;
  ramp.type = static_cast<uint32_t>(1 + i % 13);
  ramp.lat = lat + 0.0009;
  ramp.lon = lon + 0.0006;
  taxiway_parking(b, i % 2 == 0 ? 0x1B : 0x3D, {gate, ramp});
  std::vector<PathEntry> paths;
  for (uint32_t n = 0; n < 3; ++n) {
    PathEntry p;
    p.start = n;
    p.end = n + 1;
    p.type_flags = (n == 1 ? 2u : 1u) | 0x60u;
    p.number_or_name = n == 1 ? static_cast<uint32_t>(1 + i % 36) : n;
    p.designator = n == 1 ? static_cast<uint32_t>(i % 4) : 0;
    p.lines = static_cast<uint32_t>((i * 37 + static_cast<int>(n)) & 0xFF);
    p.surface = static_cast<uint32_t>(i % 25);
    paths.push_back(p);
  }
  taxiway_paths(b, paths);
  std::string third = "B";
  third += static_cast<char>('0' + i % 10);
  taxi_names(b, {"", "A", third});
  const std::vector<LatLon> area = {
      {lat + 0.0007, lon + 0.0004},
      {lat + 0.0011, lon + 0.0004},
      {lat + 0.0011, lon + 0.0009},
      {lat + 0.0007, lon + 0.0009}
  };
  apron(b, static_cast<uint32_t>(i % 25), area);
  if (i % 2 == 0) apron_companion(b, static_cast<uint32_t>(i % 4));
  apron_edge_lights(b, area,
                    {
                        {0, 1},
                        {1, 2},
                        {2, 3},
                        {3, 0}
  });
  std::vector<uint8_t> guid;
  for (int n = 0; n < 16; ++n) guid.push_back(static_cast<uint8_t>(i * 16 + n));
  fence(b, i % 2 == 0 ? 0x38 : 0x39, guid, std::vector<uint8_t>(16, 0x5A), {area[0], area[1]});
}

// The later stored forms of the ground records, a jetway, a helipad with its object and an
// approach with the split fix word.
void add_later_forms(Bytes& b, int i, double lat, double lon) {
  std::vector<TaxiwayPointEntry> points;
  for (uint32_t n = 0; n < 3; ++n) {
    TaxiwayPointEntry p{1 + n, n % 2, lat - 0.0004 * n, lon};
    p.alt_mm = n == 0 ? 0 : 100000 + i * 10;
    points.push_back(p);
  }
  taxiway_points(b, points, 0xAC);
  ParkingEntry gate;
  gate.name_code = static_cast<uint32_t>(12 + i % 26);
  gate.number = static_cast<uint32_t>(i % 4096);
  gate.lat = lat - 0.0008;
  gate.airlines = {"SWR"};
  gate.tee_offsets[0] = 10.5f;
  gate.tee_offsets[1] = static_cast<float>(i % 3) * 5.0f;
  gate.alt_mm = 100000 + i * 10;
  taxiway_parking(b, 0xAD, {gate});
  std::vector<PathEntry> paths(2);
  paths[1].start = 1;
  paths[1].end = 2;
  paths[1].type_flags = 0x61;
  for (size_t n = 0; n < 16; ++n) {
    paths[0].material_set[n] = static_cast<uint8_t>(static_cast<size_t>(i) + n);
  }
  paths[0].terrain = static_cast<uint32_t>(i % 3) | static_cast<uint32_t>(i % 3) << 3;
  paths[1].fixtures = static_cast<uint32_t>(i % 3);
  taxiway_paths(b, paths, {}, i % 2 == 0 ? 0x40 : 0xAE);
  const std::vector<LatLon> area = {
      {lat - 0.0007, lon - 0.0004},
      {lat - 0.0011, lon - 0.0004},
      {lat - 0.0011, lon - 0.0009}
  };
  apron(b, static_cast<uint32_t>(i % 25), area);
  apron_triangles(b, 0x41, static_cast<uint32_t>(i % 4));
  LaterApron later;
  later.surface = static_cast<uint32_t>(i % 25);
  later.terrain = 2;
  later.alt_mm = 100000 + i * 10;
  later.vertices = area;
  later_apron(b, later);
  apron_triangles(b, 0xB0, 3);
  Bytes object;
  ObjectHeader h;
  h.kind = 11;
  h.lat = lat - 0.0008;
  h.lon = lon;
  scenery_object(object, h, library_object(Guid{}, 1.0f));
  jetway(b, gate.number, gate.name_code, object);
  helipad(b, 4, 1, lat - 0.001, lon, 100000, 20, 20, 0);
  helipad_object(b, object);
  ApproachHeader a;
  a.runway = static_cast<uint32_t>(1 + i % 36);
  a.type_flags = 10;
  a.fix_type = 5;
  begin_later_approach(b, a);
  LegEntry to_fix;
  leg_list(b, 0x2D, {to_fix});
  begin_later_transition(b, TransitionHeader{});
  leg_list(b, 0x2F, {to_fix});
  b.end();
  b.zeros(32).end();
}

// An ILS approach with legs, missed-approach legs and both kinds of transition.
void add_approach(Bytes& b, int i) {
  ApproachHeader h;
  h.runway = static_cast<uint32_t>(1 + i % 36);
  h.suffix = i % 2 == 0 ? 'Z' : 0;
  h.type_flags = static_cast<uint32_t>(i % 12) | 0x10;
  begin_approach(b, h);
  LegEntry final_fix;
  final_fix.type = 15;
  LegEntry course_to_fix;
  course_to_fix.type = 4;
  LegEntry to_fix;
  to_fix.flags = static_cast<uint32_t>(i % 8);
  leg_list(b, 0x2D, {final_fix, course_to_fix, to_fix});
  LegEntry climb;
  climb.type = 2;
  climb.turn = 2;
  leg_list(b, 0x2E, {climb});
  TransitionHeader full;
  begin_transition(b, full);
  leg_list(b, 0x2F, {final_fix, to_fix});
  b.end();
  TransitionHeader arc;
  arc.type = 2;
  begin_transition(b, arc);
  LegEntry arc_leg;
  arc_leg.type = 17;
  leg_list(b, 0x2F, {arc_leg});
  b.end();
  b.zeros(32).end();
}

Bytes airport(int i, SampleLayout layout) {
  AirportFields f;
  f.id = i % 2 == 0 ? 0x3C : 0x03;
  const SamplePosition p = sample_airport_position(i, layout);
  f.lat = p.lat;
  f.lon = p.lon;
  f.alt_mm = 100000 + (i * 3517) % 1500000;
  f.tower = i % 5 != 4;
  f.tower_lat = f.lat + 0.003;
  f.tower_lon = f.lon + 0.002;
  f.tower_alt_mm = i % 3 == 0 ? 0 : f.alt_mm + 20000;
  f.magvar = static_cast<float>((i * 17) % 360);
  f.ident = ident_of(i);
  f.fuel = (static_cast<uint32_t>(i) * 0x00A5C3u) & 0x03FFFFFFu;
  Bytes b;
  begin_airport(b, f);
  if (i % 5 == 0) {
    delete_airport(b, static_cast<uint32_t>(i & 0xFF),
                   {{0x20000104u}, {3 | 1 << 8}, {0x3751C780u}});
  }
  airport_name(b, std::string(kCities[i % 10]) + " " + f.ident + (i % 4 == 0 ? " & Co" : ""));
  if (i % 4 == 1) {
    Bytes objects;
    ObjectHeader h;
    h.kind = 11;
    h.lat = f.tower_lat;
    h.lon = f.tower_lon;
    scenery_object(objects, h,
                   Bytes().u32(0x6D4E1F2A).u32(0x4B88D3C1).u32(0x11).u32(0x22).f32(1.0f));
    tower_objects(b, objects);
  }
  for (int n = 0; n < 1 + i % 2; ++n) add_runway(b, i, n, f.lat, f.lon);
  start(b, 9, 0x00, f.lat, f.lon - 0.01, f.alt_mm, 87.0f);
  start(b, 27, 0x12, f.lat, f.lon + 0.01, f.alt_mm, 267.0f);
  com(b, static_cast<uint32_t>(i % 14), 118000000 + (i % 300) * 25000, f.ident + " TOWER");
  com(b, 5, 121700000, "GROUND");
  com(b, 1, 126025000, std::string(f.ident) + " INFORMATION SERVICE, AUTOMATIC TERMINAL BROADCAST");
  if (i % 3 == 1)
    helipad(b, 4, static_cast<uint32_t>(i % 64), f.lat + 0.001, f.lon, f.alt_mm, 25, 25, 45);
  if (i % 3 == 2) add_ground(b, i, f.lat, f.lon);
  if (i % 4 == 3) add_approach(b, i);
  if (i % 7 == 0) delete_airport(b, 0x0008, {}, false);
  if (i % 4 == 2) add_later_forms(b, i, f.lat, f.lon);
  return b.end();
}

// The airports of the navigation sample's areas, which own its terminal waypoints; the runways
// name the ILS records that sample places there.
struct AreaAirport {
  const char* ident;
  const char* name;
  double lat;
  double lon;
  const char* primary_ils;
  const char* secondary_ils;
};
constexpr AreaAirport kAreaAirports[] = {
    {"KSEA", "Seattle-Tacoma Intl",    47.449,  -122.309, "",    ""   },
    {"LEAB", "Albacete",               38.948,  -1.863,   "IJA", "IVA"},
    {"EDST", "Hahnweide",              48.631,  9.430,    "",    ""   },
    {"YSSY", "Sydney Kingsford Smith", -33.946, 151.177,  "IDA", "IPA"}
};

Bytes area_airport(const AreaAirport& a) {
  AirportFields f;
  f.ident = a.ident;
  f.lat = a.lat;
  f.lon = a.lon;
  f.tower_lat = a.lat + 0.004;
  f.tower_lon = a.lon - 0.002;
  f.magvar = 2.5f;
  f.fuel = 0x000F3000;
  Bytes b;
  airport_name(begin_airport(b, f), a.name);
  RunwayFields r;
  r.lat = a.lat;
  r.lon = a.lon;
  r.number = 16;
  r.primary_designator = 3;
  r.secondary_designator = 3;
  r.primary_ils = a.primary_ils;
  r.secondary_ils = a.secondary_ils;
  r.markings = 0x00FF;
  r.lights = 0x1F;
  begin_runway(b, r);
  approach_lights(b, 15, 0x67, 2);
  approach_lights(b, 16, 0x23, 0);
  vasi(b, 11, 8, -20.0f, 350.0f, 0.0f, 3.0f);
  b.end();
  com(b, 6, 119900000, std::string(a.name) + " Tower");
  return b.end();
}

}  // namespace

SamplePosition sample_airport_position(int i, SampleLayout layout) {
  if (layout == SampleLayout::kClustered) {
    // Sixteen airports a quarter degree apart in each degree cell; the cells go round the globe
    // between 60 degrees south and 60 degrees north.
    const int cell = i / 16;
    const int in_cell = i % 16;
    return {-60.0 + (cell % 120) + 0.1 + (in_cell % 4) * 0.24,
            -180.0 + ((cell / 120) % 360) + 0.1 + (in_cell / 4) * 0.24};
  }
  // More than a degree apart, so that each airport claims the signs placed near it.
  return {-20.0 + (i % 60) * 1.1, -170.0 + ((i / 60) % 280) * 1.2 + (i % 7) * 0.01};
}

int sample_airport_count(int scale) { return kAirportsPerScale * scale; }

void add_airport_sample(BglBuilder& bgl, int scale, SampleLayout layout) {
  const int count = sample_airport_count(scale);
  NameListFields names;
  for (const char* s : kRegions) names.regions.push_back(s);
  for (const char* s : kCountries) names.countries.push_back(s);
  for (const char* s : kStates) names.states.push_back(s);
  for (const char* s : kCities) names.cities.push_back(s);
  Section& airports = bgl.section(3);
  Bytes run;
  int in_run = 0;
  for (int i = 0; i < count; ++i) {
    names.airports.push_back(kCities[i % 10]);
    if (i < 65535)
      names.entries.push_back({static_cast<uint32_t>(i % 2), static_cast<uint32_t>(i % 4),
                               static_cast<uint32_t>(i % 5), static_cast<uint32_t>(i % 10),
                               ident_of(i)});
    run.raw(airport(i, layout));
    if (++in_run == 16 || i + 1 == count) {
      airports.add(run, static_cast<uint32_t>(in_run));
      run = Bytes();
      in_run = 0;
    }
  }
  Bytes areas;
  for (const AreaAirport& a : kAreaAirports) {
    areas.raw(area_airport(a));
    names.entries.push_back({1, 0, 0, 0, a.ident});
  }
  airports.add(areas, static_cast<uint32_t>(std::size(kAreaAirports)));
  bgl.section(39).add(name_list(names), 1);
}

}  // namespace terrova::testkit
