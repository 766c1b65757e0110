#include "driver/run.h"

#include <cctype>
#include <cstdint>
#include <new>

#include "driver/batch.h"
#include "driver/decode_file.h"
#include "driver/library_run.h"
#include "driver/model_files.h"
#include "driver/names_file.h"
#include "driver/options.h"
#include "driver/paths.h"
#include "platform/platform.h"

namespace terrova {
namespace {

// The version is the project's, given by the build.
constexpr const char* kVersion = TERROVA_VERSION " / WIN32";

struct RunState {
  Console& console;
  std::string input_name;
  std::string output_name;
  DecodeOptions options;
  const char* program_name = nullptr;  // argv[0]: where the names file is looked for
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

// The names file beside the program: the folder of the name the program was started by, as it was
// typed (a bare name: the current folder).
std::string names_file_path(const char* program_name) {
  return directory_of(program_name != nullptr ? program_name : "") + "library objects.txt";
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
  if (parsed == kParseVersion) return 0;  // the banner says it
  if (parsed == kParseHelp) {
    print_usage(console, false);
    console.write("       terrova [-switches] FOLDER [OUTFOLDER]\n");
    console.write("       terrova -L [-switches] LIBRARY [INDEX.sqlite]\n");
    console.write(switches_help(table.rows));
    console.write("  --version  Print the version\n");
    return 0;
  }
  if (parsed == kParseError) {
    print_usage(console, true);
    return 2;
  }
  if (state.input_name.empty()) {
    console.write(Message::kFailure, "Error: missing an input file name\n");
    print_usage(console, true);
    return 2;
  }
  // Library-object names from beside the program, read once for the run.
  ObjectNamesFile names_file;
  names_file.path = names_file_path(state.program_name);
  if (table.library) {
    LibraryRequest library;
    library.library = state.input_name;
    library.index_path = state.output_name;
    library.jobs = table.jobs;
    library.names_file = &names_file;
    library.progress_in_place = platform::console_is_terminal();
    for (const char* drive : table.drives) {
      // D=FOLDER, the drive letter in either case.
      const std::string_view text(drive);
      if (text.size() < 3 || text[1] != '=' || !std::isalpha(static_cast<unsigned char>(text[0]))) {
        console.print(Message::kFailure, "Error: -D wants a drive and a folder: D=FOLDER, not %s\n",
                      std::string(text));
        return 2;
      }
      library.options.drives.emplace_back(
          static_cast<char>(std::toupper(static_cast<unsigned char>(text[0]))),
          std::string(text.substr(2)));
    }
    if (table.simulator_folder != nullptr)
      library.options.simulator_folder = table.simulator_folder;
    if (table.official_folder != nullptr) library.options.official_folder = table.official_folder;
    if (table.content_xml != nullptr) library.options.content_xml = table.content_xml;
    return run_library(library, console);
  }
  if (platform::is_folder(state.input_name.c_str())) {
    BatchRequest batch;
    batch.names_file = &names_file;
    batch.input_folder = state.input_name;
    batch.output_folder = state.output_name;
    batch.options = state.options;
    batch.jobs = table.jobs;
    batch.progress_in_place = platform::console_is_terminal();
    return run_batch(batch, console).status;
  }
  if (state.output_name.empty()) state.output_name = replace_extension(state.input_name, ".xml");

  DecodeRequest request;
  request.input_name = state.input_name;
  request.output_name = state.output_name;
  request.options = state.options;
  request.names_file = &names_file;
  UnreadReport unread;
  if (state.options.unread_report) request.unread = &unread;
  // Model files go beside the document.
  ModelFiles model_files{console, directory_of(state.output_name)};
  ExtraFileSink extra_files = model_files.sink();
  request.extra_files = &extra_files;
  // Ctrl-C makes the document's writes fail, so that its temporary file is removed rather than
  // left behind; the run then ends as an interrupted one.
  platform::CancelScope cancel_scope;
  const DecodeResult result = decode_file(request, console);
  if (result.status != 0) {
    if (platform::cancel_requested()) return kInterruptedStatus;
    // A model file failed: the document itself is whole.
    if (result.document_written) console.print("Output saved as %s\n", state.output_name);
    return result.status;
  }
  if (request.unread != nullptr) print_unread_report(console, unread);
  console.print("Done!\nOutput saved as %s\n", state.output_name);
  return 0;
}

}  // namespace

int run(int argc, const char* const* argv, Console& console) {
  RunState state{console, {}, {}, {}, argc > 0 ? argv[0] : nullptr};
  try {
    return run_checked(argc, argv, state);
  } catch (const std::bad_alloc&) {
    console.write(Message::kFailure, "Error: not enough memory\n");
    return 1;
  }
}

}  // namespace terrova
