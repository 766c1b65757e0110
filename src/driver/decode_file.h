// One decode of one file: from the input's name to the finished document. The single-file run
// calls it once; a batch calls it for every file, each with its own tables, counts and sinks, so
// that files never share mutable state.
#pragma once

#include <cstdint>
#include <string>

#include "bgl/context.h"
#include "bgl/coverage.h"
#include "driver/console.h"
#include "driver/document_writer.h"
#include "driver/names_file.h"

namespace terrova {

// The buffers of a decode: a small input's bytes, the document's text and line-end buffers and the
// background writer's.
// A worker of a folder run keeps one set for all its files, so that a file allocates no
// megabytes of its own and the memory stays mapped from one file to the next.
struct DecodeBuffers {
  ByteBlock input;  // a small input, read rather than mapped
  OutputStorage document;
  WriterStorage writer;
};

struct DecodeRequest {
  std::string input_name;
  std::string output_name;
  DecodeOptions options;  // the circle is set up from the switch texts by the decode
  // The names of library objects, read once per run; nullptr when there are none.
  const StringTable* object_names = nullptr;
  // The names file to read instead, once, when the first document's output is open.
  ObjectNamesFile* names_file = nullptr;
  // Where the model files of the decode go; nullptr writes none.
  ExtraFileSink* extra_files = nullptr;
  // With -u: the bytes that no decoder read are added to it when the document was written.
  UnreadReport* unread = nullptr;
  // Whether a file none of whose sections has a decoder (terrain, scenery without facilities) is
  // skipped without a document (a folder run) or gets a document of comments (a single run).
  bool skip_without_decoded_sections = false;
  // The buffers to use; nullptr: the decode's own.
  DecodeBuffers* buffers = nullptr;
  // Called when the document's output is open, before the document is begun, with the image and
  // the names of library objects (a folder run settles the names of the file's models here);
  // nullptr: nothing.
  void (*before_document)(void* context, const Image& image,
                          const StringTable* object_names) = nullptr;
  void* before_document_context = nullptr;
  // Whether this decode takes the run guard itself (a single-file run) or runs under a guard that
  // its caller holds (a batch).
  bool take_run_guard = true;
};

struct DecodeResult {
  // 0 when the document and every model file were written; otherwise the exit status of the
  // failure, as a single run ends with it (1: not facility data, 2: output failures, a model
  // file that could not be written among them, 5: empty input, 183: another run, or the
  // system's code when the input cannot be opened or mapped).
  int status = 0;
  bool document_written = false;  // also when a model file failed
  uint32_t failed_extra_files = 0;
  bool not_facility_data = false;  // the input failed the header test
  // Skipped with status 0 and no document: no section of the file has a decoder.
  bool no_decoded_sections = false;
  uint32_t malformed = 0;  // damaged structures marked in the document
  uint64_t input_size = 0;
};

// Maps the input, tests its header, writes the document and reports every failure on the
// console as a single run does ("Analyzing %s...", the error messages, the malformed count);
// the closing "Done!" lines are the caller's.
DecodeResult decode_file(const DecodeRequest& request, Console& console);

// Decodes the input for the facts it holds, handing them to `facts`, with no document: the input
// is mapped (or read into the request's buffers) and tested as `decode_file` does, and its
// failures are reported the same way; the output name, the model files and -u are not used.
DecodeResult decode_facts(const DecodeRequest& request, Console& console, FactsListener& facts);

// Prints the unread-bytes report (-u): a heading and one line per record kind with bytes that no
// decoder read.
void print_unread_report(Console& console, const UnreadReport& report);

// Reports that the run guard could not be taken for the input `name` (a file, or a folder run's
// folder): another run holds it (code 183), or the system's error.
void report_run_guard_failure(Console& console, const std::string& name, int code);

}  // namespace terrova
