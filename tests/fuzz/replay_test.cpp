// Replays every committed fuzz case (tests/fuzz/cases/*.bin) through a whole decode: each once
// crashed or hung the decoder, and each must now decode into a well-formed document.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "bgl/header.h"
#include "fuzz_input.h"
#include "golden.h"

namespace terrova {
namespace {

namespace fs = std::filesystem;

TEST(FuzzCases, DecodeIntoWellFormedDocuments) {
  const fs::path dir = fs::path(TERROVA_SOURCE_DIR) / "tests" / "fuzz" / "cases";
  int replayed = 0;
  for (const auto& entry : fs::directory_iterator(dir)) {
    if (entry.path().extension() != ".bin") continue;
    std::ifstream f(entry.path(), std::ios::binary);
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(f)),
                               std::istreambuf_iterator<char>());
    SCOPED_TRACE(entry.path().filename().string());
    ASSERT_GE(bytes.size(), fuzz::kSwitchBytes);
    const DecodeOptions options = fuzz::options_from(bytes.data(), bytes.size());
    std::vector<uint8_t> file(bytes.begin() + fuzz::kSwitchBytes, bytes.end());
    testkit::decode(file, options);
    ++replayed;
  }
  EXPECT_GT(replayed, 0);
}

}  // namespace
}  // namespace terrova
