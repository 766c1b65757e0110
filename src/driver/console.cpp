#include "driver/console.h"

#include "driver/platform.h"

namespace terrova {
namespace {

void drain_console(void*, const char* data, size_t size) { platform::write_console(data, size); }

}  // namespace

Console::Console() : out_(drain_console, nullptr, false) {}

Console::Console(std::string* capture) : out_(drain_to_string, capture, false) {}

void Console::report_system_error(const std::string& message, int code) {
  std::string text = platform::system_error_text(code);
  while (!text.empty() && (text.back() == '.' || static_cast<signed char>(text.back()) <= 32)) {
    text.pop_back();
  }
  if (text.empty()) text = "unknown error";
  print("%s\n(%s)\nError code: %d\n", message, text, code);
}

}  // namespace terrova
