// A whole folder in one run: every BGL file under the folder is decoded, several at once, each by
// its own decode_file call with its own tables, sinks and console, so that files never share
// mutable state and every document equals the one a single run of its file writes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "bgl/context.h"
#include "driver/console.h"
#include "driver/names_file.h"

namespace terrova {

// The exit status of a run cut short by Ctrl-C.
constexpr int kInterruptedStatus = 130;

struct BatchRequest {
  std::string input_folder;
  // Where the documents go, with the relative paths of their inputs; empty puts each document
  // beside its input.
  std::string output_folder;
  DecodeOptions options;
  // Files decoded at once; 0 is one per processor.
  unsigned jobs = 0;
  // The names of library objects for every file; nullptr when there are none.
  const StringTable* object_names = nullptr;
  // The names file to read instead, once for the whole run, before the first file.
  ObjectNamesFile* names_file = nullptr;
  // Whether the run takes the run guard for the whole folder (a run of the program) or runs under
  // a guard that its caller holds.
  bool take_run_guard = true;
  // Whether the progress line is rewritten in place with a carriage return (a terminal) or
  // printed as plain lines about once a second.
  bool progress_in_place = false;
  // Called after each file with the number of files finished so far, one call at a time; tests
  // use it to interrupt a run at a known point.
  void (*after_file)(void* context, size_t finished) = nullptr;
  void* after_file_context = nullptr;
};

struct BatchResult {
  // 0 when every file was decoded or skipped; otherwise the status of the first failure in file
  // order, as a single run of that file ends with it; 130 when the run was interrupted; or the
  // status of a failure that stopped the run before any file (guard, listing, output folder).
  int status = 0;
  size_t files = 0;     // BGL files found
  size_t decoded = 0;   // documents written
  size_t skipped = 0;   // not facility data, or no section that a decoder reads
  size_t failed = 0;    // failures other than an interruption
  size_t not_done = 0;  // files left undecoded, or whose document was discarded, by Ctrl-C
  uint64_t malformed = 0;
  uint64_t input_bytes = 0;
};

// Decodes the folder, printing the progress and a summary on the console.
BatchResult run_batch(const BatchRequest& request, Console& console);

// True when the name ends in ".bgl", in any case.
bool is_bgl_name(std::string_view name);

// The document path of an input found at `relative` under the folder.
std::string batch_output_name(const BatchRequest& request, const std::string& relative);

}  // namespace terrova
