// Com sub-record (0x12):
//   +0  u16  id
//   +2  u32  size; only its low 16 bits count, for the name and for the advance
//   +6  u16  com type code
//   +8  s32  frequency, Hz
//   +12      name, size - 12 bytes, not terminated
#include "airport/subrecords.h"
#include "format/xml.h"

namespace terrova {
namespace {

constexpr uint32_t kComFixedSize = 12;
constexpr const char* kComTypes[] = {" ",      "ATIS",  "MULTICOM",  "UNICOM",   "CTAF",
                                     "GROUND", "TOWER", "CLEARANCE", "APPROACH", "DEPARTURE",
                                     "CENTER", "FSS",   "AWOS",      "ASOS"};

}  // namespace

EnumText com_type_name(uint32_t code) { return EnumText(kComTypes, code); }

uint32_t decode_com(DecodeContext& ctx, const char* name, uint32_t offset, uint32_t) {
  const Image& image = ctx.image;
  const uint32_t size = image.u16(offset + 2);
  if (!subrecord_holds(ctx, offset, size, kComFixedSize)) return size;
  if (!ctx.options.terse) write_record_comment(ctx.out, name, offset);
  ctx.out.format("\t\t<%s frequency=\"%0.3lf\" type=\"%s\" name=", name,
                 image.i32(offset + 8) * 0.000001, com_type_name(image.u16(offset + 6)));
  // The name runs to its first zero byte inside the sub-record, however long it is.
  write_quoted_text(ctx.out, image.text(offset + kComFixedSize, size - kComFixedSize));
  ctx.out.write(" />\n");
  return size;
}

}  // namespace terrova
