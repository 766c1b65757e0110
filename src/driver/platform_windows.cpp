// Windows implementation of the platform layer.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <atomic>
#include <cstdio>
#include <string>
#include <vector>

#include "driver/platform.h"

namespace terrova::platform {
namespace {

HANDLE as_handle(intptr_t h) { return reinterpret_cast<HANDLE>(h); }
intptr_t from_handle(HANDLE h) { return reinterpret_cast<intptr_t>(h); }
bool is_open(intptr_t h) { return h != -1 && h != 0; }

}  // namespace

std::string program_directory(const char* argv0) {
  std::wstring wide(MAX_PATH, L'\0');
  DWORD n = 0;
  for (;;) {
    n = ::GetModuleFileNameW(nullptr, wide.data(), static_cast<DWORD>(wide.size()));
    if (n == 0 || n < wide.size()) break;
    wide.resize(wide.size() * 2);  // the name was cut: try a larger buffer
  }
  std::string path;
  if (n != 0) {
    const int length = ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(n), nullptr,
                                             0, nullptr, nullptr);
    path.resize(static_cast<size_t>(length));
    ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(n), path.data(), length,
                          nullptr, nullptr);
  } else if (argv0 != nullptr) {
    path = argv0;
  }
  const size_t separator = path.find_last_of("\\/");
  return separator == std::string::npos ? std::string() : path.substr(0, separator + 1);
}

int file_size(const char* path, uint64_t& size) {
  WIN32_FIND_DATAA data;
  HANDLE find = ::FindFirstFileA(path, &data);
  if (find == INVALID_HANDLE_VALUE) return static_cast<int>(::GetLastError());
  ::FindClose(find);
  if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return ERROR_ACCESS_DENIED;
  size = (uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
  return 0;
}

int open_input(const char* path, InputFile& input) {
  HANDLE file = ::CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_READONLY, nullptr);
  if (file == INVALID_HANDLE_VALUE) return static_cast<int>(::GetLastError());
  input.file = from_handle(file);
  return 0;
}

int acquire_run_guard(InputFile& input) {
  // The named read-only mapping of the input is the guard: a second run finds the name taken.
  HANDLE mapping =
      ::CreateFileMappingA(as_handle(input.file), nullptr, PAGE_READONLY, 0, 0, "terrova_file");
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
  HANDLE other = ::CreateFileA(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
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
  HANDLE h = ::CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_ARCHIVE,
                           nullptr);
  if (h == INVALID_HANDLE_VALUE) return static_cast<int>(::GetLastError());
  file.handle = from_handle(h);
  return 0;
}

int write_output(OutputFile& file, const char* data, size_t size) {
  if (cancel_requested()) return cancelled_write_code();
  while (size > 0) {
    DWORD chunk = size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size);
    DWORD written = 0;
    if (!::WriteFile(as_handle(file.handle), data, chunk, &written, nullptr)) {
      return static_cast<int>(::GetLastError());
    }
    if (written == 0) return ERROR_WRITE_FAULT;
    data += written;
    size -= written;
  }
  return 0;
}

int close_output(OutputFile& file) {
  if (!is_open(file.handle)) return 0;
  int code = ::CloseHandle(as_handle(file.handle)) ? 0 : static_cast<int>(::GetLastError());
  file.handle = -1;
  return code;
}

std::string system_error_text(int code) {
  char buffer[512];
  DWORD n = ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                             static_cast<DWORD>(code), 0, buffer, sizeof buffer, nullptr);
  return std::string(buffer, n);
}

LocalTime local_time() {
  SYSTEMTIME t;
  ::GetLocalTime(&t);
  return LocalTime{t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
}

void write_console(const char* data, size_t size) {
  // Standard output in text mode turns LF into the platform's CR LF.
  std::fwrite(data, 1, size, stdout);
  std::fflush(stdout);
}

// ---- Folder runs ----------------------------------------------------------------------------

namespace {

std::atomic<bool> cancel_flag{false};
bool handler_installed = false;

std::wstring to_wide(const std::string& text) {
  if (text.empty()) return std::wstring();
  const int length =
      ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(length), L'\0');
  ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(),
                        length);
  return wide;
}

std::string to_utf8(const wchar_t* wide) {
  const int length = ::WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
  if (length <= 1) return std::string();
  std::string text(static_cast<size_t>(length), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, wide, -1, text.data(), length, nullptr, nullptr);
  text.pop_back();  // the terminating zero
  return text;
}

int list_folder(const std::string& folder, const std::string& prefix,
                std::vector<std::string>& files, std::string& failed_folder) {
  WIN32_FIND_DATAW data;
  HANDLE find = ::FindFirstFileW(to_wide(folder + "\\*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) {
    failed_folder = folder;
    return static_cast<int>(::GetLastError());
  }
  std::vector<std::string> subfolders;
  do {
    const std::string name = to_utf8(data.cFileName);
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
  const DWORD attributes = ::GetFileAttributesW(to_wide(path).c_str());
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

int create_folders(const char* path) {
  const std::string full = path;
  // Every folder above the last one first (drive and share names fail harmlessly); their
  // failures show in the last one's result.
  for (size_t at = full.find_first_of("\\/", 1); at != std::string::npos;
       at = full.find_first_of("\\/", at + 1)) {
    ::CreateDirectoryW(to_wide(full.substr(0, at)).c_str(), nullptr);
  }
  if (::CreateDirectoryW(to_wide(full).c_str(), nullptr)) return 0;
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

}  // namespace terrova::platform
