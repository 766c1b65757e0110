// POSIX implementation of the platform layer.
#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace terrova::platform {
namespace {

int open_retrying(const char* path, int flags, mode_t mode = 0) {
  int fd;
  do {
    fd = ::open(path, flags | O_CLOEXEC, mode);
  } while (fd < 0 && errno == EINTR);
  return fd;
}

constexpr const char* kSystemTemporaryFolder = "/tmp";

// The guard's lock file in `folder`.
std::string guard_path(std::string folder) {
  if (folder.back() != '/') folder += '/';
  folder += "terrova_file." + std::to_string(::getuid()) + ".lock";
  return folder;
}

// TMPDIR when it is set, else the system's temporary folder.
std::string preferred_guard_folder() {
  const char* dir = std::getenv("TMPDIR");
  return (dir != nullptr && *dir != 0) ? dir : kSystemTemporaryFolder;
}

// Only regular files are decoded: a directory or a device has no size to map, and opening a
// pipe could wait for ever.
int regular_file_error(const struct stat& st) {
  if (S_ISREG(st.st_mode)) return 0;
  return S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
}

}  // namespace

int file_size(const char* path, uint64_t& size) {
  struct stat st;
  if (::stat(path, &st) != 0) return errno;
  if (int code = regular_file_error(st)) return code;
  size = static_cast<uint64_t>(st.st_size);
  return 0;
}

int open_input(const char* path, InputFile& input) {
  int fd = open_retrying(path, O_RDONLY | O_NONBLOCK);
  if (fd < 0) return errno;
  struct stat st;
  int code = ::fstat(fd, &st) != 0 ? errno : regular_file_error(st);
  if (code != 0) {
    ::close(fd);
    return code;
  }
  input.file = fd;
  return 0;
}

namespace {

// An advisory lock on a per-user file in the temporary directory stands for the named mapping
// object: it is released by the system when the process ends, however it ends. Returns 0 with the
// lock file's descriptor, kAlreadyExists when another run holds it, or the error code.
// A TMPDIR that names no folder where the lock file can be made (a folder that does not exist, or
// may not be written) is passed over for the system's temporary folder, so that every run of the
// user still meets the same guard there.
int open_guard_file(std::string& folder) {
  folder = preferred_guard_folder();
  int fd = open_retrying(guard_path(folder).c_str(), O_RDWR | O_CREAT | O_NOFOLLOW, 0600);
  if (fd >= 0 || folder == kSystemTemporaryFolder) return fd < 0 ? -errno : fd;
  folder = kSystemTemporaryFolder;
  fd = open_retrying(guard_path(folder).c_str(), O_RDWR | O_CREAT | O_NOFOLLOW, 0600);
  return fd < 0 ? -errno : fd;
}

int lock_run_guard(intptr_t& handle) {
  std::string folder;
  int fd = open_guard_file(folder);
  if (fd < 0) return -fd;
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    int code = (errno == EWOULDBLOCK) ? kAlreadyExists : errno;
    ::close(fd);
    return code;
  }
  handle = fd;
  return 0;
}

}  // namespace

int read_whole_file(const char* path, std::string& bytes) {
  const int fd = open_retrying(path, O_RDONLY);
  if (fd < 0) return errno;
  bytes.clear();
  char buffer[65536];
  int code = 0;
  for (;;) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0) {
      if (errno == EINTR) continue;
      code = errno;
      break;
    }
    if (n == 0) break;
    bytes.append(buffer, static_cast<size_t>(n));
  }
  ::close(fd);
  return code;
}

int acquire_run_guard(InputFile& input) { return lock_run_guard(input.guard); }

int map_input(InputFile& input) {
  struct stat st;
  if (::fstat(static_cast<int>(input.file), &st) != 0) return errno;
  size_t size = static_cast<size_t>(st.st_size);
  if (size == 0) return EINVAL;
  void* view = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, static_cast<int>(input.file), 0);
  if (view == MAP_FAILED) return errno;
  input.view = static_cast<const unsigned char*>(view);
  input.view_size = size;
  return 0;
}

