// The small readers under the library readers: encodings, INI text, XML elements, JSON values
// and integers, each with the damage a configuration file can carry.
#include <gtest/gtest.h>

#include <string>

#include "library/ini_file.h"
#include "library/json_values.h"
#include "library/library_paths.h"
#include "library/reader_support.h"
#include "library/text_encoding.h"
#include "library/xml_elements.h"

namespace terrova::library {
namespace {

std::string nested_elements(int depth) {
  std::string text;
  for (int i = 0; i < depth; ++i) text += "<e>";
  return text;
}

TEST(ConfigText, EncodingsBecomeUtf8) {
  struct Case {
    std::string bytes;
    TextEncoding encoding;
    std::string text;
    bool damaged;
  };
  const Case cases[] = {
      {"Title=Caf\xE9 \x80",                               TextEncoding::kWindows1252, "Title=Caf\xC3\xA9 \xE2\x82\xAC", false                                    },
      {"Title=Caf\xC3\xA9",                                TextEncoding::kUtf8,        "Title=Caf\xC3\xA9",              false                                    },
      {"\xEF\xBB\xBFK=\xC3\xA9",                           TextEncoding::kUtf8Bom,     "K=\xC3\xA9",                     false                                    },
      {"\xEF\xBB\xBFK=\xE9",                               TextEncoding::kUtf8Bom,     "K=\xC3\xA9",                     true                                     },
      {std::string("\xFF\xFEK\0=\0\xE9\0\x3D\xD8\x00\xDE", 12),                        TextEncoding::kUtf16Le,
       "K=\xC3\xA9\xF0\x9F\x98\x80",                                                                                                                                false},
      {std::string("\xFE\xFF\0K\0=",                                                  6),                                                 TextEncoding::kUtf16Be,                              "K=", false},
      {std::string("K\0=\0",                                             4),                                                                       TextEncoding::kUtf16Le,                                                                                    "K=",                                                                               false},
 // A lone surrogate and an odd last byte.
      {std::string("\xFF\xFE\x00\xD8K\0X",                                              7),                                                                   TextEncoding::kUtf16Le,                "\xEF\xBF\xBDK\xEF\xBF\xBD",
       true},
 // Overlong and surrogate forms are no UTF-8.
      {"\xC0\xAF",                            TextEncoding::kWindows1252,"\xC3\x80\xC2\xAF",                                                                                                             false                                                                                                                                                     },
      {"\xED\xA0\x80",TextEncoding::kWindows1252,                                             "\xC3\xAD\xC2\xA0\xE2\x82\xAC",false},
  };
  for (const Case& c : cases) {
    const DecodedText d = decode_text(c.bytes);
    EXPECT_EQ(d.encoding, c.encoding) << c.text;
    EXPECT_EQ(d.text, c.text);
    EXPECT_EQ(d.damaged, c.damaged) << c.text;
  }
}

TEST(ConfigText, IniSectionsKeysAndDamage) {
  const IniFile ini = parse_ini(
      "lead=1\r\n[General]\r\n; comment\r\n  Title = FS World  \r\n[AREA.001]\rlocal=\"a\\b\"\n"
      "LOCAL=c\nnonsense\n[Area.002\nx\x01y=1\n=v\n[Area.003] tail\n");
  ASSERT_EQ(ini.sections.size(), 5u);
  EXPECT_EQ(ini.sections[0].name, "");
  EXPECT_EQ(ini.sections[1].find("title")->value, "FS World");
  EXPECT_EQ(ini.sections[2].name, "AREA.001");
  EXPECT_EQ(ini.sections[2].line, 5u);
  EXPECT_EQ(ini.sections[2].find("Local")->value, "c");  // the last of a key counts
  EXPECT_EQ(ini.sections[2].entries[0].value, "a\\b");
  EXPECT_EQ(ini.sections[3].name, "Area.002");
  EXPECT_EQ(ini.sections[4].name, "Area.003");
  const std::vector<std::string> problems = {
      "line 8: neither a [section] header nor a key=value line; passed over",
      "line 9: a section header without ']'",
      "line 10: holds control bytes; the line is passed over",
      "line 11: neither a [section] header nor a key=value line; passed over",
      "line 12: text after the section header is passed over"};
  EXPECT_EQ(ini.problems, problems);
}

TEST(ConfigText, XmlElementsAttributesAndReferences) {
  const XmlDocument doc = parse_xml(
      "<?xml version=\"1.0\"?>\n<!DOCTYPE x [<!ENTITY a \"b\">]><!-- c -->"
      "<Root a='1 &amp; 2'><Item name=\"x&#x41;&#66;&lt;&bogus;\"/>t<![CDATA[<raw>]]>"
      "<?pi?><item><Path> D:\\A </Path></item></Root>\n<!-- end -->");
  EXPECT_EQ(doc.error, "");
  EXPECT_EQ(*doc.root.attribute("A"), "1 & 2");
  ASSERT_EQ(doc.root.children.size(), 2u);
  EXPECT_EQ(*doc.root.children[0].attribute("name"), "xAB<&bogus;");
  EXPECT_EQ(doc.root.text, "t<raw>");
  EXPECT_EQ(doc.root.child("ITEM"), &doc.root.children[0]);
  EXPECT_EQ(doc.root.children[1].child_text("path"), "D:\\A");
  EXPECT_TRUE(doc.root.complete);

  struct Damaged {
    std::string text;
    std::string error;
    size_t children;  // of the root, as far as they were read
  };
  const Damaged cases[] = {
      {"<a><b/><c>",         "element <c> is not closed",   2},
      {"<a><b></a>",         "element <b> closed by </a>",  1},
      {"<a x=1/>",           "attribute x without quotes",  0},
      {"<a/><b/>",           "text after the root element", 0},
      {"",                   "no root element",             0},
      {"<a><!-- open",       "an unclosed comment",         0},
      {nested_elements(300), "elements nested too deep",    1},
  };
  for (const Damaged& c : cases) {
    const XmlDocument d = parse_xml(c.text);
    EXPECT_EQ(d.error, c.error) << c.text.substr(0, 20);
    EXPECT_EQ(d.root.children.size(), c.children) << c.text.substr(0, 20);
  }
  const XmlDocument cut = parse_xml("<a><b>1</b><c>");
  EXPECT_TRUE(cut.root.children[0].complete);
  EXPECT_FALSE(cut.root.children[1].complete);
}

TEST(ConfigText, JsonValuesEscapesAndDamage) {
  const JsonDocument doc = parse_json(
      " {\"content\": [{\"path\": \"a\\\\b\\u00e9\\ud83d\\ude00\\/\", \"size\": -1.5e3, "
      "\"x\": [true, false, null, {}, []]}]} ");
  EXPECT_EQ(doc.error, "");
  const JsonValue* content = doc.root.member("content");
  ASSERT_NE(content, nullptr);
  ASSERT_EQ(content->items.size(), 1u);
  EXPECT_EQ(content->items[0].member("path")->text, "a\\b\xC3\xA9\xF0\x9F\x98\x80/");
  EXPECT_EQ(content->items[0].member("size")->text, "-1.5e3");
  EXPECT_EQ(content->items[0].member("x")->items.size(), 5u);
  EXPECT_EQ(doc.root.member("Content"), nullptr);

  // A file cut short keeps the entries before the cut.
  const JsonDocument cut = parse_json("{\"content\": [{\"path\": \"a.bgl\"}, {\"path\": \"b.");
  EXPECT_EQ(cut.error, "an unclosed string");
  EXPECT_EQ(cut.root.member("content")->items.size(), 2u);
  EXPECT_EQ(cut.root.member("content")->items[0].member("path")->text, "a.bgl");
  const std::pair<std::string, std::string> damaged[] = {
      {"{\"a\" 1}",     "':' is missing after a name"      },
      {"[1 2]",         "',' or ']' is missing in an array"},
      {"[\"\\q\"]",     "a bad escape in a string"         },
      {"[\"\\u12",      "a cut-short \\u escape"           },
      {"[\"\\u12\"]",   "a bad \\u escape"                 },
      {"[tru]",         "an unknown word"                  },
      {"{} x",          "text after the value"             },
      {std::string(200, '['),                                "arrays nested too deep"},
      {"\"a\x01\"",               "a control byte in a string"                                       },
  };
  for (const auto& [text, error] : damaged) EXPECT_EQ(parse_json(text).error, error) << text;
}

TEST(ConfigText, IntegersAndNames) {
  int64_t v = 0;
  EXPECT_TRUE(parse_integer(" 106 ", v));
  EXPECT_EQ(v, 106);
  EXPECT_TRUE(parse_integer("-9223372036854775808", v));
  EXPECT_EQ(v, INT64_MIN);
  EXPECT_TRUE(parse_integer("+9223372036854775807", v));
  EXPECT_EQ(v, INT64_MAX);
  for (const char* bad : {"", "-", "9223372036854775808", "12a", "1 2", "0x10"}) {
    EXPECT_FALSE(parse_integer(bad, v)) << bad;
  }
  EXPECT_TRUE(name_less("alpha.bgl", "Beta.bgl"));
  EXPECT_TRUE(name_less("A.bgl", "a.bgl"));  // equal but for case: byte order
  EXPECT_FALSE(name_less("a.bgl", "A.bgl"));
  EXPECT_TRUE(name_less("x.bgl", "x_b.bgl"));
  EXPECT_EQ(split_path("\\Addon Scenery\\.\\\\x/y\\"),
            (std::vector<std::string>{"Addon Scenery", "x", "y"}));
  EXPECT_EQ(parent_folder("scenery.cfg"), ".");
  EXPECT_EQ(parent_folder("/scenery.cfg"), "/");
  EXPECT_EQ(parent_folder("a/b/scenery.cfg"), "a/b");
}

}  // namespace
}  // namespace terrova::library
