// Bounds-checked view of the mapped input file.
//
// Every offset of the format is a file offset, counted from the first byte of the file, so a view
// is addressed by file offsets too. A view covers [begin, end) of the image; it can be narrowed to
// a record or sub-record, and every read outside it yields zero instead of touching memory. The
// decoders check up front that the fixed part of a record fits (`contains`) and treat a record
// that does not fit as damaged; the zero result of a read outside the view is only a safety net
// that keeps any missed check from reading outside the image.
//
// For the unread-bytes report a view may carry the decode's `Coverage` (coverage.h): every read
// then marks the bytes it read. Views narrowed from it carry it too. Without it (the default) a
// number read costs nothing more: its bounds check runs against `fast_end_`, which is the view's
// end without a collector and 0 with one, so that with a collector every read takes the path that
// checks against the real end and marks what it read.
#pragma once

#include <cstdint>
#include <cstring>
#include <string_view>

namespace terrova {

class Coverage;
// Marks `length` bytes at file offset `offset` as read (coverage.cpp).
void mark_read(Coverage* coverage, uint64_t offset, uint64_t length);

class Image {
 public:
  Image() = default;
  Image(const unsigned char* data, uint32_t size)
      : data_(data), begin_(0), end_(size), fast_end_(size) {}

  uint32_t begin() const { return begin_; }
  uint32_t end() const { return end_; }
  uint32_t size() const { return end_ - begin_; }
  const unsigned char* data() const { return data_; }

  // The collector that reads through this view mark, or nullptr.
  Coverage* coverage() const { return coverage_; }
  Image with_coverage(Coverage* coverage) const {
    Image v = *this;
    v.coverage_ = coverage;
    v.fast_end_ = coverage != nullptr ? 0 : v.end_;
    return v;
  }

  // True when the `length` bytes at `offset` lie inside the view. 64-bit arithmetic keeps
  // offset + length from wrapping for any pair of 32-bit file values.
  bool contains(uint64_t offset, uint64_t length) const {
    return offset >= begin_ && offset <= end_ && length <= end_ - offset;
  }

  // The part of this view that lies inside [offset, offset + length).
  Image narrow(uint64_t offset, uint64_t length) const {
    Image v = *this;
    uint64_t lo = offset < begin_ ? begin_ : offset;
    uint64_t hi = offset + length;
    if (hi > end_) hi = end_;
    if (lo > hi) lo = hi;
    v.begin_ = static_cast<uint32_t>(lo);
    v.end_ = static_cast<uint32_t>(hi);
    v.fast_end_ = coverage_ != nullptr ? 0 : v.end_;
    return v;
  }

  uint8_t u8(uint64_t offset) const { return static_cast<uint8_t>(read(offset, 1)); }
  uint16_t u16(uint64_t offset) const { return static_cast<uint16_t>(read(offset, 2)); }
  uint32_t u32(uint64_t offset) const { return static_cast<uint32_t>(read(offset, 4)); }
  int32_t i32(uint64_t offset) const { return static_cast<int32_t>(u32(offset)); }
  float f32(uint64_t offset) const {
    uint32_t bits = u32(offset);
    float f;
    std::memcpy(&f, &bits, sizeof f);
    return f;
  }

  // The bytes at `offset` up to the first zero byte, at most `max_length` of them, never past
  // the end of the view.
  std::string_view text(uint64_t offset, uint64_t max_length) const {
    if (!contains(offset, 0)) return {};
    uint64_t room = end_ - offset;
    uint64_t n = max_length < room ? max_length : room;
    const char* p = reinterpret_cast<const char*>(data_ + offset);
    const void* zero = std::memchr(p, 0, static_cast<size_t>(n));
    if (zero != nullptr) n = static_cast<uint64_t>(static_cast<const char*>(zero) - p);
    // The scan read the terminating zero byte too.
    if (coverage_ != nullptr) [[unlikely]]
      mark_read(coverage_, offset, zero != nullptr ? n + 1 : n);
    return {p, static_cast<size_t>(n)};
  }

  // The bytes at `offset`, `length` of them, cut at the end of the view.
  std::string_view bytes(uint64_t offset, uint64_t length) const {
    if (!contains(offset, 0)) return {};
    uint64_t room = end_ - offset;
    uint64_t n = length < room ? length : room;
    if (coverage_ != nullptr) [[unlikely]]
      mark_read(coverage_, offset, n);
    return {reinterpret_cast<const char*>(data_ + offset), static_cast<size_t>(n)};
  }

 private:
  uint64_t read(uint64_t offset, unsigned width) const {
    if (offset >= begin_ && offset <= fast_end_ && width <= fast_end_ - offset) [[likely]] {
      return load(offset, width);
    }
    // Outside the view, or inside it with a collector attached.
    if (!contains(offset, width)) return 0;
    mark_read(coverage_, offset, width);
    return load(offset, width);
  }
  uint64_t load(uint64_t offset, unsigned width) const {
    uint64_t v = 0;
    for (unsigned i = 0; i < width; ++i) v |= uint64_t{data_[offset + i]} << (8 * i);
    return v;
  }

  const unsigned char* data_ = nullptr;
  uint32_t begin_ = 0;
  uint32_t end_ = 0;
  uint32_t fast_end_ = 0;  // end_, or 0 with a collector
  Coverage* coverage_ = nullptr;
};

}  // namespace terrova
