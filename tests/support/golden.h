// Whole-document tests: decode bytes in-process and compare with a checked-in document.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "bgl/context.h"

namespace terrova::testkit {

struct Decoded {
  std::string document;  // with CR LF line ends, as the file would hold it
  uint32_t malformed = 0;
};

// Decodes the file with a fixed time stamp (2007-03-05, 09:04:01).
Decoded decode(const std::vector<uint8_t>& file, const DecodeOptions& options = {});

// Compares the document with tests/<relative_path>. With TERROVA_REGENERATE=1 in the
// environment the expected file is rewritten instead, for review.
void expect_golden(const std::string& relative_path, const std::string& document);

// Options with the usual switch letters set ("t", "dfm", ...).
DecodeOptions switches(const std::string& letters);

// Decodes an undamaged file (no malformed structure) and compares its document in the default
// form, with -t and with -dfm to tests/<stem>.xml, <stem>_terse.xml and <stem>_dfm.xml.
void expect_golden_styles(const std::vector<uint8_t>& file, const std::string& stem);

// A path in the temporary folder that no other test run on the machine uses: `stem` followed by
// a random suffix, so that runs side by side never share files.
std::string private_temp_path(const std::string& stem);

}  // namespace terrova::testkit
