// Measures the decoding speed: builds a large file from the sample sections, decodes it in-process
// several times into a discarding sink and prints megabytes of XML per second.
//   terrova_bench [scale] [rounds] [switches]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "driver/document.h"
#include "sample_sections.h"

int main(int argc, char** argv) {
  using namespace terrova;
  const int scale = argc > 1 ? std::atoi(argv[1]) : 2000;
  const int rounds = argc > 2 ? std::atoi(argv[2]) : 5;
  DecodeOptions options;
  if (argc > 3) {
    for (const char* p = argv[3]; *p; ++p) {
      if (*p == 't') options.terse = 1;
      if (*p == 'd') options.degrees_minutes = 1;
      if (*p == 'f') options.feet = 1;
      if (*p == 'm') options.nautical_miles = 1;
    }
  }
  const std::vector<uint8_t> file = testkit::sample_bgl(scale);
  const Image image(file.data(), static_cast<uint32_t>(file.size()));

  double best = 0;
  uint64_t bytes = 0;
  for (int round = 0; round < rounds; ++round) {
    Output out(drain_discard, nullptr, true);
    SharedTables tables;
    auto start = std::chrono::steady_clock::now();
    write_document(image, options, tables, {2007, 3, 5, 9, 4, 1}, out);
    auto stop = std::chrono::steady_clock::now();
    bytes = out.written();
    double seconds = std::chrono::duration<double>(stop - start).count();
    double rate = static_cast<double>(bytes) / 1e6 / seconds;
    if (rate > best) best = rate;
  }
  std::printf("input %.1f MB, output %.1f MB, best of %d rounds: %.0f MB/s of XML\n",
              static_cast<double>(file.size()) / 1e6, static_cast<double>(bytes) / 1e6, rounds,
              best);
  return 0;
}
