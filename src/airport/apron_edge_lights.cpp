// ApronEdgeLights sub-record (0x31):
//   +0  u16  id
//   +2  u32  size
//   +6       2 bytes, not read
//   +8  u16  vertex count V
//   +10 u16  edge count E
//   +12      12 bytes, not read
//   +24      V vertices of 8 bytes: u32 longitude, u32 latitude, packed; numbered from 0
//   +24+8V   E edges of 8 bytes: +0 4 bytes not read, +4 u16 start vertex, +6 u16 end vertex
// Edges are written as runs of connected edges: an edge that starts where the previous one ended
// adds its end vertex to the run; any other edge starts a new `EdgeLights` element.
#include "airport/apron.h"
#include "format/values.h"
#include "format/xml.h"

namespace terrova {
namespace {

constexpr uint32_t kVerticesAt = 24;
constexpr uint32_t kVertexSize = 8;
constexpr uint32_t kEdgeSize = 8;

void write_vertex(DecodeContext& ctx, const Record& record, uint32_t index) {
  const uint64_t at = kVerticesAt + uint64_t{index} * kVertexSize;
  const DecodeOptions& o = ctx.options;
  ctx.out.format("\t\t\t\t<Vertex lat=\"%s\" lon=\"%s\" />\n",
                 format_coordinate(o, decode_latitude(record.i32(at + 4))),
                 format_coordinate(o, decode_longitude(record.i32(at))));
}

// Hands the runs of edges to the geometry listener, chained as the document writes them.
void report_edge_lights(DecodeContext& ctx, const Record& record, uint32_t vertex_count,
                        uint32_t edge_count) {
  const uint64_t edges_at = kVerticesAt + uint64_t{vertex_count} * kVertexSize;
  const std::vector<GeoPoint> vertices = read_vertices(record, kVerticesAt, vertex_count);
  std::vector<GeoPoint> run;
  uint32_t previous_end = 0;
  for (uint32_t i = 0; i < edge_count; ++i) {
    const uint64_t at = edges_at + uint64_t{i} * kEdgeSize;
    if (!record.holds(at, kEdgeSize)) break;
    const uint32_t from = record.u16(at + 4);
    const uint32_t to = record.u16(at + 6);
    if (from >= vertices.size() || to >= vertices.size()) continue;
    if (run.empty() || from != previous_end) {
      if (!run.empty()) ctx.geometry->edge_lights(run);
      run.assign(1, vertices[from]);
    }
    run.push_back(vertices[to]);
    previous_end = to;
  }
  if (!run.empty()) ctx.geometry->edge_lights(run);
}

}  // namespace

void decode_apron_edge_lights(DecodeContext& ctx, const char* name, const Record& record,
                              RecordWalk&) {
  if (!ctx.options.terse) write_record_comment(ctx.out, name, record.offset());
  ctx.out.format("\t\t<%s>\n", name);
  const uint32_t vertex_count = record.u16(8);
  const uint32_t edge_count = record.u16(10);
  const uint64_t edges_at = kVerticesAt + uint64_t{vertex_count} * kVertexSize;
  bool open = false;
  uint32_t previous_end = 0;
  for (uint32_t i = 0; i < edge_count; ++i) {
    const uint64_t at = edges_at + uint64_t{i} * kEdgeSize;
    // A vertex or edge count that reaches past the sub-record: the edges stop at its end.
    if (!record.holds(at, kEdgeSize)) {
      ctx.report_malformed(record.offset());
      break;
    }
    const uint32_t from = record.u16(at + 4);
    const uint32_t to = record.u16(at + 6);
    // An edge that names a vertex past the list is passed over as if it were not stored.
    if (from >= vertex_count || to >= vertex_count) continue;
    if (!open || from != previous_end) {
      if (open) ctx.out.format("\t\t\t</%s>\n", "EdgeLights");
      ctx.out.format("\t\t\t<%s>\n", "EdgeLights");
      open = true;
      write_vertex(ctx, record, from);
    }
    write_vertex(ctx, record, to);
    previous_end = to;
  }
  if (open) ctx.out.format("\t\t\t</%s>\n", "EdgeLights");
  ctx.out.format("\t\t</%s>\n", name);
  if (ctx.geometry != nullptr) report_edge_lights(ctx, record, vertex_count, edge_count);
}

}  // namespace terrova
