// Exclusion rectangle, section 46, 20-byte records one after the other:
//   +0  u16  flags: a low byte of exactly 8 excludes all objects; otherwise bits 4-10 exclude
//            beacons, effects, generic buildings, library objects, taxiway signs, triggers and
//            windsocks; no class bit set means no element
//   +2  2 bytes, not read
//   +4  u32  longitude, packed: longitudeMinimum
//   +8  u32  latitude, packed: latitudeMaximum
//   +12 u32  longitude, packed: longitudeMaximum
//   +16 u32  latitude, packed: latitudeMinimum
// MSFS files hold the same records (bits 4, 5, 7 and 10 checked against their source).
#include "format/values.h"
#include "scenery/scenery_sections.h"

namespace terrova {
namespace {

constexpr uint32_t kRectangleSize = 20;

void write_rectangle(DecodeContext& ctx, const Record& rectangle) {
  Output& out = ctx.out;
  const DecodeOptions& o = ctx.options;
  const uint32_t flags = rectangle.u16(0);
  const bool exclude_all = (flags & 0xFF) == 8;
  if (!exclude_all && (flags & 0x07F0) == 0) return;
  if (ctx.facts != nullptr) {
    // Bits 4-10 are the classes in the order of `ExcludedClass`.
    ctx.facts->exclusion({decode_latitude(rectangle.i32(16)), decode_latitude(rectangle.i32(8)),
                          decode_longitude(rectangle.i32(4)), decode_longitude(rectangle.i32(12)),
                          exclude_all ? kExcludesAll : (flags >> 4) & kExcludesAll, exclude_all,
                          rectangle.offset()});
  }

  out.format(
      "\t<ExclusionRectangle\n\t\tlatitudeMinimum = \"%s\"\n\t\tlatitudeMaximum = "
      "\"%s\"\n\t\tlongitudeMinimum = \"%s\"\n\t\tlongitudeMaximum = \"%s\"\n",
      format_coordinate(o, decode_latitude(rectangle.i32(16))),
      format_coordinate(o, decode_latitude(rectangle.i32(8))),
      format_coordinate(o, decode_longitude(rectangle.i32(4))),
      format_coordinate(o, decode_longitude(rectangle.i32(12))));
  if (exclude_all) {
    out.write("\t\texcludeAllObjects = \"TRUE\" />\n");
    return;
  }
  out.write("\t\texcludeAllObjects = \"FALSE\"");
  out.format("\n\t\texcludeBeaconObjects = \"%s\"", true_false(flags & 0x0010));
  out.format("\n\t\texcludeEffectObjects = \"%s\"", true_false(flags & 0x0020));
  out.format("\n\t\texcludeGenericBuildingObjects = \"%s\"", true_false(flags & 0x0040));
  out.format("\n\t\texcludeLibraryObjects = \"%s\"", true_false(flags & 0x0080));
  out.format("\n\t\texcludeTaxiwaySignObjects = \"%s\"", true_false(flags & 0x0100));
  out.format("\n\t\texcludeTriggerObjects = \"%s\"", true_false(flags & 0x0200));
  // The MSFS schema spells the attribute with a small s.
  out.write(ctx.msfs_document ? "\n\t\texcludeWindsockObjects" : "\n\t\texcludeWindSockObjects");
  out.format(" = \"%s\"", true_false(flags & 0x0400));
  out.write(" />\n");
}

}  // namespace

void decode_exclusion_rectangles(DecodeContext& ctx, const SubsectionRun& run) {
  const Image data = ctx.image.narrow(run.data_offset, run.data_size);
  for (uint64_t i = 0; i < run.record_count; ++i) {
    const uint64_t at = run.data_offset + i * kRectangleSize;
    // The count is trusted only as far as the records lie inside the subsection's data.
    if (!data.contains(at, kRectangleSize)) {
      ctx.report_malformed(at);
      return;
    }
    write_rectangle(ctx, Record(data, at, kRectangleSize));
  }
}

}  // namespace terrova
