#include "polygon_records.h"

#include <algorithm>
#include <bit>
#include <cstdlib>
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

Bytes compressed_points(bool altitude_per_vertex,
                        const std::vector<std::pair<uint32_t, uint32_t>>& vertices) {
  std::vector<int64_t> changes;  // x then y of each vertex from the third
  for (size_t i = 2; i < vertices.size(); ++i) {
    const auto change = [&](uint32_t a, uint32_t b, uint32_t c) {
      return int64_t{a} - 2 * int64_t{b} + c;
    };
    changes.push_back(change(vertices[i].first, vertices[i - 1].first, vertices[i - 2].first));
    changes.push_back(change(vertices[i].second, vertices[i - 1].second, vertices[i - 2].second));
  }
  uint32_t width = 0;
  for (int64_t c : changes)
    width = std::max(width,
                     static_cast<uint32_t>(std::bit_width(static_cast<uint64_t>(std::llabs(c)))));
  std::vector<uint8_t> bytes;
  size_t bit = 0;
  const auto put = [&](uint64_t value, uint32_t count) {
    for (uint32_t i = count; i-- > 0; ++bit) {
      if (bit % 8 == 0) bytes.push_back(0);
      bytes.back() = static_cast<uint8_t>(bytes.back() | ((value >> i) & 1) << (7 - bit % 8));
    }
  };
  put(width << 2, 8);
  std::vector<bool> found(changes.size());
  for (uint32_t plane = width; plane-- > 0; bit = bytes.size() * 8) {
    std::vector<size_t> open;
    for (size_t i = 0; i < changes.size(); ++i) {
      if (!found[i]) open.push_back(i);
      if (found[i]) put(static_cast<uint64_t>(std::llabs(changes[i])) >> plane, 1);
    }
    const auto has_bit = [&](size_t j) { return (std::llabs(changes[open[j]]) >> plane & 1) != 0; };
    for (size_t place = 0, state = 8; place < open.size();) {
      const auto k = static_cast<uint32_t>(state / 8);
      const size_t run = size_t{1} << k;
      size_t hit = place;
      while (hit < open.size() && hit < place + run && !has_bit(hit)) ++hit;
      if (hit == open.size() || hit == place + run) {
        put(0, 1);
        place += run;
        state += run > 1 ? 5 : 4;
      } else {
        put(changes[open[hit]] < 0 ? 3 : 2, 2);
        put(hit - place, k);
        found[open[hit]] = true;
        place = hit + 1;
        state -= std::min(state, size_t{run > 1 ? 6u : 3u});
      }
    }
  }
  const auto& [x, y] = vertices.at(0);
  Bytes b;
  b.u8(altitude_per_vertex ? 1 : 2).u8(1).u32(x).u32(y);
  b.u32(vertices.at(1).first - x).u32(vertices.at(1).second - y);
  return b.u32(static_cast<uint32_t>(bytes.size())).raw(bytes);
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
