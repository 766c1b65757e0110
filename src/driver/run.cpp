#include "driver/run.h"

#include <cstdint>
#include <new>

#include "bgl/header.h"
#include "driver/document.h"
#include "driver/options.h"
#include "driver/platform.h"

namespace terrova {
namespace {

constexpr const char* kVersion = "2.1 / WIN32";

struct RunState {
  Console& console;
  std::string input_name;
  std::string output_name;
  std::string output_dir;
  DecodeOptions options;
};

void print_usage(Console& console, bool with_hint) {
  console.write("Usage: terrova [-switches] infile.bgl [outfile.xml]\n");
  if (with_hint) console.write("Type terrova -? for help\n");
}

int store_file_name(void* context, const char* text, int number) {
  RunState& state = *static_cast<RunState*>(context);
  if (number == 1) {
    state.input_name = text;
  } else if (number == 2) {
    state.output_name = text;
  } else {
    return kParseError;
  }
  return kParseEnd;
}

void print_message(void* context, const std::string& text) {
  static_cast<RunState*>(context)->console.write(text);
}

// Maps the input and keeps its size; returns 0 or the exit status after reporting the failure.
int map_input_file(RunState& state, platform::InputFile& input, Image& image) {
  Console& console = state.console;
  const char* name = state.input_name.c_str();
  uint64_t size = 0;
  if (int code = platform::file_size(name, size)) {
    console.report_system_error("Can't open " + state.input_name, code);
    return code;
  }
  // The size is the low 32 bits of the directory entry's size.
  const uint32_t input_size = static_cast<uint32_t>(size);
  if (input_size == 0) {
    console.print("%s is 0 bytes in size. Nothing to decode\n", state.input_name);
    return 5;
  }
  if (int code = platform::open_input(name, input)) {
    console.report_system_error("Can't open " + state.input_name, code);
    return code;
  }
  if (int code = platform::acquire_run_guard(input)) {
    if (code == platform::kAlreadyExists) {
      console.report_system_error(
          "File mapping failed, object already exists\n, file: " + state.input_name, code);
    } else {
      console.report_system_error("File mapping failed file: " + state.input_name, code);
    }
    platform::release_input(input);
    return code;
  }
  if (int code = platform::map_input(input)) {
    console.report_system_error("Could not map " + state.input_name + " - MapViewOfFile() failed",
                                code);
    platform::release_input(input);
    return code;
  }
  const uint64_t mapped = input.view_size < input_size ? input.view_size : input_size;
  image = Image(input.view, static_cast<uint32_t>(mapped));
  return 0;
}

// Sends the document to the output file and keeps the first write error.
struct FileDrain {
  platform::OutputFile file;
  int error = 0;
  // A document that was not put in place (a failure, an exception) leaves nothing behind.
  ~FileDrain() { platform::discard_output(file); }
  static void drain(void* context, const char* data, size_t size) {
    FileDrain& self = *static_cast<FileDrain*>(context);
    if (self.error == 0) self.error = platform::write_output(self.file, data, size);
  }
};

int decode_to_file(RunState& state, platform::InputFile& input, const Image& image) {
  Console& console = state.console;
  if (platform::is_same_file(input, state.output_name.c_str())) {
    console.print("Error: output file %s is the input file\n", state.output_name);
    return 2;
  }
  FileDrain sink;
  if (int code = platform::create_output(state.output_name.c_str(), sink.file)) {
    console.report_system_error("Can't open " + state.output_name, code);
    return 2;
  }
  set_up_circle(state.options);
  state.output_dir = directory_of(state.output_name);

  SharedTables tables;
  uint32_t malformed = 0;
  {
    Output out(FileDrain::drain, &sink, true);
    console.print("Analyzing %s...\n", state.input_name);
    malformed = write_document(image, state.options, tables, platform::local_time(), out);
  }
  // The document takes its name only when every byte of it was written.
  if (sink.error == 0) {
    sink.error = platform::commit_output(sink.file);
  } else {
    platform::discard_output(sink.file);
  }
  if (sink.error != 0) {
    console.report_system_error("Can't write " + state.output_name, sink.error);
    return 2;
  }
  if (malformed != 0) console.print("Warning: %d malformed structures skipped\n", malformed);
  return 0;
}

int run_checked(int argc, const char* const* argv, RunState& state) {
  Console& console = state.console;
  console.print("Terrova version %s\n", kVersion);
  if (argc < 2) {
    print_usage(console, true);
    return 0;
  }
  OptionTable table(state.options);
  SwitchParser parser;
  int parsed =
      parser.parse_switches(argc, argv, table.rows, store_file_name, print_message, &state);
  if (parsed == kParseHelp) {
    print_usage(console, false);
    console.write(switches_help(table.rows));
    return 0;
  }
  if (parsed == kParseError) {
    print_usage(console, true);
    return 2;
  }
  if (state.input_name.empty()) {
    console.write("Error: missing an input file name\n");
    print_usage(console, true);
    return 2;
  }
  if (state.output_name.empty()) state.output_name = replace_extension(state.input_name, ".xml");

  platform::InputFile input;
  Image image;
  if (int status = map_input_file(state, input, image)) return status;
  if (!is_facility_bgl(image)) {
    console.write("Input file: not a valid FS2004 or FSX facility data BGL!\n");
    platform::release_input(input);
    return 1;
  }
  int status = decode_to_file(state, input, image);
  platform::release_input(input);
  if (status != 0) return status;
  console.print("Done!\nOutput saved as %s\n", state.output_name);
  return 0;
}

}  // namespace

std::string directory_of(const std::string& path) {
  for (size_t i = path.size(); i-- > 1;) {
    if (path[i] == '\\' || path[i] == '/') return path.substr(0, i + 1);
  }
  return std::string();
}

std::string replace_extension(const std::string& name, const std::string& extension) {
  size_t dot = name.rfind('.');
  std::string result = dot == std::string::npos ? name : name.substr(0, dot);
  return result + extension;
}

int run(int argc, const char* const* argv, Console& console) {
  RunState state{console, {}, {}, {}, {}};
  try {
    return run_checked(argc, argv, state);
  } catch (const std::bad_alloc&) {
    console.write("Error: not enough memory\n");
    return 1;
  }
}

}  // namespace terrova
