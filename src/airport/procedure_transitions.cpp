// Transitions of the MSFS departures and arrivals.
// Runway transition (0x46):
//   +0  u16  id
//   +2  u32  size, leg list included
//   +6  u8   leg count (the list holds its own)
//   +7  u8   runway number
//   +8  u8   runway designator code
//   +9       3 bytes, zero
//   +12      records: 0xE4 leg lists (legs of 60 bytes; the later 0xEF and 0xF7 lists, checked
//            on 0xF7); others are passed over
// Enroute transition (0x47):
//   +6  u8   leg count (the list holds its own)
//   +7  u8   zero
//   +8       records: 0xE6 leg lists (or the later 0xF1 and 0xF9); others are passed over
#include "airport/approach.h"
#include "airport/terminal_procedure.h"
#include "format/values.h"

namespace terrova {
namespace {

constexpr uint32_t kRunwayLegsAt = 12;
constexpr uint32_t kEnrouteLegsAt = 8;
constexpr uint32_t kLegListHeader = 8;
constexpr uint32_t kLegDepth = 5;

// The legs of every list of kind `list_kind` among the records of `transition` from byte `at`.
void write_transition_legs(DecodeContext& ctx, const Record& transition, uint64_t at,
                           uint32_t list_kind) {
  RecordWalk walk(ctx, transition, at);
  Record list;
  while (walk.next(list)) {
    const bool legs = msfs_list_kind(list.id()) == list_kind;
    if (legs) list.name_kind("TransitionLegs");
    if (legs && record_holds(ctx, list, kLegListHeader)) write_legs(ctx, list, kLegDepth);
  }
}

}  // namespace

void write_runway_transition(DecodeContext& ctx, const Record& transition) {
  ctx.out.format("\t\t\t\t<RunwayTransitionLegs number=\"%s\" designator=\"%s\">\n",
                 format_runway_number(transition.u8(7)), designator_name(transition.u8(8)));
  write_transition_legs(ctx, transition, kRunwayLegsAt, kRunwayTransitionLegList);
  ctx.out.write("\t\t\t\t</RunwayTransitionLegs>\n");
}

void write_enroute_transition(DecodeContext& ctx, const Record& transition) {
  ctx.out.write("\t\t\t\t<EnrouteTransitionLegs>\n");
  write_transition_legs(ctx, transition, kEnrouteLegsAt, kEnrouteTransitionLegList);
  ctx.out.write("\t\t\t\t</EnrouteTransitionLegs>\n");
}

}  // namespace terrova
