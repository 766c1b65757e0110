// The decoders of the airport sections: airports (section 3) and the name list (section 39).
#pragma once

#include "bgl/walker.h"

namespace terrova {

// Writes one `Airport` element per airport record of the run.
void decode_airports(DecodeContext& ctx, const SubsectionRun& run);

// Fills the city, state, country and region name tables and the airport ident entries; writes
// nothing.
void decode_name_list(DecodeContext& ctx, const SubsectionRun& run);
// The same for the name list of MSFS 2024 files (section 0x35), whose ident entries are longer.
void decode_msfs2024_name_list(DecodeContext& ctx, const SubsectionRun& run);

// How the texts of the file are read: UTF-8 when its airport sections hold an airport record of
// the MSFS forms, Windows-1252 otherwise (see text_encoding.cpp). Settled before the walk.
TextEncoding file_text_encoding(const Image& image);

}  // namespace terrova
