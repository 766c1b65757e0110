#include "driver/library_run.h"

#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>
#include <vector>

#include "driver/batch.h"
#include "driver/decode_file.h"
#include "index/library_index.h"
#include "platform/platform.h"

namespace terrova {
namespace {

using Clock = std::chrono::steady_clock;

constexpr unsigned kMostJobs = 256;
constexpr const char* kInactiveStatus = "not read (inactive area)";

uint32_t count(size_t n) { return n > 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<uint32_t>(n); }
double megabytes(uint64_t bytes) { return static_cast<double>(bytes) / 1e6; }

// The first line of a file's messages, for its status in the index.
std::string first_line(const std::string& text) {
  std::string line = text.substr(0, text.find('\n'));
  while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
  return line;
}

// The files of the library in load order, with what the previous index still holds of each.
std::vector<index::IndexedFile> list_files(const library::Library& library,
                                           const index::IndexBuild& build) {
  std::vector<index::IndexedFile> files;
  for (size_t l = 0; l < library.layers.size(); ++l) {
    const library::Layer& layer = library.layers[l];
    for (const library::LibraryFile& f : layer.files) {
      index::IndexedFile& file = files.emplace_back();
      file.layer = l;
      file.path = f.path;
      file.relative = f.relative;
      if (int code = platform::file_status(f.path.c_str(), file.size, file.mtime)) {
        file.status = "failed: can't open (" + platform::system_error_text(code) + ")";
        continue;
      }
      if (!layer.active) {
        file.status = kInactiveStatus;
        continue;
      }
      file.previous = build.reusable(file.path, file.size, file.mtime);
      if (file.previous != nullptr) {
        file.read = file.previous->read;
        file.status = file.previous->status;
        file.malformed = static_cast<uint32_t>(file.previous->malformed);
      }
    }
  }
  return files;
}

class FactsDecode {
 public:
  FactsDecode(const LibraryRequest& request, Console& console,
              std::vector<index::IndexedFile>& files, std::vector<size_t> work,
              const StringTable* object_names, index::IndexBuild& build)
      : request_(request),
        console_(console),
        files_(files),
        work_(std::move(work)),
        object_names_(object_names),
        build_(build),
        done_(files.size(), 1),
        start_(Clock::now()),
        last_progress_(start_) {
    for (size_t i : work_) done_[i] = 0;
  }

  // Decodes the files and writes every file to the index in load order as soon as it and the
  // files before it are done, so that the facts of a large library are never all in memory.
  // False when the index could not be written.
  bool run(unsigned jobs) {
    std::vector<std::thread> workers;
    for (unsigned i = 1; i < jobs; ++i) workers.emplace_back([this] { work(); });
    work();
    for (std::thread& worker : workers) worker.join();
    if (progress_on_screen_) console_.write("\n");
    if (!platform::cancel_requested()) write_ready();
    return !write_failed_;
  }

  uint64_t bytes() const { return bytes_; }

 private:
  void work() {
    DecodeBuffers buffers;
    for (;;) {
      if (platform::cancel_requested()) return;
      const size_t next = next_.fetch_add(1);
      if (next >= work_.size()) return;
      index::IndexedFile& file = files_[work_[next]];
      try {
        decode_one(file, buffers);
      } catch (const std::bad_alloc&) {
        file.facts = index::FileFacts();
        file.read = false;
        file.status = "failed: not enough memory";
      }
      finish(work_[next]);
      // One worker at a time writes what is ready; the others go on decoding.
      std::unique_lock<std::mutex> writing(write_lock_, std::try_to_lock);
      if (writing.owns_lock()) write_ready_locked();
    }
  }

  void write_ready() {
    std::lock_guard<std::mutex> writing(write_lock_);
    write_ready_locked();
  }

  // With `write_lock_` held.
  void write_ready_locked() {
    for (;;) {
      size_t position;
      {
        std::lock_guard<std::mutex> hold(lock_);
        if (next_to_write_ == files_.size() || !done_[next_to_write_]) return;
        position = next_to_write_++;
      }
      if (write_failed_) continue;
      try {
        if (!build_.add_file(position, files_[position])) write_failed_ = true;
      } catch (const std::bad_alloc&) {
        write_failed_ = true;
      }
    }
  }

  void decode_one(index::IndexedFile& file, DecodeBuffers& buffers) {
    std::string messages;
    Console console(&messages, message_bit(Message::kFailure) | message_bit(Message::kGeneral));
    DecodeRequest decode;
    decode.input_name = file.path;
    decode.object_names = object_names_;
    decode.take_run_guard = false;
    decode.buffers = &buffers;
    const DecodeResult result = decode_facts(decode, console, file.facts);
    file.malformed = result.malformed;
    if (result.no_decoded_sections) {
      file.read = true;
      file.status = "no facility data";
    } else if (result.not_facility_data) {
      file.read = true;
      file.status = "not facility data";
    } else if (result.status == 0) {
      file.read = true;
      file.status = "read";
    } else {
      file.facts = index::FileFacts();
      file.read = false;
      file.status = "failed: " + first_line(messages);
    }
  }

