// Taxiway signs: the scenery-object walk sets sign records aside, and each airport claims the
// pending ones near it and writes their signs inside its own element.
#pragma once

#include <cstdint>

#include "bgl/context.h"

namespace terrova {

// Takes every pending sign record of `deferred_signs` within half a degree (latitude and
// longitude) of the airport at (lat, lon); writes the signs of those closer than 8000 metres.
void claim_taxiway_signs(DecodeContext& ctx, double lat, double lon);

// Writes every sign of a sign record as a `TaxiwaySign` element.
void write_taxiway_signs(DecodeContext& ctx, const DeferredSign& sign);

}  // namespace terrova
