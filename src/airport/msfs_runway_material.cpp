// Facility material child of an MSFS runway (0xCB), 44 bytes. Checked against the authors'
// sources (3 records of two airports; 3 more without a source walk the same way):
//   +6  u8   1 in every record (not read)
//   +7  u8   opacity
//   +8       16 bytes, material GUID
//   +24 u32  type: 0 "Base tiled" (checked); 6 in one record without a source, and other codes,
//            are written as numbers
//   +28 f32  tilingU
//   +32 f32  tilingV
//   +36 f32  width, metres
//   +40 f32  falloff
// The `Material` elements stand last in their runway, after its starts.
#include "airport/msfs_later_records.h"
#include "format/ident.h"
#include "format/values.h"

namespace terrova {
namespace {

constexpr uint32_t kOpacityAt = 7;
constexpr uint32_t kGuidAt = 8;
constexpr uint32_t kTypeAt = 24;
constexpr uint32_t kTilingUAt = 28;
constexpr uint32_t kTilingVAt = 32;
constexpr uint32_t kWidthAt = 36;
constexpr uint32_t kFalloffAt = 40;

constexpr const char* kMaterialTypeNames[] = {"Base tiled"};

}  // namespace

void write_runway_material(DecodeContext& ctx, const Record& material) {
  ctx.out.write("\t\t\t<Material guid=\"");
  write_registry_guid(ctx.out, material, kGuidAt);
  ctx.out.format("\" type=\"%s\"\n", EnumText(kMaterialTypeNames, material.u32(kTypeAt)));
  ctx.out.format("\t\t\t\ttilingU=\"%0.2lf\" tilingV=\"%0.2lf\" width=%s\n",
                 static_cast<double>(material.f32(kTilingUAt)),
                 static_cast<double>(material.f32(kTilingVAt)),
                 format_length(ctx.options, material.f32(kWidthAt)));
  ctx.out.format("\t\t\t\tfalloff=\"%0.2lf\" opacity=\"%d\" />\n",
                 static_cast<double>(material.f32(kFalloffAt)), material.u8(kOpacityAt));
}

}  // namespace terrova
