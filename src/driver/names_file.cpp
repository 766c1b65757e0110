#include "driver/names_file.h"

#include "platform/platform.h"
#include "scenery/object_names.h"

namespace terrova {

void load_object_names(Console& console, const std::string& path, StringTable& names) {
  uint64_t size = 0;
  if (int code = platform::file_size(path.c_str(), size)) {
    console.report_system_error("Can't open " + path, code);
    return;
  }
  if (size == 0) {
    console.print(Message::kFailure, "%s is 0 bytes in size. Nothing to decode\n", path);
    return;
  }
  std::string text;
  if (int code = platform::read_whole_file(path.c_str(), text)) {
    console.report_system_error("Can't open " + path, code);
    return;
  }
  parse_object_names(text, names);
}

}  // namespace terrova
