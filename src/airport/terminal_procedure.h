// The terminal procedures of MSFS airports: departures (SIDs) and arrivals (STARs) with their
// runway transitions, common-route legs and enroute transitions.
#pragma once

#include <cstdint>

#include "airport/subrecords.h"
#include "bgl/record.h"

namespace terrova {

// Sub-record decoder (rows 0x42 `Departure` and 0x48 `Arrival` of the airport sub-record table).
void decode_terminal_procedure(DecodeContext& ctx, const char* name, const Record& record,
                               RecordWalk&);

// Writes the `RunwayTransitionLegs` element of a runway transition record (0x46) at four tabs.
void write_runway_transition(DecodeContext& ctx, const Record& transition);
// Writes the `EnrouteTransitionLegs` element of an enroute transition record (0x47) at four tabs.
void write_enroute_transition(DecodeContext& ctx, const Record& transition);

}  // namespace terrova
