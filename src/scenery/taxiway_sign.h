// Taxiway sign records of the scenery-object section: read into typed entries and kept for the
// airports, which claim the records near them and write their signs.
#pragma once

#include <cstdint>

#include "bgl/context.h"
#include "bgl/record.h"

namespace terrova {

// True for the scenery-object kinds that hold taxiway signs.
bool is_taxiway_sign_kind(uint32_t kind_id);

// Reads the signs of a sign record into `sign_entries` and keeps the record, pending, in
// `deferred_signs`. Damage among the entries is noted there, to be reported where the signs are
// written.
void keep_taxiway_signs(DecodeContext& ctx, const Record& record);

}  // namespace terrova
