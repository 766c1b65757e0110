// TaxiwayPath sub-record (0x1C):
//   +0  u16  id
//   +2  u32  size
//   +6  u16  entry count
//   +8       entries of 20 bytes:
//              +0  u16 start index
//              +2  u16 bits 0-11 end index, bits 12-15 runway designator code
//              +4  u8  bits 0-3 path type code, bit 5 draw surface, bit 6 draw detail
//              +5  u8  runway number for a RUNWAY path, otherwise the taxi name index
//              +6  u8  lines: bit 0 centre line, bit 1 centre line lighted, bits 2-3 left edge
//                      style, bit 4 left edge lighted, bits 5-6 right edge style, bit 7 right
//                      edge lighted
//              +7  u8  surface code
//              +8  f32 width, metres
//              +12 s32 weight limit
//              +16     4 bytes, not read
// TaxiwayPath sub-records of the later forms: the same with longer entries, each the 20-byte entry
// above followed by
//              +20     16 bytes, material set GUID (all zero: none)         0x40: 36 bytes
//              +36 u8  terrain flags: bits 0-1 flatten, bits 3-4 surface    0xAE: 40 bytes
//                      query
//              +37 u8  bits 0-1 left, bits 2-3 right edge light fixture (0 DEFAULT, 1 ELEVATED,
//                      2 INSET); written only when every entry of the sub-record has this byte
//                      in that form and +38, +39 zero, as the byte is not used by every writer
//              +38     2 bytes, not read
#include <iterator>

#include "airport/apron.h"
#include "airport/taxiway.h"
#include "format/ident.h"
#include "format/xml.h"

namespace terrova {
namespace {

constexpr uint32_t kEntriesAt = 8;
constexpr uint32_t kEntrySize = 20;
constexpr uint16_t kMaterialSetId = 0x40;
constexpr uint16_t kTerrainId = 0xAE;
constexpr uint32_t kMaterialSetEntrySize = 36;
constexpr uint32_t kTerrainEntrySize = 40;
constexpr uint32_t kMaterialSetAt = 20;
constexpr uint32_t kTerrainAt = 36;
constexpr uint32_t kFixturesAt = 37;
constexpr uint32_t kRunwayPath = 2;
constexpr const char* kPathTypes[] = {nullptr, "TAXI",   "RUNWAY", "PARKING",
                                      "PATH",  "CLOSED", "VEHICLE"};
constexpr const char* kEdgeStyles[] = {"NONE", "SOLID", "DASHED", "SOLID_DASHED"};

uint32_t entry_size_of(uint16_t id) {
  if (id == kMaterialSetId) return kMaterialSetEntrySize;
  if (id == kTerrainId) return kTerrainEntrySize;
  return kEntrySize;
}

// True when the fixture byte of every whole entry holds two codes of 0-2 and nothing else, and
// the two bytes after it are zero.
bool fixtures_are_plausible(const Record& record, uint32_t count) {
  uint64_t at = kEntriesAt;
  for (uint32_t i = 0; i < count && record.holds(at, kTerrainEntrySize);
       ++i, at += kTerrainEntrySize) {
    const uint32_t fixtures = record.u8(at + kFixturesAt);
    if ((fixtures & 3) > 2 || ((fixtures >> 2) & 3) > 2 || (fixtures >> 4) != 0 ||
        record.u16(at + kFixturesAt + 1) != 0) {
      return false;
    }
  }
  return true;
}

}  // namespace

EnumText path_type_name(uint32_t code) {
  if (code == 0 || code >= std::size(kPathTypes)) return EnumText::number(code);
  return EnumText(kPathTypes[code]);
}

EnumText edge_style_name(uint32_t code) { return EnumText(kEdgeStyles, code); }

void write_taxiway_path(DecodeContext& ctx, const char* name, const TaxiwayPathFields& f) {
  Output& out = ctx.out;
  if (ctx.geometry != nullptr) {
    ctx.geometry->taxiway_path({f.start, f.end, f.type, f.width, f.number_or_name, f.designator});
  }
  out.format("\t\t<%s type=\"", name);
  out.write(f.type_name != nullptr ? std::string_view(f.type_name) : path_type_name(f.type));
  out.format("\" start=\"%d\" end=\"%d\"\n", f.start, f.end);
  out.write("\t\t\tsurface=\"");
  if (f.surface_guid != nullptr) {
    write_registry_guid(out, *f.surface_guid, f.surface_guid_at);
  } else {
    out.write(surface_name(f.surface));
  }
  // The width is written in metres whatever the unit switches say.
  out.format("\" width=\"%0.2lf\" weightLimit=\"%ld\"\n", static_cast<double>(f.width),
             f.weight_limit);
  out.format("\t\t\tdrawSurface=\"%s\" drawDetail=\"%s\"\n", true_false((f.flags >> 5) & 1),
             true_false((f.flags >> 6) & 1));
  out.format("\t\t\tcenterLine=\"%s\" centerLineLighted=\"%s\" leftEdge=\"",
             true_false(f.lines & 1), true_false((f.lines >> 1) & 1));
  out.write(edge_style_name((f.lines >> 2) & 3));
  out.format("\"\n\t\t\tleftEdgeLighted=\"%s\" rightEdgeLighted=\"%s\" rightEdge=\"",
             true_false((f.lines >> 4) & 1), true_false((f.lines >> 7) & 1));
  out.write(edge_style_name((f.lines >> 5) & 3));
  out.write("\"\n");
  write_later_attributes(ctx, "\t\t\t", f.later);
  out.write("\t\t\t");
  if (f.type == kRunwayPath) {
    out.write("number");
    out.format("=\"%s\" ", format_runway_number(f.number_or_name));
    out.format("designator=\"%s\" ", designator_name(f.designator));
  } else {
    out.write("name");
    out.format("=\"%d\" ", f.number_or_name);
  }
}

void decode_taxiway_path(DecodeContext& ctx, const char* name, const Record& record, RecordWalk&) {
  if (!ctx.options.terse) write_record_comment(ctx.out, name, record.offset());
  const uint32_t count = record.u16(6);
  const uint32_t entry_size = entry_size_of(record.id());
  const bool fixtures = record.id() == kTerrainId && fixtures_are_plausible(record, count);
  uint64_t at = kEntriesAt;
  for (uint32_t i = 0; i < count; ++i, at += entry_size) {
    // A count that reaches past the sub-record: the entries stop at its end.
    if (!record.holds(at, entry_size)) {
      ctx.report_malformed(record.offset());
      return;
    }
    TaxiwayPathFields f;
    const uint32_t end_word = record.u16(at + 2);
    const uint32_t kind = record.u8(at + 4);
    f.start = record.u16(at);
    f.end = end_word & 0xFFF;
    f.designator = end_word >> 12;
    f.type = kind & 15;
    f.flags = kind;
    f.number_or_name = record.u8(at + 5);
    f.lines = record.u8(at + 6);
    f.surface = record.u8(at + 7);
    f.width = record.f32(at + 8);
    f.weight_limit = record.i32(at + 12);
    if (entry_size >= kMaterialSetEntrySize) {
      f.later.material_set = &record;
      f.later.material_set_at = at + kMaterialSetAt;
    }
    if (entry_size >= kTerrainEntrySize) {
      f.later.terrain = record.u8(at + kTerrainAt);
      f.later.has_fixtures = fixtures;
      f.later.left_fixture = record.u8(at + kFixturesAt) & 3;
      f.later.right_fixture = (record.u8(at + kFixturesAt) >> 2) & 3;
    }
    write_taxiway_path(ctx, name, f);
    ctx.out.write("/>\n");
  }
}

}  // namespace terrova
