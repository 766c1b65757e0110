// MSFS 2020 and 2024 airports made by scenery authors outside the project: no record of a kind
// whose layout is known is dumped, the undamaged files give no malformed-data warning, and every
// document validates against the MSFS compiler's schema, except for the messages listed below,
// each with its reason. The files are read from the shared folders beside the checkout; a test
// is skipped when its folder is absent.
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
constexpr const char* kKnownIds[] = {"0x11", "0x12", "0x19", "0x1a", "0x1d", "0x24", "0x26", "0x31",
                                     "0x33", "0x42", "0x48", "0x66", "0xce", "0xcf", "0xd0", "0xd3",
                                     "0xd4", "0xd8", "0xd9", "0xdb", "0xde", "0xe7", "0x57", "0x5a",
                                     "0xe8", "0xe9", "0xf4", "0xf8", "0xfa", "0xfb"};
// Scenery-object kinds whose layout is known: none may be dumped.
constexpr const char* kKnownObjectKinds[] = {"0x11", "0x16", "0x18",   "0x19",
                                             "0x1D", "0x1E", "0x1002", "0x1003"};

// Every MSFS sample, undamaged: none gives a malformed-data warning.
constexpr const char* k2020Files[] = {"2mt1__2MT1.bgl",
                                      "azga__AZGA.bgl",
                                      "azga__NAV-AZGA.bgl",
                                      "edds__EDDS-SHAPE.bgl",
                                      "edds__EDDS.bgl",
                                      "edgx__EDGX.bgl",
                                      "egtk__polygon.bgl",
                                      "enbl__enbl-airport.bgl",
                                      "enev__enev-airport.bgl",
                                      "k52i__52I_arp.bgl",
                                      "kaia__KAIA.bgl",
                                      "kcvc__KCVC.bgl",
                                      "kdkx__KDKX.bgl",
                                      "kgky__KGKY.bgl",
                                      "khio__KHIO_Airport.bgl",
                                      "klal__KLAL.bgl",
                                      "kphp__KPHP.bgl",
                                      "llfk__OS73.bgl",
                                      "llhz__LLHZ.bgl",
                                      "lmml__LMML.bgl",
                                      "merc__airport-merc.bgl",
                                      "n82__wurtsboro_airport.bgl",
                                      "paun__PAUN.bgl",
                                      "skac__skac-airport.bgl",
                                      "skti__airport-skti.bgl",
                                      "vovz__vovz-airport.bgl",
                                      "zbad__zbad-airport_cba3f42.bgl"};
constexpr const char* k2024Files[] = {"robins__EDDN.bgl",   "salasnet__KCOI.bgl",
                                      "salasnet__KISM.bgl", "salasnet__KSUA.bgl",
                                      "salasnet__KVRB.bgl", "salasnet__X26.bgl"};

// Schema messages allowed, each for its reason.
const std::regex kAllowedMessages[] = {
    // A code that no author's source names is written as its number: "Element 'X', attribute
    // 'a': [facet 'enumeration'] The value '17' is not an element of the set {...}".
    std::regex(R"(Element '(PaintedLine|PaintedHatchedArea|Com|TaxiwayParking|TaxiwaySign)', )"
               R"(attribute '(type|size)': \[facet 'enumeration'\] The value '\d+' is not an )"
               R"(element)"),
    // Attributes that the compilers of the later SDKs take and store (the authors' sources write
    // them and the bytes hold them) but that this schema predates: the texture flip and offsets of
    // the 0xD0 aprons, the 3D-mesh flag of parking places, a rectangle's `precision` (section
    // 101), a SimObject's livery, the heading of a car park's cars, the 2024 DeleteAirport
    // attributes and the airport's `tinColorCorrection`.
    std::regex(R"(Element 'Airport', attribute 'tinColorCorrection': The attribute )"
               R"('tinColorCorrection' is not allowed)"),
    std::regex(R"(Element '(Apron|TaxiwayParking|Rectangle|SimObject|CarParking|DeleteAirport)', )"
               R"(attribute '(flipUV|offsetU|offsetV|has3DMesh|precision|liveryName|carsHeading|)"
               R"(deleteAllVectorPlacement|deleteAllProjectedMeshes)': The attribute '\w+' is not )"
               R"(allowed)"),
    // The object flag `LowResAltitude` (bit 9 of the flag word; 581 KLAL objects whose source
    // writes it) and a 2024 helipad's `Coloration` are newer than the schema.
    std::regex(R"(Element 'LowResAltitude': This element is not expected)"),
    std::regex(R"(Element 'Helipad': (Element|Character) content is not allowed)"),
};

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

// Decodes the files of `dir` and checks them as this file's first comment says.
void check_samples(const fs::path& dir, std::span<const char* const> files) {
  if (!fs::exists(dir / files[0])) GTEST_SKIP() << "no sample files in " << dir;
  const fs::path schema = TERROVA_MSFS_SCHEMA;
  const bool validate = fs::exists(schema) && std::system("xmllint --version >/dev/null 2>&1") == 0;
  const fs::path document_path =
      fs::path(testkit::private_temp_path("terrova_msfs_schema_check")).replace_extension(".xml");
  for (const char* file : files) {
    SCOPED_TRACE(file);
    const testkit::Decoded d = testkit::decode(read_file(dir / file));
    EXPECT_EQ(d.malformed, 0u);
    for (const char* id : kKnownIds) {
      EXPECT_EQ(d.document.find(std::string("dumping unknown record (") + id + ")"),
                std::string::npos)
          << id;
    }
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

TEST(MsfsSamples, DecodeWholeAndValidate) { check_samples(TERROVA_MSFS_SAMPLES_DIR, k2020Files); }

TEST(MsfsSamples, Msfs2024DecodeWholeAndValidate) {
  check_samples(TERROVA_MSFS2024_SAMPLES_DIR, k2024Files);
}

}  // namespace
}  // namespace terrova
