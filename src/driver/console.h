// Console messages of a run. They go to standard output, or into a string when a run is
// driven in-process (tests, batch runs).
#pragma once

#include <string>
#include <string_view>

#include "bgl/output.h"

namespace terrova {

class Console {
 public:
  // Messages go to standard output.
  Console();
  // Messages are kept in `capture`.
  explicit Console(std::string* capture);

  template <class... Args>
  void print(FormatString<std::type_identity_t<Args>...> pattern, const Args&... args) {
    out_.format(pattern, args...);
    out_.flush();
  }
  void write(std::string_view text) {
    out_.write(text);
    out_.flush();
  }

  // "%s\n(%s)\nError code: %d\n": the message, the system's text for the code (or "unknown
  // error"), trimmed of trailing dots and blanks, and the code.
  void report_system_error(const std::string& message, int code);

  // Creates or replaces the file and writes all bytes to it; the file takes its name only when
  // every byte was written, so a failure leaves an earlier file untouched. Reports "Can't open
  // %s" or "Can't write %s" with the system's text and returns the code, or returns 0.
  int write_whole_file(const std::string& path, const void* data, size_t size);

 private:
  Output out_;
};

}  // namespace terrova
