// Approaches: the approach element with its leg lists and transitions, and the leg table.
//
// The approach and transition writers take the fields of their records, so that other stored
// forms of the same records (with the fix word split in two, children at another offset) write
// the same elements; the leg lists and legs are shared by all of them.
#pragma once

#include <cstdint>

#include "airport/subrecords.h"
#include "bgl/record.h"
#include "format/values.h"

namespace terrova {

// Sub-record decoder (a row of the airport sub-record table).
void decode_approach(DecodeContext& ctx, const char* name, const Record& record, RecordWalk&);

// Which attributes a leg type carries. Mask A: 0x20 altitude1, 0x40 altitude2, 0x10
// altitudeDescriptor, 0x01 theta, 0x02 rho, 0x04 course, 0x08 distance or time. Mask B: 0x01
// flyOver, 0x10 turnDirection, 0x02 fixType, 0x08 fixIdent, 0x04 fixRegion, 0x20
// recommendedType, 0x80 recommendedIdent, 0x40 recommendedRegion. Attributes are written in the
// order of these two lists, mask A first.
struct LegAttributes {
  uint8_t leg_type;
  uint8_t mask_a;
  uint8_t mask_b;
};
// The row of `leg_attribute_table` for the leg type. A type without a row (CF, FA, FC and codes
// outside 1-23) carries every attribute, as TF does: course-to-fix legs make up most final
// approaches and must not be lost.
LegAttributes leg_attributes(uint32_t leg_type);
// True when the leg type has a row of its own in the table.
bool leg_type_has_row(uint32_t leg_type);

// "NONE", "GPS", ... "LOCALIZER_BACKCOURSE"; 12-15 as numbers.
EnumText approach_type_name(uint32_t code);
// "AF" ... "VR" for 1-23; other codes as numbers.
EnumText leg_type_name(uint32_t code);
// The fix type of a transition, a leg fix or a recommended navaid: 2 "VOR" ... 9 "RUNWAY", 7 a
// single space; every other code "TERMINAL_WAYPOINT".
const char* fix_type_name(uint32_t code);

// Writes one `Leg` element at `depth` tabs for each leg of the list `list` (u16 count at +6, legs
// of 44 bytes from +8, of 60, 68 or 72 bytes in the MSFS lists 0xE1-0xE6, 0xEC-0xF1, 0xF4-0xF9).
// A count that reaches past the list stops at its end with the damage reported.
void write_legs(DecodeContext& ctx, const Record& list, uint32_t depth);
// The bytes of one leg in the list of id `list_id`: 44, or 60, 68 or 72 in the MSFS lists.
uint32_t leg_size_of(uint32_t list_id);
// Which list an MSFS leg-list id stands for, whatever its leg size, or kNotMsfsList.
enum MsfsListKind : uint32_t {
  kApproachLegList = 0,
  kMissedApproachLegList = 1,
  kTransitionLegList = 2,
  kRunwayTransitionLegList = 3,
  kCommonRouteLegList = 4,
  kEnrouteTransitionLegList = 5,
  kNotMsfsList = 6,
};
uint32_t msfs_list_kind(uint32_t list_id);
// Writes the leg list `list` of an approach as an element named `list_name` holding its legs.
void write_leg_list(DecodeContext& ctx, const char* list_name, const Record& list);

struct ApproachFields {
  uint32_t suffix = 0;
  uint32_t runway = 0;
  uint32_t type_flags = 0;  // bits 0-3 approach type, 4-6 designator, 7 GPS overlay
  uint32_t fix_type = 0;    // 2-6
  uint32_t fix_ident = 0;   // identifier word (bits 5-31)
  uint32_t fix_region = 0;
  float altitude = 0;
  float heading = 0;
  float missed_altitude = 0;
};
// Writes the start tag of the `Approach` element.
void write_approach_start(DecodeContext& ctx, const char* name, const ApproachFields& f);
// Writes the leg lists and transitions of an approach: the records of `approach` from byte
// `children_at` that start before `children_end`.
void write_approach_children(DecodeContext& ctx, const Record& approach, uint64_t children_at,
                             uint64_t children_end);

struct TransitionFields {
  bool dme_arc = false;
  uint32_t fix_word = 0;  // identifier word, fix type in bits 0-3
  uint32_t fix_region = 0;
  float altitude = 0;
  uint32_t dme_ident = 0;  // the rest only for a DME arc
  uint32_t dme_region = 0;
  int32_t radial = 0;
  float dme_distance = 0;
};
// Writes the `Transition` element with its `DmeArc` and the leg lists of `transition` from byte
// `legs_at` to its end.
void write_transition(DecodeContext& ctx, const TransitionFields& f, const Record& transition,
                      uint64_t legs_at);

}  // namespace terrova
