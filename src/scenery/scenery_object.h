// The scenery-object walk of section 37, also used by the airport decoder for the objects that an
// airport tower carries.
#pragma once

#include <cstdint>

#include "bgl/record.h"
#include "bgl/walker.h"

namespace terrova {

// A kind decoder: (element name, kind data) -> the number of kind-data bytes it consumed. The
// kind data is the record's bytes after its header, with the record's kind id as its id. It
// writes its element, indented two tabs, inside the `SceneryObject` element that the walk has
// opened.
using SceneryKindDecoder = uint32_t (*)(DecodeContext& ctx, const char* name,
                                        const Record& kind_data);

// One row of the kind table. A row without a decoder is a kind that is not decoded yet: its
// objects are dumped like those of unknown kinds.
struct SceneryObjectKind {
  uint32_t id;
  const char* name;
  uint32_t min_size;  // the kind-data bytes the decoder reads; less is reported
  SceneryKindDecoder decode;
};

// The row for `kind_id` (low 16 bits compared), or nullptr.
const SceneryObjectKind* find_scenery_object_kind(uint32_t kind_id);

// Writes every scenery object of a section's run as a `SceneryObject` element and keeps
// taxiway-sign records for the airports.
void decode_scenery_objects(DecodeContext& ctx, const SubsectionRun& run);
// The same for the objects that fill `area` (the objects of a tower, for one).
void write_scenery_objects(DecodeContext& ctx, const Record& area);

// The objects that a record carries after a u32 byte count at `size_at` (jetways and helipad
// objects). A count that reaches past the record is reported; the objects that fit in what is
// left are still written.
void write_counted_scenery_objects(DecodeContext& ctx, const Record& record, uint64_t size_at);

// Writes the whole record of an object of unknown kind as a comment.
void dump_unknown_object(DecodeContext& ctx, uint32_t kind_id, const Record& object);

}  // namespace terrova
