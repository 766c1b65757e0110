#include "polygon_records.h"

#include <string>

namespace terrova::testkit {

Bytes guid_value(std::string_view g) {
  const auto hex = [&](size_t at, size_t n) {
    return static_cast<uint32_t>(std::stoul(std::string(g.substr(at, n)), nullptr, 16));
  };
  Bytes b;
  b.u32(hex(1, 8)).u16(hex(10, 4)).u16(hex(15, 4));
  constexpr size_t kByteAt[] = {20, 22, 25, 27, 29, 31, 33, 35};
  for (size_t at : kByteAt) b.u8(hex(at, 2));
  return b;
}

Bytes packed_points(bool altitude_per_vertex,
                    const std::vector<std::pair<uint32_t, uint32_t>>& steps, uint32_t width) {
  std::vector<uint8_t> bits((steps.size() * 2 * width + 7) / 8);
  size_t bit = 0;
  for (const auto& [x, y] : steps) {
    for (uint32_t value : {x, y}) {
      for (uint32_t i = 0; i < width; ++i, ++bit) {
        bits[bit / 8] = static_cast<uint8_t>(bits[bit / 8] | ((value >> i) & 1) << (bit % 8));
      }
    }
  }
  return Bytes().u8(altitude_per_vertex ? 1 : 2).u8(2).u8(width).raw(bits);
}

uint32_t PolygonBlockBuilder::attribute(std::string_view guid, const Bytes& value) {
  const uint32_t at = static_cast<uint32_t>(pool_.size());
  pool_.raw(guid_value(guid)).u32(static_cast<uint32_t>(value.size())).raw(value);
  return at;
}

PolygonBlockBuilder& PolygonBlockBuilder::entry(uint32_t geometry,
                                                const std::vector<uint32_t>& attributes,
                                                uint32_t vertex_count, const Bytes& points) {
  entries_.u32(1).u32(geometry).u16(static_cast<uint32_t>(attributes.size()));
  for (uint32_t at : attributes) entries_.u32(at);
  entries_.u32(vertex_count).raw(points);
  ++count_;
  return *this;
}

Bytes PolygonBlockBuilder::build(uint32_t cell, int64_t entry_count) const {
  const uint32_t count = entry_count < 0 ? count_ : static_cast<uint32_t>(entry_count);
  Bytes b;
  b.u32(6).u32(cell).u32(1).u32(count).u32(static_cast<uint32_t>(pool_.size())).zeros(12);
  return b.raw(pool_).raw(entries_);
}

}  // namespace terrova::testkit
