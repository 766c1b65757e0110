// The section walker: reads the section and subsection tables and hands each run of records to
// the decoder of its section type.
//
// SectionEntry, 20 bytes, from offset 56, as many as the header's count at +20:
//   +0  u32  type            selects the decoder
//   +4  u32  unknown1        shown in the section comment only
//   +8  u32  subsection count
//   +12 u32  subsection table offset
//   +16 u32  subsection table size
// SubsectionEntry, 16 bytes, consecutive from the subsection table offset:
//   +0  u32  LatInfo         shown in the subsection comment only
//   +4  u32  record count
//   +8  u32  data offset     file offset of the first record
//   +12 u32  data size       size of the run of records
#pragma once

#include <cstdint>
#include <span>

#include "bgl/context.h"

namespace terrova {

struct SectionEntry {
  uint32_t type = 0;
  uint32_t unknown1 = 0;
  uint32_t subsection_count = 0;
  uint32_t subsection_table_offset = 0;
  uint32_t subsection_table_size = 0;
};

// One run of records, as a subsection entry gives it.
struct SubsectionRun {
  uint32_t record_count = 0;
  uint32_t data_offset = 0;
  uint32_t data_size = 0;
};

using SubsectionDecoder = void (*)(DecodeContext&, const SubsectionRun&);
// Sections that are decoded whole (boundaries and Geopol lines walk their own index).
using SectionDecoder = void (*)(DecodeContext&, const SectionEntry&);

// One row of the dispatch table by section type.
struct SectionKind {
  uint32_t type;
  SubsectionDecoder decode_subsection;  // called once per subsection
  SectionDecoder decode_section;        // or, for a section decoded whole, called once with the
                                        // entry (its subsections are then not walked)
  bool single_record;                   // the decoder is told a record count of 1
};

// For a section type whose decoder writes nothing for some of its forms: true when the section
// holds a form that the decoder writes.
struct SectionContent {
  uint32_t type;
  bool (*writes_elements)(const Image& image, const SectionEntry& section);
};

// Sections are decoded in descending order of type, so that the name list, scenery objects,
// waypoints and navaids have filled the shared lists before the first airport is written.
void walk_sections(DecodeContext& ctx, std::span<const SectionKind> kinds);

// True when a section of the file, among those that the walk reads, has a decoder in `kinds`,
// and holds a form that the decoder writes when `contents` has a row for its type.
bool has_decoded_section(const Image& image, std::span<const SectionKind> kinds,
                         std::span<const SectionContent> contents = {});

// True when `matches` holds for the id of a record of a section of type `type`: a look at the
// records' headers before the walk, for what the file as a whole must be known as before the
// first section is decoded. Each subsection's records are followed by their u32 size fields
// inside the subsection's data; a size that cannot be a record's ends that subsection's look,
// silently (the walk itself reports the damage).
bool has_record_in_sections(const Image& image, uint32_t type, bool (*matches)(uint16_t id));

}  // namespace terrova
