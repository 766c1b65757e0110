#include "nav/record_set.h"

#include <unordered_set>

namespace terrova {
namespace {

constexpr uint32_t kIndexEntrySize = 8;
constexpr uint32_t kSubsectionEntrySize = 16;

}  // namespace

void walk_record_index(DecodeContext& ctx, const SectionEntry& section, IndexedRecordWriter write) {
  const Image& image = ctx.image;
  const uint64_t start = uint64_t{section.subsection_table_offset} +
                         uint64_t{section.subsection_count} * kSubsectionEntrySize;
  const uint64_t end = uint64_t{section.subsection_table_offset} + section.subsection_table_size;
  if (end < start) {
    ctx.report_malformed(section.subsection_table_offset);
    return;
  }
  uint64_t count = (end - start) / kIndexEntrySize;
  if (!image.contains(start, count * kIndexEntrySize)) {
    const uint64_t inside = image.contains(start, 0) ? (image.end() - start) / kIndexEntrySize : 0;
    ctx.report_malformed(start + inside * kIndexEntrySize);
    count = inside;
  }
  // A record listed more than once (offset 0 included) is written the first time.
  std::unordered_set<uint32_t> seen;
  seen.reserve(count);
  for (uint64_t i = 0; i < count; ++i) {
    const uint64_t entry = start + i * kIndexEntrySize;
    const uint32_t offset = image.u32(entry);
    if (!seen.insert(offset).second) continue;
    write(ctx, offset, image.u32(entry + 4));
  }
}

}  // namespace terrova
