// Com sub-record (0x12):
//   +0  u16  id
//   +2  u32  size; only its low 16 bits count, for the name and for the advance
//   +6  u16  com type code (14 and 15 named inside an MSFS airport); inside an airport of the later
//   form (0xAB) only the u8 at +6, with 7
//            in the u8 at +7
//   +8  s32  frequency, Hz
//   +12      name, size - 12 bytes, not terminated
#include <iterator>

#include "airport/msfs_airport.h"
#include "airport/subrecords.h"
#include "format/xml.h"

namespace terrova {
namespace {

constexpr uint32_t kComFixedSize = 12;
constexpr uint16_t kLaterAirportId = 0xAB;
constexpr const char* kComTypes[] = {" ",      "ATIS",  "MULTICOM",  "UNICOM",   "CTAF",
                                     "GROUND", "TOWER", "CLEARANCE", "APPROACH", "DEPARTURE",
                                     "CENTER", "FSS",   "AWOS",      "ASOS"};
// Types that only MSFS airports name; elsewhere they stay numbers.
constexpr const char* kMsfsComTypes[] = {"CLEARANCE_PRE_TAXI", "REMOTE_CLEARANCE_DELIVERY"};
constexpr uint32_t kFirstMsfsComType = 14;

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
  const EnumText type_name = in_msfs_airport(ctx) && type >= kFirstMsfsComType &&
                                     type - kFirstMsfsComType < std::size(kMsfsComTypes)
                                 ? EnumText(kMsfsComTypes, type - kFirstMsfsComType)
                                 : com_type_name(type);
  ctx.out.format("\t\t<%s frequency=\"%0.3lf\" type=\"%s\" name=", name, record.i32(8) * 0.000001,
                 type_name);
  // The name runs to its first zero byte inside the sub-record, however long it is.
  const std::string_view text = record.text(kComFixedSize, size - kComFixedSize);
  write_quoted_text(ctx.out, text);
  ctx.out.write(" />\n");
}

}  // namespace terrova
