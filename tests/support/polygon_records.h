// Builder for the polygon blocks of MSFS files (section 101): an attribute pool and entries whose
// vertices are packed, or given as an opaque compressed run.
#pragma once

#include <cstdint>
#include <string_view>
#include <utility>
#include <vector>

#include "bgl_builder.h"

namespace terrova::testkit {

class PolygonBlockBuilder {
 public:
  // Adds an attribute to the pool ("{XXXXXXXX-...}") and returns its offset there.
  uint32_t attribute(std::string_view guid, const Bytes& value);
  // An entry of `geometry` (3 polygon, 2 line) with packed steps of `width` bits; one altitude
  // for the entry, or one per vertex.
  PolygonBlockBuilder& packed(uint32_t geometry, const std::vector<uint32_t>& attributes,
                              const std::vector<std::pair<uint32_t, uint32_t>>& steps,
                              uint32_t width, const std::vector<float>& altitudes);
  // A polygon whose vertices are in the compressed form: the first vertex, the first step and
  // `rest` as the coded bytes.
  PolygonBlockBuilder& compressed(const std::vector<uint32_t>& attributes, uint32_t vertex_count,
                                  const Bytes& rest, float altitude);
  // The block for the cell word `cell`; `entry_count` overrides the number of entries.
  Bytes build(uint32_t cell, int64_t entry_count = -1) const;

 private:
  Bytes pool_;
  Bytes entries_;
  uint32_t count_ = 0;
};

// A 16-byte GUID value in the file's byte order.
Bytes guid_value(std::string_view guid);

}  // namespace terrova::testkit
