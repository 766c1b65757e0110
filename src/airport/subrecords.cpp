#include "airport/subrecords.h"

namespace terrova {
namespace {

// Searched from the top; the row with id 0 ends the table. Sub-records without a row (taxiways,
// approaches, aprons, edge lights and fences until their decoders exist) are dumped by the
// airport decoder; id 0x30 is passed over silently.
constexpr AirportSubrecordKind airport_subrecord_kinds[] = {
    {0x04, "Runway",        decode_runway        },
    {0x11, "Start",         decode_start         },
    {0x12, "Com",           decode_com           },
    {0x26, "Helipad",       decode_helipad       },
    {0x33, "DeleteAirport", decode_delete_airport},
    {0,    "NULL",          nullptr              },
};

}  // namespace

const AirportSubrecordKind* find_airport_subrecord_kind(uint32_t id) {
  for (const AirportSubrecordKind& kind : airport_subrecord_kinds) {
    if (kind.id == 0) break;
    if (kind.id == id) return &kind;
  }
  return nullptr;
}

bool subrecord_holds(DecodeContext& ctx, uint32_t offset, uint64_t size, uint64_t fixed) {
  if (size >= fixed) return true;
  ctx.report_malformed(offset);
  return false;
}

}  // namespace terrova
