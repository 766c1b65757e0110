// SimObject, kind data of MSFS scenery objects of kind 0x19 (the jetway of a 0xDE sub-record):
//   +0  f32  scale
//   +4  u32  title length n
//   +8       container title, n bytes, then 2 zero bytes
// The later SimObject of kind 0x1D, with a livery (checked: the 8 of three MSFS 2024 airports):
//   +0  f32  scale
//   +4  u32  title length n
//   +8  u16  livery name length m (0: no `liveryName`)
//   +10      container title, n bytes, then 1 zero byte
//   +11+n    livery name, m bytes, then 2 zero bytes
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
constexpr uint32_t kLiveryLengthAt = 8;
constexpr uint32_t kLiveryTitleAt = 10;
constexpr uint32_t kLiveryTitleEnd = 1;
constexpr uint32_t kLiveryEnd = 2;

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

uint32_t decode_livery_sim_object(DecodeContext& ctx, const char* name, const Record& kind_data) {
  const uint32_t title_length = kind_data.u32(kTitleLengthAt);
  const uint32_t livery_length = kind_data.u16(kLiveryLengthAt);
  const uint64_t livery_at = uint64_t{kLiveryTitleAt} + title_length + kLiveryTitleEnd;
  const uint64_t length = livery_at + livery_length + kLiveryEnd;
  if (!record_holds(ctx, kind_data, length)) return kind_data.size();
  ctx.out.format("\t\t<%s containerTitle=\"", name);
  write_escaped_text(ctx.out, kind_data.text(kLiveryTitleAt, title_length));
  ctx.out.put('"');
  if (livery_length != 0) {
    ctx.out.write(" liveryName=\"");
    write_escaped_text(ctx.out, kind_data.text(livery_at, livery_length));
    ctx.out.put('"');
  }
  ctx.out.format(" scale=\"%0.2lf\" />\n", static_cast<double>(kind_data.f32(0)));
  return static_cast<uint32_t>(length);
}

}  // namespace terrova
