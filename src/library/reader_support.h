// What the library readers share: configuration files read as text, problems gathered one line
// each, and the BGL files of one folder.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "library/ini_file.h"
#include "library/library.h"
#include "library/text_encoding.h"

namespace terrova::library {

// A damaged file reports this many of its problems and counts the rest in one more line.
constexpr size_t kProblemsPerFile = 12;

// Appends "`file`: line" for each problem of one file, at most kProblemsPerFile of them.
void add_problems(Library& library, const std::string& file,
                  const std::vector<std::string>& problems);

// Configuration files are small; a larger file is some other file named by mistake, and is not
// read into memory.
constexpr uint64_t kMaxConfigBytes = uint64_t{256} << 20;
// The status of read_text_file for a file past kMaxConfigBytes.
constexpr int kTooLarge = -1;

// Reads and decodes a configuration file; 0, kTooLarge or the system's error code. A file whose
// bytes are not all characters adds a problem line.
int read_text_file(const std::string& path, DecodedText& text, Library& library);

// Reads a configuration file of INI sections; 0, or the status of read_text_file with the message
// in `error`.
int read_ini_file(const std::string& path, Library& library, IniFile& ini, std::string& error);

// "`path`: cannot be read (reason)".
std::string unreadable(const std::string& path, int code);
// The status and message for a path that names no folder where one belongs.
int not_found(const std::string& path, std::string& error);

// The BGL files of an area or a component folder: those in its `scenery` subfolder (any case).
// With `or_folder_itself`, a folder without one gives its own files instead. A folder that
// cannot be listed adds a problem line.
std::vector<LibraryFile> area_files(const std::string& folder, bool or_folder_itself,
                                    Library& library);

// The entry of `names` equal to `name` ignoring case (the first in their order); "" when none.
std::string find_name(const std::vector<std::string>& names, const std::string& name);

// A number as a configuration file writes it (an optional sign and decimal digits, blanks
// around); false for anything else, also for numbers past 64 bits.
bool parse_integer(const std::string& text, int64_t& value);

}  // namespace terrova::library
