#include "library/reader_support.h"

#include "library/library_paths.h"
#include "platform/platform.h"

namespace terrova::library {

void add_problems(Library& library, const std::string& file,
                  const std::vector<std::string>& problems) {
  for (size_t i = 0; i < problems.size() && i < kProblemsPerFile; ++i) {
    library.problems.push_back(file + ": " + problems[i]);
  }
  if (problems.size() > kProblemsPerFile) {
    library.problems.push_back(file + ": " + std::to_string(problems.size() - kProblemsPerFile) +
                               " more problems");
  }
}

int read_ini_file(const std::string& path, Library& library, IniFile& ini, std::string& error) {
  DecodedText text;
  if (const int code = read_text_file(path, text, library)) {
    error = unreadable(path, code);
    return code;
  }
  ini = parse_ini(text.text);
  return 0;
}

std::string unreadable(const std::string& path, int code) {
  if (code == kTooLarge) {
    return path + ": cannot be read (larger than " + std::to_string(kMaxConfigBytes >> 20) +
           " MB: not a configuration file)";
  }
  const std::string reason = platform::system_error_text(code);
  return path + ": cannot be read (" + (reason.empty() ? "error " + std::to_string(code) : reason) +
         ")";
}

int read_text_file(const std::string& path, DecodedText& text, Library& library) {
  uint64_t size = 0;
  if (int code = platform::file_size(path.c_str(), size)) return code;
  if (size > kMaxConfigBytes) return kTooLarge;
  std::string bytes;
  if (int code = platform::read_whole_file(path.c_str(), bytes)) return code;
  text = decode_text(bytes);
  if (text.damaged) {
    library.problems.push_back(path + ": holds bytes that are no characters of its encoding");
  }
  return 0;
}

int not_found(const std::string& path, std::string& error) {
  uint64_t size = 0;
  const int code = platform::file_size(path.c_str(), size);
  if (code == 0) {
    error = path + ": a file, where a folder belongs";
    return 2;
  }
  error = unreadable(path, code);
  return code;
}

namespace {

// The BGL files directly in `folder`, in name order ignoring case; `relative_prefix` goes
// before each name in LibraryFile::relative.
std::vector<LibraryFile> bgl_files_in(const std::string& folder, const std::string& relative_prefix,
                                      Library& library) {
  std::vector<LibraryFile> files;
  FolderEntries entries;
  if (int code = list_sorted(folder, entries)) library.problems.push_back(unreadable(folder, code));
  for (const std::string& name : entries.files) {
    if (is_bgl_name(name)) files.push_back({join_path(folder, name), relative_prefix + name});
  }
  return files;
}

}  // namespace

std::vector<LibraryFile> area_files(const std::string& folder, bool or_folder_itself,
                                    Library& library) {
  FolderEntries entries;
  if (int code = list_sorted(folder, entries)) {
    library.problems.push_back(unreadable(folder, code));
    return {};
  }
  const std::string scenery = find_name(entries.folders, "scenery");
  if (!scenery.empty()) return bgl_files_in(join_path(folder, scenery), scenery + "/", library);
  if (or_folder_itself) return bgl_files_in(folder, "", library);
  return {};
}

std::string find_name(const std::vector<std::string>& names, const std::string& name) {
  for (const std::string& n : names) {
    if (n == name) return n;
  }
  for (const std::string& n : names) {
    if (equal_ignoring_case(n, name)) return n;
  }
  return std::string();
}

bool parse_integer(const std::string& text, int64_t& value) {
  size_t at = 0, end = text.size();
  while (at < end && (text[at] == ' ' || text[at] == '\t')) ++at;
  while (end > at && (text[end - 1] == ' ' || text[end - 1] == '\t')) --end;
  bool negative = false;
  if (at < end && (text[at] == '-' || text[at] == '+')) negative = text[at++] == '-';
  if (at == end) return false;
  uint64_t magnitude = 0;
  for (; at < end; ++at) {
    if (text[at] < '0' || text[at] > '9') return false;
    const auto digit = static_cast<uint64_t>(text[at] - '0');
    if (magnitude > (uint64_t{1} << 63) / 10) return false;
    magnitude = magnitude * 10 + digit;
    if (magnitude > (uint64_t{1} << 63) - (negative ? 0 : 1)) return false;
  }
  value = negative ? static_cast<int64_t>(0 - magnitude) : static_cast<int64_t>(magnitude);
  return true;
}

}  // namespace terrova::library
