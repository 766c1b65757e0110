// Escaped names, hexadecimal dumps and record comments.
#include "format/xml.h"

#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <utility>

#include "xml_check.h"

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
  // Control bytes other than tab, line feed and carriage return have no reference in XML.
  EXPECT_EQ(written([](Output& o) { write_quoted_text(o, std::string_view("a\0b\x06\x1F", 5)); }),
            "\"a&#xFFFD;b&#xFFFD;&#xFFFD;\"");
  EXPECT_EQ(written([](Output& o) { write_quoted_text(o, "\t\n\r\x0B\x0C"); }),
            "\"&#x09;&#x0A;&#x0D;&#xFFFD;&#xFFFD;\"");
  EXPECT_EQ(written([](Output& o) { write_quoted_text(o, "\x80\x9D\xFF"); }),
            "\"&#x80;&#x9D;&#xFF;\"");
}

TEST(EscapedText, MarkupEscapedAndWindows1252InUtf8) {
  EXPECT_EQ(written([](Output& o) { write_escaped_text(o, "A&B<C>\"`"); }),
            "A&amp;B&lt;C&gt;&quot;&#x60;");
  EXPECT_EQ(written([](Output& o) { write_escaped_text(o, "Z\xFCrich \x80\x81\x9F\xA0"); }),
            "Z\xC3\xBCrich \xE2\x82\xAC\xC2\x81\xC5\xB8\xC2\xA0");
  EXPECT_EQ(written([](Output& o) { write_escaped_text(o, std::string_view("\0\t\x01", 3)); }),
            "&#xFFFD;&#x09;&#xFFFD;");
}

TEST(PlainText, AsItStandsInUtf8) {
  EXPECT_EQ(written([](Output& o) { write_plain_text(o, "abc 12\t\n\r"); }), "abc 12\t\n\r");
  EXPECT_EQ(written([](Output& o) { write_plain_text(o, "a\x0B\x0C\xE9<&>\"`"); }),
            "a\xEF\xBF\xBD\xEF\xBF\xBD\xC3\xA9&lt;&amp;&gt;&quot;`");
  EXPECT_EQ(utf8_from_windows_1252(std::string_view("\x8A\x01-", 3)), "\xC5\xA0\xEF\xBF\xBD-");
}

// UTF-8 text: valid sequences stand as they are (as references in quoted text); a byte that does
// not begin one is its Windows-1252 character, and the sequence after it is read again.
TEST(Utf8Text, ValidSequencesKeptInvalidBytesReadAsWindows1252) {
  constexpr TextEncoding kUtf8 = TextEncoding::kUtf8;
  const std::string_view valid = "Cambr\xC3\xA9sis \xE2\x80\x93 \xF0\x9F\x98\x80 \xC2\x85";
  EXPECT_EQ(written([&](Output& o) { write_escaped_text(o, valid, kUtf8); }), valid);
  EXPECT_EQ(written([&](Output& o) { write_quoted_text(o, valid, kUtf8); }),
            "\"Cambr&#xE9;sis &#x2013; &#x1F600; &#x85;\"");
  EXPECT_EQ(written([&](Output& o) { write_quoted_text(o, "<\"\xC3\xA9\">&", kUtf8); }),
            "\"&lt;&quot;&#xE9;&quot;&gt;&amp;\"");
  // A lone continuation byte, an overlong form, a surrogate, a lead past U+10FFFF, a sequence cut
  // short by the next character and one cut short by the end of the text.
  const std::string_view invalid =
      "\x80 \xC0\xAF \xED\xA0\x80 \xF5\x80 \xE2\x82"
      "A \xC3";
  EXPECT_EQ(written([&](Output& o) { write_plain_text(o, invalid, kUtf8); }),
            "\xE2\x82\xAC \xC3\x80\xC2\xAF \xC3\xAD\xC2\xA0\xE2\x82\xAC \xC3\xB5\xE2\x82\xAC "
            "\xC3\xA2\xE2\x80\x9A"
            "A \xC3\x83");
  EXPECT_EQ(written([&](Output& o) { write_quoted_text(o, invalid, kUtf8); }),
            "\"&#x20AC; &#xC0;&#xAF; &#xED;&#xA0;&#x20AC; &#xF5;&#x20AC; &#xE2;&#x201A;A &#xC3;\"");
  // U+FFFE and U+FFFF are no XML characters; "--" is kept out of comments as before. Without an
  // encoding given, the sink's is taken.
  EXPECT_EQ(written([&](Output& o) { write_comment_text(o, "-\xC3\xA9--\xEF\xBF\xBF-", kUtf8); }),
            "-\xC3\xA9- -\xEF\xBF\xBD- ");
  EXPECT_EQ(written([](Output& o) {
              o.set_text_encoding(TextEncoding::kUtf8);
              write_quoted_text(o, "\xEF\xBF\xBE\xC3\xA9");
              write_escaped_text(o, "\xC3\xA9\xE9");
            }),
            "\"&#xFFFD;&#xE9;\"\xC3\xA9\xC3\xA9");
}

