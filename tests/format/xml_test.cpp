// Escaped names, hexadecimal dumps and record comments.
#include "format/xml.h"

#include <gtest/gtest.h>

namespace terrova {
namespace {

template <class F>
std::string written(F f) {
  std::string s;
  Output out(drain_to_string, &s, false);
  f(out);
  out.flush();
  return s;
}

TEST(QuotedText, Escapes) {
  EXPECT_EQ(written([](Output& o) { write_quoted_text(o, "A<B"); }), "\"A&lt;B\"");
  EXPECT_EQ(written([](Output& o) { write_quoted_text(o, "a>b"); }), "\"a&gt;b\"");
  EXPECT_EQ(written([](Output& o) { write_quoted_text(o, "R&D \"x\""); }),
            "\"R&amp;D &quot;x&quot;\"");
  EXPECT_EQ(written([](Output& o) { write_quoted_text(o, "Caf\xC9"); }), "\"Caf&#xC9;\"");
  EXPECT_EQ(written([](Output& o) { write_quoted_text(o, "a\tb`c\x7F"); }),
            "\"a&#x09;b&#x60;c\x7F\"");
  EXPECT_EQ(written([](Output& o) { write_quoted_text(o, ""); }), "\"\"");
  EXPECT_EQ(written([](Output& o) { write_quoted_text(o, std::string_view("a\0b", 3)); }),
            "\"a&#x00;b\"");
  EXPECT_EQ(written([](Output& o) { write_escaped_text(o, "A&B"); }), "A&amp;B");
}

TEST(CommentText, NeverEndsTheCommentEarly) {
  EXPECT_EQ(written([](Output& o) { write_comment_text(o, "a--b"); }), "a- -b");
  EXPECT_EQ(written([](Output& o) { write_comment_text(o, "a---"); }), "a- - - ");
  EXPECT_EQ(written([](Output& o) { write_comment_text(o, "x-"); }), "x- ");
  EXPECT_EQ(written([](Output& o) { write_comment_text(o, "a-b"); }), "a-b");
}

TEST(HexDump, SixteenBytesALineWithAGapAfterTheEighth) {
  unsigned char bytes[17];
  for (int i = 0; i < 17; ++i) bytes[i] = static_cast<unsigned char>(i * 16 + 1);
  Image image(bytes, sizeof bytes);
  EXPECT_EQ(written([&](Output& o) { write_hex_dump(o, image, 0, 17); }),
            "\t\t<!--\n\t\t\t01 11 21 31 41 51 61 71  81 91 A1 B1 C1 D1 E1 F1 "
            "\n\t\t\t01 \n\t\t-->\n\n");
  EXPECT_EQ(written([&](Output& o) { write_hex_dump(o, image, 0, 0); }), "\t\t<!--\n\t\t-->\n\n");
  // Only bytes inside the image are shown.
  EXPECT_EQ(written([&](Output& o) { write_hex_dump(o, image, 15, 100); }),
            "\t\t<!--\n\t\t\tF1 01 \n\t\t-->\n\n");
}

TEST(RecordComment, OffsetInHexAndDecimal) {
  EXPECT_EQ(written([](Output& o) { write_record_comment(o, "NDB", 4660); }),
            "\n\t<!-- NDB, offset 0x00001234 (4660) -->\n");
  EXPECT_EQ(written([](Output& o) {
              write_record_comment_f(o, 16, "dumping unknown record (0x%x), len: %d", 0x99u, 20u);
            }),
            "\n\t<!-- dumping unknown record (0x99), len: 20, offset 0x00000010 (16) -->\n");
}

}  // namespace
}  // namespace terrova
