// Measures folder runs: builds a folder of sample files of several sizes in the temporary folder,
// decodes it with one job and with one job per processor, and prints files per second for both.
//   terrova_batch_bench [files] [largest scale] [jobs] [shared folder]
// When the real sample files are beside the source folder (../shared/bgl-samples and
// ../shared/bgl-samples-msfs), it also decodes a folder of twenty copies of each, against the
// floor of reading every input and copying every file the run wrote, and a folder of 1,000
// copies of one small real file, for the CPU time per file.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "driver/batch.h"
#include "platform/platform.h"
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

namespace fs = std::filesystem;

std::string read_all(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The floor of a folder run: every input read once and every file that the run wrote read and
// written again, with no decoding, in one thread.
Timing time_floor(const fs::path& input, const fs::path& output, const fs::path& scratch) {
  const std::clock_t cpu_start = std::clock();
  const auto start = std::chrono::steady_clock::now();
  size_t bytes = 0;
  for (const auto& entry : fs::recursive_directory_iterator(input)) {
    if (entry.is_regular_file()) bytes += read_all(entry.path()).size();
  }
  fs::remove_all(scratch);
  for (const auto& entry : fs::recursive_directory_iterator(output)) {
    const fs::path copy = scratch / fs::relative(entry.path(), output);
    if (entry.is_directory()) {
      fs::create_directories(copy);
    } else {
      fs::create_directories(copy.parent_path());
      std::ofstream(copy, std::ios::binary) << read_all(entry.path());
    }
  }
  const auto stop = std::chrono::steady_clock::now();
  return Timing{std::chrono::duration<double>(stop - start).count(),
                static_cast<double>(std::clock() - cpu_start) / CLOCKS_PER_SEC, bytes};
}

void print_timing(const char* what, const Timing& t, size_t files) {
  std::printf("%-24s %6.3f s, CPU %6.3f s, %6.1f us CPU per file\n", what, t.seconds, t.cpu_seconds,
              t.cpu_seconds * 1e6 / static_cast<double>(files == 0 ? 1 : files));
}

// The folder of the real samples, twenty copies of each, and 1,000 copies of one small file.
void measure_real_samples(const fs::path& root, unsigned cores, const fs::path& shared) {
  std::vector<fs::path> samples;
  for (const char* folder : {"bgl-samples", "bgl-samples-msfs"}) {
    if (!fs::is_directory(shared / folder)) continue;
    for (const auto& entry : fs::directory_iterator(shared / folder)) {
      if (is_bgl_name(entry.path().filename().string())) samples.push_back(entry.path());
    }
  }
  if (samples.empty()) {
    std::printf("no real samples in %s: their folder measures are left out\n",
                shared.string().c_str());
    return;
  }
  const fs::path library = root / "library";
  size_t files = 0;
  uint64_t bytes = 0;
  for (int copy = 1; copy <= 20; ++copy) {
    for (const fs::path& sample : samples) {
      const fs::path to = library / (sample.stem().string() + "_" + std::to_string(copy) + ".bgl");
      fs::create_directories(library);
      fs::copy_file(sample, to, fs::copy_options::overwrite_existing);
      ++files;
      bytes += fs::file_size(to);
    }
  }
  std::printf("\nreal samples: %zu files (20 copies of %zu), %.1f MB\n", files, samples.size(),
              static_cast<double>(bytes) / 1e6);
  time_batch(library.string(), (root / "library_warm").string(), cores);
  const Timing one = time_batch(library.string(), (root / "library_1").string(), 1);
  const Timing all = time_batch(library.string(), (root / "library_n").string(), cores);
  const Timing floor = time_floor(library, root / "library_n", root / "library_floor");
  print_timing("-j 1", one, files);
  char label[32];
  std::snprintf(label, sizeof label, "-j %u", cores);
  print_timing(label, all, files);
  print_timing("floor (read, copy out)", floor, files);
  std::printf("-j 1 / -j %u: %.2f; -j %u / floor: %.2f; -j 1 / floor: %.2f\n", cores,
              one.seconds / all.seconds, cores, all.seconds / floor.seconds,
              one.seconds / floor.seconds);

  // One small real file a thousand times: the cost that every file of a library pays.
  fs::path small = samples.front();
  for (const fs::path& sample : samples) {
    if (sample.filename() == "edst__EDST_Garage.bgl") small = sample;
  }
  const fs::path same = root / "same";
  fs::create_directories(same);
  for (int copy = 1; copy <= 1000; ++copy) {
    fs::copy_file(small, same / ("copy_" + std::to_string(copy) + ".bgl"));
  }
  time_batch(same.string(), (root / "same_warm").string(), 1);
  const Timing small_one = time_batch(same.string(), (root / "same_1").string(), 1);
  std::printf("\n1000 copies of %s (%ju bytes):\n", small.filename().string().c_str(),
              static_cast<uintmax_t>(fs::file_size(small)));
  print_timing("-j 1", small_one, 1000);
}

}  // namespace

int main(int argc, char** argv) {
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
  measure_real_samples(root, cores, argc > 4 ? fs::path(argv[4]) : fs::path(TERROVA_SHARED_DIR));
  fs::remove_all(root);
  return 0;
}
