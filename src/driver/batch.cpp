#include "driver/batch.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <map>
#include <mutex>
#include <new>
#include <thread>
#include <vector>

#include "driver/decode_file.h"
#include "driver/folder_models.h"
#include "driver/paths.h"
#include "platform/platform.h"

namespace terrova {
namespace {

using Clock = std::chrono::steady_clock;

// More threads than this gain nothing on any machine the program meets and only cost memory.
constexpr unsigned kMostJobs = 256;

// Calls `line` with each line of the text, its line end included (the last may have none).
template <class Line>
void for_each_line(std::string_view text, Line&& line) {
  size_t at = 0;
  while (at < text.size()) {
    size_t end = text.find('\n', at);
    end = end == std::string_view::npos ? text.size() : end + 1;
    line(text.substr(at, end - at));
    at = end;
  }
}

// The kinds of a file's messages that a folder run keeps for its summary: what went wrong, and
// models that had to take another name. Progress, written models and the malformed count are
// summed up or left out.
constexpr uint32_t kKeptMessages = message_bit(Message::kGeneral) | message_bit(Message::kFailure) |
                                   message_bit(Message::kModelRenamed);

// Each message line, indented, so that a block of messages reads as belonging to its file.
std::string indented(const std::string& text, const char* indent) {
  std::string out;
  for_each_line(text, [&](std::string_view line) {
    out += indent;
    out.append(line);
  });
  if (!out.empty() && out.back() != '\n') out += '\n';
  return out;
}

// The models of one file of the run, settled with the registry when the file's document is about
// to begin. A file that ends before is settled with none by its worker, so that the files after
// it can go on.
struct FileModels {
  ModelRegistry& registry;
  size_t index;
  const DecodeOptions& options;
  bool& settled;
  FolderModelFiles files;

  static void before_document(void* context, const Image& image, const StringTable* names) {
    FileModels& self = *static_cast<FileModels*>(context);
    std::vector<FoundModel> found = find_models(image, self.options, names);
    self.settled = true;  // settle() passes the turn on even when it throws
    self.files.plans = self.registry.settle(self.index, self.files.files.output_dir, found);
  }
};

struct FileOutcome {
  DecodeResult result;
  std::string messages;  // what the decode printed, of the kinds kept
  bool started = false;
  bool interrupted = false;  // failed because of Ctrl-C
  UnreadReport unread;       // -u: this file's, until it is added to the run's
};

class Batch {
 public:
  Batch(const BatchRequest& request, Console& console, std::vector<std::string> files,
        const StringTable* object_names)
      : request_(request),
        console_(console),
        object_names_(object_names),
        files_(std::move(files)),
        outcomes_(files_.size()),
        first_with_same_output_(files_.size()),
        start_(Clock::now()),
        last_progress_(start_) {
    std::map<std::string, size_t> first_by_output;
    for (size_t i = 0; i < files_.size(); ++i) {
      first_with_same_output_[i] =
          first_by_output.try_emplace(batch_output_name(request_, files_[i]), i).first->second;
    }
  }

  void run(unsigned jobs) {
    if (jobs <= 1) {
      work();
      return;
    }
    std::vector<std::thread> workers;
    workers.reserve(jobs);
    for (unsigned i = 0; i < jobs; ++i) workers.emplace_back([this] { work(); });
    for (std::thread& worker : workers) worker.join();
  }

  BatchResult summarise() {
    if (progress_on_screen_) console_.write("\n");
    BatchResult result;
    result.files = files_.size();
    std::string failures;
    for (size_t i = 0; i < files_.size(); ++i) {
      const FileOutcome& outcome = outcomes_[i];
      const DecodeResult& decoded = outcome.result;
      if (!outcome.started || outcome.interrupted) {
        ++result.not_done;
      } else if (decoded.no_decoded_sections) {
        ++result.skipped;
      } else if (decoded.status == 0) {
        ++result.decoded;
        result.malformed += decoded.malformed;
      } else if (decoded.not_facility_data) {
        ++result.skipped;
      } else {
        ++result.failed;
        if (result.status == 0) result.status = decoded.status;
        failures += "  " + files_[i] + "\n";
        failures += indented(outcome.messages, "    ");
      }
      if (outcome.started) result.input_bytes += decoded.input_size;
    }
    // A Ctrl-C that came after the last file changed nothing.
    if (result.not_done != 0) result.status = kInterruptedStatus;

    const double seconds = std::chrono::duration<double>(Clock::now() - start_).count();
    const size_t finished = result.decoded + result.skipped + result.failed;
    console_.print("Decoded: %u of %u files, %0.1lf MB\n", count(result.decoded),
                   count(result.files), megabytes(result.input_bytes));
    console_.print("Skipped (not facility data): %u\n", count(result.skipped));
    console_.print("Failed: %u\n", count(result.failed));
    console_.write(failures);
    if (result.not_done != 0) {
      console_.print("Interrupted: %u files not decoded\n", count(result.not_done));
    }
    if (result.malformed != 0) {
      console_.print("Warning: %u malformed structures skipped\n", count(result.malformed));
    }
    if (request_.options.unread_report) print_unread_report(console_, unread_);
    console_.print("Time: %0.2lf s, %0.1lf files/s\n", seconds, rate(finished, seconds));
    return result;
  }

