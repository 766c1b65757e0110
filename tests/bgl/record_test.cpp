// Records: reads relative to the record start that never leave it, and the one walk that builds
// records, checks them once and ends at damage with the warning comment.
#include "bgl/record.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace terrova {
namespace {

// Two sub-records inside a parent: id 0x11 with 8 bytes, id 0x22 with 10 bytes, then 2 bytes of
// the next structure.
const unsigned char kFile[] = {
    0xEE, 0xEE,                                                  // bytes before the parent
    0x11, 0x00, 0x08, 0x00, 0x00, 0x00, 0xAA, 0xBB,              // record 1
    0x22, 0x00, 0x0A, 0x00, 0x00, 0x00, 'h',  'i',  0x00, 0x7F,  // record 2
    0x99, 0x99,                                                  // the neighbour
};

struct Walked {
  std::string document;
  std::vector<uint16_t> ids;
  std::vector<uint32_t> offsets;
  uint32_t malformed = 0;
};

Walked walk_all(const Image& parent, uint64_t from, uint32_t min_size = 6) {
  Walked w;
  Output out(drain_to_string, &w.document, false);
  SharedTables tables;
  DecodeContext ctx(parent, DecodeOptions{}, out, tables);
  RecordWalk walk(ctx, parent, from);
  Record r;
  while (walk.next(r, min_size)) {
    w.ids.push_back(r.id());
    w.offsets.push_back(r.offset());
  }
  out.flush();
  w.malformed = ctx.malformed_count;
  return w;
}

TEST(Record, ReadsAreRelativeToTheRecordAndStopAtItsEnd) {
  const Image image(kFile, sizeof kFile);
  const Record r(image, 10, 10);
  EXPECT_EQ(r.id(), 0x22);
  EXPECT_EQ(r.size(), 10u);
  EXPECT_EQ(r.offset(), 10u);
  EXPECT_EQ(r.file_offset(6), 16u);
  EXPECT_EQ(r.u32(2), 10u);
  EXPECT_EQ(r.text(6, 100), "hi");
  EXPECT_EQ(r.u8(9), 0x7F);
  // The neighbour's bytes are in the file but not in the record: reads give zero.
  EXPECT_EQ(r.u8(10), 0u);
  EXPECT_EQ(r.u16(9), 0u);
  EXPECT_EQ(r.u32(8), 0u);
  EXPECT_EQ(r.bytes(8, 100).size(), 2u);
  EXPECT_TRUE(r.holds(6, 4));
  EXPECT_FALSE(r.holds(6, 5));
  EXPECT_FALSE(r.holds(0xFFFFFFFFFFFFFFF0ull, 0x20));
}

TEST(Record, APartKeepsTheIdAndIsCutAtTheRecordEnd) {
  const Image image(kFile, sizeof kFile);
  const Record r(image, 10, 10);
  const Record tail = r.part(6, 100);
  EXPECT_EQ(tail.id(), 0x22);
  EXPECT_EQ(tail.offset(), 16u);
  EXPECT_EQ(tail.size(), 4u);
  EXPECT_EQ(tail.u8(0), 'h');
  EXPECT_EQ(tail.u8(4), 0u);  // the neighbour again
}

TEST(RecordWalk, BuildsEachRecordAndAdvancesByItsSize) {
  const Image image(kFile, sizeof kFile);
  const Walked w = walk_all(image.narrow(2, 18), 2);
  EXPECT_EQ(w.ids, (std::vector<uint16_t>{0x11, 0x22}));
  EXPECT_EQ(w.offsets, (std::vector<uint32_t>{2, 10}));
  EXPECT_EQ(w.malformed, 0u);
  EXPECT_EQ(w.document, "");
}

TEST(RecordWalk, ARecordPastItsParentEndsTheWalkWithOneWarning) {
  const Image image(kFile, sizeof kFile);
  // The parent ends two bytes into the second record.
  const Walked w = walk_all(image.narrow(2, 10), 2);
  EXPECT_EQ(w.ids, (std::vector<uint16_t>{0x11}));
  EXPECT_EQ(w.malformed, 1u);
  EXPECT_EQ(w.document, "<!-- WARNING: malformed data at offset 0x0000000A -->\n");
}

TEST(RecordWalk, SizesBelowTheHeaderOrTheRowEndTheWalk) {
  unsigned char zero_size[sizeof kFile];
  std::copy(std::begin(kFile), std::end(kFile), zero_size);
  zero_size[12] = 0;  // the second record's size
  const Image image(zero_size, sizeof zero_size);
  Walked w = walk_all(image.narrow(2, 18), 2);
  EXPECT_EQ(w.ids.size(), 1u);
  EXPECT_EQ(w.malformed, 1u);
  // A smallest size of 9 refuses the first record (8 bytes) already.
  w = walk_all(Image(kFile, sizeof kFile).narrow(2, 18), 2, 9);
  EXPECT_TRUE(w.ids.empty());
  EXPECT_EQ(w.malformed, 1u);
}

TEST(RecordWalk, PeekAndSixteenBitSizes) {
  // Scenery objects carry a u16 size at +2 and have a 4-byte header.
  const unsigned char objects[] = {0x05, 0x00, 0x06, 0x00, 1, 2, 0x07, 0x00, 0x04, 0x00};
  const Image image(objects, sizeof objects);
  std::string document;
  Output out(drain_to_string, &document, false);
  SharedTables tables;
  DecodeContext ctx(image, DecodeOptions{}, out, tables);
  RecordWalk walk(ctx, image, 0, SizeField::kU16);
  uint16_t id = 0;
  Record r;
  ASSERT_TRUE(walk.peek_id(id));
  EXPECT_EQ(id, 5);
  ASSERT_TRUE(walk.next(r, 4));
  EXPECT_EQ(r.size(), 6u);
  ASSERT_TRUE(walk.next(r, 4));
  EXPECT_EQ(r.id(), 7);
  EXPECT_FALSE(walk.more());
  EXPECT_FALSE(walk.peek_id(id));
}

TEST(RecordAt, ChecksARecordFoundThroughAnIndex) {
  const Image image(kFile, sizeof kFile);
  std::string document;
  Output out(drain_to_string, &document, false);
  SharedTables tables;
  DecodeContext ctx(image, DecodeOptions{}, out, tables);
  Record r;
  EXPECT_TRUE(record_at(ctx, image, 10, 10, 6, r));
  EXPECT_EQ(r.id(), 0x22);
  EXPECT_FALSE(record_at(ctx, image, 10, 100, 6, r));  // past the file
  EXPECT_FALSE(record_at(ctx, image, 10, 10, 12, r));  // smaller than its decoder reads
  EXPECT_EQ(ctx.malformed_count, 2u);
}

}  // namespace
}  // namespace terrova
