// Navigation sections of the sample file: VHF navaids with ILS records, NDBs, markers, enroute and
// terminal waypoints with their airways, airspace boundaries and Geopol lines. The records are
// spread over a few regions and vary in kind, names and children; `scale` multiplies them.
#include <algorithm>
#include <string>

#include "nav_records.h"
#include "sample_sections.h"

namespace terrova::testkit {
namespace {

// Records per subsection, as real files group them by area.
constexpr int kRunLength = 40;

struct Area {
  const char* region;
  const char* airport;
  double lat;
  double lon;
};

constexpr Area kAreas[] = {
    {"K1", "KSEA", 47.45,  -122.31},
    {"LE", "LEAB", 38.95,  -1.86  },
    {"ED", "EDST", 48.69,  9.87   },
    {"YM", "YSSY", -33.95, 151.18 }
};

constexpr const char* kPlaces[] = {"Seattle",  "Albacete",  "Hahnweide", "Sydney", "Olympia",
                                   "Valencia", "Stuttgart", "Bankstown", "Paine",  "Murcia"};

// A small deterministic sequence, so that the sample is the same on every build.
class Sequence {
 public:
  uint32_t next() {
    state_ = state_ * 1664525u + 1013904223u;
    return state_ >> 8;
  }
  uint32_t below(uint32_t n) { return next() % n; }
  // A magnetic variation as stored: up to 30 degrees either way, 0-360.
  float magvar() {
    const float v = static_cast<float>(below(300)) * 0.1f;
    return below(2) == 0 ? v : 360.0f - v;
  }
  double offset(double span) { return (static_cast<double>(below(20001)) / 10000.0 - 1.0) * span; }

