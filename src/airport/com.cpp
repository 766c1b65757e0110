// Com sub-record (0x12):
//   +0  u16  id
//   +2  u32  size; only its low 16 bits count, for the name and for the advance
//   +6  u16  com type code; inside an airport of the later form (0xAB) only the u8 at +6, with 7
//            in the u8 at +7
//   +8  s32  frequency, Hz
//   +12      name, size - 12 bytes, not terminated
#include "airport/subrecords.h"
#include "format/xml.h"

namespace terrova {
namespace {

constexpr uint32_t kComFixedSize = 12;
constexpr uint16_t kLaterAirportId = 0xAB;
constexpr const char* kComTypes[] = {" ",      "ATIS",  "MULTICOM",  "UNICOM",   "CTAF",
                                     "GROUND", "TOWER", "CLEARANCE", "APPROACH", "DEPARTURE",
                                     "CENTER", "FSS",   "AWOS",      "ASOS"};

}  // namespace

EnumText com_type_name(uint32_t code) { return EnumText(kComTypes, code); }

void decode_com(DecodeContext& ctx, const char* name, const Record& record, RecordWalk&) {
  const uint32_t size = record.u16(2);
  if (size < kComFixedSize) {
    ctx.report_malformed(record.offset());
    return;
  }
  if (!ctx.options.terse) write_record_comment(ctx.out, name, record.offset());
  const uint32_t type = ctx.airport_id == kLaterAirportId ? record.u8(6) : record.u16(6);
  ctx.out.format("\t\t<%s frequency=\"%0.3lf\" type=\"%s\" name=", name, record.i32(8) * 0.000001,
                 com_type_name(type));
  // The name runs to its first zero byte inside the sub-record, however long it is.
  write_quoted_text(ctx.out, record.text(kComFixedSize, size - kComFixedSize));
  ctx.out.write(" />\n");
}

}  // namespace terrova
