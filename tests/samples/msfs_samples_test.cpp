// MSFS 2020 and 2024 airports made by scenery authors outside the project: no record of a kind
// whose layout is known is dumped, the undamaged files give no malformed-data warning, and every
// document validates against the MSFS compiler's schema, except where a code whose name is unknown
// is written as its number (and, for 2024, where the schema does not know an element). The files
// are read from the shared folder beside the checkout; the test is skipped when it is absent.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <span>
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
};
// Schema messages allowed where a code is written as its number: "Element 'X', attribute 'a':
// [facet 'enumeration'] The value '17' is not an element of the set {...}".
constexpr const char* kNumberPattern =
    R"(Element '(PaintedLine|PaintedHatchedArea|Com)', attribute 'type': )"
    R"(\[facet 'enumeration'\] The value '\d+' is not an element)";
const std::regex kNumberException(kNumberPattern);

// MSFS 2024 add-on airports (0x113). The schema is the 2020 one: it knows neither the 2024
// airport children (`VectorPlacement`, a helipad's `Coloration`), nor the 2024 DeleteAirport
// attributes, nor polygons; and the exclusion rectangles keep the older documents' spelling
// `excludeWindSockObjects`.
constexpr const char* kKnown2024Ids[] = {"0x11", "0x12", "0x19", "0x33", "0xce", "0xd4", "0xfb"};
constexpr Expected k2024Expected[] = {
    {"robins__EDDN.bgl",   0},
    {"salasnet__KCOI.bgl", 0},
    {"salasnet__KISM.bgl", 0},
    {"salasnet__KSUA.bgl", 0},
    {"salasnet__KVRB.bgl", 0},
    {"salasnet__X26.bgl",  0},
};
const std::regex k2024Exception(
    std::string(kNumberPattern) +
    R"(|Element '(VectorPlacement|Polygon)': This element is not expected)"
    R"(|Element 'Helipad': (Element|Character) content is not allowed)"
    R"(|attribute '(deleteAllVectorPlacement|deleteAllProjectedMeshes|excludeWindSockObjects)')"
    R"(: The attribute '\w+' is not allowed)");

// Decodes the files of `dir` and checks them as this file's first comment says.
void check_samples(const fs::path& dir, std::span<const Expected> files,
                   std::span<const char* const> known_ids, const std::regex& allowed) {
  if (!fs::exists(dir / files[0].file)) GTEST_SKIP() << "no sample files in " << dir;
  const fs::path schema = TERROVA_MSFS_SCHEMA;
  const bool validate = fs::exists(schema) && std::system("xmllint --version >/dev/null 2>&1") == 0;
  const fs::path document_path =
      fs::path(testkit::private_temp_path("terrova_msfs_schema_check")).replace_extension(".xml");
  for (const Expected& e : files) {
    SCOPED_TRACE(e.file);
    const testkit::Decoded d = testkit::decode(read_file(dir / e.file));
    EXPECT_EQ(d.malformed, e.malformed);
    for (const char* id : known_ids) {
      EXPECT_EQ(d.document.find(std::string("dumping unknown record (") + id + ")"),
                std::string::npos)
          << id;
    }
    EXPECT_EQ(d.document.find("dumping unknown object (ID: 0x18)"), std::string::npos);
    if (!validate) continue;
    std::ofstream(document_path, std::ios::binary) << d.document;
    for (const std::string& line : command_lines("xmllint --noout --schema \"" + schema.string() +
                                                 "\" \"" + document_path.string() + "\" 2>&1")) {
      if (line.find("validates") == std::string::npos &&
          line.find("fails to validate") == std::string::npos &&
          !std::regex_search(line, allowed)) {
        ADD_FAILURE() << line;
      }
    }
  }
  fs::remove(document_path);
}

TEST(MsfsSamples, DecodeWholeAndValidate) {
  check_samples(TERROVA_MSFS_SAMPLES_DIR, kExpected, kKnownIds, kNumberException);
}

TEST(MsfsSamples, Msfs2024DecodeWholeAndValidate) {
  check_samples(TERROVA_MSFS2024_SAMPLES_DIR, k2024Expected, kKnown2024Ids, k2024Exception);
}

}  // namespace
}  // namespace terrova
