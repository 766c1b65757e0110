// Packed identifiers and region codes.
#include "format/ident.h"

#include <gtest/gtest.h>

#include <cstring>

#include "bgl_builder.h"

namespace terrova {
namespace {

TEST(Ident, DecodesBase38AboveTheLowFiveBits) {
  const uint32_t ksea = ((((22u * 38 + 30) * 38 + 16) * 38 + 12)) << 5;
  EXPECT_EQ(decode_ident(ksea).str(), "KSEA");
  EXPECT_EQ(decode_ident(ksea | 31).str(), "KSEA");
  EXPECT_EQ(decode_ident(0).str(), "0");
  EXPECT_EQ(decode_ident(31).str(), "0");
  EXPECT_EQ(decode_ident(((12u * 38 + 0) * 38 + 1) << 5).str(), "A./");
  EXPECT_EQ(decode_ident(0xFFFFFFFFu).str().size(), 6u);
}

TEST(Ident, RawIdentifiersUseTheWholeWord) {
  EXPECT_EQ(decode_raw_ident(0).str(), "");
  EXPECT_EQ(decode_raw_ident(testkit::pack_raw_ident("ISEA")).str(), "ISEA");
  EXPECT_EQ(decode_raw_ident(0xFFFFFFFFu).str().size(), 7u);
}

TEST(Region, Values) {
  EXPECT_EQ(decode_region(848).str(), "KA");
  EXPECT_EQ(decode_region(12).str(), "A");
  EXPECT_EQ(decode_region(456).str(), "A ");
  EXPECT_EQ(decode_region(38).str(), " ");
  EXPECT_EQ(decode_region(1).str(), "AA");
  EXPECT_EQ(decode_region(1443).str(), "ZZ");
  EXPECT_EQ(decode_region(1444).str(), "AA");
  EXPECT_EQ(decode_region(2047).str(), "AA");
  EXPECT_EQ(decode_region(2048).str(), "");
  EXPECT_EQ(decode_region(0).str(), "");
  EXPECT_EQ(decode_region(2048 + 848).str(), "KA");
}

TEST(TextHelpers, ReverseAndTrim) {
  char a[] = "abcde";
  reverse_in_place(a);
  EXPECT_STREQ(a, "edcba");
  char b[] = "VOR  \t";
  trim_trailing_blanks(b);
  EXPECT_STREQ(b, "VOR");
  char c[] = "   ";
  trim_trailing_blanks(c);
  EXPECT_STREQ(c, "");
  char d[] = "";
  trim_trailing_blanks(d);
  EXPECT_STREQ(d, "");
  char e[] = "Caf\xC9";
  trim_trailing_blanks(e);
  EXPECT_STREQ(e, "Caf");
}

}  // namespace
}  // namespace terrova
