// Light preset sub-record of MSFS (0x58). One record is known (bytes, with the author's source):
// 32 bytes whose 26 after the header are all zero, compiled from
// `LightPreset name="" phase="0.000000" mesh="{00000000-...}"` without `Light` children. Which of
// those bytes hold the name, the phase, the mesh GUID or a light count is not settled, so only
// this form is written as the element; a preset with any other bytes is dumped whole, as records
// of unknown layout are, rather than written with values the bytes may not hold.
#include <string_view>

#include "airport/msfs_later_records.h"
#include "airport/subrecords.h"
#include "format/xml.h"

namespace terrova {
namespace {

constexpr uint32_t kBodyAt = 6;
constexpr uint32_t kKnownSize = 32;

bool is_empty_preset(const Record& record) {
  if (record.size() != kKnownSize) return false;
  const std::string_view body = record.bytes(kBodyAt, kKnownSize - kBodyAt);
  return body.find_first_not_of('\0') == std::string_view::npos;
}

}  // namespace

void decode_msfs_light_preset(DecodeContext& ctx, const char* name, const Record& record,
                              RecordWalk&) {
  if (!is_empty_preset(record)) {
    dump_subrecord(ctx, record);
    return;
  }
  if (!ctx.options.terse) write_record_comment(ctx.out, name, record.offset());
  ctx.out.format(
      "\t\t<%s name=\"\" phase=\"0.00\" mesh=\"{00000000-0000-0000-0000-000000000000}\" />\n",
      name);
}

}  // namespace terrova
