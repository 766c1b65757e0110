// Non-directional beacons of section 23.
//
// NDB record:
//   0x00 u16  id (any value)
//   0x02 u32  size, the name sub-record included
//   0x06 u16  type: 0 compass point, 1 MH, 2 H, 3 HH
//   0x08 s32  frequency, written times 0.001
//   0x0C s32  longitude, packed
//   0x10 s32  latitude, packed
//   0x14 s32  altitude, millimetres
//   0x18 f32  range, metres
//   0x1C f32  magnetic variation, degrees
//   0x20 u32  identifier word
//   0x24 u32  region word
//   0x28 u16  name sub-record id (the name whatever its value; a record of 0x28 bytes has none)
//   0x2A u32  name sub-record size, its 6-byte header included
//   0x2E      name text, size - 6 bytes, not NUL-terminated
#include <algorithm>

#include "format/circle.h"
#include "format/ident.h"
#include "format/values.h"
#include "format/xml.h"
#include "nav/nav.h"
#include "nav/record_walk.h"

namespace terrova {
namespace {

constexpr uint32_t kNdbFixedSize = 0x28;
constexpr uint32_t kNameRecord = 0x28;
constexpr uint32_t kNameText = 0x2E;
// The name keeps at most 63 characters.
constexpr uint32_t kNameCapacity = 63;

constexpr const char* kNdbTypeNames[] = {"COMPASS_POINT", "MH", "H", "HH"};

// The name text: up to its first zero byte, at most 63 bytes, never past the record. A record
// that ends with its fixed fields has no name. A name sub-record that does not fit its record
// (a cut header, a size below its header or past the record) is reported; the name is then what
// the record holds.
std::string_view ndb_name(DecodeContext& ctx, const Record& ndb) {
  const uint32_t size = ndb.size();
  if (size == kNameRecord) return {};
  const uint32_t name_size = ndb.u32(kNameRecord + 2);
  if (size < kNameText || name_size < 6 || kNameRecord + uint64_t{name_size} > size) {
    ctx.report_malformed(ndb.file_offset(kNameRecord));
    if (size < kNameText) return {};
    return ndb.text(kNameText, std::min<uint64_t>(size - kNameText, kNameCapacity));
  }
  return ndb.text(kNameText, std::min<uint64_t>(name_size - 6, kNameCapacity));
}

void write_ndb(DecodeContext& ctx, const Record& ndb) {
  const DecodeOptions& o = ctx.options;
  const double lat = decode_latitude(ndb.i32(0x10));
  const double lon = decode_longitude(ndb.i32(0x0C));
  if (!in_decode_circle(o, lat, lon, ndb)) return;
  ndb.name_kind("Ndb");
  if (ctx.facts != nullptr) report_navaid(ctx, ndb, {"NDB", 0x0C, 0x10, 0x20, 0x24});
  const std::string_view name = ndb_name(ctx, ndb);
  if (!o.terse) write_record_comment(ctx.out, "NDB", ndb.offset());
  ctx.out.format("\t<Ndb type=\"%s\" name=", EnumText(kNdbTypeNames, ndb.u16(0x06)));
  write_quoted_text(ctx.out, name);
  ctx.out.format(
      " lat=\"%s\" lon=\"%s\"\n\t\talt=%s frequency=\"%0.2lf\" range=%s magvar=\"%0.2lf\"\n"
      "\t\tregion=\"%s\" ident=\"%s\" />\n",
      format_coordinate(o, lat), format_coordinate(o, lon), format_altitude(o, ndb.i32(0x14)),
      ndb.i32(0x08) * 0.001, format_range(o, ndb.f32(0x18)), signed_magvar(ndb.f32(0x1C)),
      decode_region(ndb.u32(0x24)), decode_ident(ndb.u32(0x20)));
  ctx.out.put('\n');
}

}  // namespace

void decode_ndbs(DecodeContext& ctx, const SubsectionRun& run) {
  walk_counted_records(ctx, run, kNdbFixedSize, kDeleteTerminalNdbs,
                       [&ctx](const Record& ndb) { write_ndb(ctx, ndb); });
}

}  // namespace terrova
