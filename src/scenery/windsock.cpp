// Windsock, kind data of scenery objects of kinds 3 and 12, always 18 bytes:
//   +0  f32    pole height
//   +4  f32    sock length
//   +8  u8 x3  pole colour: blue, green, red
//   +11 1 byte, not read
//   +12 u8 x3  sock colour: blue, green, red
//   +15 1 byte, not read
//   +16 u16    lighted: 0 FALSE, 1 TRUE, other values as their number
#include "format/values.h"
#include "scenery/kinds.h"

namespace terrova {
namespace {

constexpr uint32_t kWindsockSize = 18;
constexpr const char* kLighted[] = {"FALSE", "TRUE"};

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

}  // namespace terrova
