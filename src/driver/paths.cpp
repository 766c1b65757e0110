#include "driver/paths.h"

#include "platform/platform.h"

namespace terrova {

std::string directory_of(const std::string& path) {
  for (size_t i = path.size(); i-- > 1;) {
    if (path[i] == '\\' || path[i] == '/') return path.substr(0, i + 1);
  }
  return std::string();
}

std::string replace_extension(const std::string& name, const std::string& extension) {
  size_t dot = name.rfind('.');
  std::string result = dot == std::string::npos ? name : name.substr(0, dot);
  return result + extension;
}

std::string join_path(const std::string& folder, const std::string& relative) {
  if (folder.empty()) return relative;
  const char last = folder.back();
  if (last == '/' || last == '\\') return folder + relative;
  return folder + platform::kPathSeparator + relative;
}

}  // namespace terrova
