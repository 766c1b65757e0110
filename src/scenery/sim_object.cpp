// SimObject, kind data of MSFS scenery objects of kind 0x19 (the jetway of a 0xDE sub-record):
//   +0  f32  scale
//   +4  u32  title length n
//   +8       container title, n bytes, then 2 zero bytes
// A record that ends with the 2 zero bytes after its title has no room for a container path, and
// `containerPath` is written empty (ZBAD's jetway sources say containerPath=""). No sample holds
// a path, so where one would be stored is not known; a longer record writes no `containerPath`.
#include "format/xml.h"
#include "scenery/kinds.h"

namespace terrova {
namespace {

constexpr uint32_t kTitleLengthAt = 4;
constexpr uint32_t kTitleAt = 8;
constexpr uint32_t kTitleEnd = 2;  // the zero bytes after the title

}  // namespace

bool has_no_container_path(const Record& kind_data, uint64_t length) {
  return kind_data.size() == length && kind_data.u16(length - kTitleEnd) == 0;
}

uint32_t decode_sim_object(DecodeContext& ctx, const char* name, const Record& kind_data) {
  const uint64_t length = uint64_t{kTitleAt} + kind_data.u32(kTitleLengthAt) + kTitleEnd;
  if (!record_holds(ctx, kind_data, length)) return kind_data.size();
  ctx.out.format("\t\t<%s containerTitle=\"", name);
  write_escaped_text(ctx.out, kind_data.text(kTitleAt, length - kTitleAt - kTitleEnd));
  ctx.out.put('"');
  if (has_no_container_path(kind_data, length)) ctx.out.write(" containerPath=\"\"");
  ctx.out.format(" scale=\"%0.2lf\" />\n", static_cast<double>(kind_data.f32(0)));
  return static_cast<uint32_t>(length);
}

}  // namespace terrova
