// The colour that MSFS surfaces (runways, taxiway paths, aprons) may carry over their material.
#pragma once

#include <cstdint>

#include "bgl/context.h"
#include "bgl/record.h"

namespace terrova {

// True when the 4 colour bytes at `at` of `record` hold a colour (not all zero).
bool has_msfs_coloration(const Record& record, uint64_t at);
// Writes "<indent><Coloration red=... green=... blue=... alpha=... override=\"TRUE\" />\n" for
// the colour at `at` of `record`, or nothing when it holds none.
void write_msfs_coloration(DecodeContext& ctx, const char* indent, const Record& record,
                           uint64_t at);

}  // namespace terrova
