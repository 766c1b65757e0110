// The output sink: one large buffer that receives the whole document.
//
// Decoders append text pieces with `write` and fill templates with `format`, which understands the
// printf conversions of the document's templates ("%s", "%d", "%u", "%x", "%X", "%c" and "%lf" with
// an optional precision such as "%0.2lf" or "%0.8X"). The templates stay literal in the decoders;
// they are parsed and checked against their arguments when the program is compiled.
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
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "text/numbers.h"

// Filling a template is forced inline at each call: the template's steps are then constants, so
// its literal runs are copied with their lengths known and no step is dispatched at run time.
#if defined(__GNUC__)
#define TERROVA_ALWAYS_INLINE [[gnu::always_inline]] inline
#define TERROVA_UNROLL_STEPS _Pragma("GCC unroll 32")
#elif defined(_MSC_VER)
#define TERROVA_ALWAYS_INLINE __forceinline
#define TERROVA_UNROLL_STEPS
#else
#define TERROVA_ALWAYS_INLINE inline
#define TERROVA_UNROLL_STEPS
#endif

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

// A template parsed when the program is compiled: literal runs and the conversions between them.
// Each step writes `literal_length` bytes of the template from `literal_begin`, then its
// conversion (none for the last step).
struct FormatStep {
  uint16_t literal_begin = 0;
  uint16_t literal_length = 0;
  char conversion = 0;    // 'd', 'u', 'x', 'X', 'c', 'f', 's'; 0 ends the template
  int8_t precision = -1;  // -1: none given
};

// What a conversion takes: 'i' an integer, 'f' a floating-point value, 's' text or a value that
// writes itself.
constexpr char conversion_takes(char conversion) {
  return conversion == 's' ? 's' : conversion == 'f' ? 'f' : 'i';
}

template <class T>
constexpr char argument_category() {
  if constexpr (std::is_same_v<T, bool>) {
    return 'b';  // flags are written as text
  } else if constexpr (std::is_integral_v<T> || std::is_enum_v<T>) {
    return sizeof(T) <= 4 ? 'i' : 'w';  // templates hold 32-bit integers only
  } else if constexpr (std::is_floating_point_v<T>) {
    return 'f';
  } else {
    return 's';
  }
}

// Reached only when a template does not fit its arguments: the program does not compile.
void template_does_not_fit_its_arguments();

class FormatPattern {
 public:
  static constexpr size_t kMaxSteps = 16;

  template <size_t N>
  consteval FormatPattern(const char (&text)[N]) : text_(text) {
    size_t literal = 0;
    size_t i = 0;
    while (i + 1 < N) {
      if (text[i] != '%') {
        ++i;
        continue;
      }
      if (text[i + 1] == '%') {  // "%%": the literal run ends with the first '%'
        add_step(literal, i + 1 - literal, 0, -1);
        i += 2;
        literal = i;
        continue;
      }
      const size_t literal_end = i++;
      // Flags and width change no text of the templates; "%0.2d" is ruled by its precision.
      while (text[i] == '0' || text[i] == '-' || text[i] == '+' || text[i] == ' ' || text[i] == '#')
        ++i;
      while (text[i] >= '0' && text[i] <= '9') ++i;
      int precision = -1;
      if (text[i] == '.') {
        ++i;
        precision = 0;
        while (text[i] >= '0' && text[i] <= '9') precision = precision * 10 + (text[i++] - '0');
      }
      while (text[i] == 'l' || text[i] == 'h' || text[i] == 'L') ++i;
      char conversion = text[i++];
      if (conversion == 'i') conversion = 'd';
      if (conversion != 'd' && conversion != 'u' && conversion != 'x' && conversion != 'X' &&
          conversion != 'c' && conversion != 'f' && conversion != 's') {
        template_does_not_fit_its_arguments();
      }
      add_step(literal, literal_end - literal, conversion, precision);
      literal = i;
    }
    add_step(literal, N - 1 - literal, 0, -1);
  }

  const char* text() const { return text_; }
  const FormatStep* steps() const { return steps_; }
  size_t step_count() const { return count_; }
  // Bytes that the literal runs and the number conversions can take together; text conversions
  // ("%s") check their own room.
  size_t room() const { return room_; }

