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
// MSFS 2024 files hold the same record (id 0x27) in section 0x35, with ident entries of 28 bytes:
// the 20 above (the identifier word as the 0x113 airport stores it), then 8 bytes not read (two
// u16 that vary with the position, and 4 zero bytes). Checked on six files of one airport each,
// whose entry lists end exactly at the end of their data; their names are all empty.
#include <algorithm>

#include "airport/airport.h"
#include "bgl/record.h"

namespace terrova {
namespace {

constexpr uint32_t kHeaderSize = 44;
constexpr uint32_t kIdentEntrySize = sizeof(AirportIdentEntry::bytes);
constexpr uint32_t kMsfs2024IdentEntrySize = 28;
constexpr uint16_t kNameListId = 0x27;

// Adds the texts of one list to its table, each with its file offset as value; the table keeps
// them sorted and drops repeated texts, so positions are the indices the ident entries use.
void add_names(DecodeContext& ctx, StringTable& table, const Record& record, uint64_t list,
               uint32_t count) {
  uint64_t pos = list + uint64_t{count} * 4;
  for (uint32_t n = 0; n < count; ++n) {
    if (!record.holds(pos, 1)) {
      ctx.report_malformed(record.file_offset(list));
      return;
    }
    const std::string_view text = record.text(pos, record.size() - pos);
    table_add(table, text, static_cast<uint32_t>(record.file_offset(pos)));
    pos += text.size() + 1;
    if (pos > record.size()) {  // no zero byte before the end of the file: the text is cut there
      ctx.report_malformed(record.file_offset(list));
      return;
    }
  }
}

void copy_ident_entries(DecodeContext& ctx, const Record& record, uint64_t list, uint32_t count,
                        uint32_t entry_size) {
  const uint64_t room = record.holds(list, 0) ? (record.size() - list) / entry_size : 0;
  const uint32_t kept = count < room ? count : static_cast<uint32_t>(room);
  std::vector<AirportIdentEntry>& entries = ctx.tables.airport_ident_entries;
  entries.assign(kept, AirportIdentEntry{});
  ctx.tables.ident_entries_by_airport.invalidate();
  for (uint32_t i = 0; i < kept; ++i) {
    const std::string_view bytes = record.bytes(list + uint64_t{i} * entry_size, kIdentEntrySize);
    std::copy(bytes.begin(), bytes.end(), entries[i].bytes);
  }
  if (kept < count) ctx.report_malformed(record.file_offset(list));
}

void decode_name_lists(DecodeContext& ctx, const SubsectionRun& run, uint32_t entry_size) {
  SharedTables& t = ctx.tables;
  // The record's size field is not read (real files carry 0 there): the record reaches to the
  // end of the file.
  const uint64_t file_end = ctx.image.end();
  for (uint32_t i = 0; i < run.record_count; ++i) {
    if (uint64_t{i} * kHeaderSize > run.data_size) return;
    const uint64_t at = uint64_t{run.data_offset} + uint64_t{i} * kHeaderSize;
    const Record record(ctx.image, at, static_cast<uint32_t>(at < file_end ? file_end - at : 0));
    if (!record.holds(0, kHeaderSize)) {
      ctx.report_malformed(at);
      return;
    }
    add_names(ctx, t.region_names, record, record.u32(18), record.u16(6));
    add_names(ctx, t.country_names, record, record.u32(22), record.u16(8));
    add_names(ctx, t.state_names, record, record.u32(26), record.u16(10));
    add_names(ctx, t.city_names, record, record.u32(30), record.u16(12));
    copy_ident_entries(ctx, record, record.u32(38), record.u16(16), entry_size);
  }
}

}  // namespace

void decode_name_list(DecodeContext& ctx, const SubsectionRun& run) {
  decode_name_lists(ctx, run, kIdentEntrySize);
}

void decode_msfs2024_name_list(DecodeContext& ctx, const SubsectionRun& run) {
  // Section 0x35 holds nothing else in the files seen; a record of another id is left alone.
  if (!ctx.image.contains(run.data_offset, 2) || ctx.image.u16(run.data_offset) != kNameListId) {
    return;
  }
  decode_name_lists(ctx, run, kMsfs2024IdentEntrySize);
}

}  // namespace terrova
