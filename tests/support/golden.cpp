#include "golden.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "driver/document.h"
#include "xml_check.h"

namespace terrova::testkit {

Decoded decode(const std::vector<uint8_t>& file, const DecodeOptions& options) {
  Decoded result;
  Output out(drain_to_string, &result.document, true);
  SharedTables tables;
  Image image(file.data(), static_cast<uint32_t>(file.size()));
  result.malformed = write_document(image, options, tables, {2007, 3, 5, 9, 4, 1}, out);
  std::string problem = xml_problem(result.document);
  EXPECT_EQ(problem, "") << "document is not well-formed";
  return result;
}

void expect_golden(const std::string& relative_path, const std::string& document) {
  const std::string path = std::string(TERROVA_SOURCE_DIR) + "/tests/" + relative_path;
  const char* regenerate = std::getenv("TERROVA_REGENERATE");
  if (regenerate != nullptr && std::string(regenerate) == "1") {
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    f << document;
    ASSERT_TRUE(static_cast<bool>(f)) << "cannot write " << path;
    return;
  }
  std::ifstream f(path, std::ios::binary);
  ASSERT_TRUE(static_cast<bool>(f))
      << "missing expected document " << path << " (run with TERROVA_REGENERATE=1 to create it)";
  std::stringstream expected;
  expected << f.rdbuf();
  EXPECT_EQ(expected.str(), document) << "differs from " << path;
}

DecodeOptions switches(const std::string& letters) {
  DecodeOptions o;
  for (char c : letters) {
    if (c == 't') o.terse = true;
    if (c == 'd') o.degrees_minutes = true;
    if (c == 'f') o.feet = true;
    if (c == 'm') o.nautical_miles = true;
  }
  return o;
}

void expect_golden_styles(const std::vector<uint8_t>& file, const std::string& stem) {
  const Decoded d = decode(file);
  EXPECT_EQ(d.malformed, 0u);
  expect_golden(stem + ".xml", d.document);
  expect_golden(stem + "_terse.xml", decode(file, switches("t")).document);
  expect_golden(stem + "_dfm.xml", decode(file, switches("dfm")).document);
}

std::string private_temp_path(const std::string& stem) {
  std::random_device random;
  char suffix[20];
  std::snprintf(suffix, sizeof suffix, "_%08x%08x", random(), random());
  return (std::filesystem::temp_directory_path() / (stem + suffix)).string();
}

}  // namespace terrova::testkit
