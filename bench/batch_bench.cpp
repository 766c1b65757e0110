// Measures folder runs: builds a folder of sample files of several sizes in the temporary folder,
// decodes it with one job and with one job per processor, and prints files per second for both.
//   terrova_batch_bench [files] [largest scale] [jobs]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string>
#include <thread>

#include "driver/batch.h"
#include "driver/platform.h"
#include "sample_sections.h"

namespace {

using namespace terrova;

struct Timing {
  double seconds = 0;
  double cpu_seconds = 0;  // of every thread: equal for both runs when nothing is serialised
  size_t decoded = 0;
};

Timing time_batch(const std::string& input, const std::string& output, unsigned jobs) {
  BatchRequest request;
  request.input_folder = input;
  request.output_folder = output;
  request.jobs = jobs;
  request.take_run_guard = false;  // a benchmark may run beside a real run
  std::string messages;
  Console console(&messages);
  const std::clock_t cpu_start = std::clock();
  const auto start = std::chrono::steady_clock::now();
  const BatchResult result = run_batch(request, console);
  const auto stop = std::chrono::steady_clock::now();
  const std::clock_t cpu_stop = std::clock();
  if (result.status != 0) std::fputs(messages.c_str(), stderr);
  return Timing{std::chrono::duration<double>(stop - start).count(),
                static_cast<double>(cpu_stop - cpu_start) / CLOCKS_PER_SEC, result.decoded};
}

}  // namespace

int main(int argc, char** argv) {
  namespace fs = std::filesystem;
  const int files = argc > 1 ? std::atoi(argv[1]) : 200;
  const int largest = argc > 2 ? std::atoi(argv[2]) : 20;
  unsigned cores =
      argc > 3 ? static_cast<unsigned>(std::atoi(argv[3])) : std::thread::hardware_concurrency();
  if (cores == 0) cores = 1;

  const fs::path root = fs::temp_directory_path() / "terrova_batch_bench";
  fs::remove_all(root);
  const fs::path input = root / "in";
  uint64_t bytes = 0;
  for (int i = 0; i < files; ++i) {
    // Sizes from small to large, and a few folders, as a scenery library has them.
    char name[32];
    std::snprintf(name, sizeof name, "area%d", i % 8);
    const fs::path folder = input / name;
    fs::create_directories(folder);
    const std::vector<uint8_t> file = testkit::sample_bgl(1 + i % (largest > 0 ? largest : 1));
    bytes += file.size();
    std::snprintf(name, sizeof name, "f%d.bgl", i);
    testkit::write_file((folder / name).string(), file);
  }
  std::printf("%d files, %.1f MB in %s\n", files, static_cast<double>(bytes) / 1e6,
              input.string().c_str());

  // A first run warms the file cache, so that both timed runs read from memory.
  time_batch(input.string(), (root / "warm").string(), cores);
  const Timing one = time_batch(input.string(), (root / "one").string(), 1);
  const Timing all = time_batch(input.string(), (root / "all").string(), cores);
  const double one_rate = static_cast<double>(one.decoded) / one.seconds;
  const double all_rate = static_cast<double>(all.decoded) / all.seconds;
  std::printf("-j 1: %zu files in %.2f s (CPU %.2f s), %.1f files/s\n", one.decoded, one.seconds,
              one.cpu_seconds, one_rate);
  std::printf("-j %u: %zu files in %.2f s (CPU %.2f s), %.1f files/s (%.2f times -j 1)\n", cores,
              all.decoded, all.seconds, all.cpu_seconds, all_rate, all_rate / one_rate);
  fs::remove_all(root);
  return 0;
}
