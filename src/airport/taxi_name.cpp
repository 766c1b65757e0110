// TaxiName sub-record (0x1D):
//   +0  u16  id
//   +2  u32  size
//   +6  u16  entry count
//   +8       entries of 8 bytes: the name, NUL-padded (a name of 8 characters has no NUL)
#include "airport/taxiway.h"
#include "format/xml.h"

namespace terrova {
namespace {

constexpr uint32_t kEntriesAt = 8;
constexpr uint32_t kEntrySize = 8;

}  // namespace

void decode_taxi_name(DecodeContext& ctx, const char* name, const Record& record, RecordWalk&) {
  if (!ctx.options.terse) write_record_comment(ctx.out, name, record.offset());
  const uint32_t count = record.u16(6);
  uint64_t at = kEntriesAt;
  for (uint32_t index = 0; index < count; ++index, at += kEntrySize) {
    // A count that reaches past the sub-record: the names stop at its end.
    if (!record.holds(at, kEntrySize)) {
      ctx.report_malformed(record.offset());
      return;
    }
    ctx.out.format("\t\t<%s index=\"%d\" name=\"", name, index);
    write_escaped_text(ctx.out, record.text(at, kEntrySize));
    if (ctx.geometry != nullptr) ctx.geometry->taxi_name(index, record.text(at, kEntrySize));
    ctx.out.write("\" />\n");
  }
}

}  // namespace terrova
