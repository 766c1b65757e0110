// Vector placement sub-record of MSFS (0x5A): objects of a profile repeated along a polyline.
// Checked against the authors' sources (18 records of four airports, and 32 of MSFS 2024 airports
// 0x113, whose rows share this decoder) unless marked "bytes":
//   +6  u16  vertex count V
//   +8       16 bytes, profile GUID
//   +24 f32  spacing, metres
//   +28 f32  heading, degrees
//   +32 f32  scale
//   +36 f32  scaleDelta
//   +40 u8   flags: bit 4 avoidDiscontinuity; bits 5 and 6 set in every record, whose sources all
//            say adjustScalingAlongPath="TRUE" rotation="Follow edge": bit 5 is read as the first,
//            bits 6-7 as the rotation code 1 (bytes: which bit is which is not settled, and the
//            other rotation codes are written as numbers); bits 0-3 zero
//   +41      7 bytes, zero in every record (not read)
//   +48      V vertices of 16 bytes: f64 latitude, f64 longitude (degrees); a count that does not
//            fit the record is reported and the vertices that fit are written
#include <iterator>

#include "airport/msfs_later_records.h"
#include "format/ident.h"
#include "format/values.h"
#include "format/xml.h"

namespace terrova {
namespace {

constexpr uint32_t kCountAt = 6;
constexpr uint32_t kProfileAt = 8;
constexpr uint32_t kSpacingAt = 24;
constexpr uint32_t kHeadingAt = 28;
constexpr uint32_t kScaleAt = 32;
constexpr uint32_t kScaleDeltaAt = 36;
constexpr uint32_t kFlagsAt = 40;
constexpr uint32_t kVerticesAt = 48;
constexpr uint32_t kVertexSize = 16;
constexpr unsigned kAvoidDiscontinuityBit = 4;
constexpr unsigned kAdjustScalingBit = 5;
constexpr unsigned kRotationShift = 6;

constexpr const char* kRotationNames[] = {nullptr, "Follow edge"};

EnumText rotation_name(uint32_t code) {
  if (code < std::size(kRotationNames) && kRotationNames[code] != nullptr) {
    return EnumText(kRotationNames[code]);
  }
  return EnumText::number(code);
}

}  // namespace

void decode_msfs_vector_placement(DecodeContext& ctx, const char* name, const Record& record,
                                  RecordWalk&) {
  const DecodeOptions& o = ctx.options;
  if (!o.terse) write_record_comment(ctx.out, name, record.offset());
  const uint32_t flags = record.u8(kFlagsAt);
  ctx.out.format("\t\t<%s profile=\"", name);
  write_registry_guid(ctx.out, record, kProfileAt);
  ctx.out.format("\" spacing=%s heading=\"%0.2lf\"\n", format_length(o, record.f32(kSpacingAt)),
                 static_cast<double>(record.f32(kHeadingAt)));
  ctx.out.format("\t\t\tscale=\"%0.2lf\" scaleDelta=\"%0.2lf\" rotation=\"%s\"\n",
                 static_cast<double>(record.f32(kScaleAt)),
                 static_cast<double>(record.f32(kScaleDeltaAt)),
                 rotation_name(flags >> kRotationShift));
  ctx.out.format("\t\t\tavoidDiscontinuity=\"%s\" adjustScalingAlongPath=\"%s\">\n",
                 true_false((flags >> kAvoidDiscontinuityBit) & 1),
                 true_false((flags >> kAdjustScalingBit) & 1));
  const uint32_t count = record.u16(kCountAt);
  const uint64_t held = (record.size() - kVerticesAt) / kVertexSize;
  if (count > held) ctx.report_malformed(record.offset());
  for (uint64_t i = 0, at = kVerticesAt; i < count && i < held; ++i, at += kVertexSize) {
    ctx.out.format("\t\t\t<Vertex lat=\"%s\" lon=\"%s\" />\n",
                   format_coordinate(o, record_f64(record, at)),
                   format_coordinate(o, record_f64(record, at + 8)));
  }
  ctx.out.format("\t\t</%s>\n", name);
}

}  // namespace terrova
