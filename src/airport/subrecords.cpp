#include "airport/subrecords.h"

#include <iterator>
#include <span>

namespace terrova {
namespace {

// Searched from the top; the row with id 0 ends the table. Sub-records without a row (taxiways,
// approaches, aprons, edge lights and fences until their decoders exist) are dumped by the
// airport decoder; id 0x30 is passed over silently.
constexpr AirportSubrecordKind airport_subrecord_kinds[] = {
    {0x04, "Runway",        52, decode_runway        },
    {0x11, "Start",         24, decode_start         },
    {0x12, "Com",           12, decode_com           },
    {0x26, "Helipad",       36, decode_helipad       },
    {0x33, "DeleteAirport", 8,  decode_delete_airport},
    {0x3E, "Runway",        68, decode_later_runway  },
    {0,    "NULL",          0,  nullptr              },
};

}  // namespace

const AirportSubrecordKind* find_airport_subrecord_kind(uint32_t id) {
  // Every row but the one that ends the table.
  constexpr std::span<const AirportSubrecordKind> rows(airport_subrecord_kinds,
                                                       std::size(airport_subrecord_kinds) - 1);
  return find_record_kind(rows, id);
}

}  // namespace terrova
