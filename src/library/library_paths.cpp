#include "library/library_paths.h"

#include <algorithm>

#include "platform/platform.h"

namespace terrova::library {
namespace {

char fold(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool is_separator(char c) { return c == '\\' || c == '/'; }

// The entry of `names` that is `part` ignoring case, first in name order; nullptr when none.
const std::string* match(const std::vector<std::string>& names, const std::string& part) {
  const std::string* best = nullptr;
  for (const std::string& name : names) {
    if (equal_ignoring_case(name, part) && (best == nullptr || name_less(name, *best))) {
      best = &name;
    }
  }
  return best;
}

}  // namespace

bool equal_ignoring_case(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (fold(a[i]) != fold(b[i])) return false;
  }
  return true;
}

bool ends_with_ignoring_case(std::string_view text, std::string_view suffix) {
  return text.size() >= suffix.size() &&
         equal_ignoring_case(text.substr(text.size() - suffix.size()), suffix);
}

bool starts_with_ignoring_case(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && equal_ignoring_case(text.substr(0, prefix.size()), prefix);
}

bool name_less(std::string_view a, std::string_view b) {
  const size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    const auto x = static_cast<unsigned char>(fold(a[i]));
    const auto y = static_cast<unsigned char>(fold(b[i]));
    if (x != y) return x < y;
  }
  if (a.size() != b.size()) return a.size() < b.size();
  return a < b;
}

std::string lower_ascii(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = fold(c);
  return out;
}

bool is_bgl_name(std::string_view name) { return ends_with_ignoring_case(name, ".bgl"); }

std::string join_path(std::string_view folder, std::string_view name) {
  std::string out(folder);
  if (out.empty()) return std::string(name);
  if (!is_separator(out.back())) out += platform::kPathSeparator;
  out += name;
  return out;
}

std::vector<std::string> split_path(std::string_view path) {
  std::vector<std::string> parts;
  size_t start = 0;
  for (size_t i = 0; i <= path.size(); ++i) {
    if (i < path.size() && !is_separator(path[i])) continue;
    const std::string_view part = path.substr(start, i - start);
    if (!part.empty() && part != ".") parts.emplace_back(part);
    start = i + 1;
  }
  return parts;
}

std::string parent_folder(const std::string& path) {
  size_t at = path.size();
  while (at > 0 && !is_separator(path[at - 1])) --at;
  if (at == 0) return ".";
  if (at == 1) return path.substr(0, 1);  // the root
  return path.substr(0, at - 1);
}

std::string last_part(std::string_view path) {
  while (!path.empty() && is_separator(path.back())) path.remove_suffix(1);
  size_t at = path.size();
  while (at > 0 && !is_separator(path[at - 1])) --at;
  return std::string(path.substr(at));
}

int list_sorted(const std::string& folder, FolderEntries& entries) {
  entries = FolderEntries{};
  const int code = platform::list_folder_entries(folder.c_str(), entries.files, entries.folders);
  const auto by_name = [](const std::string& a, const std::string& b) { return name_less(a, b); };
  std::sort(entries.files.begin(), entries.files.end(), by_name);
  std::sort(entries.folders.begin(), entries.folders.end(), by_name);
  return code;
}

const FolderEntries& FolderCache::entries(const std::string& folder) {
  auto [at, added] = folders_.try_emplace(folder);
  if (added) list_sorted(folder, at->second);
  return at->second;
}

bool find_path(const std::string& base, const std::vector<std::string>& parts, bool want_folder,
               std::string& found, FolderCache& cache) {
  found = base;
  for (size_t i = 0; i < parts.size(); ++i) {
    const bool last = i + 1 == parts.size();
    const bool folder = !last || want_folder;
    std::string exact = join_path(found, parts[i]);
    const auto exists = [&](const std::string& path) {
      return folder ? platform::is_folder(path.c_str()) : platform::is_file(path.c_str());
    };
    if (parts[i] == ".." || exists(exact)) {
      found = std::move(exact);
      continue;
    }
    const FolderEntries& entries = cache.entries(found);
    const std::string* name = match(folder ? entries.folders : entries.files, parts[i]);
    if (name == nullptr) {
      for (size_t j = i; j < parts.size(); ++j) found = join_path(found, parts[j]);
      return false;
    }
    found = join_path(found, *name);
  }
  return want_folder ? platform::is_folder(found.c_str()) : platform::is_file(found.c_str());
}

bool is_relative_path(std::string_view written) {
  const bool drive =
      written.size() >= 2 && written[1] == ':' &&
      ((written[0] >= 'A' && written[0] <= 'Z') || (written[0] >= 'a' && written[0] <= 'z'));
  return !drive && !(!written.empty() && is_separator(written[0]));
}

ConfigFolder resolve_config_folder(std::string_view written, const std::string& base,
                                   const std::vector<std::pair<char, std::string>>& drives,
                                   FolderCache& cache) {
  ConfigFolder out;
  const bool drive_path = !is_relative_path(written) && !is_separator(written[0]);
  std::string start = base;
  std::string_view rest = written;
  if (drive_path) {
    const char letter = fold(written[0]);
    const auto mapped = std::find_if(drives.begin(), drives.end(),
                                     [&](const auto& d) { return fold(d.first) == letter; });
    rest.remove_prefix(2);
    if (mapped != drives.end()) {
      start = mapped->second;
    } else {
#ifdef _WIN32
      // The system knows its own drives.
      start = std::string(written.substr(0, 2)) + "\\";
#else
      out.folder = std::string(written);
      out.problem = "the drive " + std::string(written.substr(0, 2)) +
                    " has no folder on this machine (give the drive mapping)";
      return out;
#endif
    }
  } else if (written.size() >= 2 && is_separator(written[0]) && is_separator(written[1])) {
#ifdef _WIN32
    out.folder = std::string(written);
    out.found = platform::is_folder(out.folder.c_str());
#else
    out.folder = std::string(written);
    out.problem = "a network path, which this machine cannot reach";
#endif
    return out;
  } else if (!written.empty() && is_separator(written[0])) {
    start.assign(1, platform::kPathSeparator);
  }
  out.found = find_path(start, split_path(rest), true, out.folder, cache);
  return out;
}

}  // namespace terrova::library
