// Departure (0x42) and arrival (0x48) sub-records of MSFS airports:
//   +0  u16  id
//   +2  u32  size, children included
//   +6  u16  zero
//   +8  u8   runway transition count
//   +9  u8   common-route leg list count
//   +10 u8   enroute transition count
//   +11 u8   zero
//   +12      name, 8 bytes, NUL-padded
//   +20      records: 0x46 runway transitions, 0xE5 common-route legs (legs of 60 bytes; the
//            later SDKs' 0xF0 and 0xF8 lists of the same legs, see approach_legs.cpp), 0x47
//            enroute transitions
// The schema fixes the order of the three containers (a departure runs from the runway, an
// arrival towards it) and requires each of them, so each is written, empty or not, from the
// records of its kind wherever they stand. Records of other kinds are dumped.
#include "airport/terminal_procedure.h"

#include <span>

#include "airport/approach.h"
#include "format/xml.h"

namespace terrova {
namespace {

constexpr uint32_t kNameAt = 12;
constexpr uint32_t kNameLength = 8;
constexpr uint32_t kChildrenAt = 20;
constexpr uint16_t kDepartureId = 0x42;
constexpr uint16_t kRunwayTransitionId = 0x46;
constexpr uint16_t kEnrouteTransitionId = 0x47;
constexpr uint16_t kCommonRouteLegsId = 0xE5;
constexpr uint32_t kRunwayTransitionSize = 12;
constexpr uint32_t kEnrouteTransitionSize = 8;
constexpr uint32_t kLegListHeader = 8;
constexpr uint32_t kLegDepth = 4;

struct Container {
  const char* name;
  uint16_t id;
};
constexpr Container kRunwayTransitions = {"RunwayTransitions", kRunwayTransitionId};
constexpr Container kCommonRouteLegs = {"CommonRouteLegs", kCommonRouteLegsId};
constexpr Container kEnrouteTransitions = {"EnrouteTransitions", kEnrouteTransitionId};
constexpr Container kDepartureOrder[] = {kRunwayTransitions, kCommonRouteLegs, kEnrouteTransitions};
constexpr Container kArrivalOrder[] = {kEnrouteTransitions, kCommonRouteLegs, kRunwayTransitions};

// The children of a procedure: the file offset before which they are whole, and how many of
// each container's kind there are.
struct ProcedureChildren {
  uint64_t sound_end = 0;
  uint32_t runway_transitions = 0;
  uint32_t common_route_lists = 0;
  uint32_t enroute_transitions = 0;

  uint32_t count(uint16_t id) const {
    if (id == kRunwayTransitionId) return runway_transitions;
    if (id == kEnrouteTransitionId) return enroute_transitions;
    return common_route_lists;
  }
};

// Walks the children once: a damaged one is reported and ends them; those of unknown kind are
// dumped.
ProcedureChildren survey_children(DecodeContext& ctx, const Record& procedure) {
  ProcedureChildren c;
  RecordWalk walk(ctx, procedure, kChildrenAt);
  Record child;
  while (walk.next(child)) {
    switch (child.id()) {
      case kRunwayTransitionId:
        child.name_kind("RunwayTransition");
        ++c.runway_transitions;
        break;
      case kEnrouteTransitionId:
        child.name_kind("EnrouteTransition");
        ++c.enroute_transitions;
        break;
      default:
        if (msfs_list_kind(child.id()) == kCommonRouteLegList) {
          child.name_kind("CommonRouteLegs");
          ++c.common_route_lists;
        } else {
          dump_subrecord(ctx, child);
        }
        break;
    }
  }
  c.sound_end = walk.position();
  return c;
}

// The container id a child belongs to: its own id, or kCommonRouteLegsId for the common-route
// lists of every form.
uint16_t container_of(uint16_t id) {
  return msfs_list_kind(id) == kCommonRouteLegList ? kCommonRouteLegsId : id;
}

void write_child(DecodeContext& ctx, const Record& child) {
  switch (child.id()) {
    case kRunwayTransitionId:
      if (record_holds(ctx, child, kRunwayTransitionSize)) write_runway_transition(ctx, child);
      break;
    case kEnrouteTransitionId:
      if (record_holds(ctx, child, kEnrouteTransitionSize)) write_enroute_transition(ctx, child);
      break;
    default:
      if (record_holds(ctx, child, kLegListHeader)) write_legs(ctx, child, kLegDepth);
      break;
  }
}

void write_container(DecodeContext& ctx, const Record& procedure, const ProcedureChildren& c,
                     const Container& container) {
  if (c.count(container.id) == 0) {
    ctx.out.format("\t\t\t<%s />\n", container.name);
    return;
  }
  ctx.out.format("\t\t\t<%s>\n", container.name);
  RecordWalk walk(ctx, procedure, kChildrenAt);
  walk.starting_below(c.sound_end);
  Record child;
  while (walk.next(child)) {
    if (container_of(child.id()) == container.id) write_child(ctx, child);
  }
  ctx.out.format("\t\t\t</%s>\n", container.name);
}

}  // namespace

void decode_terminal_procedure(DecodeContext& ctx, const char* name, const Record& record,
                               RecordWalk&) {
  if (!ctx.options.terse) write_record_comment(ctx.out, name, record.offset());
  ctx.out.format("\t\t<%s name=", name);
  write_quoted_text(ctx.out, record.text(kNameAt, kNameLength));
  ctx.out.write(">\n");
  const ProcedureChildren children = survey_children(ctx, record);
  const std::span<const Container> order(record.id() == kDepartureId ? kDepartureOrder
                                                                     : kArrivalOrder);
  for (const Container& container : order) {
    write_container(ctx, record, children, container);
  }
  ctx.out.format("\t\t</%s>\n", name);
}

}  // namespace terrova
