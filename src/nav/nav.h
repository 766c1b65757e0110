// The navigation decoders: VHF navaids, NDBs, markers, waypoints with their airways, airspace
// boundaries and Geopol lines. Each writes top-level elements straight into the document.
#pragma once

#include "bgl/walker.h"

namespace terrova {

// Section 19: VORs, DMEs and VOTs become `Vor` elements; ILS records are set aside in
// `deferred_navaids` for the runways that own them.
void decode_vors(DecodeContext& ctx, const SubsectionRun& run);
// Section 0xA0 of the later simulators: `Tacan` elements.
void decode_tacans(DecodeContext& ctx, const SubsectionRun& run);
// Section 23: `Ndb` elements.
void decode_ndbs(DecodeContext& ctx, const SubsectionRun& run);
// Section 24: `Marker` elements.
void decode_markers(DecodeContext& ctx, const SubsectionRun& run);
// Section 34: enroute `Waypoint` elements with their routes; terminal waypoints are set aside in
// `deferred_waypoints` for the airports that own them.
void decode_waypoints(DecodeContext& ctx, const SubsectionRun& run);
// Section 32, decoded whole through its record index: `Boundary` elements.
void decode_boundaries(DecodeContext& ctx, const SectionEntry& section);
// Section 35, decoded whole through its record index: `Geopol` elements.
void decode_geopols(DecodeContext& ctx, const SectionEntry& section);

}  // namespace terrova
