#include "driver/decode_file.h"

#include <optional>

#include "bgl/header.h"
#include "bgl/walker.h"
#include "driver/document.h"
#include "driver/document_writer.h"
#include "driver/options.h"
#include "driver/paths.h"
#include "driver/plan_files.h"
#include "driver/sections.h"
#include "plan/airport_plans.h"
#include "platform/platform.h"

namespace terrova {
namespace {

// The input file from opening to unmapping: whatever is held is released when it goes.
class MappedInput {
 public:
  MappedInput() = default;
  MappedInput(const MappedInput&) = delete;
  MappedInput& operator=(const MappedInput&) = delete;
  ~MappedInput() { platform::release_input(file); }

  platform::InputFile file;
  Image image;
};

// Inputs up to this size are read into the worker's buffer when the decode has one.
constexpr uint32_t kReadInputSize = uint32_t{1} << 20;

// Maps (or reads) the input and keeps its size; returns 0 or the exit status after reporting the
// failure.
int map_input_file(const DecodeRequest& request, Console& console, MappedInput& input,
                   DecodeResult& result) {
  const std::string& input_name = request.input_name;
  const char* name = input_name.c_str();
  uint64_t size = 0;
  if (int code = platform::file_size(name, size)) {
    console.report_system_error("Can't open " + input_name, code);
    return code;
  }
  // The size is the low 32 bits of the directory entry's size.
  const uint32_t input_size = static_cast<uint32_t>(size);
  result.input_size = input_size;
  if (input_size == 0) {
    console.print(Message::kFailure, "%s is 0 bytes in size. Nothing to decode\n", input_name);
    return 5;
  }
  if (int code = platform::open_input(name, input.file)) {
    console.report_system_error("Can't open " + input_name, code);
    return code;
  }
  if (request.take_run_guard) {
    if (int code = platform::acquire_run_guard(input.file)) {
      report_run_guard_failure(console, input_name, code);
      return code;
    }
  }
  if (request.buffers != nullptr && input_size <= kReadInputSize) {
    // The worker's buffer serves: no mapping to make and take down for each small file.
    auto* bytes = reinterpret_cast<unsigned char*>(request.buffers->input.at_least(input_size));
    uint64_t read = 0;
    if (int code = platform::read_input(input.file, bytes, input_size, read)) {
      console.report_system_error("Can't read " + input_name, code);
      return code;
    }
    input.image = Image(bytes, static_cast<uint32_t>(read));
    return 0;
  }
  if (int code = platform::map_input(input.file)) {
    console.report_system_error("Could not map " + input_name + " - MapViewOfFile() failed", code);
    return code;
  }
  const uint64_t mapped = input.file.view_size < input_size ? input.file.view_size : input_size;
  input.image = Image(input.file.view, static_cast<uint32_t>(mapped));
  return 0;
}

// Inputs from this size on have their document written in the background while they decode.
constexpr uint64_t kBackgroundWriteSize = uint64_t{1} << 20;

// The output file of a document with the first write error.
struct FileDrain {
  platform::OutputFile file;
  int error = 0;
  // A document that was not put in place (a failure, an exception) leaves nothing behind.
  ~FileDrain() { platform::discard_output(file); }
};

// Passes each extra file on to the request's sink and counts those that were not written.
struct CountedExtraFiles {
  const ExtraFileSink& target;
  uint32_t failed = 0;

