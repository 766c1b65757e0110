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
#include <iterator>

#include "airport/taxiway.h"
#include "format/xml.h"

namespace terrova {
namespace {

constexpr uint32_t kEntriesAt = 8;
constexpr uint32_t kEntrySize = 20;
constexpr uint32_t kRunwayPath = 2;
constexpr const char* kPathTypes[] = {nullptr, "TAXI",   "RUNWAY", "PARKING",
                                      "PATH",  "CLOSED", "VEHICLE"};
constexpr const char* kEdgeStyles[] = {"NONE", "SOLID", "DASHED", "SOLID_DASHED"};

}  // namespace

EnumText path_type_name(uint32_t code) {
  if (code == 0 || code >= std::size(kPathTypes)) return EnumText::number(code);
  return EnumText(kPathTypes[code]);
}

EnumText edge_style_name(uint32_t code) { return EnumText(kEdgeStyles, code); }

void write_taxiway_path(DecodeContext& ctx, const char* name, const TaxiwayPathFields& f) {
  Output& out = ctx.out;
  out.format("\t\t<%s type=\"%s\" start=\"%d\" end=\"%d\"\n", name, path_type_name(f.type), f.start,
             f.end);
  // The width is written in metres whatever the unit switches say.
  out.format("\t\t\tsurface=\"%s\" width=\"%0.2lf\" weightLimit=\"%ld\"\n", surface_name(f.surface),
             static_cast<double>(f.width), f.weight_limit);
  out.format("\t\t\tdrawSurface=\"%s\" drawDetail=\"%s\"\n", true_false((f.flags >> 5) & 1),
             true_false((f.flags >> 6) & 1));
  out.format("\t\t\tcenterLine=\"%s\" centerLineLighted=\"%s\" leftEdge=\"",
             true_false(f.lines & 1), true_false((f.lines >> 1) & 1));
  out.write(edge_style_name((f.lines >> 2) & 3));
  out.format("\"\n\t\t\tleftEdgeLighted=\"%s\" rightEdgeLighted=\"%s\" rightEdge=\"",
             true_false((f.lines >> 4) & 1), true_false((f.lines >> 7) & 1));
  out.write(edge_style_name((f.lines >> 5) & 3));
  out.write("\"\n\t\t\t");
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
  uint64_t at = kEntriesAt;
  for (uint32_t i = 0; i < count; ++i, at += kEntrySize) {
    // A count that reaches past the sub-record: the entries stop at its end.
    if (!record.holds(at, kEntrySize)) {
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
    write_taxiway_path(ctx, name, f);
    ctx.out.write("/>\n");
  }
}

}  // namespace terrova
