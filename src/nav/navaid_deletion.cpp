// Navaid deletion records (0xDB) of the ILS, NDB and waypoint sections; their layout is beside
// `kNavaidDeletionId`. Each kind an airport deletes is stored once per subsection, so consecutive
// records of one airport are kept as one entry.
#include <vector>

#include "nav/record_walk.h"

namespace terrova {
namespace {

constexpr uint32_t kAirportIdentAt = 8;

}  // namespace

void take_navaid_deletion(DecodeContext& ctx, const Record& record, uint8_t kind) {
  std::vector<NavaidDeletion>& list = ctx.tables.navaid_deletions;
  const uint32_t airport = ident_number(record.u32(kAirportIdentAt));
  if (!list.empty() && list.back().airport == airport) {
    list.back().kinds |= kind;
    return;
  }
  list.push_back({airport, kind});
}

}  // namespace terrova
