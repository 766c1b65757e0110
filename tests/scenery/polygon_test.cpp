// MSFS polygon blocks (section 101): attributes in the editor's order, packed and compressed
// vertices, rectangles with their deformations and height maps, the older terrain vectors left
// alone and damaged blocks.
#include <gtest/gtest.h>

#include <limits>

#include "golden.h"
#include "polygon_records.h"

namespace terrova {
namespace {

using namespace testkit;

constexpr uint32_t kCell = 0x831076;  // the level-9 cell of 44.05 N 101.60 W
constexpr const char* kScale = "{6A043F59-E6F2-4117-A2E4-D510E7317C29}";
constexpr const char* kHeightmap = "{B7DCEA33-BD4B-4B3C-B4E2-8ECB145CB629}";
const Bytes kTriangle =
    packed_points(false,
                  {
                      {16728, 19656},
                      {16712, 19687},
                      {16662, 19648},
                      {16728, 19656}
},
                  15);
// A ring whose changes of step run from zero (two vertices on a line) to eight bits.
const std::vector<std::pair<uint32_t, uint32_t>> kRing = {
    {16728, 19656},
    {16712, 19687},
    {16696, 19718},
    {16680, 19749},
    {16600, 19760},
    {16590, 19600},
    {16700, 19610},
    {16728, 19656}
};

std::vector<uint8_t> file_of(const Bytes& block, uint32_t record_count = 1) {
  BglBuilder bgl;
  bgl.section(0x65).add(block, record_count, kCell);
  return bgl.build();
}

TEST(Polygons, Golden) {
  PolygonBlockBuilder p;
  // Stored out of the editor's order, with attributes the table does not name.
  const uint32_t density = p.attribute("{41EFF715-C392-4B31-A457-50A504353A90}", Bytes().u32(31));
  const uint32_t text =
      p.attribute("{CE85242F-4110-4706-8344-1F3A8EE422BE}", Bytes().cstr("0.3.0"));
  const uint32_t scale = p.attribute(kScale, Bytes().u32(116));
  const uint32_t odd = p.attribute("{00000001-0002-0003-0405-060708090A0B}", Bytes().u16(1).u8(3));
  p.entry(3, {density, text, scale, odd}, 4, Bytes().raw(kTriangle).f32(672.1f));
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const std::vector<uint32_t> rectangle = {
      p.attribute("{302AC02A-007B-493D-A1B8-4E7A408304BF}",
                  Bytes().f32(315.5f).f32(0).f32(nan).f32(nan).f32(316).f32(1).f32(nan).f32(nan)),
      p.attribute(kHeightmap, Bytes().u16(2).u16(1).f32(100).f32(101).u16(0).u16(32767)),
      p.attribute("{9E2B4C3E-7D84-453F-9DCC-B6498FF46703}", Bytes().u32(12)),
      p.attribute("{99312E49-88B1-470E-BD06-CA3A6A8C53CF}", Bytes().f32(16.77f)),
      p.attribute("{5548FDB5-2267-4328-8E6F-FD0A45ADEC8F}", Bytes().f32(1)),
      p.attribute("{1B6A15BB-05FB-4401-A8D1-BB520E84904C}",
                  guid_value("{47D48287-3ADE-4FC5-8BEC-B6B36901E612}")),
      p.attribute("{4D2A51D4-91AC-412F-833E-212CC10E5FBC}", Bytes().u8(1))};
  p.entry(2, rectangle, 2,
          packed_points(true,
                        {
                            {100,  200},
                            {4000, 300}
  },
                        13)
              .f32(41.5f)
              .f32(42));
  p.entry(2,
          {
              scale
  },
          3, packed_points(true, {{1, 2}, {3, 4}, {5, 6}}, 4).f32(1).f32(2).f32(3));
  p.entry(3,
          {
              scale
  },
          3, packed_points(false, {{1, 2}, {3, 4}, {5, 6}}, 4).f32(7));  // open ring
  const Bytes compressed = Bytes().u32(16728).u32(19656).i32(-16).i32(31).u32(2).u16(0x530c);
  p.entry(3, {scale}, 7, Bytes().u8(2).u8(1).raw(compressed).f32(105.5f));  // too short: a dump
  p.entry(3, {scale}, static_cast<uint32_t>(kRing.size()),
          compressed_points(false, kRing).f32(106.5f));
  expect_golden_styles(file_of(p.build(kCell)), "scenery/golden/polygons");
  // Record count 0: a file of polygons alone is told from the terrain vectors of the older
  // simulators, which keep their comments alone, by the attributes it names.
  EXPECT_NE(decode(file_of(p.build(kCell), 0)).document.find("<Polygon"), std::string::npos);
  PolygonBlockBuilder older;
  older.attribute("{91CB4A9B-9398-48E6-81DA-70AEA3295914}", Bytes());
  older.attribute("{359C73E8-06BE-4FB2-ABCB-EC942F7761D0}", Bytes());  // no GUID value
  older.entry(3, {0}, 4, Bytes().raw(kTriangle).f32(1));
  EXPECT_EQ(decode(file_of(older.build(kCell), 0)).document.find("<Polygon"), std::string::npos);
}

TEST(Polygons, DamagedBlocks) {
  const auto decoded = [](const Bytes& block) { return decode(file_of(block), switches("t")); };
  PolygonBlockBuilder two;
  const uint32_t scale = two.attribute(kScale, Bytes().u32(1));
  two.entry(3, {scale}, 4, Bytes().raw(kTriangle).f32(1));
  two.entry(3, {scale, 4000}, 4, Bytes().raw(kTriangle).f32(2));
  // A reference outside the pool loses its attribute alone.
  Decoded d = decoded(two.build(kCell));
  EXPECT_EQ(d.malformed, 1u);
  EXPECT_EQ(d.document.find("</Polygon>", d.document.rfind("VegetationScale")),
            d.document.rfind("</Polygon>"));
  // An entry count past the entries keeps those that are there.
  d = decoded(two.build(kCell, 3));
  EXPECT_EQ(d.malformed, 2u);
  EXPECT_NE(d.document.find("altitude=\"2.00\""), std::string::npos);
  // A pool that reaches past the block, and a block shorter than its header, write nothing.
  Bytes pool_past = two.build(kCell);
  pool_past.put_u32(16, 100000);
  for (const Bytes& block : {pool_past, Bytes().u32(6).u32(kCell)}) {
    d = decoded(block);
    EXPECT_EQ(d.malformed, 1u);
    EXPECT_EQ(d.document.find("<Polygon"), std::string::npos);
  }
  // A compressed stream that does not decode to its vertex count within its length is a dump:
  // fewer vertices than it holds, a length cut short, a first byte of unknown bits, a count far
  // past what the bytes can hold. (One vertex more can be what the bytes say: a last change of
  // zero takes no bits where the last run already passes it.)
  const Bytes ring = compressed_points(false, kRing);
  const auto count = static_cast<uint32_t>(kRing.size());
  constexpr size_t kLengthAt = 2 + 16;
  Bytes cut = ring;
  cut.put_u32(kLengthAt, static_cast<uint32_t>(ring.size() - kLengthAt - 5));
  Bytes head = ring;
  head.data[kLengthAt + 4] |= 1;
  for (const auto& [points, vertices] : std::vector<std::pair<Bytes, uint32_t>>{
           {ring, count - 1 },
           {cut,  count     },
           {head, count     },
           {ring, 0x40000000}
  }) {
    PolygonBlockBuilder bad;
    bad.entry(3, {}, vertices, Bytes(points).f32(1));
    d = decoded(bad.build(kCell));
    EXPECT_NE(d.document.find("vertices in the compressed form, not decoded"), std::string::npos);
    EXPECT_EQ(d.document.find("<Vertex"), std::string::npos);
  }
  // A height map of more rows than its value holds writes the heights it has.
  PolygonBlockBuilder map;
  const uint32_t rows = map.attribute(kHeightmap, Bytes().u16(2).u16(9).f32(0).f32(1).u16(32767));
  map.entry(2,
            {
                rows
  },
            2, packed_points(true, {{1, 2}, {3, 4}}, 4).f32(1).f32(2));
  d = decoded(map.build(kCell));
  EXPECT_EQ(d.malformed, 1u);
  EXPECT_NE(d.document.find("<Heightmap width=\"2\" data=\"1.000000\"/>"), std::string::npos);
}

}  // namespace
}  // namespace terrova
