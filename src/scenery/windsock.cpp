// Windsock, kind data of scenery objects of kinds 3 and 12, always 18 bytes:
//   +0  f32    pole height
//   +4  f32    sock length
//   +8  u8 x3  pole colour: blue, green, red
//   +11 1 byte, not read
//   +12 u8 x3  sock colour: blue, green, red
//   +15 1 byte, not read
//   +16 u16    lighted: 0 FALSE, 1 TRUE, other values as their number
// Windsock of MSFS, kind data of scenery objects of kind 0x18:
//   +0  f32    pole height
//   +4  f32    sock length
//   +8  4 bytes, zero
//   +12 4 bytes, not read (80 80 ff 00 in every file seen)
//   +16 u16    lighted, as above
//   +18 u16    title length n
//   +20        container title, n bytes, then 2 zero bytes; an empty container path as for the
//              SimObject (sim_object.cpp)
#include "format/values.h"
#include "format/xml.h"
#include "scenery/kinds.h"

namespace terrova {
namespace {

constexpr uint32_t kWindsockSize = 18;
constexpr const char* kLighted[] = {"FALSE", "TRUE"};
constexpr uint32_t kMsfsLightedAt = 16;
constexpr uint32_t kMsfsTitleLengthAt = 18;
constexpr uint32_t kMsfsTitleAt = 20;
constexpr uint32_t kTitleEnd = 2;  // the zero bytes after the title

}  // namespace

uint32_t decode_windsock(DecodeContext& ctx, const char* name, const Record& kind_data) {
  if (!record_holds(ctx, kind_data, kWindsockSize)) return kind_data.size();
  ctx.out.format(
      "\t\t<%s poleHeight=\"%0.2lf\" sockLength=\"%0.2lf\" lighted=\"%s\">\n\t\t\t<PoleColor "
      "red=\"%d\" blue=\"%d\" green=\"%d\" />\n\t\t\t<SockColor red=\"%d\" blue=\"%d\" "
      "green=\"%d\" />\n\t\t</%s>\n",
      name, static_cast<double>(kind_data.f32(0)), static_cast<double>(kind_data.f32(4)),
      EnumText(kLighted, kind_data.u16(16)), kind_data.u8(10), kind_data.u8(8), kind_data.u8(9),
      kind_data.u8(14), kind_data.u8(12), kind_data.u8(13), name);
  return kWindsockSize;
}

uint32_t decode_msfs_windsock(DecodeContext& ctx, const char* name, const Record& kind_data) {
  const uint64_t length = uint64_t{kMsfsTitleAt} + kind_data.u16(kMsfsTitleLengthAt) + kTitleEnd;
  if (!record_holds(ctx, kind_data, length)) return kind_data.size();
  ctx.out.format("\t\t<%s poleHeight=\"%0.2lf\" sockLength=\"%0.2lf\" lighted=\"%s\"\n", name,
                 static_cast<double>(kind_data.f32(0)), static_cast<double>(kind_data.f32(4)),
                 EnumText(kLighted, kind_data.u16(kMsfsLightedAt)));
  ctx.out.write("\t\t\tcontainerTitle=\"");
  write_escaped_text(ctx.out, kind_data.text(kMsfsTitleAt, length - kMsfsTitleAt - kTitleEnd));
  ctx.out.put('"');
  if (has_no_container_path(kind_data, length)) ctx.out.write(" containerPath=\"\"");
  ctx.out.write(" />\n");
  return static_cast<uint32_t>(length);
}

}  // namespace terrova
