// Facility files made by scenery authors outside the project: every one must decode without a
// crash into a well-formed document, with every switch combination. The files are read from the
// shared folder beside the checkout and the tests are skipped when it is absent.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "golden.h"
#include "sample_files.h"

namespace terrova {
namespace {

namespace fs = std::filesystem;
using testkit::command_lines;
using testkit::read_file;

std::vector<fs::path> sample_files() {
  std::vector<fs::path> files;
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(TERROVA_SAMPLES_DIR, error)) {
    std::string ext = entry.path().extension().string();
    for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (ext == ".bgl") files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  return files;
}

TEST(RealFiles, DecodeIntoWellFormedDocuments) {
  const std::vector<fs::path> files = sample_files();
  if (files.empty()) GTEST_SKIP() << "no sample files in " << TERROVA_SAMPLES_DIR;
  for (const fs::path& path : files) {
    const std::vector<uint8_t> bytes = read_file(path);
    for (const char* letters : {"", "t", "dfm", "tdfm"}) {
      SCOPED_TRACE(path.filename().string() + " -" + letters);
      testkit::Decoded d = testkit::decode(bytes, testkit::switches(letters));
      EXPECT_EQ(d.malformed, 0u);
    }
    DecodeOptions circle = testkit::switches("");
    circle.circle_enabled = true;
    circle.center_lat = 37.78;
    circle.center_lon = -0.81;
    circle.radius_m = 2000;
    SCOPED_TRACE(path.filename().string() + " with a circle");
    testkit::decode(bytes, circle);
  }
}

// The ids of the newer record forms: airport sub-records and scenery-object kinds.
const std::set<unsigned> kLaterSubrecordIds = {0x3E, 0x40, 0xAE, 0xAC, 0xAD, 0xAF,
                                               0x41, 0xB0, 0x3A, 0xB5, 0xB6, 0xB7};
const std::set<unsigned> kLaterObjectKinds = {0x13, 0x14};

// Every id of a "dumping unknown ..." comment whose text matches `pattern`.
std::set<unsigned> dumped_ids(const std::string& document, const std::regex& pattern) {
  std::set<unsigned> ids;
  for (std::sregex_iterator it(document.begin(), document.end(), pattern), end; it != end; ++it) {
    ids.insert(static_cast<unsigned>(std::stoul((*it)[1].str(), nullptr, 16)));
  }
  return ids;
}

TEST(RealFiles, NewerRecordFormsAreDecoded) {
  const std::vector<fs::path> files = sample_files();
  if (files.empty()) GTEST_SKIP() << "no sample files in " << TERROVA_SAMPLES_DIR;
  const std::regex record("dumping unknown record \\(0x([0-9a-fA-F]+)\\)");
  const std::regex object("dumping unknown object \\(ID: 0x([0-9a-fA-F]+)\\)");
  for (const fs::path& path : files) {
    SCOPED_TRACE(path.filename().string());
    const std::string document = testkit::decode(read_file(path)).document;
    for (unsigned id : dumped_ids(document, record)) {
      EXPECT_EQ(kLaterSubrecordIds.count(id), 0u)
          << "sub-record 0x" << std::hex << id << " is dumped";
    }
    for (unsigned id : dumped_ids(document, object)) {
      EXPECT_EQ(kLaterObjectKinds.count(id), 0u) << "object kind 0x" << std::hex << id;
    }
  }
}

// Every document validates against the schema of the latest compiler.
TEST(RealFiles, DocumentsValidateAgainstTheLaterSchema) {
  const std::vector<fs::path> files = sample_files();
  if (files.empty()) GTEST_SKIP() << "no sample files in " << TERROVA_SAMPLES_DIR;
  if (std::system("xmllint --version >/dev/null 2>&1") != 0) GTEST_SKIP() << "no xmllint";
  const fs::path schema = fs::path(TERROVA_SAMPLES_DIR) / ".." / "reference" / "bglcomp_p3dv6.xsd";
  if (!fs::exists(schema)) GTEST_SKIP() << "no schema at " << schema;
  const fs::path document_path =
      fs::path(testkit::private_temp_path("terrova_schema_check")).replace_extension(".xml");
  for (const fs::path& path : files) {
    SCOPED_TRACE(path.filename().string());
    for (const char* letters : {"", "dfm"}) {
      {
        std::ofstream f(document_path, std::ios::binary);
        f << testkit::decode(read_file(path), testkit::switches(letters)).document;
      }
      for (const std::string& line : command_lines("xmllint --noout --schema \"" + schema.string() +
                                                   "\" \"" + document_path.string() + "\" 2>&1")) {
        if (line.find("validates") == std::string::npos) ADD_FAILURE() << line;
      }
    }
  }
  fs::remove(document_path);
}

}  // namespace
}  // namespace terrova
