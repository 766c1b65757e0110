// Painted elements of MSFS airports: painted lines (0xCF) and hatched areas (0xD8), written
// together inside `PaintedElements` containers.
#pragma once

#include <cstdint>

#include "airport/subrecords.h"
#include "bgl/record.h"
#include "format/values.h"

namespace terrova {

// Sub-record decoder (rows 0xCF `PaintedLine` and 0xD8 `PaintedHatchedArea`): opens a
// `PaintedElements` container and writes into it this record and the painted elements that follow
// it, taken from `siblings`.
void decode_painted_elements(DecodeContext& ctx, const char* name, const Record& record,
                             RecordWalk& siblings);

// Painted line type: its name where the code is known ("DEFAULT", "WIDE_YELLOW", ...), otherwise
// the code as a number. Hatched areas use the same codes.
EnumText painted_line_type_name(uint32_t code);

struct PaintedLineFields {
  uint32_t type = 0;        // type code
  uint32_t true_angle = 0;  // NONE, BEGIN, END, BOTH_ENDS, ALL_POINTS
  // The surface GUID at `surface_at` of `record` (none when all zero), and the `vertex_count`
  // vertices (packed longitude, latitude) from `vertices_at`.
  const Record* record = nullptr;
  uint64_t surface_at = 0;
  uint64_t vertices_at = 0;
  uint32_t vertex_count = 0;
};
PaintedLineFields read_painted_line(const Record& record);
void write_painted_line(DecodeContext& ctx, const PaintedLineFields& f);

struct PaintedHatchedAreaFields {
  uint32_t type = 0;  // type code of the painted lines
  float heading = 0;  // degrees
  float spacing = 0;  // metres
  const Record* record = nullptr;
  uint64_t vertices_at = 0;
  uint32_t vertex_count = 0;
};
PaintedHatchedAreaFields read_painted_hatched_area(const Record& record);
void write_painted_hatched_area(DecodeContext& ctx, const PaintedHatchedAreaFields& f);

}  // namespace terrova
