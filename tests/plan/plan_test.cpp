// Airport plans: the plan of a sample airport as a golden file, the names of the plan files,
// damaged geometry left out of the plan, and the plans of the shared sample files, whose drawn
// runways, parking places, paths and aprons must match the elements of their documents.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <utility>

#include "airport_records.h"
#include "driver/document.h"
#include "golden.h"
#include "msfs2024_records.h"
#include "msfs_records.h"
#include "plan/airport_plans.h"
#include "sample_sections.h"
#include "xml_check.h"

namespace terrova {
namespace {

using namespace testkit;
namespace fs = std::filesystem;

struct Planned {
  std::string document;
  std::vector<std::pair<std::string, std::string>> plans;  // file name, SVG
};

int keep_plan(void* context, std::string_view name, std::string_view bytes) {
  static_cast<Planned*>(context)->plans.emplace_back(name, bytes);
  return 0;
}

Planned decode_with_plans(const std::vector<uint8_t>& file) {
  Planned p;
  ExtraFileSink sink{keep_plan, &p};
  plan::AirportPlans plans("sample", sink);
  Output out(drain_to_string, &p.document, true);
  SharedTables tables;
  write_document(Image(file.data(), static_cast<uint32_t>(file.size())), {}, tables,
                 {2007, 3, 5, 9, 4, 1}, out, nullptr, nullptr, &plans);
  plans.finish();
  for (const auto& [name, svg] : p.plans) EXPECT_EQ(xml_problem(svg), "") << name;
  return p;
}

size_t count(std::string_view text, std::string_view what) {
  size_t n = 0;
  for (size_t at = text.find(what); at != std::string_view::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

// What a plan draws: runways, parking places, paths and aprons, without the legend's swatches.
struct Drawn {
  size_t runways, parkings, paths, aprons;
  bool operator==(const Drawn&) const = default;
};
Drawn drawn(std::string_view svg) {
  svg = svg.substr(0, svg.find("<g id=\"frame\">"));
  // Paths of one style and width are the segments ("l") of one defined path.
  size_t paths = 0;
  for (size_t at = svg.find("<defs><path id=\"g"); at != std::string_view::npos;
       at = svg.find("<defs><path id=\"g", at + 1)) {
    paths += count(svg.substr(at, svg.find("/>", at) - at), "l");
  }
  return {count(svg, "<g class=\"runway\">"),
          count(svg, "<circle class=\"gate\"") + count(svg, "<circle class=\"ramp\"") +
              count(svg, "<circle class=\"park-other\""),
          paths, count(svg, "<path class=\"apron\"")};
}
Drawn in_document(std::string_view document) {
  return {count(document, "<Runway "), count(document, "<TaxiwayParking "),
          count(document, "<TaxiwayPath "), count(document, "<Apron ")};
}

TEST(AirportPlans, SampleAirport) {
  const Planned p = decode_with_plans(sample_bgl());
  ASSERT_EQ(p.plans.size(), 8u);
  EXPECT_EQ(p.plans[0].first, "sample.LAAA.svg");
  EXPECT_EQ(p.plans[2].first, "sample.LCAA.svg");
  // The third airport has a runway with a closed end and its zones, every ground record kind,
  // the later forms of them and its taxiway signs.
  expect_golden("plan/golden/sample_airport.svg", p.plans[2].second);
}

TEST(AirportPlans, FileNames) {
  Bytes twice;
  for (int i = 0; i < 3; ++i) {
    AirportFields f;
    f.ident = i == 2 ? "LOWS" : "LOWI";
    airport_name(begin_airport(twice, f), "Twice").end();
  }
  BglBuilder bgl;
  bgl.section(3).add(twice, 3);
  Planned p = decode_with_plans(bgl.build());
  ASSERT_EQ(p.plans.size(), 3u);
  EXPECT_EQ(p.plans[0].first, "sample.LOWI.svg");
  EXPECT_EQ(p.plans[1].first, "sample.LOWI_2.svg");
  EXPECT_EQ(p.plans[2].first, "sample.LOWS.svg");
  EXPECT_EQ(plan::ident_file_part("A/B:"), "A_B_");
  EXPECT_EQ(plan::ident_file_part(""), "_");
}

// One sound runway, one that may be damaged, two points, a parking place, a path to it and an
// apron.
struct Ground {
  RunwayFields runway;
  ParkingEntry parking;
  PathEntry path;
  std::vector<LatLon> outline = {
      {47.2600, 11.3450},
      {47.2605, 11.3460},
      {47.2598, 11.3465}
  };
};

struct DamageCase {
  const char* what;
  void (*damage)(Ground&);
  Drawn expected;
};

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

// clang-format off
const DamageCase kDamageCases[] = {
    {"sound",                   [](Ground&) {},                                    {2, 1, 1, 1}},
    {"runway length NaN",       [](Ground& g) { g.runway.length = kNaN; },         {1, 1, 1, 1}},
    {"runway width 0",          [](Ground& g) { g.runway.width = 0; },             {1, 1, 1, 1}},
    {"runway far away",         [](Ground& g) { g.runway.lat += 1; },              {1, 1, 1, 1}},
    {"runway heading NaN",      [](Ground& g) { g.runway.heading = kNaN; },        {1, 1, 1, 1}},
    // The path to a parking place that is left out has no end: it goes too.
    {"parking radius negative", [](Ground& g) { g.parking.radius = -18; },         {2, 0, 0, 1}},
    {"parking far away",        [](Ground& g) { g.parking.lon = 14.3; },           {2, 0, 0, 1}},
    {"path width 0",            [](Ground& g) { g.path.width = 0; },               {2, 1, 0, 1}},
    {"path from no point",      [](Ground& g) { g.path.start = 7; },               {2, 1, 0, 1}},
    {"apron vertex far away",   [](Ground& g) { g.outline[1].lat = -47; },         {2, 1, 1, 0}},
    {"apron of two vertices",   [](Ground& g) { g.outline.resize(2); },            {2, 1, 1, 0}},
};
// clang-format on

TEST(AirportPlans, DamagedGeometryIsLeftOut) {
  for (const DamageCase& c : kDamageCases) {
    SCOPED_TRACE(c.what);
    Ground g;
    g.path.type_flags = 3;  // PARKING: from point 0 to parking place 0
    g.path.end = 0;
    c.damage(g);
    Bytes subs;
    begin_runway(subs, RunwayFields()).end();
    begin_runway(subs, g.runway).end();
    taxiway_points(subs, {
                             TaxiwayPointEntry(), {1, 0, 47.2600, 11.3448, 0}
    });
    taxiway_parking(subs, 0x1B, {g.parking});
    taxiway_paths(subs, {g.path});
    apron(subs, 4, g.outline);
    const Planned p = decode_with_plans(single_airport_file(subs, "Damaged & <odd>"));
    ASSERT_EQ(p.plans.size(), 1u);
    EXPECT_EQ(drawn(p.plans[0].second), c.expected);
    EXPECT_NE(p.plans[0].second.find("<title>LOWI - Damaged &amp; &lt;odd&gt;</title>"),
              std::string::npos);
  }
}

TEST(AirportPlans, NothingDrawableStillGivesATitledPlan) {
  RunwayFields runway;
  runway.length = -5;
  Bytes subs;
  begin_runway(subs, runway).end();
  const Planned p = decode_with_plans(single_airport_file(subs, "Empty"));
  ASSERT_EQ(p.plans.size(), 1u);
  EXPECT_EQ(drawn(p.plans[0].second), (Drawn{0, 0, 0, 0}));
  EXPECT_NE(p.plans[0].second.find("LOWI \xE2\x80\x94 Empty</text>"), std::string::npos);
}

TEST(AirportPlans, Msfs2024NamesStayUtf8) {
  Bytes airport;
  begin_msfs2024_airport(airport, {});
  msfs_airport_name(airport, "N\xC3\xBCrnberg");
  BglBuilder bgl;
  bgl.section(3).add(airport.end(), 1);
  const Planned p = decode_with_plans(bgl.build());
  ASSERT_EQ(p.plans.size(), 1u);
  EXPECT_NE(p.plans[0].second.find("KSUA \xE2\x80\x94 N\xC3\xBCrnberg</text>"), std::string::npos);
}

// Every plan of the shared sample files is well-formed and draws what its document holds.
TEST(AirportPlans, SampleFilesDrawWhatTheDocumentHolds) {
  std::vector<fs::path> files;
  for (const char* folder : {"", "/../bgl-samples-msfs", "/../bgl-samples-msfs2024"}) {
    std::error_code error;
    for (const auto& entry :
         fs::directory_iterator(TERROVA_SAMPLES_DIR + std::string(folder), error)) {
      if (entry.path().extension() == ".bgl") files.push_back(entry.path());
    }
  }
  if (files.empty()) GTEST_SKIP() << "no sample files in " << TERROVA_SAMPLES_DIR;
  size_t plans = 0;
  for (const fs::path& path : files) {
    SCOPED_TRACE(path.filename().string());
    std::ifstream f(path, std::ios::binary);
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(f)),
                                     std::istreambuf_iterator<char>());
    const Planned p = decode_with_plans(bytes);
    EXPECT_EQ(p.plans.size(), count(p.document, "<Airport "));
    Drawn total{0, 0, 0, 0};
    for (const auto& [name, svg] : p.plans) {
      const Drawn d = drawn(svg);
      total = {total.runways + d.runways, total.parkings + d.parkings, total.paths + d.paths,
               total.aprons + d.aprons};
      EXPECT_LT(svg.size(), 400000u) << name;
    }
    EXPECT_EQ(total, in_document(p.document));
    plans += p.plans.size();
  }
  EXPECT_GT(plans, 0u);
}

}  // namespace
}  // namespace terrova
