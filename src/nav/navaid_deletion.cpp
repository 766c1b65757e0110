// Navaid deletion records (0xDB) of the ILS, NDB and waypoint sections; their layout is beside
// `kNavaidDeletionId`. Each kind an airport deletes is stored once per subsection, so consecutive
// records of one airport are kept as one entry.
#include <vector>

#include "format/ident.h"
#include "format/values.h"
#include "nav/record_walk.h"

namespace terrova {
namespace {

constexpr uint32_t kAirportIdentAt = 8;

}  // namespace

void take_navaid_deletion(DecodeContext& ctx, const Record& record, uint8_t kind) {
  if (ctx.facts != nullptr) {
    uint32_t deletes = 0;
    if (kind & kDeleteIlss) deletes |= kDeletesIls;
    if (kind & kDeleteTerminalNdbs) deletes |= kDeletesTerminalNdbs;
    if (kind & kDeleteTerminalWaypoints) deletes |= kDeletesTerminalWaypoints;
    ctx.facts->navaid_deletion(decode_ident(record.u32(kAirportIdentAt)), deletes, record.offset());
  }
  std::vector<NavaidDeletion>& list = ctx.tables.navaid_deletions;
  const uint32_t airport = ident_number(record.u32(kAirportIdentAt));
  if (!list.empty() && list.back().airport == airport) {
    list.back().kinds |= kind;
    return;
  }
  list.push_back({airport, kind});
}

void report_navaid(DecodeContext& ctx, const Record& record, const NavaidFields& fields,
                   std::string_view airport) {
  NavaidFact fact;
  fact.kind = fields.kind;
  const IdentText ident = decode_ident(record.u32(fields.ident_at));
  const RegionText region = decode_region(record.u32(fields.region_at));
  fact.ident = ident;
  fact.region = region;
  fact.airport = airport;
  fact.lat = decode_latitude(record.i32(fields.lat_at));
  fact.lon = decode_longitude(record.i32(fields.lon_at));
  fact.offset = record.offset();
  ctx.facts->navaid(fact);
}

}  // namespace terrova
