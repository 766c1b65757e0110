// Name list record, section 39 (offsets from the record start; the list offsets too):
//   +0  u16  id    } not read: real files carry 0 in the size, so the lists are bounded by the
//   +2  u32  size  } file alone
//   +6  u16  number of region names
//   +8  u16  number of country names
//   +10 u16  number of state names
//   +12 u16  number of city names
//   +14 u16  number of airport names (not used)
//   +16 u16  number of ident entries
//   +18 u32  offset of the region name list
//   +22 u32  offset of the country name list
//   +26 u32  offset of the state name list
//   +30 u32  offset of the city name list
//   +34 u32  offset of the airport name list (not used)
//   +38 u32  offset of the ident entry list
// A name list is count u32 values (not read) followed by count zero-terminated texts. The ident
// entries are 20 bytes each and are kept byte for byte for the airport decoder.
#include <algorithm>

#include "airport/airport.h"

namespace terrova {
namespace {

constexpr uint32_t kHeaderSize = 44;
constexpr uint32_t kIdentEntrySize = sizeof(AirportIdentEntry::bytes);

// Adds the texts of one list to its table, each with its file offset as value; the table keeps
// them sorted and drops repeated texts, so positions are the indices the ident entries use.
void add_names(DecodeContext& ctx, StringTable& table, uint64_t list, uint32_t count) {
  const Image& image = ctx.image;
  uint64_t pos = list + uint64_t{count} * 4;
  for (uint32_t n = 0; n < count; ++n) {
    if (!image.contains(pos, 1)) {
      ctx.report_malformed(list);
      return;
    }
    const std::string_view text = image.text(pos, image.end() - pos);
    table_add(table, text, static_cast<uint32_t>(pos));
    pos += text.size() + 1;
    if (pos > image.end()) {  // no zero byte before the end of the file: the text is cut there
      ctx.report_malformed(list);
      return;
    }
  }
}

void copy_ident_entries(DecodeContext& ctx, uint64_t list, uint32_t count) {
  const Image& image = ctx.image;
  const uint64_t room = image.contains(list, 0) ? (image.end() - list) / kIdentEntrySize : 0;
  const uint32_t kept = count < room ? count : static_cast<uint32_t>(room);
  std::vector<AirportIdentEntry>& entries = ctx.tables.airport_ident_entries;
  entries.assign(kept, AirportIdentEntry{});
  ctx.tables.ident_entries_by_airport.invalidate();
  for (uint32_t i = 0; i < kept; ++i) {
    const std::string_view bytes =
        image.bytes(list + uint64_t{i} * kIdentEntrySize, kIdentEntrySize);
    std::copy(bytes.begin(), bytes.end(), entries[i].bytes);
  }
  if (kept < count) ctx.report_malformed(list);
}

}  // namespace

void decode_name_list(DecodeContext& ctx, const SubsectionRun& run) {
  const Image& image = ctx.image;
  SharedTables& t = ctx.tables;
  for (uint32_t i = 0; i < run.record_count; ++i) {
    if (uint64_t{i} * kHeaderSize > run.data_size) return;
    const uint64_t record = uint64_t{run.data_offset} + uint64_t{i} * kHeaderSize;
    if (!image.contains(record, kHeaderSize)) {
      ctx.report_malformed(record);
      return;
    }
    add_names(ctx, t.region_names, record + image.u32(record + 18), image.u16(record + 6));
    add_names(ctx, t.country_names, record + image.u32(record + 22), image.u16(record + 8));
    add_names(ctx, t.state_names, record + image.u32(record + 26), image.u16(record + 10));
    add_names(ctx, t.city_names, record + image.u32(record + 30), image.u16(record + 12));
    copy_ident_entries(ctx, record + image.u32(record + 38), image.u16(record + 16));
  }
}

}  // namespace terrova