 private:
  static uint32_t count(uint64_t n) {
    return n > 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<uint32_t>(n);
  }
  static double megabytes(uint64_t bytes) { return static_cast<double>(bytes) / 1e6; }
  static double rate(size_t files, double seconds) {
    return seconds > 0 ? static_cast<double>(files) / seconds : 0.0;
  }

  void work() {
    // The worker's buffers serve each of its files in turn.
    DecodeBuffers buffers;
    for (;;) {
      // Ctrl-C stops the taking of files; the files already running end on their own.
      if (platform::cancel_requested()) return;
      const size_t index = next_.fetch_add(1);
      if (index >= files_.size()) return;
      bool models_settled = false;
      try {
        decode_one(index, buffers, models_settled);
      } catch (const std::bad_alloc&) {
        // Only this file is lost; the others may still fit.
        outcomes_[index].messages += "Error: not enough memory\n";  // a failure
        outcomes_[index].result.status = 1;
      }
      // Every file takes its turn with the model names, whatever became of it.
      if (!models_settled) models_.settle(index, std::string(), {});
      finish(index);
    }
  }

  void decode_one(size_t index, DecodeBuffers& buffers, bool& models_settled) {
    FileOutcome& outcome = outcomes_[index];
    outcome.started = true;
    // Each file has its own console: its messages are kept whole and printed, when they matter,
    // in one piece, never interleaved with those of another file.
    Console console(&outcome.messages, kKeptMessages);
    DecodeRequest file;
    file.input_name = join_path(request_.input_folder, files_[index]);
    file.output_name = batch_output_name(request_, files_[index]);
    // Inputs whose names differ only in the case of ".bgl" would write the same document, and
    // the later one would replace the earlier: the later one in file order is refused.
    if (size_t first = first_with_same_output_[index]; first != index) {
      console.print(Message::kFailure, "Error: output file %s is also the output of %s\n",
                    file.output_name, join_path(request_.input_folder, files_[first]));
      outcome.result.status = 2;
      return;
    }
    file.options = request_.options;
    file.object_names = object_names_;
    file.take_run_guard = false;
    if (request_.options.unread_report) file.unread = &outcome.unread;
    file.skip_without_decoded_sections = true;
    file.buffers = &buffers;
    // Model files go beside their document, as in a single run, under the names that the
    // registry settles in file order.
    FileModels models{
        models_,
        index,
        request_.options,
        models_settled,
        {{console, directory_of(file.output_name)}, {}}
    };
    ExtraFileSink extra_files = models.files.sink();
    file.extra_files = &extra_files;
    file.before_document = FileModels::before_document;
    file.before_document_context = &models;
    if (!request_.output_folder.empty()) {
      std::string folder = directory_of(file.output_name);
      while (folder.size() > 1 && (folder.back() == '/' || folder.back() == '\\')) {
        folder.pop_back();
      }
      if (int code = folder.empty() ? 0 : platform::create_folders(folder.c_str())) {
        console.report_system_error("Can't create folder " + folder, code);
        outcome.result.status = 2;
        return;
      }
    }
    outcome.result = decode_file(file, console);
    // A write refused because of Ctrl-C discarded its document: the file is not done, rather
    // than failed.
    outcome.interrupted = outcome.result.status != 0 && !outcome.result.not_facility_data &&
                          platform::cancel_requested();
  }

  void finish(size_t index) {
    const FileOutcome& outcome = outcomes_[index];
    std::lock_guard<std::mutex> hold(lock_);
    ++finished_;
    bytes_ += outcome.result.input_size;
    // The sum does not depend on the order in which files finish.
    unread_.merge(outcome.unread);
    outcomes_[index].unread = UnreadReport();
    if (outcome.result.status == 0) {
      // Messages of a file that was decoded (a model that took another name) are shown as they
      // come, whole, headed by the file's name.
      const std::string& notes = outcome.messages;
      if (!notes.empty()) {
        if (progress_on_screen_) console_.write("\n");
        progress_on_screen_ = false;
        console_.write(files_[index] + ":\n" + indented(notes, "  "));
      }
    }
    show_progress();
    if (request_.after_file != nullptr) request_.after_file(request_.after_file_context, finished_);
  }

