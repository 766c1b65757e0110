// Airport sub-records of the later MSFS SDKs: vector placements, projected meshes, light supports
// and light presets (rows of the MSFS sub-record table), the ground-merging transfer values that
// the airport's start tag carries, and the runway's facility material child. The sub-record
// decoders read nothing of the airport's fixed part, so that every airport form holding these
// records can share their rows.
#pragma once

#include <cstdint>
#include <cstring>

#include "airport/msfs_airport.h"
#include "bgl/context.h"
#include "bgl/record.h"

namespace terrova {

// The little-endian f64 at `at` of `record` (zero past its end, as every record read).
inline double record_f64(const Record& record, uint64_t at) {
  const uint64_t bits = uint64_t{record.u32(at)} | uint64_t{record.u32(at + 4)} << 32;
  double value = 0;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

void decode_msfs_vector_placement(DecodeContext& ctx, const char* name, const Record& record,
                                  RecordWalk&);
void decode_msfs_projected_mesh(DecodeContext& ctx, const char* name, const Record& record,
                                RecordWalk&);
void decode_msfs_light_support(DecodeContext& ctx, const char* name, const Record& record,
                               RecordWalk&);
void decode_msfs_light_preset(DecodeContext& ctx, const char* name, const Record& record,
                              RecordWalk&);
// The ground-merging transfer sub-record (0xE9) is written on the airport's start tag, before the
// sub-record walk meets it; its row only names it.
void decode_msfs_ground_merging(DecodeContext& ctx, const char* name, const Record& record,
                                RecordWalk&);
// Writes `groundMergingTransfertBright` and `groundMergingTransfertDark` from the airport's
// ground-merging transfer sub-record, when it has one, framed as the airport's other attributes.
void write_msfs_ground_merging(DecodeContext& ctx, const LineFrame& frame);

// The runway child 0xCB and the bytes its writer reads.
constexpr uint16_t kRunwayMaterialId = 0xCB;
constexpr uint32_t kRunwayMaterialSize = 44;
// Writes the `Material` element of a runway's facility material child.
void write_runway_material(DecodeContext& ctx, const Record& material);

}  // namespace terrova
