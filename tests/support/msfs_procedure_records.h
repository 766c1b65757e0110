// Builders for the MSFS airport sub-records of painted elements, taxiway signs, DeleteAirport
// and procedures, and for the navaid deletion records of the navaid sections. Each appends to a
// `Bytes`; `begin_*` builders open a record that the caller closes with `end()`.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "airport_records.h"
#include "msfs_records.h"

namespace terrova::testkit {

// A navaid deletion record (0xDB) naming the airport `ident`.
Bytes& navaid_deletion(Bytes& b, std::string_view ident);
// A DeleteAirport sub-record of the MSFS form: the flag word at +6, no entries, the flag byte at
// +11.
Bytes& msfs_delete_airport(Bytes& b, uint32_t flags, uint32_t more_flags);

// Painted elements; `count` overrides the stored vertex count.
Bytes& painted_line(Bytes& b, uint32_t type, uint32_t true_angle, const Guid& surface,
                    const std::vector<LatLon>& vertices, std::optional<uint32_t> count = {});
Bytes& hatched_area(Bytes& b, uint32_t type, float heading, float spacing,
                    const std::vector<LatLon>& vertices);
// A taxiway sign (0xD9), 84 bytes.
Bytes& msfs_sign(Bytes& b, double lat, double lon, float heading, uint32_t size,
                 uint32_t justification, std::string_view label);

// A leg of the MSFS lists: the older leg and the two values after it.
struct MsfsLeg {
  LegEntry leg;
  float speed_limit = -1.0f;
  float vertical_angle = 0.0f;
};
// `id` 0xE1-0xE6, legs of 60 bytes; 0xEC-0xF1 and 0xF4-0xF9 of later SDKs, with 8 and 12 zero
// bytes more.
Bytes& msfs_leg_list(Bytes& b, uint32_t id, const std::vector<MsfsLeg>& legs,
                     std::optional<uint32_t> count = {});
// Opens a departure (0x42) or arrival (0x48) with its header counts and name.
Bytes& begin_terminal_procedure(Bytes& b, uint32_t id, std::string_view name,
                                uint32_t runway_transitions, uint32_t common_lists,
                                uint32_t enroute_transitions);
// A runway transition (0x46) holding one 0xE4 list; an enroute transition (0x47) holding one
// 0xE6 list.
Bytes& runway_transition(Bytes& b, uint32_t number, uint32_t designator,
                         const std::vector<MsfsLeg>& legs);
Bytes& enroute_transition(Bytes& b, const std::vector<MsfsLeg>& legs);

// Records of later SDKs: the approach 0xFA (the 0x24 header and 4 zero bytes) and the transition
// 0x49 (the 0x2C fixed part, its leg count at +7, and 8 zero bytes), each opened for its lists.
Bytes& begin_later_msfs_approach(Bytes& b, const ApproachHeader& h);
Bytes& begin_later_msfs_transition(Bytes& b, const TransitionHeader& h, uint32_t legs);

}  // namespace terrova::testkit
