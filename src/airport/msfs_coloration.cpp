// Colour of an MSFS runway (0xCE +92), taxiway path entry (0xD4 entry +40) or apron (0xD0 and
// 0xD3 +8), 4 bytes:
//   +0 u8 blue, +1 u8 green, +2 u8 red, +3 u8 alpha (checked: every runway and apron colour of
//         the sources; the path colours seen are all grey, so their order is the others')
// All four zero: no colour (checked: every runway, path and apron without `Coloration`). The
// `override` attribute has no bits: the sources write TRUE or leave it out, and both store the
// colour, so a stored colour is written with override TRUE.
#include "airport/msfs_coloration.h"

namespace terrova {
namespace {

constexpr uint32_t kBlueAt = 0;
constexpr uint32_t kGreenAt = 1;
constexpr uint32_t kRedAt = 2;
constexpr uint32_t kAlphaAt = 3;

}  // namespace

bool has_msfs_coloration(const Record& record, uint64_t at) { return record.u32(at) != 0; }

void write_msfs_coloration(DecodeContext& ctx, const char* indent, const Record& record,
                           uint64_t at) {
  if (!has_msfs_coloration(record, at)) return;
  ctx.out.write(indent);
  ctx.out.format(
      "<Coloration red=\"%d\" green=\"%d\" blue=\"%d\" alpha=\"%d\" override=\"TRUE\" />\n",
      record.u8(at + kRedAt), record.u8(at + kGreenAt), record.u8(at + kBlueAt),
      record.u8(at + kAlphaAt));
}

}  // namespace terrova
