// Console messages of a run. They go to standard output, or into a string when a run is
// driven in-process (tests, batch runs).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "text/output.h"

namespace terrova {

// What a message is about. A folder run keeps, of each file's messages, only the kinds that its
// summary shows; the texts are the same whoever reads them.
enum class Message : uint8_t {
  kGeneral,       // the run's own text: banner, usage, help, "Done!", summaries
  kProgress,      // "Analyzing %s..."
  kModelWritten,  // "Writing model %s..."
  kPlanWritten,   // "Writing plan %s..."
  kModelRenamed,  // a model written under another name than its own, which another file holds
  kDamageCount,   // "Warning: %d malformed structures skipped"
  kFailure,       // what kept a file or one of its outputs from being written
};

// A set of message kinds.
constexpr uint32_t message_bit(Message kind) { return uint32_t{1} << static_cast<int>(kind); }
constexpr uint32_t kAllMessages = 0xFFFFFFFFu;

class Console {
 public:
  // Messages go to standard output.
  Console();
  // Messages of the kinds in `kept` are kept in `capture`; the others are dropped.
  explicit Console(std::string* capture, uint32_t kept = kAllMessages);

  template <class... Args>
  void print(FormatString<std::type_identity_t<Args>...> pattern, const Args&... args) {
    print(Message::kGeneral, pattern, args...);
  }
  template <class... Args>
  void print(Message kind, FormatString<std::type_identity_t<Args>...> pattern,
             const Args&... args) {
    if ((kept_ & message_bit(kind)) == 0) return;
    out_.format(pattern, args...);
    out_.flush();
  }
  void write(std::string_view text) { write(Message::kGeneral, text); }
  void write(Message kind, std::string_view text) {
    if ((kept_ & message_bit(kind)) == 0) return;
    out_.write(text);
    out_.flush();
  }

  // "%s\n(%s)\nError code: %d\n", a failure: the message, the system's text for the code (or
  // "unknown error"), trimmed of trailing dots and blanks, and the code.
  void report_system_error(const std::string& message, int code);

  // Creates or replaces the file and writes all bytes to it; the file takes its name only when
  // every byte was written, so a failure leaves an earlier file untouched. Reports "Can't open
  // %s" or "Can't write %s" with the system's text and returns the code, or returns 0.
  int write_whole_file(const std::string& path, const void* data, size_t size);

 private:
  Output out_;
  uint32_t kept_ = kAllMessages;
};

}  // namespace terrova
