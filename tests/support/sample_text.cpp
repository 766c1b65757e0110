// Names that hold every byte value from 1 to 255, in every kind of place where file text reaches
// the document: quoted names (NDBs, boundaries), escaped names (routes) and comments (boundary
// frequencies, among them "Seattle APPROACH" with an accented letter).
#include <string>

#include "nav_records.h"
#include "sample_sections.h"

namespace terrova::testkit {

std::vector<uint8_t> text_sample_bgl() {
  std::string every_byte;
  for (int b = 1; b < 256; ++b) every_byte += static_cast<char>(b);
  // Pieces of 15 bytes: 17 of them cover the 255 values.
  auto piece = [&](size_t i, size_t length) { return every_byte.substr(i * length, length); };

  BglBuilder bgl;
  Section& ndbs = bgl.section(23);
  Bytes ndb_run;
  for (size_t i = 0; i < 17; ++i) {
    add_ndb(ndb_run, Ndb{.frequency = 350000,
                         .lat = 47.0 + 0.01 * static_cast<double>(i),
                         .lon = -122.0,
                         .range_m = 20000.0f,
                         .ident = pack_ident("TX"),
                         .region = pack_region("K1"),
                         .name = piece(i, 15)});
  }
  ndbs.add(ndb_run, 17);

  Section& waypoints = bgl.section(34);
  Bytes waypoint;
  Waypoint w;
  w.lat = 47.5;
  w.lon = -122.5;
  w.ident = pack_ident("TXT", 1);
  w.region = pack_region("K1");
  // Route names are 8 bytes: 32 routes cover the 255 values.
  for (size_t i = 0; i < 32; ++i) w.routes.push_back(Route{.name = piece(i, 8)});
  add_waypoint(waypoint, w);
  waypoints.add(waypoint, 1);

  Section& boundaries = bgl.section(32);
  Bytes unrelated;
  boundaries.add(unrelated.u32(1).u32(2), 1);  // the subsection entry that comes before the index
  std::string seattle = "Seattle APPROACH";
  seattle[9] = static_cast<char>(0xFC);
  for (size_t i = 0; i < 18; ++i) {
    Bytes b;
    begin_boundary(b, 4, 0x11, 0, 1000000);
    add_boundary_frequency(b, 119200000, i == 17 ? seattle : piece(i, 15));
    add_boundary_name(b, i == 17 ? "Z\xFCrich CLASS C" : piece(i, 15));
    add_geometry(b, {
                        {.kind = 6, .index = 0, .lat = 0, .lon = 0, .radius_m = 1852.0f}
    });
    b.end();
    boundaries.indexed_records.push_back(b);
    boundaries.index.push_back(i);
  }
  return bgl.build();
}

}  // namespace terrova::testkit