  void finish(size_t position) {
    const index::IndexedFile& file = files_[position];
    std::lock_guard<std::mutex> hold(lock_);
    done_[position] = 1;
    ++finished_;
    bytes_ += file.size;
    const Clock::time_point now = Clock::now();
    const bool last = finished_ == work_.size();
    const auto since = now - last_progress_;
    if (request_.progress_in_place) {
      if (!last && since < std::chrono::milliseconds(100)) return;
    } else if (last || since < std::chrono::seconds(1)) {
      return;
    }
    last_progress_ = now;
    const double seconds = std::chrono::duration<double>(now - start_).count();
    if (request_.progress_in_place) console_.write("\r");
    console_.print("%u of %u files, %0.1lf MB, %0.1lf files/s", count(finished_),
                   count(work_.size()), megabytes(bytes_),
                   seconds > 0 ? static_cast<double>(finished_) / seconds : 0.0);
    if (request_.progress_in_place) {
      console_.write("   ");
      progress_on_screen_ = true;
    } else {
      console_.write("\n");
    }
  }

  const LibraryRequest& request_;
  Console& console_;
  std::vector<index::IndexedFile>& files_;
  const std::vector<size_t> work_;
  const StringTable* object_names_;
  index::IndexBuild& build_;
  std::atomic<size_t> next_{0};
  std::mutex write_lock_;  // held by the one thread that writes to the index
  bool write_failed_ = false;
  std::mutex lock_;         // guards the console and everything below
  std::vector<char> done_;  // per file in load order: decoded, or nothing to decode
  size_t next_to_write_ = 0;
  size_t finished_ = 0;
  uint64_t bytes_ = 0;
  Clock::time_point start_;
  Clock::time_point last_progress_;
  bool progress_on_screen_ = false;
};

// The run guard of the library run, released when the run ends.
struct LibraryGuard {
  LibraryGuard() = default;
  LibraryGuard(const LibraryGuard&) = delete;
  LibraryGuard& operator=(const LibraryGuard&) = delete;
  ~LibraryGuard() { platform::release_folder_run_guard(guard); }
  platform::RunGuard guard;
};

}  // namespace

int run_library(const LibraryRequest& request, Console& console) {
  LibraryGuard guard;
  if (request.take_run_guard) {
    if (int code = platform::acquire_folder_run_guard(guard.guard)) {
      report_run_guard_failure(console, request.library, code);
      return code;
    }
  }
  library::Library library;
  std::string error;
  if (library::read_library(request.library, request.options, library, error) != 0) {
    console.write(Message::kFailure, error + "\n");
    return 2;
  }
  return index_library(request, library, console);
}

int index_library(const LibraryRequest& request, const library::Library& library,
                  Console& console) {
  platform::CancelScope cancel_scope;
  const Clock::time_point start = Clock::now();
  std::string error;
  const std::string index_path =
      request.index_path.empty() ? std::string(kDefaultIndexName) : request.index_path;
  index::IndexBuild build;
  if (!build.begin(index_path, error)) {
    console.write(Message::kFailure, error + "\n");
    return 2;
  }
  std::vector<index::IndexedFile> files = list_files(library, build);
  std::vector<size_t> work;
  for (size_t i = 0; i < files.size(); ++i) {
    if (files[i].previous == nullptr && files[i].status.empty()) work.push_back(i);
  }
  unsigned jobs = request.jobs != 0 ? request.jobs : std::thread::hardware_concurrency();
  if (jobs == 0) jobs = 1;
  if (jobs > kMostJobs) jobs = kMostJobs;
  if (work.size() < jobs) jobs = work.empty() ? 1 : static_cast<unsigned>(work.size());
  console.print("Indexing %u BGL files in %u layers of %s, %u to decode, %u at once\n",
                count(files.size()), count(library.layers.size()), request.library,
                count(work.size()), jobs);
  const StringTable* object_names = nullptr;
  if (request.names_file != nullptr && !work.empty()) {
    object_names = request.names_file->load(console);
  }
  const size_t to_decode = work.size();
  if (!build.start(request.library, library, error)) {
    console.write(Message::kFailure, "Error: " + error + "\n");
    return 2;
  }
  FactsDecode decode(request, console, files, std::move(work), object_names, build);
  const bool written = decode.run(jobs);
  if (platform::cancel_requested()) {
    console.write("Interrupted: the index is left as it was\n");
    return kInterruptedStatus;
  }
  if (!written) {
    console.write(Message::kFailure, "Error: Can't write the index " + index_path + " (" +
                                         build.database_error() + ")\n");
    return 2;
  }
  if (!build.finish(library, error)) {
    console.write(Message::kFailure, "Error: " + error + "\n");
    return 2;
  }
  for (const std::string& line : build.report()) console.write(line + "\n");
  if (!build.commit(error)) {
    console.write(Message::kFailure, "Error: " + error + "\n");
    return 2;
  }
  size_t reused = 0;
  for (const index::IndexedFile& f : files) reused += f.previous != nullptr ? 1 : 0;
  const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  console.print("Indexed: %u files, %u decoded, %u unchanged, %0.1lf MB decoded\n",
                count(files.size()), count(to_decode), count(reused), megabytes(decode.bytes()));
  console.print("Time: %0.2lf s\n", seconds);
  console.print("Index saved as %s\n", index_path);
  return 0;
}

}  // namespace terrova
