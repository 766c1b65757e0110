// Aprons with their companion records, apron edge lights and fences, in every unit style and in
// damaged forms.
#include "airport/apron.h"

#include <gtest/gtest.h>

#include <string>

#include "airport_records.h"
#include "golden.h"

namespace terrova {
namespace {

using namespace testkit;

std::vector<uint8_t> airport_file(const Bytes& subrecords) {
  return single_airport_file(subrecords, "Aprons");
}

std::vector<LatLon> square(double lat, double lon) {
  return {
      {lat,         lon        },
      {lat + 0.001, lon        },
      {lat + 0.001, lon + 0.001},
      {lat,         lon + 0.001}
  };
}

std::vector<uint8_t> guid_bytes(uint8_t first) {
  std::vector<uint8_t> g;
  for (uint8_t i = 0; i < 16; ++i) g.push_back(static_cast<uint8_t>(first + i));
  return g;
}

Bytes surfaces() {
  Bytes s;
  apron(s, 4, square(47.2601, 11.3455));
  apron_companion(s, 3);  // consumed with the apron: drawSurface and drawDetail TRUE
  apron(s, 1, square(47.2611, 11.3465));
  apron_companion(s, 2);
  apron(s, 254, {});  // no vertices, followed by no companion: both flags FALSE
  start(s, 8, 0x00, 47.2589, 11.3268, 581000, 81.5f);
  std::vector<LatLon> lights;
  for (int i = 0; i < 8; ++i) lights.push_back({47.26 + i * 0.0001, 11.34 - i * 0.0001});
  // 0-1-2 chain; 5-6 starts a run; 6-9 names no vertex and is passed over; 6-7 continues the run.
  apron_edge_lights(s, lights,
                    {
                        {0, 1},
                        {1, 2},
                        {5, 6},
                        {6, 9},
                        {6, 7},
                        {3, 3}
  });
  apron_edge_lights(s, lights, {});  // no edges: the element alone
  fence(s, 0x38, guid_bytes(0), guid_bytes(0xF0), square(47.262, 11.347));
  fence(s, 0x39, guid_bytes(0xA0), std::vector<uint8_t>(16, 0),
        {
            {-33.95, 151.18}
  });
  apron(s, 25, square(-33.95, 151.18));
  apron_companion(s, 1);  // the last sub-record of the airport
  return s;
}

TEST(Aprons, SurfacesLightsAndFencesInEveryStyle) {
  const std::vector<uint8_t> file = airport_file(surfaces());
  Decoded d = decode(file);
  EXPECT_EQ(d.malformed, 0u);
  expect_golden("airport/golden/aprons_fences.xml", d.document);
  expect_golden("airport/golden/aprons_fences_terse.xml", decode(file, switches("t")).document);
  expect_golden("airport/golden/aprons_fences_dfm.xml", decode(file, switches("dfm")).document);
}

TEST(Aprons, EdgeRuns) {
  std::vector<LatLon> v;
  for (int i = 0; i < 4; ++i) v.push_back({10.0 + i, 20.0});
  auto runs = [&v](const std::vector<EdgeEntry>& edges) {
    Bytes s;
    apron_edge_lights(s, v, edges);
    const std::string doc = decode(airport_file(s), switches("t")).document;
    size_t n = 0;
    for (size_t at = doc.find("<EdgeLights>"); at != std::string::npos;
         at = doc.find("<EdgeLights>", at + 1)) {
      ++n;
    }
    size_t vertices = 0;
    for (size_t at = doc.find("<Vertex"); at != std::string::npos; at = doc.find("<Vertex", at + 1))
      ++vertices;
    return std::pair<size_t, size_t>(n, vertices);
  };
  // Edges that all chain: one run of E + 1 vertices; edges that never chain: E runs of two.
  EXPECT_EQ(runs({
                {0, 1},
                {1, 2},
                {2, 3},
                {3, 0}
  }),
            std::make_pair(size_t{1}, size_t{5}));
  EXPECT_EQ(runs({
                {0, 1},
                {2, 3},
                {0, 2}
  }),
            std::make_pair(size_t{3}, size_t{6}));
  // Chaining compares with the last edge written: 1-4 is passed over, 1-2 continues.
  EXPECT_EQ(runs({
                {0, 1},
                {1, 4},
                {1, 2}
  }),
            std::make_pair(size_t{1}, size_t{3}));
  // Every edge passed over: no run at all.
  EXPECT_EQ(runs({
                {4, 0},
                {0, 4}
  }),
            std::make_pair(size_t{0}, size_t{0}));
}

TEST(Aprons, DamagedSubrecordsStopAtTheirEnd) {
  Bytes s;
  apron(s, 4, square(47.2601, 11.3455), 6);  // vertex count past the apron
  apron_companion(s, 3);
  apron(s, 4, square(47.2611, 11.3465));
  s.begin(0x30).end();  // a companion too short for its flags: reported, flags clear
  // Edge lights whose vertex count pushes the edges past the sub-record.
  s.begin(0x31).u16(1).u16(200).u16(2).zeros(12).lon(11.34).lat(47.26).u32(0).u16(0).u16(0).end();
  fence(s, 0x39, guid_bytes(0), guid_bytes(16), square(47.262, 11.347), 9);
  s.begin(0x38).u16(0).zeros(20).end();                // smaller than the two GUIDs: skipped
  start(s, 8, 0x00, 47.2589, 11.3268, 581000, 81.5f);  // the walk goes on
  apron(s, 4, square(47.2621, 11.3475));
  s.begin(0x30).u8(0).u8(3).end_with_size(400);  // a companion running past the airport
  Decoded d = decode(airport_file(s));
  EXPECT_EQ(d.malformed, 6u);
  expect_golden("airport/golden/aprons_damaged.xml", d.document);
}

}  // namespace
}  // namespace terrova
