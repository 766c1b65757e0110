// MSFS 2020 airports made by scenery authors outside the project: no record of a kind whose layout
// is known is dumped, the undamaged files give no malformed-data warning, and every document
// validates against the MSFS compiler's schema, except where a code whose name is unknown is
// written as its number. The files are read from the shared folder beside the checkout; the test
// is skipped when it is absent.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <string>
#include <vector>

#include "golden.h"
#include "sample_files.h"

namespace terrova {
namespace {

namespace fs = std::filesystem;
using testkit::command_lines;
using testkit::read_file;

// Airport sub-record ids whose layout is known: none may be dumped.
constexpr const char* kKnownIds[] = {"0x11", "0x12", "0x19", "0x1a", "0x1d", "0x24", "0x26",
                                     "0x31", "0x33", "0x42", "0x48", "0x66", "0xce", "0xcf",
                                     "0xd3", "0xd4", "0xd8", "0xd9", "0xdb", "0xde", "0xe7"};
// Malformed-data warnings each file gives: none, the navaid deletions of OS73 included.
struct Expected {
  const char* file;
  uint32_t malformed;
};
constexpr Expected kExpected[] = {
    {"edds__EDDS.bgl",                 0},
    {"edds__EDDS-SHAPE.bgl",           0},
    {"llfk__OS73.bgl",                 0},
    {"zbad__zbad-airport_cba3f42.bgl", 0},
    {"2mt1__2MT1.bgl",                 0}, // polygons of both vertex forms
    {"klal__KLAL.bgl",                 0}, // rectangles with `precision`
    {"enbl__enbl-airport.bgl",         0}, // height maps, runway deformations
};
// Schema messages allowed where a code is written as its number: "Element 'X', attribute 'a':
// [facet 'enumeration'] The value '17' is not an element of the set {...}".
const std::regex kNumberException(
    R"(Element '(PaintedLine|PaintedHatchedArea|Com)', attribute 'type': )"
    R"(\[facet 'enumeration'\] The value '\d+' is not an element)");

// Polygons (section 101): the compiler takes `Polygon` and a rectangle's `precision`, which its
// schema lacks. Polygon elements are taken out before the check, so that the elements after them
// are still validated (the validator stops at the first element its schema does not expect).
std::string without_polygons(std::string document) {
  const std::string_view end = "</Polygon>";
  for (size_t at = document.find("\t<Polygon "); at != std::string::npos;
       at = document.find("\t<Polygon ", at)) {
    const size_t close = document.find(end, at);
    if (close == std::string::npos) break;
    document.erase(at, close + end.size() - at);
  }
  return document;
}
const std::regex kPolygonException(
    R"(Element 'Rectangle', attribute 'precision': The attribute 'precision' is not allowed)");

TEST(MsfsSamples, DecodeWholeAndValidate) {
  const fs::path dir = TERROVA_MSFS_SAMPLES_DIR;
  if (!fs::exists(dir / kExpected[0].file)) GTEST_SKIP() << "no sample files in " << dir;
  const fs::path schema = TERROVA_MSFS_SCHEMA;
  const bool validate = fs::exists(schema) && std::system("xmllint --version >/dev/null 2>&1") == 0;
  const fs::path document_path =
      fs::path(testkit::private_temp_path("terrova_msfs_schema_check")).replace_extension(".xml");
  for (const Expected& e : kExpected) {
    SCOPED_TRACE(e.file);
    const testkit::Decoded d = testkit::decode(read_file(dir / e.file));
    EXPECT_EQ(d.malformed, e.malformed);
    for (const char* id : kKnownIds) {
      EXPECT_EQ(d.document.find(std::string("dumping unknown record (") + id + ")"),
                std::string::npos)
          << id;
    }
    EXPECT_EQ(d.document.find("dumping unknown object (ID: 0x18)"), std::string::npos);
    if (!validate) continue;
    std::ofstream(document_path, std::ios::binary) << without_polygons(d.document);
    for (const std::string& line : command_lines("xmllint --noout --schema \"" + schema.string() +
                                                 "\" \"" + document_path.string() + "\" 2>&1")) {
      if (line.find("validates") == std::string::npos &&
          line.find("fails to validate") == std::string::npos &&
          !std::regex_search(line, kNumberException) &&
          !std::regex_search(line, kPolygonException)) {
        ADD_FAILURE() << line;
      }
    }
  }
  fs::remove(document_path);
}

}  // namespace
}  // namespace terrova
