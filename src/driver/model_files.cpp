#include "driver/model_files.h"

namespace terrova {
namespace {

constexpr int kInvalidName = 22;  // EINVAL on POSIX, ERROR_BAD_COMMAND on Windows

// The decoders hand over plain file names; anything that could name another folder is refused,
// so no name from the input or the names file reaches outside the output folder.
bool is_plain_file_name(std::string_view name) {
  if (name.empty() || name == "." || name == "..") return false;
  for (char c : name) {
    if (c == '/' || c == '\\' || c == ':' || c == '\0') return false;
  }
  return true;
}

}  // namespace

int ModelFiles::write(void* context, std::string_view name, std::string_view bytes) {
  ModelFiles& self = *static_cast<ModelFiles*>(context);
  self.console.print(Message::kModelWritten, "Writing model %s...\n", name);
  return self.write_file(name, bytes);
}

int ModelFiles::write_file(std::string_view name, std::string_view bytes) {
  const std::string path = output_dir + std::string(name);
  if (!is_plain_file_name(name)) {
    console.report_system_error("Can't open " + path, kInvalidName);
    return kInvalidName;
  }
  return console.write_whole_file(path, bytes.data(), bytes.size());
}

}  // namespace terrova
