// A library that is a plain folder of BGL files: one layer, its files in name order ignoring
// case. Configuration files (scenery.cfg, add-on.xml, layout.json) are read by the readers of
// their own.
#include <algorithm>

#include "library/library.h"
#include "platform/platform.h"

namespace terrova::library {
namespace {

char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }

bool is_bgl(const std::string& name) {
  if (name.size() < 4) return false;
  return name[name.size() - 4] == '.' && lower(name[name.size() - 3]) == 'b' &&
         lower(name[name.size() - 2]) == 'g' && lower(name[name.size() - 1]) == 'l';
}

bool before_ignoring_case(const std::string& a, const std::string& b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                      [](char x, char y) { return lower(x) < lower(y); });
}

}  // namespace

int read_library(const std::string& library, const LibraryOptions&, Library& out,
                 std::string& error) {
  if (!platform::is_folder(library.c_str())) {
    error = "Error: " + library + " is not a folder of BGL files";
    return 2;
  }
  std::vector<std::string> names;
  std::string failed_folder;
  if (int code = platform::list_files(library.c_str(), names, failed_folder)) {
    error = "Error: can't open " + failed_folder + " (" + platform::system_error_text(code) + ")";
    return code;
  }
  std::vector<std::string> bgl;
  for (std::string& name : names) {
    if (is_bgl(name)) bgl.push_back(std::move(name));
  }
  std::sort(bgl.begin(), bgl.end(), before_ignoring_case);
  out.kind = "folder";
  Layer& layer = out.layers.emplace_back();
  layer.kind = "area";
  std::string title = library;
  while (title.size() > 1 && (title.back() == '/' || title.back() == '\\')) title.pop_back();
  const size_t slash = title.find_last_of("/\\");
  layer.title = slash == std::string::npos ? title : title.substr(slash + 1);
  layer.folder = library;
  layer.layer = 1;
  for (std::string& name : bgl) {
    std::string path = library;
    if (!path.empty() && path.back() != '/' && path.back() != '\\')
      path += platform::kPathSeparator;
    layer.files.push_back({path + name, std::move(name)});
  }
  return 0;
}

}  // namespace terrova::library
