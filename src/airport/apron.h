// Aprons, apron edge lights and fences, and the pieces of them that other stored forms of the
// same records share: the vertex lists and the registry form of a GUID.
#pragma once

#include <cstdint>
#include <vector>

#include "airport/later_attributes.h"
#include "airport/subrecords.h"
#include "bgl/record.h"

namespace terrova {

// Sub-record decoders (rows of the airport sub-record table). The apron takes a following
// companion record from `siblings`.
void decode_apron(DecodeContext& ctx, const char* name, const Record& record, RecordWalk& siblings);
void decode_apron_edge_lights(DecodeContext& ctx, const char* name, const Record& record,
                              RecordWalk&);
void decode_fence(DecodeContext& ctx, const char* name, const Record& record, RecordWalk&);

// Writes "\t<Vertex lat=... lon=... />\n" after `indent` tabs for each of the `count` vertices
// (8 bytes: packed longitude, packed latitude) from byte `at` of `record`. A list that runs past
// the record stops at its end with the damage reported; the result is then false. With
// `positions`, each vertex written is added to it too, for the geometry listener.
bool write_vertices(DecodeContext& ctx, const char* indent, const Record& record, uint64_t at,
                    uint32_t count, std::vector<GeoPoint>* positions = nullptr);

// The positions of the `count` vertices (8 bytes: packed longitude, packed latitude) from byte
// `at` of `record`, as far as they lie inside it: the outlines handed to the geometry listener.
std::vector<GeoPoint> read_vertices(const Record& record, uint64_t at, uint32_t count);

struct ApronFields {
  uint32_t surface = 0;
  const Record* surface_guid = nullptr;  // MSFS: the surface is the material GUID at this byte
  uint64_t surface_guid_at = 0;
  bool in_container = false;  // the caller writes the `Aprons` element around it
  uint32_t flags = 0;         // from the companion record: bit 0 draw surface, bit 1 draw detail
  // MSFS: the colour at this byte, written as the first child when it holds one.
  const Record* coloration = nullptr;
  uint64_t coloration_at = 0;
  // The `vertex_count` vertices from byte `vertices_at` of `record`.
  const Record* record = nullptr;
  uint64_t vertices_at = 0;
  uint32_t vertex_count = 0;
  LaterAttributes later;  // written after drawDetail, the last closing the start tag
};
// Writes the `Aprons` element holding one `Apron` (the `Apron` alone when `in_container`); false
// when its vertices were cut short (the damage is then reported at the record's offset).
bool write_apron(DecodeContext& ctx, const char* name, const ApronFields& f);

}  // namespace terrova
