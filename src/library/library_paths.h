// Folders and files as configuration files name them. A scenery.cfg, an add-on.xml or a
// layout.json was written on Windows, where names match in any case; on Linux the same names
// are matched here part by part, ignoring case, against what the disk holds.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace terrova::library {

// ASCII letters compared without their case (names beyond ASCII compare byte for byte).
bool equal_ignoring_case(std::string_view a, std::string_view b);
bool ends_with_ignoring_case(std::string_view text, std::string_view suffix);
bool starts_with_ignoring_case(std::string_view text, std::string_view prefix);
// Name order ignoring case; names equal but for case in byte order, so the order is total.
bool name_less(std::string_view a, std::string_view b);
std::string lower_ascii(std::string_view text);

bool is_bgl_name(std::string_view name);

// `folder` and `name` joined by the platform's separator.
std::string join_path(std::string_view folder, std::string_view name);
// The parts of a path written with '\' or '/', without empty parts and ".".
std::vector<std::string> split_path(std::string_view path);
// The folder of a file's path ("." when it has none).
std::string parent_folder(const std::string& path);
std::string last_part(std::string_view path);

// The files and subfolders of one folder, each in name order ignoring case.
struct FolderEntries {
  std::vector<std::string> files;
  std::vector<std::string> folders;
};
int list_sorted(const std::string& folder, FolderEntries& entries);

// The listings of the folders a reader has looked into, so that the areas of one scenery.cfg
// (thousands, side by side in one folder) list that folder once and not once each.
class FolderCache {
 public:
  const FolderEntries& entries(const std::string& folder);

 private:
  std::unordered_map<std::string, FolderEntries> folders_;
};

// Finds the parts under `base` one by one, taking the name as written when it exists and
// otherwise the one entry of the folder that matches it ignoring case (the first in name order
// when several do). `found` receives the path on disk; when a part is not there, false with
// `found` holding the path as written from that part on.
bool find_path(const std::string& base, const std::vector<std::string>& parts, bool want_folder,
               std::string& found, FolderCache& cache);

// True when a configuration file's path is relative: no drive letter, no leading separator.
bool is_relative_path(std::string_view written);

// A folder named in a configuration file: relative to `base`, an absolute Windows path ("D:\..."
// through the drive mapping), or an absolute path of this machine.
struct ConfigFolder {
  std::string folder;  // on this machine; as far as it could be resolved when not found
  bool found = false;
  std::string problem;  // why the folder could not be looked for, "" otherwise
};
ConfigFolder resolve_config_folder(std::string_view written, const std::string& base,
                                   const std::vector<std::pair<char, std::string>>& drives,
                                   FolderCache& cache);

}  // namespace terrova::library
