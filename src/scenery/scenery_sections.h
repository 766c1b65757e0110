// The section decoders of the scenery family besides the scenery-object walk: exclusion
// rectangles (section 46), model data (section 43) and MSFS polygons (section 101).
#pragma once

#include <string>
#include <string_view>

#include "bgl/record.h"
#include "bgl/walker.h"

namespace terrova {

// Writes one `ExclusionRectangle` element per record of the subsection that excludes anything.
void decode_exclusion_rectangles(DecodeContext& ctx, const SubsectionRun& run);

// Writes the `Polygon` and `Rectangle` elements of an MSFS polygon block (section 101); the
// terrain vectors of the older simulators (record count 0) write nothing.
void decode_polygons(DecodeContext& ctx, const SubsectionRun& run);
// True when a subsection of the polygon section is an MSFS polygon block (record count not 0).
bool has_polygon_blocks(const Image& image, const SectionEntry& section);

// Writes one `ModelData` element per model entry of the subsection and hands each model's bytes
// to `ctx.extra_files` as a ".mdl" file named after the model.
void extract_model_data(DecodeContext& ctx, const SubsectionRun& run);

// The name a model is known by: its name in the names table, else its GUID text. Bytes as the
// names file holds them.
std::string_view model_name(const StringTable* names, std::string_view guid_text);

// The model name made safe as a file name in the output folder: every byte that no file system
// allows ("/", "\", ":", "*", "?", '"', "<", ">", "|" and bytes below 0x20) becomes "_", "." and
// ".." become "_", and a name that Windows takes for a device (CON, NUL, COM1, ... before its
// first dot) gets a leading "_", so that the model always lands in a file of that folder. Bytes
// as the names file holds them; the document, the console and the file system all use this name.
std::string safe_model_name(std::string_view name);

// The file name of a model on disk and on the console: the safe name in UTF-8, then ".mdl".
std::string model_file_name(std::string_view safe_name);

}  // namespace terrova
