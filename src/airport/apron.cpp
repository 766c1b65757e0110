// Apron sub-record (0x37):
//   +0  u16  id
//   +2  u32  size
//   +6  u8   surface code
//   +7  u16  vertex count V
//   +9       V vertices of 8 bytes: u32 longitude, u32 latitude, packed
// The record right after an apron, when its id is 0x30, belongs to it:
//   +2  u32  size
//   +7  u8   bit 0 draw surface, bit 1 draw detail
// The rest of that companion is not decoded; it is consumed with the apron.
#include "airport/apron.h"

#include "format/values.h"
#include "format/xml.h"

namespace terrova {
namespace {

constexpr uint16_t kCompanionId = 0x30;
constexpr uint32_t kCompanionFlagsAt = 7;
constexpr uint32_t kVerticesAt = 9;
constexpr uint32_t kVertexSize = 8;

}  // namespace

bool write_vertices(DecodeContext& ctx, const char* indent, const Record& record, uint64_t at,
                    uint32_t count) {
  const DecodeOptions& o = ctx.options;
  for (uint32_t i = 0; i < count; ++i, at += kVertexSize) {
    if (!record.holds(at, kVertexSize)) {
      ctx.report_malformed(record.offset());
      return false;
    }
    ctx.out.write(indent);
    ctx.out.format("<Vertex lat=\"%s\" lon=\"%s\" />\n",
                   format_coordinate(o, decode_latitude(record.i32(at + 4))),
                   format_coordinate(o, decode_longitude(record.i32(at))));
  }
  return true;
}

bool write_apron(DecodeContext& ctx, const char* name, const ApronFields& f) {
  Output& out = ctx.out;
  out.format("\t\t<%ss>\n", name);
  out.format("\t\t\t<%s surface=\"%s\" drawSurface=\"%s\" drawDetail=\"%s\">\n", name,
             surface_name(f.surface), true_false(f.flags & 1), true_false((f.flags >> 1) & 1));
  const bool whole = f.record == nullptr ||
                     write_vertices(ctx, "\t\t\t\t", *f.record, f.vertices_at, f.vertex_count);
  out.format("\t\t\t</%s>\n\t\t</%ss>\n", name, name);
  return whole;
}

void decode_apron(DecodeContext& ctx, const char* name, const Record& record,
                  RecordWalk& siblings) {
  if (!ctx.options.terse) write_record_comment(ctx.out, name, record.offset());
  ApronFields f;
  // The companion is taken only when it is a whole record inside the airport (a damaged one ends
  // the airport's walk like any other damaged sub-record); one too short for its flags is
  // reported and gives clear flags.
  uint16_t next_id = 0;
  Record companion;
  if (siblings.peek_id(next_id) && next_id == kCompanionId && siblings.next(companion) &&
      record_holds(ctx, companion, kCompanionFlagsAt + 1)) {
    f.flags = companion.u8(kCompanionFlagsAt);
  }
  f.surface = record.u8(6);
  f.record = &record;
  f.vertices_at = kVerticesAt;
  f.vertex_count = record.u16(7);
  write_apron(ctx, name, f);
}

}  // namespace terrova
