// Facility files made by scenery authors outside the project: every one must decode without a
// crash into a well-formed document, with every switch combination. The files are read from the
// shared folder beside the checkout and the tests are skipped when it is absent.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "golden.h"

namespace terrova {
namespace {

namespace fs = std::filesystem;

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
    std::ifstream f(path, std::ios::binary);
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(f)),
                               std::istreambuf_iterator<char>());
    for (const char* letters : {"", "t", "dfm", "tdfm"}) {
      SCOPED_TRACE(path.filename().string() + " -" + letters);
      testkit::Decoded d = testkit::decode(bytes, testkit::switches(letters));
      EXPECT_EQ(d.malformed, 0u);
    }
    DecodeOptions circle = testkit::switches("");
    circle.circle_enabled = 1;
    circle.center_lat = 37.78;
    circle.center_lon = -0.81;
    circle.radius_m = 2000;
    SCOPED_TRACE(path.filename().string() + " with a circle");
    testkit::decode(bytes, circle);
  }
}

}  // namespace
}  // namespace terrova
