// Measures the decoding speed.
//   terrova_bench [scale] [rounds] [switches: t, d, f, m, u]
//     builds a file from the sample sections, decodes it in-process several times into a
//     discarding sink and prints megabytes of XML per second; with "p" among the switches the
//     airport plans are made too (and discarded);
//   terrova_bench --file FILE [rounds]
//     decodes a BGL file, best of the rounds, without and with the airport plans of -p, and prints
//     what the plans add: to the decoder alone (in-process, discarding sinks) and to a whole
//     decode of the file into its document and plan files on disk;
//   terrova_bench --world [scale] [rounds]
//     builds a world-scale file (airports of every record kind sixteen to a degree cell over the
//     globe, with taxiway signs, navaids and scenery), and times, best of the rounds each:
//     the decoder alone, a whole decode of the file into a document on disk, and a copy of a file
//     of the document's size (read whole, written whole) on the same disk.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "driver/decode_file.h"
#include "driver/document.h"
#include "plan/airport_plans.h"
#include "sample_sections.h"

namespace {

using namespace terrova;
using Clock = std::chrono::steady_clock;

double seconds_since(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// Best decoder rate over the rounds, in-process into a discarding sink; `bytes` gets the size of
// the document (before line-end conversion).
// Plan files are counted and dropped.
int discard_plan(void* context, std::string_view, std::string_view bytes) {
  *static_cast<uint64_t*>(context) += bytes.size();
  return 0;
}

double decoder_seconds(const std::vector<uint8_t>& file, const DecodeOptions& options, int rounds,
                       uint64_t& bytes) {
  const Image image(file.data(), static_cast<uint32_t>(file.size()));
  double best = 1e300;
  for (int round = 0; round < rounds; ++round) {
    Output out(drain_discard, nullptr, true);
    SharedTables tables;
    uint64_t plan_bytes = 0;
    ExtraFileSink plan_files{discard_plan, &plan_bytes};
    const auto start = Clock::now();
    plan::AirportPlans plans("bench", plan_files);
    GeometryListener* listener = options.plan ? &plans : nullptr;
    // With -u the collector is made, filled and added up inside the timed part.
    if (options.unread_report) {
      Coverage coverage(image);
      write_document(image.with_coverage(&coverage), options, tables, {2007, 3, 5, 9, 4, 1}, out,
                     nullptr, nullptr, listener);
      UnreadReport report;
      coverage.add_to(report);
    } else {
      write_document(image, options, tables, {2007, 3, 5, 9, 4, 1}, out, nullptr, nullptr,
                     listener);
    }
    plans.finish();
    const double seconds = seconds_since(start);
    bytes = out.written();
    if (seconds < best) best = seconds;
  }
  return best;
}

bool write_bytes(const std::string& path, const char* data, size_t size) {
  std::ofstream f(path, std::ios::binary | std::ios::trunc);
  f.write(data, static_cast<std::streamsize>(size));
  return static_cast<bool>(f);
}

// A plain copy of a file: read whole, written whole under another name.
double copy_seconds(const std::string& from, const std::string& to) {
  const auto start = Clock::now();
  std::ifstream in(from, std::ios::binary | std::ios::ate);
  std::vector<char> bytes(static_cast<size_t>(in.tellg()));
  in.seekg(0);
  in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  write_bytes(to, bytes.data(), bytes.size());
  return seconds_since(start);
}

int world(int scale, int rounds) {
  namespace fs = std::filesystem;
  const std::vector<uint8_t> file = testkit::sample_bgl(scale, testkit::SampleLayout::kClustered);
  uint64_t xml_bytes = 0;
  const double decoder = decoder_seconds(file, DecodeOptions{}, rounds, xml_bytes);

  const fs::path dir = fs::temp_directory_path() / "terrova_world_bench";
  fs::remove_all(dir);
  fs::create_directories(dir);
  const std::string input = (dir / "world.bgl").string();
  const std::string document = (dir / "world.xml").string();
  if (!write_bytes(input, reinterpret_cast<const char*>(file.data()), file.size())) {
    std::fprintf(stderr, "cannot write %s\n", input.c_str());
    return 1;
  }
  double whole = 1e300;
  double copy = 1e300;
  for (int round = 0; round < rounds; ++round) {
    DecodeRequest request;
    request.input_name = input;
    request.output_name = document;
    request.take_run_guard = false;  // a benchmark may run beside a real run
    std::string messages;
    Console console(&messages);
    const auto start = Clock::now();
    const DecodeResult result = decode_file(request, console);
    const double seconds = seconds_since(start);
    if (result.status != 0) {
      std::fputs(messages.c_str(), stderr);
      return 1;
    }
    if (seconds < whole) whole = seconds;
    const double copied = copy_seconds(document, (dir / "copy.xml").string());
    if (copied < copy) copy = copied;
  }
  const double document_mb = static_cast<double>(fs::file_size(document)) / 1e6;
  std::printf("world file %.1f MB, document %.1f MB\n", static_cast<double>(file.size()) / 1e6,
              document_mb);
  std::printf("decoder alone:            %.3f s, %.0f MB/s of XML\n", decoder,
              static_cast<double>(xml_bytes) / 1e6 / decoder);
  std::printf("decode and write to disk: %.3f s\n", whole);
  std::printf("copy of the document:     %.3f s\n", copy);
  std::printf("decode and write / copy:  %.2f\n", whole / copy);
  fs::remove_all(dir);
  return 0;
}

// The decoder alone on a real file, without and with the airport plans.
int plan_cost(const char* path, int rounds) {
  if (rounds < 1) rounds = 1;
  std::ifstream in(path, std::ios::binary);
  const std::vector<uint8_t> file((std::istreambuf_iterator<char>(in)),
                                  std::istreambuf_iterator<char>());
  if (file.empty()) {
    std::fprintf(stderr, "cannot read %s\n", path);
    return 1;
  }
  DecodeOptions with_plans;
  with_plans.plan = 1;
  uint64_t bytes = 0;
  // Alternated, so that a slower spell of the machine falls on both.
  double without = 1e300;
  double with = 1e300;
  for (int round = 0; round < rounds; ++round) {
    without = std::min(without, decoder_seconds(file, DecodeOptions{}, 1, bytes));
    with = std::min(with, decoder_seconds(file, with_plans, 1, bytes));
  }
  std::printf("%s: %.1f KB, document %.1f KB\n", path, static_cast<double>(file.size()) / 1e3,
              static_cast<double>(bytes) / 1e3);
  std::printf("decoder alone, without plans: %.3f ms\n", without * 1e3);
  std::printf("decoder alone, with plans:    %.3f ms (+%.1f %%)\n", with * 1e3,
              (with / without - 1) * 100);

  namespace fs = std::filesystem;
  const fs::path dir = fs::temp_directory_path() / "terrova_plan_bench";
  fs::remove_all(dir);
  fs::create_directories(dir);
  // The disk's times spread widely: the median of the rounds is shown beside the best.
  std::vector<double> whole[2];
  for (int round = 0; round < rounds; ++round) {
    for (int plans = 0; plans < 2; ++plans) {
      DecodeRequest request;
      request.input_name = path;
      request.output_name = (dir / "document.xml").string();
      request.options.plan = plans;
      request.take_run_guard = false;  // a benchmark may run beside a real run
      std::string messages;
      Console console(&messages);
      const auto start = Clock::now();
      if (decode_file(request, console).status != 0) {
        std::fputs(messages.c_str(), stderr);
        return 1;
      }
      whole[plans].push_back(seconds_since(start));
    }
  }
  fs::remove_all(dir);
  double best[2];
  double median[2];
  for (int plans = 0; plans < 2; ++plans) {
    std::vector<double>& t = whole[plans];
    std::sort(t.begin(), t.end());
    best[plans] = t.front();
    median[plans] = t[t.size() / 2];
  }
  std::printf("whole decode to disk, without plans: %.3f ms (median %.3f ms)\n", best[0] * 1e3,
              median[0] * 1e3);
  std::printf(
      "whole decode to disk, with plans:    %.3f ms (+%.1f %%) (median %.3f ms, +%.1f %%)\n",
      best[1] * 1e3, (best[1] / best[0] - 1) * 100, median[1] * 1e3,
      (median[1] / median[0] - 1) * 100);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 2 && std::strcmp(argv[1], "--file") == 0) {
    return plan_cost(argv[2], argc > 3 ? std::atoi(argv[3]) : 20);
  }
  if (argc > 1 && std::strcmp(argv[1], "--world") == 0) {
    const int scale = argc > 2 ? std::atoi(argv[2]) : 1500;
    const int rounds = argc > 3 ? std::atoi(argv[3]) : 3;
    return world(scale, rounds);
  }
  const int scale = argc > 1 ? std::atoi(argv[1]) : 2000;
  const int rounds = argc > 2 ? std::atoi(argv[2]) : 5;
  DecodeOptions options;
  if (argc > 3) {
    for (const char* p = argv[3]; *p; ++p) {
      if (*p == 't') options.terse = true;
      if (*p == 'd') options.degrees_minutes = true;
      if (*p == 'f') options.feet = true;
      if (*p == 'm') options.nautical_miles = true;
      if (*p == 'p') options.plan = true;
      if (*p == 'u') options.unread_report = true;
    }
  }
  const std::vector<uint8_t> file = testkit::sample_bgl(scale);
  uint64_t bytes = 0;
  const double seconds = decoder_seconds(file, options, rounds, bytes);
  std::printf("input %.1f MB, output %.1f MB, best of %d rounds: %.0f MB/s of XML\n",
              static_cast<double>(file.size()) / 1e6, static_cast<double>(bytes) / 1e6, rounds,
              static_cast<double>(bytes) / 1e6 / seconds);
  return 0;
}