  // Number of conversions, and what the i-th one takes (see `conversion_takes`).
  consteval size_t conversions() const {
    size_t n = 0;
    for (size_t i = 0; i < count_; ++i) n += steps_[i].conversion != 0 ? 1 : 0;
    return n;
  }
  consteval char takes(size_t index) const {
    for (size_t i = 0; i < count_; ++i) {
      if (steps_[i].conversion == 0) continue;
      if (index-- == 0) return conversion_takes(steps_[i].conversion);
    }
    return 0;
  }

 private:
  consteval void add_step(size_t begin, size_t length, char conversion, int precision) {
    if (count_ == kMaxSteps || begin > 0xFFFF || length > 0xFFFF) {
      template_does_not_fit_its_arguments();
    }
    steps_[count_++] = FormatStep{static_cast<uint16_t>(begin), static_cast<uint16_t>(length),
                                  conversion, static_cast<int8_t>(precision)};
    room_ += length;
    if (conversion == 'f') {
      room_ += kFixedRoom + static_cast<size_t>(precision < 0 ? 6 : precision);
    } else if (conversion != 0 && conversion != 's') {
      room_ += kIntegerRoom + static_cast<size_t>(precision < 0 ? 0 : precision);
    }
  }

  // The most that one number conversion writes besides its precision's digits: the 309 digits
  // before the point of the largest double with sign and point, or a 32-bit integer in decimal
  // or hexadecimal.
  static constexpr size_t kFixedRoom = 320;
  static constexpr size_t kIntegerRoom = 16;

  const char* text_;
  FormatStep steps_[kMaxSteps] = {};
  size_t count_ = 0;
  size_t room_ = 0;
};

// A template checked against the types of its arguments when the program is compiled: as many
// conversions as arguments, integers for "%d" "%u" "%x" "%X" "%c", floating-point values for
// "%lf", text or self-writing values for "%s".
template <class... Args>
class FormatString {
 public:
  template <size_t N>
  consteval FormatString(const char (&text)[N]) : pattern_(text) {
    if (pattern_.conversions() != sizeof...(Args)) template_does_not_fit_its_arguments();
    constexpr char categories[] = {argument_category<Args>()..., 0};
    for (size_t i = 0; i < sizeof...(Args); ++i) {
      if (pattern_.takes(i) != categories[i]) template_does_not_fit_its_arguments();
    }
  }
  const FormatPattern& pattern() const { return pattern_; }

 private:
  FormatPattern pattern_;
};

// A block of bytes that is never zero-filled: a new block is filled by its writer before any of
// it is read, and its pages are first touched then.
class ByteBlock {
 public:
  char* data() const { return data_.get(); }
  size_t size() const { return size_; }
  // At least `size` bytes; a block that grows does not keep its contents.
  char* at_least(size_t size) {
    if (size_ < size) {
      data_.reset();
      data_.reset(new char[size]);
      size_ = size;
    }
    return data_.get();
  }

 private:
  std::unique_ptr<char[]> data_;
  size_t size_ = 0;
};

// The buffers of an output sink: the text and its line-end conversion. An owner that writes many
// documents (a worker of a folder run) keeps them and hands them to each document's sink, so
// that a document allocates nothing and the memory stays mapped from one document to the next.
struct OutputStorage {
  ByteBlock text;
  ByteBlock converted;
};

// How the texts taken from the input file are to be read when they reach a sink through the text
// writers of format/xml.h: as Windows-1252, or as UTF-8 with Windows-1252 for the bytes of any
// sequence that is not valid UTF-8.
enum class TextEncoding : uint8_t { kWindows1252, kUtf8 };

class Output {
 public:
  // Receives the finished bytes; `context` is the pointer given to the constructor.
  using Drain = void (*)(void* context, const char* data, size_t size);

  static constexpr size_t kDefaultCapacity = size_t{1} << 20;

  // A sink with buffers of its own.
  Output(Drain drain, void* context, bool crlf, size_t capacity = kDefaultCapacity);
  // A sink that uses the caller's buffers, which outlive it (at least kDefaultCapacity bytes of
  // text are kept).
  Output(Drain drain, void* context, bool crlf, OutputStorage& storage);
  Output(const Output&) = delete;
  Output& operator=(const Output&) = delete;

  void write(std::string_view s) { write(s.data(), s.size()); }
  void write(const char* data, size_t size) {
    char* p = reserve(size);
    copy_bytes(p, data, size);
    used_ += size;
  }
  void put(char c) {
    if (used_ == capacity_) make_room(1);
    buffer_[used_++] = c;
  }

