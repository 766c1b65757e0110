// The names file parser: line ends, comments, blanks, the key order of the GUID groups, the
// first line for a GUID winning, and the lines that are skipped.
#include "scenery/object_names.h"

#include <gtest/gtest.h>

#include <string>

namespace terrova {
namespace {

constexpr const char* kKey = "6d3b5f0e4b8e1c2a3412009fab907856";

StringTable parse(std::string_view text) {
  StringTable names = make_object_name_table();
  parse_object_names(text, names);
  return names;
}

std::string name_of(const StringTable& names, std::string_view key) {
  int index = 0;
  return table_find(names, key, index) ? names[index].name : "<none>";
}

TEST(ObjectNames, KeyTakesTheGroupsInRecordOrder) {
  StringTable names = parse("Hangar_A {6D3B5F0E-1C2A-4B8E-9F00-1234567890AB}");
  ASSERT_EQ(names.count(), 1);
  EXPECT_EQ(names[0].key, kKey);
  EXPECT_EQ(names[0].name, "Hangar_A");
}

TEST(ObjectNames, BlanksAroundNameAndGuidAreTrimmed) {
  StringTable names = parse("  Hangar_A \t { 6d3b5f0e-1c2a-4b8e-9f00-1234567890ab } ; big hangar");
  EXPECT_EQ(name_of(names, kKey), "Hangar_A");
  // A name keeps its case and inner blanks, and loses a trailing byte above 0x7F.
  names = parse("Big Hangar B\xA0{6D3B5F0E-1C2A-4B8E-9F00-1234567890AB}");
  EXPECT_EQ(name_of(names, kKey), "Big Hangar B");
  names = parse("Caf\xE9 X{6D3B5F0E-1C2A-4B8E-9F00-1234567890AB}");
  EXPECT_EQ(name_of(names, kKey), "Caf\xE9 X");
}

TEST(ObjectNames, EveryLineEndAndCommentsAndBlankLines) {
  const std::string text =
      "; header comment {6D3B5F0E-1C2A-4B8E-9F00-1234567890AB}\r\n"
      "\r\n"
      "A {00000001-0000-0000-0000-000000000000}\r\n"
      "B {00000002-0000-0000-0000-000000000000}\n"
      "\n\n"
      "C {00000003-0000-0000-0000-000000000000}\r"
      "D {00000004-0000-0000-0000-000000000000}";  // no line end at the end of the file
  StringTable names = parse(text);
  ASSERT_EQ(names.count(), 4);
  EXPECT_EQ(name_of(names, "00000001000000000000000000000000"), "A");
  EXPECT_EQ(name_of(names, "00000002000000000000000000000000"), "B");
  EXPECT_EQ(name_of(names, "00000003000000000000000000000000"), "C");
  EXPECT_EQ(name_of(names, "00000004000000000000000000000000"), "D");
}

TEST(ObjectNames, FirstLineForAGuidWins) {
  StringTable names = parse(
      "First {6D3B5F0E-1C2A-4B8E-9F00-1234567890AB}\n"
      "Second {6d3b5f0e-1c2a-4b8e-9f00-1234567890ab}\n");
  ASSERT_EQ(names.count(), 1);
  EXPECT_EQ(names[0].name, "First");
}

TEST(ObjectNames, LinesThatCannotBeReadAreSkipped) {
  using namespace std::string_literals;
  StringTable names = parse(
      "no brace at all\n"
      "{6D3B5F0E-1C2A-4B8E-9F00-1234567890AB}\n"           // no name
      "   \t{6D3B5F0E-1C2A-4B8E-9F00-1234567890AB}\n"      // only blanks before the brace
      "Short {6D3B5F0E-1C2A-4B8E-9F00-1234567890A}\n"      // 35 characters
      "Cut;name {6D3B5F0E-1C2A-4B8E-9F00-1234567890AB}\n"  // ';' ends the data first
      "Empty {}\n"
      "Open {6D3B5F0E-1C2A\n"
      "Zero\0X {6D3B5F0E-1C2A-4B8E-9F00-1234567890AB}\n"s);  // a zero byte ends the line
  EXPECT_EQ(names.count(), 0);
  // A GUID text without its closing brace is read to the end of the line.
  names = parse("Unclosed {6D3B5F0E-1C2A-4B8E-9F00-1234567890AB");
  EXPECT_EQ(name_of(names, kKey), "Unclosed");
}

}  // namespace
}  // namespace terrova
