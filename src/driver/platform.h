// The platform layer: the only code that talks to the operating system. POSIX and Windows each
// have one implementation file; nothing else includes a system header.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace terrova::platform {

// Error codes are the platform's own (errno values on POSIX, system error codes on Windows).
// Code 183 means that another run holds the run guard.
constexpr int kAlreadyExists = 183;

// The input file from opening to unmapping. Fields are handles of the platform.
struct InputFile {
  intptr_t file = -1;
  intptr_t guard = -1;  // the run guard: a lock file (POSIX) or the named mapping (Windows)
  const unsigned char* view = nullptr;
  uint64_t view_size = 0;
};

// The size of the named file from its directory entry; 0 or the error code.
int file_size(const char* path, uint64_t& size);
// Opens an existing regular file for reading, letting others read but not write it.
int open_input(const char* path, InputFile& input);
// Takes the run guard that keeps a second simultaneous run of the same user out: 0, 183 when
// another run holds it, or another error code.
int acquire_run_guard(InputFile& input);
// Maps the whole open file read-only.
int map_input(InputFile& input);
// Releases whatever is held, in the order view, guard, file.
void release_input(InputFile& input);

// True when `path` names the same file as the open input (also through another spelling or a
// link).
bool is_same_file(const InputFile& input, const char* path);

// An output file written in binary: the document sink does its own line ends.
struct OutputFile {
  intptr_t handle = -1;
};
int create_output(const char* path, OutputFile& file);
// Writes all bytes, retrying short writes; 0 or the error code.
int write_output(OutputFile& file, const char* data, size_t size);
int close_output(OutputFile& file);

// The platform's text for an error code, or "" when it has none.
std::string system_error_text(int code);

struct LocalTime {
  int year, month, day, hour, minute, second;
};
LocalTime local_time();

// The folder of the running program, with its trailing separator, as UTF-8; "" (the current
// folder) when it cannot be told. `argv0`, the name the program was started by, is the fallback.
std::string program_directory(const char* argv0);

// Console output on standard output, with the platform's own line ends.
void write_console(const char* data, size_t size);

}  // namespace terrova::platform
