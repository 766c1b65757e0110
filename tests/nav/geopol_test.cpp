// Geopol lines: the bounding-box comment, the type from the flags, the vertices, the index walk
// and damaged records.
#include <gtest/gtest.h>

#include "nav_test_support.h"

namespace terrova {
namespace {

using namespace testkit;
using navtest::count_of;
using navtest::kWarning;

std::vector<uint8_t> geopol_file() {
  BglBuilder bgl;
  Section& s = bgl.section(35);
  s.indexed_records = {
      geopol(0x4000, {{47.0, 8.0},     {47.5, 8.5}, {47.25, 9.0}}
       ),
      geopol(0x8000, {{-33.5, 151.25},   {-33.75, 151.5}}
       ),
      geopol(0xC000, {{10.0, -20.0}}
       ), // both flags: the boundary wins
      geopol(0x0001, {{0.5, -0.5},               {-0.5, 0.5}}
       ), // neither: an empty type
      geopol(0x8000, {}
       ), // no vertices
  };
  s.index = {0, 1, 0, 2, 3, 0, 4, 1};
  return bgl.build();
}

TEST(Geopol, EachRecordOnceWithItsBoxAndVertices) {
  const std::vector<uint8_t> file = geopol_file();
  navtest::expect_indexed_goldens("geopol", file, "Geopol", 5);
}

TEST(Geopol, DamagedRecordsAreReportedAndTheIndexWalkGoesOn) {
  // A vertex cut by the record's length: the vertices before it stay.
  Bytes cut = geopol(0x4000, {
                                 {1.0, 1.0},
                                 {2.0, 2.0}
  });
  cut.data.resize(cut.size() - 4);
  BglBuilder bgl;
  Section& s = bgl.section(35);
  s.indexed_records = {
      geopol(0x4000, {{3.0, 3.0}}
       ), cut, geopol(0x8000, {{4.0, 4.0}}
       )
  };
  s.index = {0, 1, 2};
  Layout layout;
  std::vector<uint8_t> file = bgl.build(&layout);
  Decoded d = decode(file);
  EXPECT_EQ(d.malformed, 1u);
  expect_golden("nav/golden/geopol_cut_vertex.xml", d.document);

  // Index lengths of 0, below the fixed part and past the file.
  const uint32_t index = layout.sections[0].subsection_table;
  for (uint32_t length : {0u, 20u, 0x7FFFFFFFu}) {
    std::vector<uint8_t> bad = file;
    navtest::poke_u32(bad, index + 8 + 4, length);
    Decoded b = decode(bad, switches("t"));
    EXPECT_EQ(b.malformed, 1u) << length;
    EXPECT_EQ(count_of(b.document, kWarning), 1u) << length;
    EXPECT_EQ(count_of(b.document, "<Geopol "), 2u) << length;
  }
}

}  // namespace
}  // namespace terrova
