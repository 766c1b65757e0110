// The attached objects that follow an MSFS scenery object in the section-37 walk.
#pragma once

#include "bgl/record.h"

namespace terrova {

// Record ids of an attached-object group.
constexpr uint16_t kAttachedGroupBegin = 0x1002;
constexpr uint16_t kAttachedGroupEnd = 0x1003;

// What becomes of the records of a group.
enum class AttachedGroupUse : uint8_t {
  kWrite,  // inside the parent's open `SceneryObject` element
  kPass,   // the parent lies outside the partial-decoding circle: nothing is written
  kDump,   // a group without a parent object: each record as a dump
};

// Reads the attached-object groups that start at the walk's position, if any, and leaves the
// walk after them. A record of the group the walk does not know is dumped; a group that the run
// ends before its end record is reported.
void read_attached_groups(DecodeContext& ctx, RecordWalk& walk, AttachedGroupUse use);

}  // namespace terrova