  void show_progress() {
    const Clock::time_point now = Clock::now();
    const bool last = finished_ == files_.size();
    const auto since = now - last_progress_;
    if (request_.progress_in_place) {
      if (!last && since < std::chrono::milliseconds(100)) return;
    } else if (last || since < std::chrono::seconds(1)) {
      return;  // the summary follows the last file
    }
    last_progress_ = now;
    const double seconds = std::chrono::duration<double>(now - start_).count();
    if (request_.progress_in_place) console_.write("\r");
    console_.print("%u of %u files, %0.1lf MB, %0.1lf files/s", count(finished_),
                   count(files_.size()), megabytes(bytes_), rate(finished_, seconds));
    if (request_.progress_in_place) {
      console_.write("   ");  // covers the end of a longer line before
      progress_on_screen_ = true;
    } else {
      console_.write("\n");
    }
  }

  const BatchRequest& request_;
  Console& console_;
  const StringTable* object_names_;  // read once, shared read-only by every decode
  const std::vector<std::string> files_;
  std::vector<FileOutcome> outcomes_;
  std::vector<size_t> first_with_same_output_;  // the first file in order with the same document
  ModelRegistry models_;
  std::atomic<size_t> next_{0};

  std::mutex lock_;  // guards the console and everything below
  size_t finished_ = 0;
  uint64_t bytes_ = 0;
  Clock::time_point start_;
  Clock::time_point last_progress_;
  bool progress_on_screen_ = false;
  UnreadReport unread_;  // -u: the sum over the files decoded
};

unsigned choose_jobs(unsigned asked, size_t files) {
  unsigned jobs = asked != 0 ? asked : std::thread::hardware_concurrency();
  if (jobs == 0) jobs = 1;
  if (jobs > kMostJobs) jobs = kMostJobs;
  if (files < jobs) jobs = files == 0 ? 1 : static_cast<unsigned>(files);
  return jobs;
}

// The run guard of the folder run, released when the run ends.
class FolderGuard {
 public:
  FolderGuard() = default;
  FolderGuard(const FolderGuard&) = delete;
  FolderGuard& operator=(const FolderGuard&) = delete;
  ~FolderGuard() { platform::release_folder_run_guard(guard); }
  platform::RunGuard guard;
};

// Takes the guard, lists the folder and makes the output folder; 0 or the run's status after
// reporting the failure.
int prepare(const BatchRequest& request, Console& console, FolderGuard& guard,
            std::vector<std::string>& files) {
  const std::string& folder = request.input_folder;
  if (request.take_run_guard) {
    if (int code = platform::acquire_folder_run_guard(guard.guard)) {
      report_run_guard_failure(console, folder, code);
      return code;
    }
  }
  std::vector<std::string> all;
  std::string failed_folder;
  if (int code = platform::list_files(folder.c_str(), all, failed_folder)) {
    console.report_system_error("Can't open " + failed_folder, code);
    return code;
  }
  for (std::string& name : all) {
    if (is_bgl_name(name)) files.push_back(std::move(name));
  }
  // Byte order of the relative paths: the same order, and the same first failure, on every run.
  std::sort(files.begin(), files.end());
  if (!request.output_folder.empty()) {
    if (int code = platform::create_folders(request.output_folder.c_str())) {
      console.report_system_error("Can't open " + request.output_folder, code);
      return 2;
    }
  }
  return 0;
}

}  // namespace

bool is_bgl_name(std::string_view name) {
  if (name.size() < 4) return false;
  const std::string_view end = name.substr(name.size() - 4);
  return end[0] == '.' && (end[1] | 0x20) == 'b' && (end[2] | 0x20) == 'g' &&
         (end[3] | 0x20) == 'l';
}

std::string batch_output_name(const BatchRequest& request, const std::string& relative) {
  const std::string& folder =
      request.output_folder.empty() ? request.input_folder : request.output_folder;
  return replace_extension(join_path(folder, relative), ".xml");
}

BatchResult run_batch(const BatchRequest& request, Console& console) {
  // Ctrl-C asks the run to stop while the folder is decoded.
  platform::CancelScope cancel_scope;
  FolderGuard guard;
  std::vector<std::string> files;
  if (int status = prepare(request, console, guard, files)) {
    BatchResult result;
    result.status = status;
    return result;
  }
  const unsigned jobs = choose_jobs(request.jobs, files.size());
  console.print("Decoding %u BGL files in %s, %u at once\n", static_cast<uint32_t>(files.size()),
                request.input_folder, jobs);
  const StringTable* object_names = request.object_names;
  if (request.names_file != nullptr && !files.empty()) {
    object_names = request.names_file->load(console);
  }
  Batch batch(request, console, std::move(files), object_names);
  batch.run(jobs);
  return batch.summarise();
}

}  // namespace terrova
