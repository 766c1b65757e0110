// libFuzzer target: a whole in-process decode of arbitrary bytes with every switch combination.
#include <cstddef>
#include <cstdint>

#include "bgl/header.h"
#include "driver/document.h"
#include "fuzz_input.h"
#include "plan/airport_plans.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace terrova;
  const DecodeOptions options = fuzz::options_from(data, size);
  const size_t skip = size < fuzz::kSwitchBytes ? size : fuzz::kSwitchBytes;
  Image image(data + skip, static_cast<uint32_t>(size - skip));
  // Files that fail the header test never reach the decoders; the fuzzer learns the header from
  // the seeds.
  if (!is_facility_bgl(image)) return 0;
  Output out(drain_discard, nullptr, true, 4096);
  SharedTables tables;
  ExtraFileSink plan_files{[](void*, std::string_view, std::string_view) { return 0; }, nullptr};
  plan::AirportPlans plans("fuzz", plan_files);
  write_document(image, options, tables, {2007, 3, 5, 9, 4, 1}, out, nullptr, nullptr,
                 options.plan ? &plans : nullptr);
  return 0;
}
