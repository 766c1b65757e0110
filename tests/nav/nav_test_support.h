// Helpers shared by the navigation tests.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "bgl/context.h"
#include "driver/document.h"
#include "golden.h"
#include "nav_records.h"

namespace terrova::navtest {

constexpr const char* kWarning = "<!-- WARNING: malformed data at offset 0x";

inline size_t count_of(const std::string& text, const std::string& part) {
  size_t n = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

// The records one after another, as a run of a subsection holds them.
inline testkit::Bytes concat(const std::vector<testkit::Bytes>& records) {
  testkit::Bytes run;
  for (const testkit::Bytes& r : records) run.raw(r);
  return run;
}

// Overwrites a u32 of a built file.
inline void poke_u32(std::vector<uint8_t>& file, size_t at, uint32_t value) {
  std::memcpy(&file[at], &value, 4);
}

// Options with a decode circle of `radius_km` around (lat, lon).
inline DecodeOptions circle(double lat, double lon, double radius_km, const char* letters = "") {
  DecodeOptions o = testkit::switches(letters);
  o.circle_enabled = true;
  o.center_lat = lat;
  o.center_lon = lon;
  o.radius_m = radius_km * 1000;
  return o;
}

// Decodes the file like testkit::decode and hands back the shared tables the decoders filled.
inline SharedTables decode_tables(const std::vector<uint8_t>& file,
                                  const DecodeOptions& options = {}) {
  std::string document;
  Output out(drain_to_string, &document, true);
  SharedTables tables;
  Image image(file.data(), static_cast<uint32_t>(file.size()));
  write_document(image, options, tables, {2007, 3, 5, 9, 4, 1}, out);
  return tables;
}

// Decodes the file without switches, with -t and with -d -f -m, and compares each document with
// nav/golden/<name>.xml, <name>_terse.xml and <name>_dfm.xml. Returns the plain decode.
inline testkit::Decoded expect_goldens(const std::string& name, const std::vector<uint8_t>& file) {
  testkit::Decoded plain = testkit::decode(file);
  testkit::expect_golden("nav/golden/" + name + ".xml", plain.document);
  testkit::expect_golden("nav/golden/" + name + "_terse.xml",
                         testkit::decode(file, testkit::switches("t")).document);
  testkit::expect_golden("nav/golden/" + name + "_dfm.xml",
                         testkit::decode(file, testkit::switches("dfm")).document);
  return plain;
}

// The goldens of a section decoded whole through its index: `records` elements, each listed
// record once, nothing damaged, and the same document with a decode circle far from every
// record, since the circle does not apply to these sections.
inline void expect_indexed_goldens(const std::string& name, const std::vector<uint8_t>& file,
                                   const std::string& element, size_t records) {
  const testkit::Decoded d = expect_goldens(name, file);
  EXPECT_EQ(d.malformed, 0u);
  EXPECT_EQ(count_of(d.document, "<" + element + " "), records);
  EXPECT_EQ(testkit::decode(file, circle(0.0, 0.0, 1)).document, d.document);
}

}  // namespace terrova::navtest