int read_input(InputFile& input, unsigned char* buffer, uint64_t size, uint64_t& read) {
  read = 0;
  while (read < size) {
    const size_t want = static_cast<size_t>(std::min<uint64_t>(size - read, 0x40000000));
    const ssize_t got =
        ::pread(static_cast<int>(input.file), buffer + read, want, static_cast<off_t>(read));
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return errno;
    if (got == 0) break;
    read += static_cast<uint64_t>(got);
  }
  return 0;
}

void release_input(InputFile& input) {
  if (input.view != nullptr) {
    ::munmap(const_cast<unsigned char*>(input.view), static_cast<size_t>(input.view_size));
    input.view = nullptr;
    input.view_size = 0;
  }
  if (input.guard >= 0) {
    ::close(static_cast<int>(input.guard));
    input.guard = -1;
  }
  if (input.file >= 0) {
    ::close(static_cast<int>(input.file));
    input.file = -1;
  }
}

bool is_same_file(const InputFile& input, const char* path) {
  struct stat in, out;
  if (::fstat(static_cast<int>(input.file), &in) != 0) return false;
  if (::stat(path, &out) != 0) return false;
  return in.st_dev == out.st_dev && in.st_ino == out.st_ino;
}

namespace {

// The file a link names, so that writing through a link replaces the linked file and keeps the
// link; the path itself when it names no link.
std::string resolve_links(const char* path) {
  struct stat st;
  if (::lstat(path, &st) != 0 || !S_ISLNK(st.st_mode)) return path;
  char* resolved = ::realpath(path, nullptr);
  if (resolved == nullptr) return path;
  std::string result = resolved;
  std::free(resolved);
  return result;
}

void close_handle(OutputFile& file) {
  if (file.handle >= 0) ::close(static_cast<int>(file.handle));
  file.handle = -1;
}

}  // namespace

int create_output(const char* path, OutputFile& file) {
  file = OutputFile{};
  file.destination = resolve_links(path);
  const char* destination = file.destination.c_str();
  struct stat st;
  mode_t mode = 0666;
  bool exists = ::stat(destination, &st) == 0;
  if (exists) {
    if (S_ISDIR(st.st_mode)) return EISDIR;
    if (::access(destination, W_OK) != 0) return errno;
    if (!S_ISREG(st.st_mode)) {
      // Devices and pipes cannot be replaced: they are written in place.
      int fd = open_retrying(destination, O_WRONLY | O_TRUNC);
      if (fd < 0) return errno;
      file.handle = fd;
      return 0;
    }
    mode = st.st_mode & 07777;
  }
  // A new name beside the destination: the rename that puts it in place stays in one folder and
  // one file system.
  static std::atomic<unsigned> counter{0};
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string temporary = file.destination + "." + std::to_string(::getpid()) + "." +
                            std::to_string(counter++) + ".part";
    int fd = open_retrying(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0666);
    if (fd < 0 && errno == EEXIST) continue;
    if (fd < 0) return errno;
    // An earlier file keeps its permissions; a new one gets the usual ones (umask applied).
    if (exists) ::fchmod(fd, mode);
    file.handle = fd;
    file.temporary = std::move(temporary);
    return 0;
  }
  return EEXIST;
}

