// The scenery-object walk of section 37, also used by the airport decoder for the objects that an
// airport tower carries.
#pragma once

#include <cstdint>

#include "bgl/walker.h"

namespace terrova {

// A kind decoder: (kind id, element name, kind-data offset, kind-data length) -> the number of
// kind-data bytes it consumed. It writes its element, indented two tabs, inside the
// `SceneryObject` element that the walk has opened.
using SceneryKindDecoder = uint32_t (*)(DecodeContext& ctx, uint32_t kind_id, const char* name,
                                        uint32_t offset, uint32_t length);

// One row of the kind table. A row without a decoder is a kind that is not decoded yet: its
// objects are dumped like those of unknown kinds.
struct SceneryObjectKind {
  uint32_t kind_id;
  const char* name;
  SceneryKindDecoder decode;
};

// The row for `kind_id` (low 16 bits compared), or nullptr.
const SceneryObjectKind* find_scenery_object_kind(uint32_t kind_id);

// Writes every scenery object of the run as a `SceneryObject` element and sets taxiway-sign
// records aside in `deferred_signs`.
void decode_scenery_objects(DecodeContext& ctx, const SubsectionRun& run);

// Writes the bytes of an object of unknown kind as a comment; returns `length`.
uint32_t dump_unknown_object(DecodeContext& ctx, uint32_t kind_id, const char* name,
                             uint32_t offset, uint32_t length);

}  // namespace terrova
