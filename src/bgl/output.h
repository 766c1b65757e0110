// The output sink: one large buffer that receives the whole document.
//
// Decoders append text pieces with `write` and fill templates with `format`, which understands the
// printf conversions of the document's templates ("%s", "%d", "%u", "%x", "%X", "%c" and "%lf" with
// an optional precision such as "%0.2lf" or "%0.8X"). The templates stay literal in the decoders.
// Integers are taken as 32-bit values, as on the 32-bit platform the format was made for: a u32
// written with "%d" shows as a negative number when its top bit is set.
//
// When the buffer fills up, its contents go to the drain function. A document sink turns every LF
// into CR LF on the way out, so the document has the line ends of a Windows text-mode stream on
// every platform; a console sink passes bytes through unchanged.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

namespace terrova {

class Output;

// An argument of `Output::format`. Values that write themselves (coordinates, lengths, ...) are
// passed as any object with a member `void append_to(Output&) const`.
struct FormatArg {
  enum class Kind { kInteger, kDouble, kText, kWriter };
  Kind kind;
  union {
    uint32_t integer;
    double real;
    struct {
      const char* data;
      size_t size;
    } text;
    struct {
      void (*write)(Output&, const void*);
      const void* object;
    } writer;
  };
};

class Output {
 public:
  // Receives the finished bytes; `context` is the pointer given to the constructor.
  using Drain = void (*)(void* context, const char* data, size_t size);

  static constexpr size_t kDefaultCapacity = size_t{1} << 20;

  Output(Drain drain, void* context, bool crlf, size_t capacity = kDefaultCapacity);
  Output(const Output&) = delete;
  Output& operator=(const Output&) = delete;

  void write(std::string_view s) { write(s.data(), s.size()); }
  void write(const char* data, size_t size) {
    char* p = reserve(size);
    std::memcpy(p, data, size);
    used_ += size;
  }
  void put(char c) {
    if (used_ == buffer_.size()) make_room(1);
    buffer_[used_++] = c;
  }

  // Room for `size` more bytes at the returned pointer; `commit` tells how many were used.
  char* reserve(size_t size) {
    if (buffer_.size() - used_ < size) make_room(size);
    return buffer_.data() + used_;
  }
  void commit(char* end) { used_ = static_cast<size_t>(end - buffer_.data()); }

  template <class... Args>
  void format(const char* pattern, const Args&... args) {
    if constexpr (sizeof...(Args) == 0) {
      format_args(pattern, nullptr, 0);
    } else {
      const FormatArg list[] = {make_arg(args)...};
      format_args(pattern, list, sizeof...(Args));
    }
  }
  void format_args(const char* pattern, const FormatArg* args, size_t count);

  // "%0.<precision>lf" of a value.
  void fixed(double value, int precision);
  // "%d" of a 32-bit value.
  void decimal(int32_t value);

  // True when nothing was written yet or the last byte written was LF.
  bool at_line_start() const;
  // Sends everything written so far to the drain.
  void flush();
  // Bytes written so far (before line-end conversion).
  uint64_t written() const { return flushed_ + used_; }

 private:
  template <class T>
  static FormatArg make_arg(const T& value) {
    FormatArg a;
    if constexpr (std::is_same_v<T, bool>) {
      static_assert(!std::is_same_v<T, bool>, "write flags as text");
    } else if constexpr (std::is_integral_v<T> || std::is_enum_v<T>) {
      static_assert(sizeof(T) <= 4, "integers in templates are 32-bit values");
      a.kind = FormatArg::Kind::kInteger;
      a.integer = static_cast<uint32_t>(value);
    } else if constexpr (std::is_floating_point_v<T>) {
      a.kind = FormatArg::Kind::kDouble;
      a.real = static_cast<double>(value);
    } else if constexpr (std::is_convertible_v<const T&, std::string_view>) {
      std::string_view s = value;
      a.kind = FormatArg::Kind::kText;
      a.text.data = s.data();
      a.text.size = s.size();
    } else {
      a.kind = FormatArg::Kind::kWriter;
      a.writer.write = [](Output& out, const void* object) {
        static_cast<const T*>(object)->append_to(out);
      };
      a.writer.object = &value;
    }
    return a;
  }

  void make_room(size_t size);
  void drain_buffer();

  Drain drain_;
  void* context_;
  bool crlf_;
  std::vector<char> buffer_;
  size_t used_ = 0;
  uint64_t flushed_ = 0;
  char last_flushed_ = '\n';
  std::vector<char> converted_;
};

// Drain functions for the common destinations.
void drain_to_string(void* string, const char* data, size_t size);  // context: std::string*
void drain_discard(void* context, const char* data, size_t size);

}  // namespace terrova
