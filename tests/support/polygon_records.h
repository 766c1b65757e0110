// Builder for the polygon blocks of MSFS files (section 101): an attribute pool and entries.
#pragma once

#include <cstdint>
#include <string_view>
#include <utility>
#include <vector>

#include "bgl_builder.h"

namespace terrova::testkit {

// A 16-byte GUID value ("{XXXXXXXX-...}") in the file's byte order.
Bytes guid_value(std::string_view guid);
// The packed form of vertex steps, `width` bits each: the forms, the width and the numbers.
Bytes packed_points(bool altitude_per_vertex,
                    const std::vector<std::pair<uint32_t, uint32_t>>& steps, uint32_t width);
// The compressed form of grid vertices: the forms, the first vertex and step, the stream's length
// and the bit planes of the changes of step, made as the compiler makes them.
Bytes compressed_points(bool altitude_per_vertex,
                        const std::vector<std::pair<uint32_t, uint32_t>>& vertices);

class PolygonBlockBuilder {
 public:
  // Adds an attribute to the pool and returns its offset there.
  uint32_t attribute(std::string_view guid, const Bytes& value);
  // An entry of `geometry` (3 polygon, 2 line): its attributes, vertex count, points and altitudes.
  PolygonBlockBuilder& entry(uint32_t geometry, const std::vector<uint32_t>& attributes,
                             uint32_t vertex_count, const Bytes& points);
  // The block for the cell word `cell`; `entry_count` overrides the number of entries.
  Bytes build(uint32_t cell, int64_t entry_count = -1) const;

 private:
  Bytes pool_;
  Bytes entries_;
  uint32_t count_ = 0;
};

}  // namespace terrova::testkit
