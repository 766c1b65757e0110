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
constexpr const char* kKnownIds[] = {"0x11", "0x12", "0x19", "0x1a", "0x1d", "0x24", "0x26", "0x31",
                                     "0x33", "0x42", "0x48", "0x66", "0xce", "0xcf", "0xd3", "0xd4",
                                     "0xd8", "0xd9", "0xdb", "0xde", "0xe7",
                                     // Placements, meshes and lights of the later SDKs.
                                     "0x57", "0x5a", "0xe8", "0xe9"};
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
 // Airports with vector placements, projected meshes, a light preset and runway materials.
    {"kaia__KAIA.bgl",                 0},
    {"llhz__LLHZ.bgl",                 0},
    {"klal__KLAL.bgl",                 0},
    {"kgky__KGKY.bgl",                 0},
 // Aprons of the later SDKs (0xD0).
    {"edgx__EDGX.bgl",                 0},
    {"lmml__LMML.bgl",                 0},
 // Scenery objects: attached-object groups (PAUN), car parking and LowResAltitude (KLAL).
    {"paun__PAUN.bgl",                 0},
 // Polygons and rectangles (section 101).
    {"2mt1__2MT1.bgl",                 0}, // polygons of both vertex forms
    {"enbl__enbl-airport.bgl",         0}, // height maps, runway deformations
};
// Schema messages allowed where a code is written as its number: "Element 'X', attribute 'a':
// [facet 'enumeration'] The value '17' is not an element of the set {...}".
const std::regex kNumberException(
    R"(Element '(PaintedLine|PaintedHatchedArea|Com)', attribute 'type': )"
    R"(\[facet 'enumeration'\] The value '\d+' is not an element)");
// Attributes that the compilers of the later SDKs take and store (the authors' sources write them
// and the bytes hold them) but that this schema predates: the texture flip and offsets of the
// 0xD0 aprons and the 3D-mesh flag of parking places.
const std::regex kLaterAttribute(
    R"(Element '(Apron|TaxiwayParking)', attribute '(flipUV|offsetU|offsetV|has3DMesh)': )"
    R"(The attribute '\w+' is not allowed)");

// Elements of later SDKs than the schema's: `VectorPlacement` (the sources' name; the schema knows
// only its fence forms) and the polygons of section 101. They are taken out of the document before
// it is validated, so that an element the schema does not expect does not end the check of the
// elements after it (the validator stops at the first one).
std::string without_later_elements(std::string document) {
  for (const std::string name : {"VectorPlacement", "Polygon"}) {
    const std::string open = "<" + name + " ", close = "</" + name + ">";
    for (size_t at = document.find(open); at != std::string::npos; at = document.find(open, at)) {
      const size_t end = document.find(close, at);
      if (end == std::string::npos) break;
      document.erase(at, end + close.size() - at);
    }
  }
  return document;
}
// The object flag `LowResAltitude` (bit 9 of the flag word; 581 KLAL objects whose source writes
// it) is newer than the schema, which does not know the element.
const std::regex kNewerThanSchema(R"(Element 'LowResAltitude': This element is not expected)");
// Scenery-object kinds whose layout is known: none may be dumped.
constexpr const char* kKnownObjectKinds[] = {"0x11", "0x16",   "0x19",  "0x1D",
                                             "0x1E", "0x1002", "0x1003"};

// A rectangle's `precision` (section 101), which the compiler takes and its schema lacks.
const std::regex kPolygonException(
    R"(Element 'Rectangle', attribute 'precision': The attribute 'precision' is not allowed)");

const std::regex kAllowedMessages[] = {kNumberException, kLaterAttribute, kNewerThanSchema,
                                       kPolygonException};

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
    EXPECT_EQ(d.document.find("dumping unknown record (0xd0)"), std::string::npos);  // aprons
    EXPECT_EQ(d.document.find("dumping unknown object (ID: 0x18)"), std::string::npos);
    for (const char* kind : kKnownObjectKinds) {
      EXPECT_EQ(d.document.find(std::string("dumping unknown object (ID: ") + kind + ")"),
                std::string::npos)
          << kind;
    }
    if (!validate) continue;
    std::ofstream(document_path, std::ios::binary) << without_later_elements(d.document);
    for (const std::string& line : command_lines("xmllint --noout --schema \"" + schema.string() +
                                                 "\" \"" + document_path.string() + "\" 2>&1")) {
      if (line.find("validates") == std::string::npos &&
          line.find("fails to validate") == std::string::npos &&
          !std::any_of(
              std::begin(kAllowedMessages), std::end(kAllowedMessages),
              [&](const std::regex& allowed) { return std::regex_search(line, allowed); })) {
        ADD_FAILURE() << line;
      }
    }
  }
  fs::remove(document_path);
}

}  // namespace
}  // namespace terrova
