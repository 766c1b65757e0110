// Windows implementation of the platform layer. Paths arrive as UTF-8 and reach the system as
// UTF-16 through the wide calls, so that every file name opens whatever the code page.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include <atomic>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace terrova::platform {
namespace {

HANDLE as_handle(intptr_t h) { return reinterpret_cast<HANDLE>(h); }
intptr_t from_handle(HANDLE h) { return reinterpret_cast<intptr_t>(h); }
bool is_open(intptr_t h) { return h != -1 && h != 0; }
int last_error() { return static_cast<int>(::GetLastError()); }

std::wstring wide(const std::string& text) {
  if (text.empty()) return std::wstring();
  int n = ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring result(static_cast<size_t>(n), L'\0');
  ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), result.data(), n);
  return result;
}
std::wstring wide(const char* text) { return wide(std::string(text)); }

std::string utf8(const wchar_t* text, size_t size) {
  if (size == 0) return std::string();
  int n =
      ::WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(size), nullptr, 0, nullptr, nullptr);
  std::string result(static_cast<size_t>(n), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(size), result.data(), n, nullptr,
                        nullptr);
  return result;
}

}  // namespace

int file_size(const char* path, uint64_t& size) {
  // The attribute lookup reads the directory entry without taking "*" and "?" as wildcards.
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!::GetFileAttributesExW(wide(path).c_str(), GetFileExInfoStandard, &data)) {
    return last_error();
  }
  if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return ERROR_ACCESS_DENIED;
  size = (uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
  return 0;
}

