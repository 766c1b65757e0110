#include "driver/sections.h"

#include "airport/airport.h"
#include "nav/nav.h"
#include "scenery/scenery_object.h"
#include "scenery/scenery_sections.h"

namespace terrova {
namespace {

// Section types with a decoder. Sections of any other type are shown by their comments alone;
// a row without a decoder does the same until its decoder exists.
constexpr SectionKind kSectionKinds[] = {
    {3,    decode_airports,             nullptr,           false}, // airports
    {19,   decode_vors,                 nullptr,           false}, // VOR, ILS and DME
    {23,   decode_ndbs,                 nullptr,           false}, // NDB
    {24,   decode_markers,              nullptr,           false}, // markers
    {32,   nullptr,                     decode_boundaries, false}, // boundaries, decoded whole
    {34,   decode_waypoints,            nullptr,           false}, // waypoints
    {35,   nullptr,                     decode_geopols,    false}, // Geopol lines, decoded whole
    {37,   decode_scenery_objects,      nullptr,           false}, // scenery objects
    {39,   decode_name_list,            nullptr,           true }, // name list: always one record
    {43,   extract_model_data,          nullptr,           false}, // model data
    {46,   decode_exclusion_rectangles, nullptr,           false}, // exclusion rectangles
    {0x35, decode_msfs2024_name_list,   nullptr,           true }, // MSFS 2024 name list
    {0xA0, decode_tacans,               nullptr,           false}, // TACAN
    {0x65, decode_polygons,             nullptr,           false}, // MSFS polygons, rectangles
};

// The terrain vectors of the older simulators share the polygon section: files of them alone are
// skipped by folder runs, as they were before polygons were read.
constexpr SectionContent kSectionContents[] = {
    {0x65, has_polygon_blocks},
};

}  // namespace

std::span<const SectionKind> section_kinds() { return kSectionKinds; }
std::span<const SectionContent> section_contents() { return kSectionContents; }

}  // namespace terrova
