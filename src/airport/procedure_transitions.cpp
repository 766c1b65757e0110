// Transitions of the MSFS departures and arrivals.
// Runway transition (0x46):
//   +0  u16  id
//   +2  u32  size, leg list included
//   +6  u8   leg count (the list holds its own)
//   +7  u8   runway number
//   +8  u8   runway designator code
//   +9       3 bytes, zero
//   +12      records: 0xE4 leg lists (legs of 60 bytes); others are passed over
// Enroute transition (0x47):
//   +6  u8   leg count (the list holds its own)
//   +7  u8   zero
//   +8       records: 0xE6 leg lists; others are passed over
#include "airport/approach.h"
#include "airport/terminal_procedure.h"
#include "format/values.h"

namespace terrova {
namespace {

constexpr uint32_t kRunwayLegsAt = 12;
constexpr uint32_t kEnrouteLegsAt = 8;
constexpr uint16_t kRunwayTransitionLegsId = 0xE4;
constexpr uint16_t kEnrouteTransitionLegsId = 0xE6;
constexpr uint32_t kLegListHeader = 8;
constexpr uint32_t kLegDepth = 5;

// The legs of every list of `list_id` among the records of `transition` from byte `at`.
void write_transition_legs(DecodeContext& ctx, const Record& transition, uint64_t at,
                           uint16_t list_id) {
  RecordWalk walk(ctx, transition, at);
  Record list;
  while (walk.next(list)) {
    if (list.id() == list_id) list.name_kind("TransitionLegs");
    if (list.id() == list_id && record_holds(ctx, list, kLegListHeader)) {
      write_legs(ctx, list, kLegDepth);
    }
  }
}

}  // namespace

void write_runway_transition(DecodeContext& ctx, const Record& transition) {
  ctx.out.format("\t\t\t\t<RunwayTransitionLegs number=\"%s\" designator=\"%s\">\n",
                 format_runway_number(transition.u8(7)), designator_name(transition.u8(8)));
  write_transition_legs(ctx, transition, kRunwayLegsAt, kRunwayTransitionLegsId);
  ctx.out.write("\t\t\t\t</RunwayTransitionLegs>\n");
}

void write_enroute_transition(DecodeContext& ctx, const Record& transition) {
  ctx.out.write("\t\t\t\t<EnrouteTransitionLegs>\n");
  write_transition_legs(ctx, transition, kEnrouteLegsAt, kEnrouteTransitionLegsId);
  ctx.out.write("\t\t\t\t</EnrouteTransitionLegs>\n");
}

}  // namespace terrova