// Every byte value, alone and in a run with its neighbours, through every writer that takes
// file text, placed where the decoders place it, gives a well-formed document.
TEST(FileText, EveryByteGivesWellFormedXml) {
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  std::string texts[257];
  for (int b = 0; b < 256; ++b) texts[b] = std::string(1, static_cast<char>(b));
  texts[256] = all;
  // Each text is written as Windows-1252 text and as UTF-8 text.
  for (size_t n = 0; n < 2 * std::size(texts); ++n) {
    const std::string& text = texts[n / 2];
    const std::string document = written([&](Output& o) {
      if (n % 2 == 1) o.set_text_encoding(TextEncoding::kUtf8);
      o.write("<R a=");
      write_quoted_text(o, text);
      o.write(" b=\"");
      write_escaped_text(o, text);
      o.write("\" c=\"");
      write_plain_text(o, text);
      o.write("\">");
      write_plain_text(o, text);
      o.write("<!--");
      write_comment_text(o, text);
      o.write("--><!-- ");
      write_comment_text(o, text + "-");
      o.write("--></R>");
    });
    EXPECT_EQ(testkit::xml_problem(document), "")
        << "byte " << static_cast<int>(static_cast<unsigned char>(text[0])) << " size "
        << text.size();
  }
}

// Plain ASCII is written byte for byte by the writers that write text as it stands.
TEST(FileText, PrintableAsciiUnchangedAsItStands) {
  std::string printable;
  for (int b = 0x20; b < 0x7F; ++b) {
    if (b != '<' && b != '>' && b != '&' && b != '"' && b != '-') printable += static_cast<char>(b);
  }
  EXPECT_EQ(written([&](Output& o) { write_plain_text(o, printable); }), printable);
  EXPECT_EQ(written([&](Output& o) { write_comment_text(o, printable); }), printable);
}

TEST(CommentText, NeverEndsTheCommentEarly) {
  EXPECT_EQ(written([](Output& o) { write_comment_text(o, "a--b"); }), "a- -b");
  EXPECT_EQ(written([](Output& o) { write_comment_text(o, "a---"); }), "a- - - ");
  EXPECT_EQ(written([](Output& o) { write_comment_text(o, "x-"); }), "x- ");
  EXPECT_EQ(written([](Output& o) { write_comment_text(o, "a-b"); }), "a-b");
  EXPECT_EQ(written([](Output& o) { write_comment_text(o, "-\xE9-"); }), "-\xC3\xA9- ");
  EXPECT_EQ(written([](Output& o) { write_comment_text(o, "<&>\"\t\x02"); }),
            "<&>\"\t\xEF\xBF\xBD");
}

TEST(XmlCheck, RejectsWhatXmlForbids) {
  using testkit::xml_problem;
  EXPECT_EQ(xml_problem("<a b=\"&#x9;&#233;\">\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80</a>"), "");
  EXPECT_NE(xml_problem("<a>\xFC</a>"), "");           // not UTF-8
  EXPECT_NE(xml_problem("<a>\xC3</a>"), "");           // cut short
  EXPECT_NE(xml_problem("<a>\xC0\xAF</a>"), "");       // overlong
  EXPECT_NE(xml_problem("<a>\xED\xA0\x80</a>"), "");   // surrogate
  EXPECT_NE(xml_problem("<a>\xEF\xBF\xBE</a>"), "");   // U+FFFE
  EXPECT_NE(xml_problem("<a>\x06</a>"), "");           // raw control
  EXPECT_NE(xml_problem("<a><!-- \x1F --></a>"), "");  // raw control in a comment
  EXPECT_NE(xml_problem("<a b=\"&#x06;\"/>"), "");     // reference to a control
  EXPECT_NE(xml_problem("<a>&#0;</a>"), "");
  EXPECT_NE(xml_problem("<a>&#xD800;</a>"), "");
  EXPECT_NE(xml_problem("<a>&#x110000;</a>"), "");
  EXPECT_NE(xml_problem("<a><!-- a -- b --></a>"), "");
  EXPECT_NE(xml_problem("<a><!-- a ---></a>"), "");
  EXPECT_NE(xml_problem("<a>]]></a>"), "");
  EXPECT_NE(xml_problem("<a b=\"<\"/>"), "");
  EXPECT_NE(xml_problem("<a>&bogus;</a>"), "");
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
