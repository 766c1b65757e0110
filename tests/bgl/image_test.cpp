// The bounds-checked view: reads inside give the little-endian values, reads outside give zero.
#include "bgl/image.h"

#include <gtest/gtest.h>

namespace terrova {
namespace {

const unsigned char kBytes[] = {0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08,
                                0x00, 0x00, 0x80, 0x3F, 'a',  'b',  0,    'c'};

TEST(Image, ReadsLittleEndianValuesAtFileOffsets) {
  Image image(kBytes, sizeof kBytes);
  EXPECT_EQ(image.u8(1), 0x02);
  EXPECT_EQ(image.u16(1), 0x0302);
  EXPECT_EQ(image.u32(3), 0x07060504u);
  EXPECT_EQ(image.i32(4), 0x08070605);
  EXPECT_EQ(image.f32(8), 1.0f);
  EXPECT_EQ(image.text(12, 100), "ab");
  EXPECT_EQ(image.text(15, 100), "c");  // no terminator before the end: cut at the end
  EXPECT_EQ(image.bytes(14, 100).size(), 2u);
}

TEST(Image, ReadsOutsideTheViewGiveZero) {
  Image image(kBytes, sizeof kBytes);
  EXPECT_EQ(image.u32(13), 0u);  // straddles the end
  EXPECT_EQ(image.u16(16), 0u);
  EXPECT_EQ(image.u8(0xFFFFFFFFu), 0u);
  EXPECT_EQ(image.u32(0xFFFFFFFFFFFFFFFEull), 0u);
  EXPECT_EQ(image.text(16, 4), "");
  EXPECT_EQ(image.bytes(20, 4).size(), 0u);
}

TEST(Image, ContainsNeverWrapsAround) {
  Image image(kBytes, sizeof kBytes);
  EXPECT_TRUE(image.contains(0, 16));
  EXPECT_TRUE(image.contains(16, 0));
  EXPECT_FALSE(image.contains(1, 16));
  EXPECT_FALSE(image.contains(8, 0xFFFFFFFFu));
  EXPECT_FALSE(image.contains(0xFFFFFFF0u, 0x20));
}

TEST(Image, NarrowedViewsStopAtTheirEnd) {
  Image image(kBytes, sizeof kBytes);
  Image record = image.narrow(4, 4);
  EXPECT_EQ(record.begin(), 4u);
  EXPECT_EQ(record.end(), 8u);
  EXPECT_EQ(record.u32(4), 0x08070605u);
  EXPECT_EQ(record.u32(5), 0u);
  EXPECT_EQ(record.u8(3), 0u);
  Image past = image.narrow(12, 100);
  EXPECT_EQ(past.end(), 16u);
  Image outside = image.narrow(40, 4);
  EXPECT_EQ(outside.size(), 0u);
}

}  // namespace
}  // namespace terrova
