// Taxiway signs: the scenery-object walk sets sign records aside, and each airport claims the
// pending ones near it and writes their signs inside its own element.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "bgl/context.h"
#include "bgl/record.h"
#include "format/values.h"

namespace terrova {

// Takes every pending sign record of `deferred_signs` within half a degree (latitude and
// longitude) of the airport at (lat, lon); writes the signs of those closer than 8000 metres.
void claim_taxiway_signs(DecodeContext& ctx, double lat, double lon);

// Writes every sign of a sign record as a `TaxiwaySign` element.
void write_taxiway_signs(DecodeContext& ctx, const DeferredSign& sign);

// One `TaxiwaySign` element as every stored form gives it.
struct TaxiwaySignFields {
  double lat = 0;
  double lon = 0;
  double heading = 0;                 // degrees
  const SignEntry* placed = nullptr;  // the altitude and attitude of the later kinds, or none
  uint32_t size = 0;                  // written as SIZE<n>, unless `size_name` is given
  EnumText justification{"NONE"};
  std::string_view label;
  std::optional<EnumText> size_name;  // the size as written, when the form names its codes
};
void write_taxiway_sign(DecodeContext& ctx, const TaxiwaySignFields& f);

// Sub-record decoder (row 0xD9 `TaxiwaySign` of the airport sub-record table): one sign of an
// MSFS airport.
void decode_msfs_taxiway_sign(DecodeContext& ctx, const char* name, const Record& record,
                              RecordWalk&);

}  // namespace terrova