 private:
  uint32_t state_ = 20070305;
};

std::string ident_text(const char* prefix, int i) {
  static constexpr char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
  std::string s = prefix;
  s += kLetters[i % 26];
  s += kLetters[(i / 26) % 26];
  if (i >= 676) s += static_cast<char>('0' + (i / 676) % 10);
  return s.substr(0, 5);
}

// Adds the records to subsections of at most kRunLength records.
template <class Make>
void add_runs(Section& section, int count, Make make) {
  for (int first = 0; first < count; first += kRunLength) {
    Bytes run;
    const int n = std::min(kRunLength, count - first);
    for (int i = first; i < first + n; ++i) make(run, i);
    section.add(run, static_cast<uint32_t>(n), static_cast<uint32_t>(first));
  }
}

void add_vhf_navaids(BglBuilder& bgl, int scale, Sequence& seq) {
  add_runs(bgl.section(19), 6 * scale, [&](Bytes& b, int i) {
    const Area& a = kAreas[i % 4];
    const double lat = a.lat + seq.offset(1.5);
    const double lon = a.lon + seq.offset(1.5);
    const std::string place = kPlaces[seq.below(10)];
    Navaid n{.type = static_cast<uint8_t>(1 + seq.below(3)),
             .flags = 0x11,
             .lat = lat,
             .lon = lon,
             .altitude_mm = static_cast<int32_t>(seq.below(900000)),
             .frequency_hz = static_cast<int32_t>(108000000 + 50000 * seq.below(200)),
             .range_m = 40000.0f + 5000.0f * static_cast<float>(seq.below(30)),
             .magvar = seq.magvar(),
             .ident = pack_ident(ident_text("", i)),
             .region = pack_region(a.region)};
    switch (i % 6) {
      case 0:  // VOR with DME
        begin_navaid(b, n);
        add_dme(b, lat, lon, n.altitude_mm, n.range_m);
        add_navaid_name(b, place + " VORTAC");
        break;
      case 1:  // VOR alone
        n.flags = 0x01;
        begin_navaid(b, n);
        add_navaid_name(b, place + " VOR");
        break;
      case 2:  // DME alone
        n.flags = 0x10;
        begin_navaid(b, n);
        add_dme(b, lat, lon, n.altitude_mm, n.range_m);
        add_navaid_name(b, place + " DME");
        break;
      case 3: {  // ILS with localizer, glide slope, DME and name, for the runways
        n.type = 4;
        n.flags = 0x1D;
        n.ident = pack_ident(ident_text("I", i));
        begin_navaid(b, n);
        add_localizer(b, static_cast<uint8_t>(seq.below(2) << 4),
                      static_cast<float>(seq.below(360)), 5.0f);
        add_glide_slope(b, lat, lon, n.altitude_mm, 18520.0f, 3.0f);
        add_dme(b, lat, lon, n.altitude_mm, 18520.0f);
        add_navaid_name(b, "ILS/DME " + place);
        break;
      }
      case 4:  // VOT test transmitter
        n.type = 5;
        n.flags = 0x00;
        begin_navaid(b, n);
        add_navaid_name(b, place + " VOT");
        break;
      default:  // VOR-DME of flags 0x31
        n.type = 3;
        n.flags = 0x31;
        begin_navaid(b, n);
        add_dme(b, lat, lon, n.altitude_mm, n.range_m);
        add_navaid_name(b, place + " VOR-DME");
        break;
    }
    b.end();
  });
}

void add_beacons(BglBuilder& bgl, int scale, Sequence& seq) {
  add_runs(bgl.section(23), 3 * scale, [&](Bytes& b, int i) {
    const Area& a = kAreas[i % 4];
    add_ndb(b, Ndb{.type = static_cast<uint16_t>(seq.below(4)),
                   .frequency = static_cast<int32_t>(190000 + 500 * seq.below(1000)),
                   .lat = a.lat + seq.offset(2.0),
                   .lon = a.lon + seq.offset(2.0),
                   .altitude_mm = static_cast<int32_t>(seq.below(600000)),
                   .range_m = 20000.0f + 1000.0f * static_cast<float>(seq.below(100)),
                   .magvar = seq.magvar(),
                   .ident = pack_ident(ident_text("N", i)),
                   .region = pack_region(a.region),
                   .name = std::string(kPlaces[seq.below(10)]) + " NDB"});
  });
  add_runs(bgl.section(24), 3 * scale, [&](Bytes& b, int i) {
    const Area& a = kAreas[i % 4];
    add_marker(b, Marker{.heading = static_cast<uint8_t>(seq.below(256)),
                         .type = static_cast<uint8_t>(seq.below(4)),
                         .lat = a.lat + seq.offset(0.2),
                         .lon = a.lon + seq.offset(0.2),
                         .altitude_mm = static_cast<int32_t>(seq.below(300000)),
                         .ident = pack_ident(ident_text("M", i)),
                         .region = i % 7 == 0 ? 0 : pack_region(a.region)});
  });
}

void add_waypoints(BglBuilder& bgl, int scale, Sequence& seq) {
  static constexpr const char* kAirways[] = {"V2", "V23", "J5", "J70", "UN870", "T161", "Q1"};
  add_runs(bgl.section(34), 6 * scale, [&](Bytes& b, int i) {
    const Area& a = kAreas[i % 4];
    Waypoint w{.type = static_cast<uint8_t>(1 + seq.below(7)),
               .lat = a.lat + seq.offset(3.0),
               .lon = a.lon + seq.offset(3.0),
               .magvar = seq.magvar(),
               .ident = pack_ident(ident_text("W", i), 1 + seq.below(5)),
               .region = pack_region(a.region),
               .routes = {},
               .route_count = std::nullopt};
    if (i % 3 == 2) {
      // A terminal waypoint of the area's airport.
      w.ident = pack_ident(ident_text("T", i), 6);
      w.region = (pack_ident(a.airport) << 6) | pack_region(a.region);
    } else {
      const uint32_t routes = seq.below(4);
      for (uint32_t r = 0; r < routes; ++r) {
        const bool has_previous = seq.below(5) != 0;
        const bool has_next = seq.below(5) != 0;
        w.routes.push_back(
            Route{.type = static_cast<uint8_t>(1 + seq.below(3)),
                  .name = kAirways[seq.below(7)],
                  .next_ident = has_next ? pack_ident(ident_text("W", i + 1), 2) : 0,
                  .next_region = pack_region(a.region),
                  .next_altitude_m = 300.0f * static_cast<float>(seq.below(40)),
                  .previous_ident = has_previous ? pack_ident(ident_text("W", i + 5), 2) : 0,
                  .previous_region = pack_region(a.region),
                  .previous_altitude_m = 300.0f * static_cast<float>(seq.below(40))});
      }
    }
    add_waypoint(b, w);
  });
}

void add_boundaries(BglBuilder& bgl, int scale, Sequence& seq) {
  Section& s = bgl.section(32);
  for (int i = 0; i < 4 * scale; ++i) {
    const Area& a = kAreas[i % 4];
    const double lat = a.lat + seq.offset(1.0);
    const double lon = a.lon + seq.offset(1.0);
    const std::string place = kPlaces[seq.below(10)];
    Bytes b;
    begin_boundary(b, static_cast<uint8_t>(seq.below(24)),
                   static_cast<uint8_t>(0x10 + seq.below(3)), 0,
                   static_cast<int32_t>(1000000 + 300000 * seq.below(20)));
    if (i % 2 == 0)
      add_boundary_frequency(b, static_cast<int32_t>(118000000 + 25000 * seq.below(400)),
                             place + " APPROACH");
    if (i % 3 != 2) add_boundary_name(b, place + " CLASS " + static_cast<char>('B' + i % 4));
    if (i % 4 == 3) {
      add_geometry(b, {
                          {.kind = 6, .index = 0, .lat = 0, .lon = 0, .radius_m = 9260.0f}
      });
    } else {
      add_geometry(b, {
                          {.kind = 1, .index = 0, .lat = lat + 0.2, .lon = lon - 0.2},
                          {.kind = 2, .index = 1, .lat = lat + 0.2, .lon = lon + 0.2},
                          {.kind = 3, .index = 2, .lat = lat,       .lon = lon      },
                          {.kind = 4, .index = 3, .lat = lat - 0.2, .lon = lon + 0.2},
                          {.kind = 5, .index = 4, .lat = lat - 0.2, .lon = lon - 0.2},
                          {.kind = 2, .index = 5, .lat = lat + 0.2, .lon = lon - 0.2}
      });
    }
    b.end();
    s.indexed_records.push_back(b);
    // Real indexes list a record once per area cell it touches.
    s.index.push_back(static_cast<size_t>(i));
    if (i % 3 == 0) s.index.push_back(static_cast<size_t>(i));
  }
}

void add_geopol_lines(BglBuilder& bgl, int scale, Sequence& seq) {
  Section& s = bgl.section(35);
  for (int i = 0; i < 3 * scale; ++i) {
    const Area& a = kAreas[i % 4];
    std::vector<Vertex> line;
    double lat = a.lat + seq.offset(2.0);
    double lon = a.lon + seq.offset(2.0);
    const uint32_t points = 3 + seq.below(12);
    for (uint32_t p = 0; p < points; ++p) {
      line.push_back({lat, lon});
      lat += seq.offset(0.05);
      lon += seq.offset(0.05);
    }
    s.indexed_records.push_back(geopol(i % 2 == 0 ? 0x4000 : 0x8000, line));
    s.index.push_back(static_cast<size_t>(i));
    if (i > 0 && i % 4 == 0) s.index.push_back(static_cast<size_t>(i - 1));
  }
}

}  // namespace

void add_nav_sample(BglBuilder& bgl, int scale) {
  Sequence seq;
  add_vhf_navaids(bgl, scale, seq);
  add_beacons(bgl, scale, seq);
  add_waypoints(bgl, scale, seq);
  add_boundaries(bgl, scale, seq);
  add_geopol_lines(bgl, scale, seq);
  // TACAN stations come last, with their own sequence, so the sections above stay as they were.
  Sequence tacan_seq;
  add_runs(bgl.section(0xA0), 2 * scale, [&](Bytes& b, int i) {
    const Area& a = kAreas[i % 4];
    Tacan t{.lat = a.lat + tacan_seq.offset(1.0),
            .lon = a.lon + tacan_seq.offset(1.0),
            .altitude_mm = static_cast<int32_t>(tacan_seq.below(900000)),
            .channel = static_cast<int32_t>(1 + tacan_seq.below(126)),
            .flags = static_cast<uint8_t>(tacan_seq.below(4)),
            .range_m = 50000.0f,
            .magvar = tacan_seq.magvar(),
            .ident = pack_ident(ident_text("T", i)),
            .region = pack_region(a.region)};
    begin_tacan(b, t);
    add_dme(b, t.lat, t.lon, t.altitude_mm, t.range_m);
    add_navaid_name(b, std::string(kPlaces[i % 10]) + " TACAN");
    b.end();
  });
}

}  // namespace terrova::testkit
