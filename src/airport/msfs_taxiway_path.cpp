// TaxiwayPath sub-record of MSFS (0xD4):
//   +6  u16  entry count
//   +8       entries of 48 bytes:
//              +0  u16 start index
//              +2  u16 bits 12-15 runway designator code of a RUNWAY path (checked: 10 LEFT and
//                      47 RIGHT paths, 0 in every other path), bits 0-11 0
//              +4  u8  bits 0-3 path type code, bit 4 enhanced, bit 5 draw surface, bit 6 draw
//                      detail
//              +5  u8  runway number for a RUNWAY path, otherwise the taxi name index
//              +6  u8  lines, as the 0x1C form
//              +7  u8  legacy surface code, 0
//              +8  f32 width, metres
//              +12 s32 weight limit
//              +16     8 bytes, not read
//              +24     16 bytes, surface material GUID
//              +40     4 bytes, colour (see msfs_coloration.cpp): `Coloration`
//              +44 u8  count n of path material records after the entry (0 in every file seen)
//              +45 u8  bit 0 groundMerging (set = TRUE), bit 1 excludeVegetationAround, bit 2
//                      excludeVegetationInside (set = FALSE)
//              +46 u16 end index (a parking index for a PARKING path)
//            then n path material records, each u16 id 0xD5 and u32 size (bytes: the runway
//            material 0xCB has this header; no sample has a path material)
// Path type codes are those of the older forms, and 7 ROAD (checked: 170 paths).
// Each entry is written as the older forms write theirs, with the MSFS attributes after them and
// the colour as its child. The path materials are passed over by their sizes and dumped inside
// their path; when the bytes after an entry are not such records, the next entry follows it, and
// a material record whose size cannot be trusted ends the list.
#include "airport/msfs_airport.h"
#include "airport/msfs_coloration.h"
#include "airport/subrecords.h"
#include "airport/taxiway.h"
#include "format/xml.h"

namespace terrova {
namespace {

constexpr uint32_t kEntriesAt = 8;
constexpr uint32_t kEntrySize = 48;
constexpr uint32_t kDesignatorAt = 2;
constexpr uint32_t kSurfaceAt = 24;
constexpr uint32_t kColorationAt = 40;
constexpr uint32_t kMaterialCountAt = 44;
constexpr uint16_t kMaterialId = 0xD5;
constexpr uint32_t kRecordHeaderSize = 6;
constexpr uint32_t kTerrainAt = 45;
constexpr uint32_t kEndAt = 46;
constexpr unsigned kEnhancedBit = 4;
constexpr uint32_t kRoadPath = 7;

constexpr uint64_t kDamagedMaterials = UINT64_MAX;

// The bytes of the `count` path material records from `at`: 0 when the bytes there are not such
// records, kDamagedMaterials when one is but its size does not fit it or the sub-record.
uint64_t materials_size(const Record& record, uint64_t at, uint32_t count) {
  uint64_t size = 0;
  for (uint32_t i = 0; i < count; ++i) {
    if (record.u16(at + size) != kMaterialId) return 0;
    const uint32_t one = record.u32(at + size + 2);
    if (one < kRecordHeaderSize || !record.holds(at + size, one)) return kDamagedMaterials;
    size += one;
  }
  return size;
}

void dump_materials(DecodeContext& ctx, const Record& record, uint64_t at, uint64_t size) {
  for (uint64_t end = at + size; at < end;) {
    Record material(record.view(), record.file_offset(at), record.u32(at + 2));
    material.register_coverage();
    dump_subrecord(ctx, material);
    at += material.size();
  }
}

}  // namespace

void decode_msfs_taxiway_path(DecodeContext& ctx, const char* name, const Record& record,
                              RecordWalk&) {
  if (!ctx.options.terse) write_record_comment(ctx.out, name, record.offset());
  const uint32_t count = record.u16(6);
  uint64_t at = kEntriesAt;
  for (uint32_t i = 0; i < count; ++i) {
    // A count that reaches past the sub-record: the entries stop at its end.
    if (!record.holds(at, kEntrySize)) {
      ctx.report_malformed(record.offset());
      return;
    }
    TaxiwayPathFields f;
    const uint32_t kind = record.u8(at + 4);
    f.start = record.u16(at);
    f.end = record.u16(at + kEndAt);
    f.designator = record.u16(at + kDesignatorAt) >> 12;
    f.type = kind & 15;
    if (f.type == kRoadPath) f.type_name = "ROAD";
    f.flags = kind;
    f.number_or_name = record.u8(at + 5);
    f.lines = record.u8(at + 6);
    f.surface_guid = &record;
    f.surface_guid_at = at + kSurfaceAt;
    f.width = record.f32(at + 8);
    f.weight_limit = record.i32(at + 12);
    const uint32_t terrain = record.u8(at + kTerrainAt);
    MsfsAttributes& m = f.later.msfs;
    m.flag("enhanced", (kind >> kEnhancedBit) & 1);
    m.flag("groundMerging", (terrain & 1) != 0);
    m.flag("excludeVegetationAround", (terrain & 2) == 0);
    m.flag("excludeVegetationInside", (terrain & 4) == 0);
    write_taxiway_path(ctx, name, f);
    const uint64_t materials =
        materials_size(record, at + kEntrySize, record.u8(at + kMaterialCountAt));
    if (materials == kDamagedMaterials) {
      ctx.out.write("/>\n");
      ctx.report_malformed(record.file_offset(at + kEntrySize));
      return;
    }
    if (materials != 0 || has_msfs_coloration(record, at + kColorationAt)) {
      ctx.out.write(">\n");
      dump_materials(ctx, record, at + kEntrySize, materials);
      write_msfs_coloration(ctx, "\t\t\t", record, at + kColorationAt);
      ctx.out.format("\t\t</%s>\n", name);
    } else {
      ctx.out.write("/>\n");
    }
    at += kEntrySize + materials;
  }
}

}  // namespace terrova
