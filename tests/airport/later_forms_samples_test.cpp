// Files of the later simulators made by scenery authors outside the project: their aprons take
// their triangle companions (which are not dumped), so that each draws its surface. The files are
// read from the shared folder beside the checkout; the test is skipped when it is absent.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "golden.h"

namespace terrova {
namespace {

namespace fs = std::filesystem;

std::vector<uint8_t> read_file(const fs::path& path) {
  std::ifstream f(path, std::ios::binary);
  return std::vector<uint8_t>((std::istreambuf_iterator<char>(f)),
                              std::istreambuf_iterator<char>());
}

// The number of `Apron` start lines, and of those that draw their surface.
void count_aprons(const std::string& text, size_t& aprons, size_t& drawn) {
  aprons = drawn = 0;
  for (size_t at = text.find("<Apron "); at != std::string::npos;
       at = text.find("<Apron ", at + 1)) {
    ++aprons;
    const std::string line = text.substr(at, text.find('\n', at) - at);
    if (line.find("drawSurface=\"TRUE\"") != std::string::npos) ++drawn;
  }
}

TEST(LaterFormsInRealFiles, ApronsTakeTheirTriangleCompanions) {
  const fs::path dir = TERROVA_SAMPLES_DIR;
  const fs::path v4 = dir / "leab__LEAB_ADEP4_ARV187.bgl";
  const fs::path v5 = dir / "leab__LEAB_ADEP5_ARV187.bgl";
  if (!fs::exists(v4) || !fs::exists(v5)) GTEST_SKIP() << "no sample files in " << dir;
  for (const fs::path& path : {v4, v5}) {
    SCOPED_TRACE(path.filename().string());
    const testkit::Decoded d = testkit::decode(read_file(path));
    EXPECT_EQ(d.malformed, 0u);
    for (const char* id :
         {"0x3a", "0x40", "0x41", "0xac", "0xad", "0xae", "0xaf", "0xb0", "0xb5", "0xb6", "0xb7"}) {
      EXPECT_EQ(d.document.find(std::string("dumping unknown record (") + id + ")"),
                std::string::npos)
          << id;
    }
    // Every apron of these files has a companion whose flags draw its surface.
    size_t aprons = 0;
    size_t drawn = 0;
    count_aprons(d.document, aprons, drawn);
    EXPECT_GT(aprons, 40u);
    EXPECT_EQ(drawn, aprons);
  }
}

}  // namespace
}  // namespace terrova
