// The parts each airport sub-record adds to its airport's definition in the library index, by the
// element name of its dispatch row, so that every record form of a kind counts alike.
// Parking and path lists (every form):
//   +6  u16  entry count; the entries (20 bytes and more each) follow at +8 and stop at the end of
//            the sub-record
#include <cstring>

#include "airport/subrecords.h"

namespace terrova {
namespace {

constexpr uint32_t kListCountAt = 6;
constexpr uint32_t kListEntriesAt = 8;
constexpr uint32_t kSmallestListEntry = 20;

struct PartRow {
  const char* name;
  AirportPart part;
  bool list;  // counted by its entries rather than once
};
constexpr PartRow kPartRows[] = {
    {"Runway",         AirportPart::kRunway,   false},
    {"Start",          AirportPart::kStart,    false},
    {"TaxiwayParking", AirportPart::kParking,  true },
    {"TaxiwayPath",    AirportPart::kPath,     true },
    {"Apron",          AirportPart::kApron,    false},
    {"Approach",       AirportPart::kApproach, false},
    {"Departure",      AirportPart::kSid,      false},
    {"Arrival",        AirportPart::kStar,     false},
    {"Helipad",        AirportPart::kHelipad,  false},
};

// The entries of a list as far as the sub-record holds them.
uint32_t list_entries(const Record& sub) {
  const uint32_t count = sub.u16(kListCountAt);
  const uint32_t room =
      sub.size() > kListEntriesAt ? (sub.size() - kListEntriesAt) / kSmallestListEntry : 0;
  return count < room ? count : room;
}

}  // namespace

void report_airport_part(DecodeContext& ctx, const AirportSubrecordKind& kind, const Record& sub) {
  for (const PartRow& row : kPartRows) {
    if (std::strcmp(row.name, kind.name) != 0) continue;
    ctx.facts->airport_part(row.part, row.list ? list_entries(sub) : 1);
    return;
  }
}

}  // namespace terrova
