// The platform layer: the only code that talks to the operating system. POSIX and Windows each
// have one implementation file; nothing else includes a system header.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

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

// Paths are UTF-8 text.

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
//
// A document or model file is never left half-written and never replaces a good file with a
// broken one: the bytes go to a new temporary file in the destination's folder, which takes the
// destination's name only when every byte was written. A destination that exists but is not a
// regular file (a device such as /dev/null, a pipe) is written in place.
struct OutputFile {
  intptr_t handle = -1;
  std::string destination;  // the file as named, or the file a link names
  std::string temporary;    // the file being written; empty when writing in place
};
// Opens the output for `path` (UTF-8). Fails as opening the destination itself would: a folder
// that does not exist, a destination that is a folder or may not be written.
int create_output(const char* path, OutputFile& file);
// Writes all bytes, retrying short writes; 0 or the error code.
int write_output(OutputFile& file, const char* data, size_t size);
// Closes the file and puts it in place of the destination; 0 or the error code. On failure the
// temporary file is removed and an earlier file of that name is untouched.
int commit_output(OutputFile& file);
// Closes the file and removes the temporary file; the destination is untouched.
void discard_output(OutputFile& file);

// For tests: from now on, writes of output files fail with `code` once `bytes` more bytes were
// written in total, as a full disk would; a code of 0 ends the simulated failure.
void simulate_write_failure(uint64_t bytes, int code);
// Used by the implementations before each write: cuts `size` to what may still be written and
// returns the simulated error code once nothing may; 0 while no failure is simulated.
int simulated_write_limit(size_t& size);

// The command-line arguments in UTF-8 (on Windows read from the wide command line, so that any
// file name arrives whole).
std::vector<std::string> command_line_arguments(int argc, char** argv);

// The platform's text for an error code, or "" when it has none.
std::string system_error_text(int code);

struct LocalTime {
  int year, month, day, hour, minute, second;
};
LocalTime local_time();

// The folder of the running program, with its trailing separator, as UTF-8; "" (the current
// folder) when it cannot be told. `argv0`, the name the program was started by, is the fallback.
std::string program_directory(const char* argv0);

// Console output on standard output (UTF-8 text), with the platform's own line ends.
void write_console(const char* data, size_t size);

}  // namespace terrova::platform
