#include "bgl/output.h"

#include <cassert>

#include "bgl/numbers.h"

namespace terrova {
Output::Output(Drain drain, void* context, bool crlf, size_t capacity)
    : drain_(drain), context_(context), crlf_(crlf), buffer_(capacity < 64 ? 64 : capacity) {}

void Output::make_room(size_t size) {
  drain_buffer();
  if (buffer_.size() < size) buffer_.resize(size);
}

void Output::drain_buffer() {
  if (used_ == 0) return;
  const char* data = buffer_.data();
  if (!crlf_) {
    drain_(context_, data, used_);
  } else {
    // Every LF becomes CR LF; everything else, a lone CR included, passes unchanged.
    if (converted_.size() < used_ * 2) converted_.resize(used_ * 2);
    char* out = converted_.data();
    const char* p = data;
    const char* end = data + used_;
    while (p < end) {
      const void* lf = std::memchr(p, '\n', static_cast<size_t>(end - p));
      const char* stop = lf ? static_cast<const char*>(lf) : end;
      size_t n = static_cast<size_t>(stop - p);
      std::memcpy(out, p, n);
      out += n;
      p = stop;
      if (lf) {
        *out++ = '\r';
        *out++ = '\n';
        ++p;
      }
    }
    drain_(context_, converted_.data(), static_cast<size_t>(out - converted_.data()));
  }
  last_flushed_ = buffer_[used_ - 1];
  flushed_ += used_;
  used_ = 0;
}

void Output::flush() { drain_buffer(); }

bool Output::at_line_start() const {
  return (used_ == 0 ? last_flushed_ : buffer_[used_ - 1]) == '\n';
}

void Output::fixed(double value, int precision) {
  char* p = reserve(fixed_room(value, precision));
  commit(write_fixed(p, value, precision));
}

void Output::decimal(int32_t value) {
  char* p = reserve(12);
  commit(write_signed(p, value));
}

void Output::format_args(const char* pattern, const FormatArg* args, size_t count) {
  size_t next = 0;
  const char* p = pattern;
  for (;;) {
    const char* percent = std::strchr(p, '%');
    if (percent == nullptr) {
      write(p, std::strlen(p));
      break;
    }
    write(p, static_cast<size_t>(percent - p));
    p = percent + 1;
    if (*p == '%') {
      put('%');
      ++p;
      continue;
    }
    // Flags and width do not change any text of the templates: "%0.2d" is ruled by its
    // precision, and no template pads to a width.
    while (*p == '0' || *p == '-' || *p == '+' || *p == ' ' || *p == '#') ++p;
    while (*p >= '0' && *p <= '9') ++p;
    int precision = -1;
    if (*p == '.') {
      ++p;
      precision = 0;
      while (*p >= '0' && *p <= '9') precision = precision * 10 + (*p++ - '0');
    }
    while (*p == 'l' || *p == 'h' || *p == 'L') ++p;
    const char conversion = *p++;
    assert(next < count && "template has more conversions than arguments");
    if (next >= count) break;
    const FormatArg& a = args[next++];
    switch (conversion) {
      case 'd':
      case 'i': {
        assert(a.kind == FormatArg::Kind::kInteger);
        char* q = reserve(12);
        commit(write_signed(q, static_cast<int32_t>(a.integer), precision < 0 ? 1 : precision));
        break;
      }
      case 'u': {
        assert(a.kind == FormatArg::Kind::kInteger);
        char* q = reserve(12);
        commit(write_unsigned(q, a.integer, precision < 0 ? 1 : precision));
        break;
      }
      case 'x':
      case 'X': {
        assert(a.kind == FormatArg::Kind::kInteger);
        int digits = precision < 0 ? 1 : precision;
        char* q = reserve(static_cast<size_t>(digits) + 8);
        commit(write_hex(q, a.integer, digits, conversion == 'X'));
        break;
      }
      case 'c':
        assert(a.kind == FormatArg::Kind::kInteger);
        put(static_cast<char>(a.integer));
        break;
      case 'f':
        assert(a.kind == FormatArg::Kind::kDouble);
        fixed(a.real, precision < 0 ? 6 : precision);
        break;
      case 's':
        if (a.kind == FormatArg::Kind::kWriter) {
          a.writer.write(*this, a.writer.object);
        } else {
          assert(a.kind == FormatArg::Kind::kText);
          write(a.text.data, a.text.size);
        }
        break;
      default:
        assert(false && "conversion not used by any template");
        break;
    }
  }
  assert(next == count && "template has fewer conversions than arguments");
}

void drain_to_string(void* string, const char* data, size_t size) {
  static_cast<std::string*>(string)->append(data, size);
}

void drain_discard(void*, const char*, size_t) {}

}  // namespace terrova