  static int write(void* context, std::string_view name, std::string_view bytes) {
    CountedExtraFiles& self = *static_cast<CountedExtraFiles*>(context);
    const int code = self.target.write(self.target.context, name, bytes);
    if (code != 0) ++self.failed;
    return code;
  }
  static uint32_t copy_of(void* context, std::string_view name) {
    const ExtraFileSink& target = static_cast<CountedExtraFiles*>(context)->target;
    return target.copy_of != nullptr ? target.copy_of(target.context, name) : 1;
  }
};

int write_output_document(const DecodeRequest& request, Console& console, MappedInput& input,
                          DecodeResult& result) {
  const std::string& output_name = request.output_name;
  if (platform::is_same_file(input.file, output_name.c_str())) {
    console.print(Message::kFailure, "Error: output file %s is the input file\n", output_name);
    return 2;
  }
  FileDrain sink;
  if (int code = platform::create_output(output_name.c_str(), sink.file)) {
    console.report_system_error("Can't open " + output_name, code);
    return 2;
  }
  DecodeOptions options = request.options;
  set_up_circle(options);
  const StringTable* object_names = request.object_names;
  if (request.names_file != nullptr) object_names = request.names_file->load(console);

  if (request.before_document != nullptr) {
    request.before_document(request.before_document_context, input.image, object_names);
  }
  // Every model file that is not written is counted: the file then fails, document or not.
  const ExtraFileSink no_files;
  CountedExtraFiles counted{request.extra_files != nullptr ? *request.extra_files : no_files};
  ExtraFileSink counted_sink{CountedExtraFiles::write, &counted, CountedExtraFiles::copy_of};
  ExtraFileSink* extra_files = counted.target.write != nullptr ? &counted_sink : nullptr;

  SharedTables tables;
  // With -p, each airport's plan goes beside the document.
  // A plan that cannot be written fails the file as a model file does.
  PlanFiles plan_files{
      {console, directory_of(output_name)}
  };
  const ExtraFileSink plan_target = plan_files.sink();
  CountedExtraFiles counted_plans{plan_target};
  ExtraFileSink plan_sink{CountedExtraFiles::write, &counted_plans, CountedExtraFiles::copy_of};
  plan::AirportPlans plans(plan_base_name(output_name), plan_sink);
  // With -u every read through the image marks the bytes it read.
  std::optional<Coverage> coverage;
  Image image = input.image;
  if (request.unread != nullptr) image = image.with_coverage(&coverage.emplace(image));
  DecodeBuffers own_buffers;
  DecodeBuffers& buffers = request.buffers != nullptr ? *request.buffers : own_buffers;
  {
    DocumentWriter writer(sink.file, input.image.size() >= kBackgroundWriteSize, &buffers.writer);
    Output out(DocumentWriter::drain, &writer, true, buffers.document);
    console.print(Message::kProgress, "Analyzing %s...\n", request.input_name);
    result.malformed = write_document(image, options, tables, platform::local_time(), out,
                                      object_names, extra_files, options.plan ? &plans : nullptr);
    out.flush();
    // The last plan is written while the writer's thread writes the document's last bytes.
    plans.finish();
    sink.error = writer.finish();
  }
  // The document takes its name only when every byte of it was written.
  if (sink.error == 0) {
    sink.error = platform::commit_output(sink.file);
  } else {
    platform::discard_output(sink.file);
  }
  if (sink.error != 0) {
    console.report_system_error("Can't write " + output_name, sink.error);
    return 2;
  }
  result.document_written = true;
  if (result.malformed != 0) {
    console.print(Message::kDamageCount, "Warning: %d malformed structures skipped\n",
                  result.malformed);
  }
  if (coverage) coverage->add_to(*request.unread);
  result.failed_extra_files = counted.failed + counted_plans.failed;
  return result.failed_extra_files != 0 ? 2 : 0;
}

}  // namespace

void print_unread_report(Console& console, const UnreadReport& report) {
  const std::vector<std::string> lines = report.lines();
  if (lines.empty()) {
    console.write("Unread bytes: none\n");
    return;
  }
  console.write("Unread bytes, by record kind (offsets from the record start):\n");
  for (const std::string& line : lines) console.write(line + "\n");
}

void report_run_guard_failure(Console& console, const std::string& name, int code) {
  if (code == platform::kAlreadyExists) {
    console.report_system_error("File mapping failed, object already exists\n, file: " + name,
                                code);
  } else {
    // The guard's lock file could not be made: the input is not to blame.
    const std::string folder = platform::run_guard_folder();
    console.report_system_error(folder.empty()
                                    ? "Can't take the run guard"
                                    : "Can't place the run guard in the temporary folder " + folder,
                                code);
  }
}

DecodeResult decode_file(const DecodeRequest& request, Console& console) {
  DecodeResult result;
  MappedInput input;
  result.status = map_input_file(request, console, input, result);
  if (result.status != 0) return result;
  if (!is_facility_bgl(input.image)) {
    console.write(Message::kFailure, "Input file: not a valid FS2004 or FSX facility data BGL!\n");
    result.not_facility_data = true;
    result.status = 1;
    return result;
  }
  if (request.skip_without_decoded_sections &&
      !has_decoded_section(input.image, section_kinds(), section_contents())) {
    result.no_decoded_sections = true;
    return result;
  }
  result.status = write_output_document(request, console, input, result);
  return result;
}

DecodeResult decode_facts(const DecodeRequest& request, Console& console, FactsListener& facts) {
  DecodeResult result;
  MappedInput input;
  result.status = map_input_file(request, console, input, result);
  if (result.status != 0) return result;
  if (!is_facility_bgl(input.image)) {
    result.not_facility_data = true;
    result.status = 1;
    return result;
  }
  if (!has_decoded_section(input.image, section_kinds())) {
    result.no_decoded_sections = true;
    return result;
  }
  // No comment is written where nobody reads the text; the facts are the same.
  DecodeOptions options = request.options;
  options.terse = true;
  options.plan = false;
  options.unread_report = false;
  set_up_circle(options);
  DecodeBuffers own_buffers;
  DecodeBuffers& buffers = request.buffers != nullptr ? *request.buffers : own_buffers;
  SharedTables tables;
  Output out(drain_discard, nullptr, false, buffers.document);
  result.malformed = write_document(input.image, options, tables, platform::local_time(), out,
                                    request.object_names, nullptr, nullptr, &facts);
  return result;
}

}  // namespace terrova
