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

// Reads the whole named file into `bytes`; 0 or the error code. For small files such as the
// names file; inputs are mapped.
int read_whole_file(const char* path, std::string& bytes);

// The size of the named file from its directory entry; 0 or the error code.
int file_size(const char* path, uint64_t& size);
// Opens an existing regular file for reading, letting others read but not write it.
int open_input(const char* path, InputFile& input);
// Takes the run guard that keeps a second simultaneous run of the same user out: 0, 183 when
// another run holds it, or another error code.
int acquire_run_guard(InputFile& input);
// Maps the whole open file read-only.
int map_input(InputFile& input);
// Reads up to `size` bytes from the start of the open file into `buffer` instead of mapping it
// (a small file of a folder run: a read into a buffer that serves every file costs less than a
// mapping of its own); `read` receives the number of bytes read, fewer at the file's end.
int read_input(InputFile& input, unsigned char* buffer, uint64_t size, uint64_t& read);
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

// Console output on standard output (UTF-8 text), with the platform's own line ends.
void write_console(const char* data, size_t size);

// ---- Folder runs ----------------------------------------------------------------------------
// Listing and creating folders, the run guard of a whole folder, the console kind and the
// cancel request of Ctrl-C. Paths are UTF-8 text.

// The separator that joins folder and file names.
#ifdef _WIN32
constexpr char kPathSeparator = '\\';
#else
constexpr char kPathSeparator = '/';
#endif

// True when the path names an existing folder (also through a link).
bool is_folder(const char* path);
// Every regular file under `folder`, in every subfolder, as paths relative to it whose parts are
// joined by kPathSeparator, in no particular order. Links to folders are not followed, so a
// link cannot make the walk go round for ever. 0, or the error code with the folder that could
// not be read in `failed_folder`.
int list_files(const char* folder, std::vector<std::string>& files, std::string& failed_folder);
// ---- Library readers ------------------------------------------------------------------------
// Scenery libraries are found one folder at a time: their configuration names folders whose case
// may differ from what is on the disk.

// The names of the regular files and of the subfolders directly in `folder` (no deeper), in no
// particular order. Links are followed here: a package or an area may be a link to a folder
// elsewhere. 0 or the error code.
int list_folder_entries(const char* folder, std::vector<std::string>& files,
                        std::vector<std::string>& folders);
// True when the path names an existing regular file (also through a link).
bool is_file(const char* path);

// Creates the folder and every missing folder above it; a folder that exists already is fine.
// 0 or the error code.
int create_folders(const char* path);

// The run guard held by a whole folder run: the same guard as a single run's, so that a folder
// run and a single run keep each other out as two single runs do. 0, 183 when another run holds
// it, or another error code.
struct RunGuard {
  intptr_t handle = -1;
};
int acquire_folder_run_guard(RunGuard& guard);
void release_folder_run_guard(RunGuard& guard);

// True when standard output is a terminal (a console window), where a progress line can be
// rewritten in place with a carriage return.
bool console_is_terminal();

// Ctrl-C (and on POSIX a termination request) sets the cancel request instead of ending the
// process, while the handler is installed; a second Ctrl-C ends the process as usual. While the
// request is set, every write of an output file fails (EINTR on POSIX, ERROR_OPERATION_ABORTED on
// Windows), so a document cut short is discarded instead of kept.
void install_cancel_handler();
void remove_cancel_handler();
// The handler installed for as long as the scope lives.
class CancelScope {
 public:
  CancelScope() { install_cancel_handler(); }
  CancelScope(const CancelScope&) = delete;
  CancelScope& operator=(const CancelScope&) = delete;
  ~CancelScope() { remove_cancel_handler(); }
};
bool cancel_requested();
// What Ctrl-C does; tests call it directly.
void request_cancel();
void clear_cancel();
// The error code of a write refused by the cancel request.
int cancelled_write_code();

// ---- Library index ---------------------------------------------------------------------------
// The index file beside which its new contents are built, and the files of a library whose size
// and time tell an incremental run what changed. Paths are UTF-8 text.

// The size and the time of the last change (nanoseconds since 1970 on POSIX, 100-nanosecond
// units since 1601 on Windows: compared, never shown) of the named regular file; 0 or the error
// code.
int file_status(const char* path, uint64_t& size, int64_t& modified);
// Gives the file `from` the name `to`, replacing a file of that name; 0 or the error code.
int rename_file(const char* from, const char* to);
// Removes the named file; 0 or the error code (also when there is none).
int remove_file(const char* path);

// The folder where the run guard's lock file goes (POSIX: TMPDIR, or /tmp when TMPDIR names no
// folder the guard can be placed in); "" on Windows, where the guard is a named object.
std::string run_guard_folder();

}  // namespace terrova::platform
