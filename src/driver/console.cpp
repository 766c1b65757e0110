#include "driver/console.h"

#include "platform/platform.h"

namespace terrova {
namespace {

void drain_console(void*, const char* data, size_t size) { platform::write_console(data, size); }

// Every message is flushed as it is printed, so a small buffer does; a longer message makes
// room for itself.
constexpr size_t kConsoleBuffer = 512;

}  // namespace

Console::Console() : out_(drain_console, nullptr, false, kConsoleBuffer) {}

Console::Console(std::string* capture, uint32_t kept)
    : out_(drain_to_string, capture, false, kConsoleBuffer), kept_(kept) {}

void Console::report_system_error(const std::string& message, int code) {
  std::string text = platform::system_error_text(code);
  while (!text.empty() && (text.back() == '.' || static_cast<signed char>(text.back()) <= 32)) {
    text.pop_back();
  }
  if (text.empty()) text = "unknown error";
  print(Message::kFailure, "%s\n(%s)\nError code: %d\n", message, text, code);
}

int Console::write_whole_file(const std::string& path, const void* data, size_t size) {
  platform::OutputFile file;
  if (int code = platform::create_output(path.c_str(), file)) {
    report_system_error("Can't open " + path, code);
    return code;
  }
  int code = platform::write_output(file, static_cast<const char*>(data), size);
  if (code == 0) {
    code = platform::commit_output(file);
  } else {
    platform::discard_output(file);
  }
  if (code != 0) report_system_error("Can't write " + path, code);
  return code;
}

}  // namespace terrova
