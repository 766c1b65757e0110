// The compressed vertex form of section-101 polygons: the vertices of one entry from its stream.
#pragma once

#include <cstdint>
#include <vector>

#include "bgl/record.h"

namespace terrova {

// Grid positions of decoded vertices (32768 steps across the cell), kept between entries so that
// each decoding reuses the buffers of the last.
class CompressedPoints {
 public:
  // Decodes the `vertex_count` vertices of the compressed block at `at` of `block` (from its first
  // vertex to the end of its stream); false, with no vertices, when the stream does not decode to
  // that count within its stated length.
  bool decode(const Record& block, uint64_t at, uint32_t vertex_count);

  const std::vector<uint32_t>& x() const { return x_; }
  const std::vector<uint32_t>& y() const { return y_; }

 private:
  bool decode_changes(const Record& block, uint64_t at, uint32_t length);
  // Change `i` with its sign, as a 32-bit word.
  uint32_t change(uint64_t i) const;

  std::vector<uint32_t> magnitude_;
  std::vector<uint8_t> state_;  // kSignificant and kNegative bits
  std::vector<uint32_t> open_;  // the changes still below the plane, in order
  std::vector<uint32_t> x_;
  std::vector<uint32_t> y_;
};

}  // namespace terrova