int write_output(OutputFile& file, const char* data, size_t size) {
  if (cancel_requested()) return cancelled_write_code();
  while (size > 0) {
    size_t chunk = size;
    if (int code = simulated_write_limit(chunk)) return code;
    ssize_t n = ::write(static_cast<int>(file.handle), data, chunk);
    if (n < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    if (n == 0) return EIO;
    data += n;
    size -= static_cast<size_t>(n);
  }
  return 0;
}

int commit_output(OutputFile& file) {
  if (file.handle < 0) return EBADF;
  // No fsync: the rename keeps a failed or cut-short write from replacing an earlier file, and a
  // sync per document would make a folder of thousands of files wait on the disk for each.
  int code = 0;
  if (::close(static_cast<int>(file.handle)) != 0) code = errno;
  file.handle = -1;
  if (file.temporary.empty()) return code;
  if (code == 0 && ::rename(file.temporary.c_str(), file.destination.c_str()) != 0) code = errno;
  if (code != 0) ::unlink(file.temporary.c_str());
  file.temporary.clear();
  return code;
}

void discard_output(OutputFile& file) {
  close_handle(file);
  if (!file.temporary.empty()) ::unlink(file.temporary.c_str());
  file.temporary.clear();
}

std::vector<std::string> command_line_arguments(int argc, char** argv) {
  return std::vector<std::string>(argv, argv + argc);
}

std::string system_error_text(int code) {
  char buffer[512];
  buffer[0] = 0;
#if defined(__GLIBC__) && defined(_GNU_SOURCE)
  const char* text = ::strerror_r(code, buffer, sizeof buffer);
#else
  const char* text = ::strerror_r(code, buffer, sizeof buffer) == 0 ? buffer : "";
#endif
  // The C library makes up "Unknown error N" for codes it has no text for.
  if (text == nullptr || std::strncmp(text, "Unknown error", 13) == 0) return "";
  return text;
}

LocalTime local_time() {
  std::time_t now = std::time(nullptr);
  struct tm t;
  ::localtime_r(&now, &t);
  return LocalTime{t.tm_year + 1900, t.tm_mon + 1, t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec};
}

void write_console(const char* data, size_t size) {
  std::fwrite(data, 1, size, stdout);
  std::fflush(stdout);
}

// ---- Folder runs ----------------------------------------------------------------------------

namespace {

// Set by the signal handler; an atomic flag that is lock-free is safe to store from a handler.
std::atomic<bool> cancel_flag{false};
static_assert(std::atomic<bool>::is_always_lock_free);
struct sigaction previous_interrupt, previous_terminate;
bool handler_installed = false;

extern "C" void on_cancel_signal(int) { cancel_flag.store(true); }

int list_folder(const std::string& folder, const std::string& prefix,
                std::vector<std::string>& files, std::string& failed_folder) {
  DIR* dir = ::opendir(folder.c_str());
  if (dir == nullptr) {
    failed_folder = folder;
    return errno;
  }
  std::vector<std::string> subfolders;
  for (;;) {
    errno = 0;
    const struct dirent* entry = ::readdir(dir);
    if (entry == nullptr) break;
    const std::string name = entry->d_name;
    if (name == "." || name == "..") continue;
    const std::string path = folder + '/' + name;
    struct stat st;
    if (::lstat(path.c_str(), &st) != 0) continue;  // gone since it was listed
    if (S_ISDIR(st.st_mode)) {
      subfolders.push_back(name);
    } else if (S_ISREG(st.st_mode)) {
      files.push_back(prefix + name);
    } else if (S_ISLNK(st.st_mode) && ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode)) {
      files.push_back(prefix + name);
    }
  }
  const int code = errno;
  ::closedir(dir);
  if (code != 0) {
    failed_folder = folder;
    return code;
  }
  for (const std::string& name : subfolders) {
    if (int sub = list_folder(folder + '/' + name, prefix + name + '/', files, failed_folder)) {
      return sub;
    }
  }
  return 0;
}

}  // namespace

bool is_folder(const char* path) {
  struct stat st;
  return ::stat(path, &st) == 0 && S_ISDIR(st.st_mode);
}

int list_files(const char* folder, std::vector<std::string>& files, std::string& failed_folder) {
  std::string root = folder;
  while (root.size() > 1 && root.back() == '/') root.pop_back();
  return list_folder(root, std::string(), files, failed_folder);
}

// ---- Library readers ------------------------------------------------------------------------

