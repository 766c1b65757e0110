#include "driver/names_file.h"

#include <cerrno>
#include <cstdio>

#include "driver/platform.h"
#include "scenery/object_names.h"

namespace terrova {
namespace {

// Reads the whole file; 0 or the error code.
int read_file(const std::string& path, uint64_t size, std::string& text) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return errno != 0 ? errno : EIO;
  text.resize(static_cast<size_t>(size));
  const size_t read = std::fread(text.data(), 1, text.size(), file);
  const int code = std::ferror(file) ? (errno != 0 ? errno : EIO) : 0;
  std::fclose(file);
  text.resize(read);  // a file that shrank since its size was taken is read as it is now
  return code;
}

}  // namespace

void load_object_names(Console& console, const std::string& path, StringTable& names) {
  uint64_t size = 0;
  if (int code = platform::file_size(path.c_str(), size)) {
    console.report_system_error("Can't open " + path, code);
    return;
  }
  if (size == 0) {
    console.print("%s is 0 bytes in size. Nothing to decode\n", path);
    return;
  }
  std::string text;
  if (int code = read_file(path, size, text)) {
    console.report_system_error("Can't open " + path, code);
    return;
  }
  parse_object_names(text, names);
}

}  // namespace terrova
