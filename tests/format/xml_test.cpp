// Escaped names, hexadecimal dumps and record comments.
#include "format/xml.h"

#include <gtest/gtest.h>

#include <string>

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

TEST(QuotedUtf8Text, CharactersAsTheyAreOnlyWhenWellFormed) {
  auto quoted = [](std::string_view text) {
    return written([text](Output& o) { write_quoted_utf8_text(o, text); });
  };
  EXPECT_EQ(quoted("N\xC3\xBCrnberg <&>\t\xF0\x9F\x9B\xAB"),
            "\"N\xC3\xBCrnberg &lt;&amp;&gt;&#x09;\xF0\x9F\x9B\xAB\"");
  // A lone byte, an overlong form, a surrogate, U+FFFF: all Windows-1252 text then.
  EXPECT_EQ(quoted("Caf\xE9\xC3"), "\"Caf&#xE9;&#xC3;\"");
  EXPECT_EQ(quoted("\xC0\xAF"), "\"&#xC0;&#xAF;\"");
  EXPECT_EQ(quoted("\xED\xA0\x80\xEF\xBF\xBF"), "\"&#xED;&#xA0;&#x80;&#xEF;&#xBF;&#xBF;\"");
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

// Every byte value, alone and in a run with its neighbours, through every writer that takes
// file text, placed where the decoders place it, gives a well-formed document.
TEST(FileText, EveryByteGivesWellFormedXml) {
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  std::string texts[257];
  for (int b = 0; b < 256; ++b) texts[b] = std::string(1, static_cast<char>(b));
  texts[256] = all;
  for (const std::string& text : texts) {
    const std::string document = written([&](Output& o) {
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
