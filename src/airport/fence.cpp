// BlastFence (0x38) and BoundaryFence (0x39) sub-records, one layout:
//   +0  u16  id
//   +2  u32  size
//   +6  u16  vertex count V
//   +8       16 bytes, instance GUID
//   +24      16 bytes, profile GUID
//   +40      V vertices of 8 bytes: u32 longitude, u32 latitude, packed
// A GUID is a u32 and two u16, little-endian, then eight single bytes.
#include "airport/apron.h"
#include "format/ident.h"
#include "format/xml.h"

namespace terrova {
namespace {

constexpr uint32_t kInstanceAt = 8;
constexpr uint32_t kProfileAt = 24;
constexpr uint32_t kVerticesAt = 40;
constexpr uint16_t kBoundaryFenceId = 0x39;

}  // namespace

// Fences have no record comment, with or without -t.
void decode_fence(DecodeContext& ctx, const char* name, const Record& record, RecordWalk&) {
  Output& out = ctx.out;
  out.format("\t\t<%s\n\t\t\tinstanceId=\"", name);
  write_registry_guid(out, record, kInstanceAt);
  out.write("\"\n\t\t\tprofile=\"");
  write_registry_guid(out, record, kProfileAt);
  out.write("\" >\n");
  ctx.outline.clear();
  write_vertices(ctx, "\t\t\t", record, kVerticesAt, record.u16(6),
                 ctx.geometry != nullptr ? &ctx.outline : nullptr);
  if (ctx.geometry != nullptr) {
    ctx.geometry->fence(record.id() == kBoundaryFenceId ? FenceKind::kBoundary : FenceKind::kBlast,
                        ctx.outline);
  }
  out.format("\t\t</%s>\n", name);
}

}  // namespace terrova
