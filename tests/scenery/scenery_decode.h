// In-process decodes of scenery files with a names table and a sink that keeps the model files.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "driver/document.h"
#include "golden.h"
#include "xml_check.h"

namespace terrova::testkit {

// The model files a decode handed over, in order.
struct CapturedFiles {
  std::vector<std::pair<std::string, std::string>> files;
  ExtraFileSink sink() {
    return ExtraFileSink{[](void* context, std::string_view name, std::string_view bytes) {
                           static_cast<CapturedFiles*>(context)->files.emplace_back(name, bytes);
                           return 0;
                         },
                         this};
  }
};

inline Decoded decode_scenery(const std::vector<uint8_t>& file, const DecodeOptions& options,
                              const StringTable* names, CapturedFiles* files) {
  Decoded result;
  Output out(drain_to_string, &result.document, true);
  SharedTables tables;
  ExtraFileSink sink;
  if (files != nullptr) sink = files->sink();
  const Image image(file.data(), static_cast<uint32_t>(file.size()));
  result.malformed = write_document(image, options, tables, {2007, 3, 5, 9, 4, 1}, out, names,
                                    files != nullptr ? &sink : nullptr);
  EXPECT_EQ(xml_problem(result.document), "") << "document is not well-formed";
  return result;
}

}  // namespace terrova::testkit
