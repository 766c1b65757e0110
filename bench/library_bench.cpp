// Measures library runs: builds a library of small facility files (airports, some of them defined
// again in later layers, and scenery objects with exclusion rectangles) in layers of 100 files,
// then times a -t folder run of the same files, the first library index run and a second run
// with nothing changed, each the best of three rounds. The library runs read the library from its
// scenery.cfg, as a user's run does, so that their times hold the reading of the configuration
// and the listing of every folder.
//   terrova_library_bench [files] [jobs]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "driver/batch.h"
#include "driver/library_run.h"
#include "library_files.h"

namespace {

using namespace terrova;
namespace fs = std::filesystem;

constexpr int kFilesPerLayer = 100;
constexpr int kRounds = 3;

// The prefix with the number after it.
std::string numbered(const char* prefix, int n) {
  std::string text(prefix);
  text += std::to_string(n);
  return text;
}

std::vector<uint8_t> library_file(int i) {
  if (i % 2 == 0) {
    testkit::AirportFields f;
    // Every airport is defined again some layers later.
    f.ident = numbered("K", i / 2 % 2500);
    f.lat = 30 + (i % 200) * 0.1;
    f.lon = -100 + (i % 300) * 0.1;
    testkit::Bytes parts;
    testkit::begin_runway(parts, {}).end();
    testkit::start(parts, 8, 0, f.lat, f.lon, 100000, 81.0f);
    testkit::approaches(parts, 1 + i % 3);
    if (i % 10 == 0) testkit::delete_airport(parts, 0x0021, {});
    return testkit::airport_bgl(f, numbered("Airport ", i), parts);
  }
  std::vector<testkit::PlacedObject> objects;
  for (int k = 0; k < 20; ++k) {
    objects.push_back(
        {30 + (i % 200) * 0.1 + k * 0.001, -100 + (i % 300) * 0.1, static_cast<uint32_t>(k + 1)});
  }
  std::vector<testkit::Rectangle> rectangles;
  if (i % 7 == 1) {
    const double lat = 30 + (i % 200) * 0.1, lon = -100 + (i % 300) * 0.1;
    rectangles.push_back({0x0080, lat - 0.05, lat + 0.05, lon - 0.05, lon + 0.05});
  }
  return testkit::scenery_bgl(objects, rectangles);
}

double seconds_since(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) {
  const int files = argc > 1 ? std::atoi(argv[1]) : 10000;
  const unsigned jobs = argc > 2 ? static_cast<unsigned>(std::atoi(argv[2])) : 0;
  const fs::path root =
      fs::temp_directory_path() /
      ("terrova_library_bench_" +
       std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
  std::string cfg;
  int layers = 0;
  for (int i = 0; i < files; ++i) {
    const int layer = i / kFilesPerLayer;
    if (i % kFilesPerLayer == 0) {
      cfg += "[Area." + std::to_string(layer + 1) + "]\r\nTitle=Layer " + std::to_string(layer) +
             "\r\nLocal=library\\" + std::to_string(layer) +
             "\r\nLayer=" + std::to_string(layer + 1) + "\r\nActive=TRUE\r\n\r\n";
      ++layers;
    }
    const fs::path folder = root / "library" / std::to_string(layer) / "scenery";
    const std::string name = numbered("file", i) + ".bgl";
    if (!testkit::write_library_file(folder.string(), name, library_file(i))) {
      std::fprintf(stderr, "can't write %s\n", name.c_str());
      return 1;
    }
  }
  const std::string cfg_path = (root / "scenery.cfg").string();
  if (!testkit::write_file(cfg_path, std::vector<uint8_t>(cfg.begin(), cfg.end()))) return 1;
  std::printf("library: %d files in %d layers\n", files, layers);
  // A run as the command line makes it: the library read from its scenery.cfg, then indexed.
  const auto index_run = [&](const LibraryRequest& request, Console& console) {
    library::Library library;
    std::string error;
    if (library::read_library(cfg_path, {}, library, error) != 0) {
      std::fprintf(stderr, "%s\n", error.c_str());
      return 1;
    }
    return index_library(request, library, console);
  };

  std::string messages;
  Console console(&messages);
  BatchRequest batch;
  batch.input_folder = (root / "library").string();
  batch.output_folder = (root / "documents").string();
  batch.options.terse = true;
  batch.jobs = jobs;
  batch.take_run_guard = false;
  LibraryRequest request;
  request.library = cfg_path;
  request.index_path = (root / "library.sqlite").string();
  request.jobs = jobs;
  request.take_run_guard = false;
  run_batch(batch, console);  // warms the file cache

  // The best of a few rounds of each: the machine may be busy with other work.
  double folder_seconds = 1e9, first_seconds = 1e9, second_seconds = 1e9;
  BatchResult folder;
  int first = 0, second = 0;
  for (int round = 0; round < kRounds; ++round) {
    fs::remove_all(root / "documents");
    auto start = std::chrono::steady_clock::now();
    folder = run_batch(batch, console);
    folder_seconds = std::min(folder_seconds, seconds_since(start));
    fs::remove(root / "library.sqlite");
    start = std::chrono::steady_clock::now();
    first = index_run(request, console);
    first_seconds = std::min(first_seconds, seconds_since(start));
    start = std::chrono::steady_clock::now();
    second = index_run(request, console);
    second_seconds = std::min(second_seconds, seconds_since(start));
  }
  if (folder.status != 0 || first != 0 || second != 0) std::fputs(messages.c_str(), stderr);

  std::printf("-t folder run:            %7.3f s (%zu documents)\n", folder_seconds,
              folder.decoded);
  std::printf("first library index run:  %7.3f s (%.2fx the folder run)\n", first_seconds,
              first_seconds / folder_seconds);
  std::printf("second run, no change:    %7.3f s\n", second_seconds);
  std::printf("index: %.1f MB\n",
              static_cast<double>(fs::file_size(root / "library.sqlite")) / 1e6);
  fs::remove_all(root);
  return 0;
}
