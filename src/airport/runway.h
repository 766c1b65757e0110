// The pieces of the runway element that its stored forms share: the start tag, the markings and
// lights, the approach lights, the VASIs and the runway's ILS. The MSFS runway (0xCE) adds its
// own attributes between the pieces.
#pragma once

#include <cstdint>
#include <span>

#include "bgl/context.h"
#include "bgl/record.h"

namespace terrova {

// How a stored form differs in the start tag; offsets 0 mean "not in this form".
struct RunwayStartTag {
  uint32_t material_set_at = 0;  // the later form: a material set GUID
  uint32_t surface_guid_at = 0;  // MSFS: the surface is a material GUID, not a code
  // Writes attribute lines of the form before the line of the secondary end, which closes the tag.
  void (*extra_lines)(DecodeContext& ctx, const Record& runway) = nullptr;
};
// The record comment and the start tag, from the fields at +6..+51 of the 0x04 form.
void write_runway_start_tag(DecodeContext& ctx, const char* name, const Record& record,
                            const RunwayStartTag& tag);

// `Markings` from the marking bits 0-12: every line but the last, then the last, which closes it.
void write_markings_head(Output& out, uint32_t markings);
void write_markings_tail(Output& out, uint32_t markings);
// `Lights` from the light bits 0-4.
void write_lights(Output& out, uint32_t lights);
// `ApproachLights` of `end` (0 primary, 1 secondary) from the flags at +6 and the strobes at +7:
// the lines up to the strobes, then the line that closes it.
void write_approach_lights_head(Output& out, uint32_t end, const Record& lights);
void write_approach_lights_tail(Output& out, const Record& lights);
// `Vasi` from a child of id 11-14.
void write_vasi(DecodeContext& ctx, const Record& vasi);
// Hands the runway's outline (the fields at +8..+51 of the 0x04 form), its ends and the end zones
// among `children` (ids 5-10, their length at `zone_length_at`, the width after it) to the
// geometry listener.
void report_runway(DecodeContext& ctx, const Record& record, std::span<const Record> children,
                   uint32_t zone_length_at);
// The `Ils` of every ILS entry whose identifier matches the primary or secondary one.
void write_runway_ils_records(DecodeContext& ctx, uint32_t primary, uint32_t secondary);

}  // namespace terrova
