#include "polygon_records.h"

#include <string>

namespace terrova::testkit {
namespace {

uint32_t hex(std::string_view text) {
  return static_cast<uint32_t>(std::stoul(std::string(text), nullptr, 16));
}

Bytes& entry_head(Bytes& b, uint32_t geometry, const std::vector<uint32_t>& attributes) {
  b.u32(1).u32(geometry).u16(static_cast<uint32_t>(attributes.size()));
  for (uint32_t at : attributes) b.u32(at);
  return b;
}

}  // namespace

Bytes guid_value(std::string_view g) {
  Bytes b;
  b.u32(hex(g.substr(1, 8))).u16(hex(g.substr(10, 4))).u16(hex(g.substr(15, 4)));
  for (size_t at : {20, 22, 25, 27, 29, 31, 33, 35}) b.u8(hex(g.substr(at, 2)));
  return b;
}

uint32_t PolygonBlockBuilder::attribute(std::string_view guid, const Bytes& value) {
  const uint32_t at = static_cast<uint32_t>(pool_.size());
  pool_.raw(guid_value(guid)).u32(static_cast<uint32_t>(value.size())).raw(value);
  return at;
}

PolygonBlockBuilder& PolygonBlockBuilder::packed(
    uint32_t geometry, const std::vector<uint32_t>& attributes,
    const std::vector<std::pair<uint32_t, uint32_t>>& steps, uint32_t width,
    const std::vector<float>& altitudes) {
  entry_head(entries_, geometry, attributes).u32(static_cast<uint32_t>(steps.size()));
  entries_.u8(altitudes.size() == 1 ? 2 : 1).u8(2).u8(width);
  std::vector<uint8_t> bits((steps.size() * 2 * width + 7) / 8);
  size_t bit = 0;
  for (const auto& [x, y] : steps) {
    for (uint32_t value : {x, y}) {
      for (uint32_t i = 0; i < width; ++i, ++bit) {
        bits[bit / 8] = static_cast<uint8_t>(bits[bit / 8] | ((value >> i) & 1) << (bit % 8));
      }
    }
  }
  entries_.raw(bits);
  for (float alt : altitudes) entries_.f32(alt);
  ++count_;
  return *this;
}

PolygonBlockBuilder& PolygonBlockBuilder::compressed(const std::vector<uint32_t>& attributes,
                                                     uint32_t vertex_count, const Bytes& rest,
                                                     float altitude) {
  entry_head(entries_, 3, attributes).u32(vertex_count).u8(2).u8(1);
  entries_.u32(16728).u32(19656).i32(-16).i32(31).u32(static_cast<uint32_t>(rest.size()));
  entries_.raw(rest).f32(altitude);
  ++count_;
  return *this;
}

Bytes PolygonBlockBuilder::build(uint32_t cell, int64_t entry_count) const {
  Bytes b;
  const uint32_t count = entry_count < 0 ? count_ : static_cast<uint32_t>(entry_count);
  b.u32(6).u32(cell).u32(1).u32(count).u32(static_cast<uint32_t>(pool_.size()));
  b.zeros(12).raw(pool_).raw(entries_);
  return b;
}

}  // namespace terrova::testkit