  // Room for `size` more bytes at the returned pointer; `commit` tells how many were used.
  char* reserve(size_t size) {
    if (capacity_ - used_ < size) make_room(size);
    return buffer_ + used_;
  }
  void commit(char* end) { used_ = static_cast<size_t>(end - buffer_); }

  // Writes the template with its conversions filled in from the arguments, as printf would.
  template <class... Args>
  void format(FormatString<std::type_identity_t<Args>...> pattern, const Args&... args) {
    if constexpr (sizeof...(Args) == 0) {
      format_args(pattern.pattern(), nullptr);
    } else {
      const FormatArg list[] = {make_arg(args)...};
      format_args(pattern.pattern(), list);
    }
  }
  TERROVA_ALWAYS_INLINE void format_args(const FormatPattern& pattern, const FormatArg* args);

  // "%0.<precision>lf" of a value.
  void fixed(double value, int precision);

  // True when nothing was written yet or the last byte written was LF.
  bool at_line_start() const;
  // Sends everything written so far to the drain.
  void flush();
  // Bytes written so far (before line-end conversion).
  uint64_t written() const { return flushed_ + used_; }

  // How the file texts written into this sink are read; Windows-1252 unless set.
  TextEncoding text_encoding() const { return text_encoding_; }
  void set_text_encoding(TextEncoding encoding) { text_encoding_ = encoding; }

 private:
  template <class T>
  static FormatArg make_arg(const T& value) {
    FormatArg a;
    if constexpr (std::is_integral_v<T> || std::is_enum_v<T>) {
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

  // Template pieces are mostly short: copies of up to 16 bytes stay inline.
  static void copy_bytes(char* to, const char* from, size_t size) {
    if (size >= 8 && size <= 16) {
      std::memcpy(to, from, 8);
      std::memcpy(to + size - 8, from + size - 8, 8);
    } else if (size >= 4 && size < 8) {
      std::memcpy(to, from, 4);
      std::memcpy(to + size - 4, from + size - 4, 4);
    } else if (size < 4) {
      for (size_t i = 0; i < size; ++i) to[i] = from[i];
    } else {
      std::memcpy(to, from, size);
    }
  }

  void make_room(size_t size);
  void drain_buffer();

  Drain drain_;
  void* context_;
  bool crlf_;
  OutputStorage own_;       // the buffers of a sink that has none given
  OutputStorage& storage_;  // own_ or the caller's
  char* buffer_;            // storage_.text
  size_t capacity_;         // bytes of buffer_
  size_t used_ = 0;
  uint64_t flushed_ = 0;
  char last_flushed_ = '\n';
  TextEncoding text_encoding_ = TextEncoding::kWindows1252;
};

// Drain functions for the common destinations.
void drain_to_string(void* string, const char* data, size_t size);  // context: std::string*
void drain_discard(void* context, const char* data, size_t size);

void Output::format_args(const FormatPattern& pattern, const FormatArg* args) {
  const char* text = pattern.text();
  // Room for every literal run and number of the template at once, so that they are written
  // without a check each; a text argument checks its own room and the room is taken again after
  // it.
  char* p = reserve(pattern.room());
  TERROVA_UNROLL_STEPS
  for (size_t i = 0; i < pattern.step_count(); ++i) {
    const FormatStep& step = pattern.steps()[i];
    std::memcpy(p, text + step.literal_begin, step.literal_length);
    p += step.literal_length;
    if (step.conversion == 0) continue;
    const FormatArg& a = *args++;
    const int precision = step.precision;
    switch (step.conversion) {
      case 'd':
        p = write_signed(p, static_cast<int32_t>(a.integer), precision < 0 ? 1 : precision);
        break;
      case 'u':
        p = write_unsigned(p, a.integer, precision < 0 ? 1 : precision);
        break;
      case 'x':
      case 'X':
        p = write_hex(p, a.integer, precision < 0 ? 1 : precision, step.conversion == 'X');
        break;
      case 'c':
        *p++ = static_cast<char>(a.integer);
        break;
      case 'f':
        p = write_fixed(p, a.real, precision < 0 ? 6 : precision);
        break;
      default:  // 's'
        commit(p);
        if (a.kind == FormatArg::Kind::kWriter) {
          a.writer.write(*this, a.writer.object);
        } else {
          write(a.text.data, a.text.size);
        }
        p = reserve(pattern.room());
        break;
    }
  }
  commit(p);
}

}  // namespace terrova