int read_whole_file(const char* path, std::string& bytes) {
  HANDLE file = ::CreateFileW(wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return last_error();
  bytes.clear();
  char buffer[65536];
  int code = 0;
  for (;;) {
    DWORD n = 0;
    if (!::ReadFile(file, buffer, sizeof buffer, &n, nullptr)) {
      code = last_error();
      break;
    }
    if (n == 0) break;
    bytes.append(buffer, n);
  }
  ::CloseHandle(file);
  return code;
}

int open_input(const char* path, InputFile& input) {
  HANDLE file = ::CreateFileW(wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_READONLY, nullptr);
  if (file == INVALID_HANDLE_VALUE) return last_error();
  input.file = from_handle(file);
  return 0;
}

int acquire_run_guard(InputFile& input) {
  // The named read-only mapping of the input is the guard: a second run finds the name taken.
  HANDLE mapping =
      ::CreateFileMappingW(as_handle(input.file), nullptr, PAGE_READONLY, 0, 0, L"terrova_file");
  DWORD code = ::GetLastError();
  if (mapping == nullptr) return code != 0 ? static_cast<int>(code) : ERROR_INVALID_HANDLE;
  if (code == ERROR_ALREADY_EXISTS) {
    ::CloseHandle(mapping);
    return kAlreadyExists;
  }
  input.guard = from_handle(mapping);
  return 0;
}

int map_input(InputFile& input) {
  if (!is_open(input.guard)) {
    // Under a folder run's guard the file's own mapping needs no name.
    HANDLE mapping =
        ::CreateFileMappingW(as_handle(input.file), nullptr, PAGE_READONLY, 0, 0, nullptr);
    if (mapping == nullptr) return last_error();
    input.guard = from_handle(mapping);
  }
  void* view = ::MapViewOfFile(as_handle(input.guard), FILE_MAP_READ, 0, 0, 0);
  if (view == nullptr) {
    DWORD code = ::GetLastError();
    return code != 0 ? static_cast<int>(code) : ERROR_NOT_ENOUGH_MEMORY;
  }
  LARGE_INTEGER size;
  if (!::GetFileSizeEx(as_handle(input.file), &size)) size.QuadPart = 0;
  input.view = static_cast<const unsigned char*>(view);
  input.view_size = static_cast<uint64_t>(size.QuadPart);
  return 0;
}

int read_input(InputFile& input, unsigned char* buffer, uint64_t size, uint64_t& read) {
  read = 0;
  while (read < size) {
    const DWORD want = static_cast<DWORD>(size - read > 0x40000000 ? 0x40000000 : size - read);
    OVERLAPPED at = {};
    at.Offset = static_cast<DWORD>(read);
    at.OffsetHigh = static_cast<DWORD>(read >> 32);
    DWORD got = 0;
    if (!::ReadFile(as_handle(input.file), buffer + read, want, &got, &at)) {
      const DWORD code = ::GetLastError();
      if (code == ERROR_HANDLE_EOF) break;
      return static_cast<int>(code);
    }
    if (got == 0) break;
    read += got;
  }
  return 0;
}

void release_input(InputFile& input) {
  if (input.view != nullptr) {
    ::UnmapViewOfFile(input.view);
    input.view = nullptr;
    input.view_size = 0;
  }
  if (is_open(input.guard)) {
    ::CloseHandle(as_handle(input.guard));
    input.guard = -1;
  }
  if (is_open(input.file)) {
    ::CloseHandle(as_handle(input.file));
    input.file = -1;
  }
}

bool is_same_file(const InputFile& input, const char* path) {
  HANDLE other =
      ::CreateFileW(wide(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (other == INVALID_HANDLE_VALUE) return false;
  BY_HANDLE_FILE_INFORMATION a, b;
  bool same = ::GetFileInformationByHandle(as_handle(input.file), &a) &&
              ::GetFileInformationByHandle(other, &b) &&
              a.dwVolumeSerialNumber == b.dwVolumeSerialNumber &&
              a.nFileIndexHigh == b.nFileIndexHigh && a.nFileIndexLow == b.nFileIndexLow;
  ::CloseHandle(other);
  return same;
}

int create_output(const char* path, OutputFile& file) {
  file = OutputFile{};
  file.destination = path;
  // An existing destination is opened as the run would open it (a folder, a read-only file or a
  // file locked by another program fail here), but not truncated: a file on disk is replaced
  // later, a device such as NUL is written in place.
  HANDLE h = ::CreateFileW(wide(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    const int code = last_error();
    if (code != ERROR_FILE_NOT_FOUND) return code;
  } else if (::GetFileType(h) != FILE_TYPE_DISK) {
    file.handle = from_handle(h);
    return 0;
  } else {
    ::CloseHandle(h);
  }
  // A new name beside the destination, so that the move that puts it in place stays on one
  // volume.
  static std::atomic<unsigned> counter{0};
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string temporary = file.destination + "." + std::to_string(::GetCurrentProcessId()) + "." +
                            std::to_string(counter++) + ".part";
    h = ::CreateFileW(wide(temporary).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                      FILE_ATTRIBUTE_ARCHIVE, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
      const int code = last_error();
      if (code == ERROR_FILE_EXISTS || code == ERROR_ALREADY_EXISTS) continue;
      return code;
    }
    file.handle = from_handle(h);
    file.temporary = std::move(temporary);
    return 0;
  }
  return ERROR_FILE_EXISTS;
}

int write_output(OutputFile& file, const char* data, size_t size) {
  if (cancel_requested()) return cancelled_write_code();
  while (size > 0) {
    size_t allowed = size > 0x40000000 ? 0x40000000 : size;
    if (int code = simulated_write_limit(allowed)) return code;
    DWORD written = 0;
    if (!::WriteFile(as_handle(file.handle), data, static_cast<DWORD>(allowed), &written,
                     nullptr)) {
      return last_error();
    }
    if (written == 0) return ERROR_WRITE_FAULT;
    data += written;
    size -= written;
  }
  return 0;
}

int commit_output(OutputFile& file) {
  if (!is_open(file.handle)) return ERROR_INVALID_HANDLE;
  // No flush to the disk: the rename keeps a failed or cut-short write from replacing an earlier
  // file, and a flush per document would make a folder of files wait on the disk for each.
  int code = 0;
  if (!::CloseHandle(as_handle(file.handle))) code = last_error();
  file.handle = -1;
  if (file.temporary.empty()) return code;
  const std::wstring temporary = wide(file.temporary);
  if (code == 0 && !::MoveFileExW(temporary.c_str(), wide(file.destination).c_str(),
                                  MOVEFILE_REPLACE_EXISTING)) {
    code = last_error();
  }
  if (code != 0) ::DeleteFileW(temporary.c_str());
  file.temporary.clear();
  return code;
}

void discard_output(OutputFile& file) {
  if (is_open(file.handle)) ::CloseHandle(as_handle(file.handle));
  file.handle = -1;
  if (!file.temporary.empty()) ::DeleteFileW(wide(file.temporary).c_str());
  file.temporary.clear();
}

std::vector<std::string> command_line_arguments(int argc, char** argv) {
  int count = 0;
  wchar_t** wide_arguments = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  if (wide_arguments == nullptr) return std::vector<std::string>(argv, argv + argc);
  std::vector<std::string> arguments;
  for (int i = 0; i < count; ++i) {
    arguments.push_back(utf8(wide_arguments[i], wcslen(wide_arguments[i])));
  }
  ::LocalFree(wide_arguments);
  return arguments;
}

std::string system_error_text(int code) {
  wchar_t buffer[512];
  DWORD n = ::FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                             static_cast<DWORD>(code), 0, buffer, 512, nullptr);
  return utf8(buffer, n);
}

LocalTime local_time() {
  SYSTEMTIME t;
  ::GetLocalTime(&t);
  return LocalTime{t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
}

void write_console(const char* data, size_t size) {
  // A console shows UTF-16 whatever its code page; redirected output gets the UTF-8 bytes, with
  // the CR LF line ends of standard output in text mode.
  HANDLE console = ::GetStdHandle(STD_OUTPUT_HANDLE);
  DWORD mode = 0;
  if (console != INVALID_HANDLE_VALUE && console != nullptr && ::GetConsoleMode(console, &mode)) {
    std::fflush(stdout);
    const std::wstring text = wide(std::string(data, size));
    const wchar_t* p = text.data();
    size_t left = text.size();
    while (left > 0) {
      DWORD written = 0;
      DWORD chunk = left > 8192 ? 8192 : static_cast<DWORD>(left);
      if (!::WriteConsoleW(console, p, chunk, &written, nullptr) || written == 0) break;
      p += written;
      left -= written;
    }
    return;
  }
  std::fwrite(data, 1, size, stdout);
  std::fflush(stdout);
}

// ---- Folder runs ----------------------------------------------------------------------------

namespace {

std::atomic<bool> cancel_flag{false};
bool handler_installed = false;

int list_folder(const std::string& folder, const std::string& prefix,
                std::vector<std::string>& files, std::string& failed_folder) {
  WIN32_FIND_DATAW data;
  HANDLE find = ::FindFirstFileW(wide(folder + "\\*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) {
    failed_folder = folder;
    return static_cast<int>(::GetLastError());
  }
  std::vector<std::string> subfolders;
  do {
    const std::string name = utf8(data.cFileName, wcslen(data.cFileName));
    if (name.empty() || name == "." || name == "..") continue;
    const DWORD attributes = data.dwFileAttributes;
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
      // Junctions and folder links are not followed.
      if (!(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) subfolders.push_back(name);
    } else if (!(attributes & FILE_ATTRIBUTE_DEVICE)) {
      files.push_back(prefix + name);
    }
  } while (::FindNextFileW(find, &data));
  const DWORD code = ::GetLastError();
  ::FindClose(find);
  if (code != ERROR_NO_MORE_FILES) {
    failed_folder = folder;
    return static_cast<int>(code);
  }
  for (const std::string& name : subfolders) {
    if (int sub = list_folder(folder + "\\" + name, prefix + name + "\\", files, failed_folder)) {
      return sub;
    }
  }
  return 0;
}

BOOL WINAPI on_console_control(DWORD event) {
  if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT) return FALSE;
  // A second Ctrl-C ends the process as usual.
  if (cancel_flag.exchange(true)) return FALSE;
  return TRUE;
}

}  // namespace

bool is_folder(const char* path) {
  const DWORD attributes = ::GetFileAttributesW(wide(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

int list_files(const char* folder, std::vector<std::string>& files, std::string& failed_folder) {
  std::string root = folder;
  while (root.size() > 1 && (root.back() == '\\' || root.back() == '/') &&
         root[root.size() - 2] != ':') {
    root.pop_back();
  }
  return list_folder(root, std::string(), files, failed_folder);
}

// ---- Library readers ------------------------------------------------------------------------

int list_folder_entries(const char* folder, std::vector<std::string>& files,
                        std::vector<std::string>& folders) {
  std::string pattern = folder;
  if (pattern.empty() || (pattern.back() != '\\' && pattern.back() != '/')) pattern += '\\';
  pattern += '*';
  WIN32_FIND_DATAW data;
  HANDLE find = ::FindFirstFileW(wide(pattern).c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return last_error();
  do {
    const std::string name = utf8(data.cFileName, wcslen(data.cFileName));
    if (name.empty() || name == "." || name == "..") continue;
    const DWORD attributes = data.dwFileAttributes;
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
      folders.push_back(name);
    } else if (!(attributes & FILE_ATTRIBUTE_DEVICE)) {
      files.push_back(name);
    }
  } while (::FindNextFileW(find, &data));
  const DWORD code = ::GetLastError();
  ::FindClose(find);
  return code == ERROR_NO_MORE_FILES ? 0 : static_cast<int>(code);
}

bool is_file(const char* path) {
  const DWORD attributes = ::GetFileAttributesW(wide(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

int create_folders(const char* path) {
  const std::string full = path;
  // Every folder above the last one first (drive and share names fail harmlessly); their
  // failures show in the last one's result.
  for (size_t at = full.find_first_of("\\/", 1); at != std::string::npos;
       at = full.find_first_of("\\/", at + 1)) {
    ::CreateDirectoryW(wide(full.substr(0, at)).c_str(), nullptr);
  }
  if (::CreateDirectoryW(wide(full).c_str(), nullptr)) return 0;
  const DWORD code = ::GetLastError();
  return (code == ERROR_ALREADY_EXISTS && is_folder(path)) ? 0 : static_cast<int>(code);
}

int acquire_folder_run_guard(RunGuard& guard) {
  // A one-byte mapping of the paging file under the name that a single run's mapping takes.
  HANDLE mapping =
      ::CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 1, L"terrova_file");
  DWORD code = ::GetLastError();
  if (mapping == nullptr) return code != 0 ? static_cast<int>(code) : ERROR_INVALID_HANDLE;
  if (code == ERROR_ALREADY_EXISTS) {
    ::CloseHandle(mapping);
    return kAlreadyExists;
  }
  guard.handle = from_handle(mapping);
  return 0;
}

void release_folder_run_guard(RunGuard& guard) {
  if (is_open(guard.handle)) ::CloseHandle(as_handle(guard.handle));
  guard.handle = -1;
}

bool console_is_terminal() {
  HANDLE out = ::GetStdHandle(STD_OUTPUT_HANDLE);
  DWORD mode = 0;
  return out != INVALID_HANDLE_VALUE && out != nullptr && ::GetFileType(out) == FILE_TYPE_CHAR &&
         ::GetConsoleMode(out, &mode);
}

void install_cancel_handler() {
  if (handler_installed) return;
  ::SetConsoleCtrlHandler(on_console_control, TRUE);
  handler_installed = true;
}

void remove_cancel_handler() {
  if (!handler_installed) return;
  ::SetConsoleCtrlHandler(on_console_control, FALSE);
  handler_installed = false;
}

bool cancel_requested() { return cancel_flag.load(std::memory_order_relaxed); }
void request_cancel() { cancel_flag.store(true); }
void clear_cancel() { cancel_flag.store(false); }
int cancelled_write_code() { return ERROR_OPERATION_ABORTED; }

// ---- Library index ---------------------------------------------------------------------------

int file_status(const char* path, uint64_t& size, int64_t& modified) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!::GetFileAttributesExW(wide(path).c_str(), GetFileExInfoStandard, &data)) {
    return last_error();
  }
  if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return ERROR_ACCESS_DENIED;
  size = (uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
  modified = static_cast<int64_t>((uint64_t{data.ftLastWriteTime.dwHighDateTime} << 32) |
                                  data.ftLastWriteTime.dwLowDateTime);
  return 0;
}

int rename_file(const char* from, const char* to) {
  if (!::MoveFileExW(wide(from).c_str(), wide(to).c_str(), MOVEFILE_REPLACE_EXISTING)) {
    return last_error();
  }
  return 0;
}

int remove_file(const char* path) { return ::DeleteFileW(wide(path).c_str()) ? 0 : last_error(); }

std::string run_guard_folder() { return std::string(); }

}  // namespace terrova::platform