int list_folder_entries(const char* folder, std::vector<std::string>& files,
                        std::vector<std::string>& folders) {
  DIR* dir = ::opendir(folder);
  if (dir == nullptr) return errno;
  std::string path = folder;
  if (path.empty() || path.back() != '/') path += '/';
  const size_t stem = path.size();
  errno = 0;
  while (const struct dirent* entry = ::readdir(dir)) {
    const std::string name = entry->d_name;
    if (name == "." || name == "..") continue;
    // The entry's type spares a stat; links and file systems that give no type need one.
    if (entry->d_type == DT_DIR || entry->d_type == DT_REG) {
      (entry->d_type == DT_DIR ? folders : files).push_back(name);
      continue;
    }
    path.resize(stem);
    path += name;
    struct stat st;
    if (::stat(path.c_str(), &st) != 0) {
      errno = 0;  // a dangling link or a file gone since it was listed
      continue;
    }
    if (S_ISDIR(st.st_mode)) {
      folders.push_back(name);
    } else if (S_ISREG(st.st_mode)) {
      files.push_back(name);
    }
  }
  const int code = errno;
  ::closedir(dir);
  return code;
}

bool is_file(const char* path) {
  struct stat st;
  return ::stat(path, &st) == 0 && S_ISREG(st.st_mode);
}

int create_folders(const char* path) {
  const std::string full = path;
  // Every folder above the last one first; their failures show in the last one's result.
  for (size_t at = full.find('/', 1); at != std::string::npos; at = full.find('/', at + 1)) {
    ::mkdir(full.substr(0, at).c_str(), 0777);
  }
  if (::mkdir(full.c_str(), 0777) == 0) return 0;
  const int code = errno;
  return (code == EEXIST && is_folder(path)) ? 0 : code;
}

int acquire_folder_run_guard(RunGuard& guard) {
  // The same lock file as a single run's guard.
  return lock_run_guard(guard.handle);
}

void release_folder_run_guard(RunGuard& guard) {
  if (guard.handle >= 0) ::close(static_cast<int>(guard.handle));
  guard.handle = -1;
}

bool console_is_terminal() { return ::isatty(STDOUT_FILENO) == 1; }

void install_cancel_handler() {
  if (handler_installed) return;
  struct sigaction action;
  std::memset(&action, 0, sizeof action);
  action.sa_handler = on_cancel_signal;
  sigemptyset(&action.sa_mask);
  // One signal asks to stop; the handler is then reset, so a second one ends the process.
  action.sa_flags = static_cast<int>(SA_RESETHAND);
  ::sigaction(SIGINT, &action, &previous_interrupt);
  ::sigaction(SIGTERM, &action, &previous_terminate);
  handler_installed = true;
}

void remove_cancel_handler() {
  if (!handler_installed) return;
  ::sigaction(SIGINT, &previous_interrupt, nullptr);
  ::sigaction(SIGTERM, &previous_terminate, nullptr);
  handler_installed = false;
}

bool cancel_requested() { return cancel_flag.load(std::memory_order_relaxed); }
void request_cancel() { cancel_flag.store(true); }
void clear_cancel() { cancel_flag.store(false); }
int cancelled_write_code() { return EINTR; }

// ---- Library index ---------------------------------------------------------------------------

int file_status(const char* path, uint64_t& size, int64_t& modified) {
  struct stat st;
  if (::stat(path, &st) != 0) return errno;
  if (int code = regular_file_error(st)) return code;
  size = static_cast<uint64_t>(st.st_size);
  modified = static_cast<int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
  return 0;
}

int rename_file(const char* from, const char* to) { return ::rename(from, to) == 0 ? 0 : errno; }

int remove_file(const char* path) { return ::unlink(path) == 0 ? 0 : errno; }

std::string run_guard_folder() {
  std::string folder;
  const int fd = open_guard_file(folder);
  if (fd >= 0) ::close(fd);
  return folder;
}

}  // namespace terrova::platform
