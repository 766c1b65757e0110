// Decodes a file in-process with shared tables that the test has filled beforehand, as the
// navaid and waypoint sections would have left them for the airports.
#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "driver/document.h"
#include "golden.h"
#include "xml_check.h"

namespace terrova::testkit {

inline Decoded decode_with_tables(const std::vector<uint8_t>& file, SharedTables& tables,
                                  const DecodeOptions& options = {}) {
  Decoded result;
  Output out(drain_to_string, &result.document, true);
  const Image image(file.data(), static_cast<uint32_t>(file.size()));
  result.malformed = write_document(image, options, tables, {2007, 3, 5, 9, 4, 1}, out);
  EXPECT_EQ(xml_problem(result.document), "") << "document is not well-formed";
  return result;
}

}  // namespace terrova::testkit
