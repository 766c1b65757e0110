#include "text/output.h"

#include <cstring>

#include "text/numbers.h"

namespace terrova {
Output::Output(Drain drain, void* context, bool crlf, size_t capacity)
    : drain_(drain),
      context_(context),
      crlf_(crlf),
      storage_(own_),
      buffer_(own_.text.at_least(capacity < 64 ? 64 : capacity)),
      capacity_(own_.text.size()) {}

Output::Output(Drain drain, void* context, bool crlf, OutputStorage& storage)
    : drain_(drain),
      context_(context),
      crlf_(crlf),
      storage_(storage),
      buffer_(storage.text.at_least(kDefaultCapacity)),
      capacity_(storage.text.size()) {}

void Output::make_room(size_t size) {
  drain_buffer();
  if (capacity_ < size) {
    buffer_ = storage_.text.at_least(size);
    capacity_ = storage_.text.size();
  }
}

void Output::drain_buffer() {
  if (used_ == 0) return;
  const char* data = buffer_;
  if (!crlf_) {
    drain_(context_, data, used_);
  } else {
    // Every LF becomes CR LF; everything else, a lone CR included, passes unchanged.
    char* const converted = storage_.converted.at_least(used_ * 2);
    char* out = converted;
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
    drain_(context_, converted, static_cast<size_t>(out - converted));
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

void drain_to_string(void* string, const char* data, size_t size) {
  static_cast<std::string*>(string)->append(data, size);
}

void drain_discard(void*, const char*, size_t) {}

}  // namespace terrova
