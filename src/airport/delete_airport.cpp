// DeleteAirport sub-record (0x33):
//   +0  u16  id
//   +2  u32  size
//   +6  u16  flags: bit 0 approaches, 2 aprons, 3 frequencies, 4 helipads, 5 runways,
//            6 starts, 7 taxiways (delete all of them)
//   +8  u8   number of DeleteRunway entries     } read only when the size is above 10
//   +9  u8   number of DeleteStart entries      }
//   +10 u8   number of DeleteFrequency entries  }
//   +12      the entries, 4 bytes each, runways first, then starts, then frequencies:
//            DeleteRunway: +0 u8 surface, +1 u8 runway number, +3 u8 bits 4-7 designator
//            DeleteStart: +0 u8 runway number, +1 u8 designator, +2 u8 start type
//            DeleteFrequency: u32, bits 0-27 frequency in Hz, bits 28-31 com type
// Inside an airport of the MSFS form (0x56) more bits are named:
//   +6  u16  bit 1 apron lights, 8 blast fences, 9 boundary fences, 10 jetways, 11 control
//            towers (checked: 52I deletes the jetways alone, ENEV the towers alone). Later SDKs
//            name bit 8 `deleteAllVectorPlacement` (eight sources, none with the blast-fence
//            name); the schema of this dialect knows it as `deleteAllBlastFences` only, so the
//            bit is written under both names
//   +11 u8   bit 0 departures, 1 arrivals, 2 painted elements, 3 light supports, 4 taxiway signs
// and inside an MSFS 2024 airport (0x113) bit 8 is vector placements and +11 bit 5 projected
// meshes (EDDN: 0x0008 deleteAllFrequencies alone, as its source; the two 2024 bits are clear
// there, as its source says, so their places are not settled by the bytes)
// and the ILSs, terminal NDBs and terminal waypoints that the airport deletes come from the
// navaid deletion records of the navaid sections, gathered before the airport is written.

#include <algorithm>

#include "airport/msfs_airport.h"
#include "airport/subrecords.h"

namespace terrova {
namespace {

constexpr uint32_t kEntriesAt = 12;
constexpr uint32_t kEntrySize = 4;
constexpr uint32_t kMsfsFlagsAt = 11;

// The attributes of the MSFS forms after those of the older one: {attribute, flag bit, forms},
// bits 0-15 of the word at +6 and 16-23 of the byte at +11, in the order they are written. The
// 2024 form (and the later 2020 editors) names bit 8 for vector placements, and bit 5 of +11, the
// next free one, gives the attribute that 2024 adds; the jetway and tower bits are those of the
// 2020 form.
enum DeleteForms : uint8_t { k2020 = 1, k2024 = 2, kBoth = k2020 | k2024 };
struct DeleteFlag {
  const char* name;
  uint32_t bit;
  uint8_t forms = kBoth;
};
constexpr DeleteFlag kMsfsFlags[] = {
    {"deleteAllApronLights",     1,  kBoth},
    {"deleteAllBlastFences",     8,  k2020},
    {"deleteAllVectorPlacement", 8,  kBoth},
    {"deleteAllBoundaryFences",  9,  kBoth},
    {"deleteAllControlTowers",   11, kBoth},
    {"deleteAllJetways",         10, kBoth},
    {"deleteAllDepartures",      16, kBoth},
    {"deleteAllArrivals",        17, kBoth},
    {"deleteAllPaintedElements", 18, kBoth},
    {"deleteAllLightSupports",   19, kBoth},
    {"deleteAllTaxiwaySigns",    20, kBoth},
    {"deleteAllProjectedMeshes", 21, k2024},
};
constexpr DeleteFlag kNavaidFlags[] = {
    {"deleteAllILSs",              kDeleteIlss             },
    {"deleteAllTerminalWaypoints", kDeleteTerminalWaypoints},
    {"deleteAllTerminalNDBs",      kDeleteTerminalNdbs     },
};

// The flag bits of the record: the word at +6, and inside an MSFS airport the byte at +11 above it.
uint32_t delete_flags(const Record& record, bool msfs) {
  return record.u16(6) | (msfs ? uint32_t{record.u8(kMsfsFlagsAt)} << 16 : 0);
}

// The navaid kinds that the deletion records of the navaid sections delete for the airport.
uint32_t navaid_deletions(DecodeContext& ctx, uint32_t ident_word) {
  SharedTables& t = ctx.tables;
  t.deletions_by_airport.update(t.navaid_deletions.size(),
                                [&t](size_t i) { return t.navaid_deletions[i].airport; });
  uint32_t kinds = 0;
  for (const KeyIndex::Entry& match : t.deletions_by_airport.find(ident_number(ident_word))) {
    kinds |= t.navaid_deletions[match.position].kinds;
  }
  return kinds;
}

// The attribute lines of the MSFS form, each on a line of its own after the older ones.
void write_msfs_flags(DecodeContext& ctx, const Record& record) {
  const uint32_t flags = delete_flags(record, true);
  const uint8_t form = ctx.airport_id == kMsfs2024AirportId ? k2024 : k2020;
  for (const DeleteFlag& f : kMsfsFlags) {
    if ((f.forms & form) == 0) continue;
    ctx.out.format("\n\t\t\t%s = \"%s\"", f.name, true_false((flags >> f.bit) & 1));
  }
  const uint32_t navaids = navaid_deletions(ctx, airport_ident_word(*ctx.airport));
  for (const DeleteFlag& f : kNavaidFlags) {
    ctx.out.format("\n\t\t\t%s = \"%s\"", f.name, true_false((navaids & f.bit) != 0));
  }
}

// What the DeleteAirport takes away, for the facts listener.
void report_deletion(DecodeContext& ctx, const Record& record) {
  struct Bit {
    uint32_t bit;
    uint32_t deletes;
  };
  static constexpr Bit kBits[] = {
      {0,  kDeletesApproaches     },
      {2,  kDeletesAprons         },
      {3,  kDeletesFrequencies    },
      {4,  kDeletesHelipads       },
      {5,  kDeletesRunways        },
      {6,  kDeletesStarts         },
      {7,  kDeletesTaxiways       },
      {10, kDeletesJetways        },
      {16, kDeletesSids           },
      {17, kDeletesStars          },
      {18, kDeletesPaintedElements},
      {20, kDeletesTaxiwaySigns   },
  };
  const bool msfs = in_msfs_airport(ctx) && ctx.airport != nullptr;
  // The bits past the older form's are named only inside an MSFS airport.
  const uint32_t flags = delete_flags(record, msfs);
  DeleteAirportFact fact;
  fact.offset = record.offset();
  for (const Bit& b : kBits) {
    if ((b.bit < 8 || msfs) && ((flags >> b.bit) & 1) != 0) fact.deletes |= b.deletes;
  }
  if (msfs) {
    const uint32_t navaids = navaid_deletions(ctx, airport_ident_word(*ctx.airport));
    if (navaids & kDeleteIlss) fact.deletes |= kDeletesIls;
    if (navaids & kDeleteTerminalNdbs) fact.deletes |= kDeletesTerminalNdbs;
    if (navaids & kDeleteTerminalWaypoints) fact.deletes |= kDeletesTerminalWaypoints;
  }
  if (record.size() > 10) {
    const uint32_t room =
        record.size() >= kEntriesAt ? (record.size() - kEntriesAt) / kEntrySize : 0;
    fact.runways = std::min<uint32_t>(record.u8(8), room);
    fact.starts = std::min<uint32_t>(record.u8(9), room - fact.runways);
    fact.frequencies = std::min<uint32_t>(record.u8(10), room - fact.runways - fact.starts);
  }
  ctx.facts->delete_airport(fact);
}

void write_entry(DecodeContext& ctx, const Record& record, uint32_t at, uint32_t index,
                 uint32_t runways, uint32_t starts) {
  Output& out = ctx.out;
  if (index < runways) {
    out.format("\t\t\t<DeleteRunway surface=\"%s\" ", surface_name(record.u8(at)));
    out.format("number=\"%s\" designator=\"%s\" />\n", format_runway_number(record.u8(at + 1)),
               designator_name(record.u8(at + 3) >> 4));
  } else if (index < runways + starts) {
    out.format("\t\t\t<DeleteStart type=\"%s\" ", start_type_name(record.u8(at + 2)));
    out.format("number=\"%s\" designator=\"%s\" />\n", format_runway_number(record.u8(at)),
               designator_name(record.u8(at + 1)));
  } else {
    const uint32_t word = record.u32(at);
    out.format("\t\t\t<DeleteFrequency frequency=\"%.3lf\" type=\"%s\" />\n",
               (word & 0x0FFFFFFF) * 0.000001, com_type_name(word >> 28));
  }
}

}  // namespace

void decode_delete_airport(DecodeContext& ctx, const char* name, const Record& record,
                           RecordWalk&) {
  Output& out = ctx.out;
  const uint32_t size = record.size();
  const uint32_t flags = record.u16(6);
  auto bit = [flags](unsigned n) { return true_false((flags >> n) & 1); };
  if (ctx.facts != nullptr) report_deletion(ctx, record);
  out.format("\t\t<%s\n", name);
  out.format("\t\t\tdeleteAllApproaches = \"%s\"\n", bit(0));
  out.format("\t\t\tdeleteAllAprons = \"%s\"\n", bit(2));
  out.format("\t\t\tdeleteAllFrequencies = \"%s\"\n", bit(3));
  out.format("\t\t\tdeleteAllHelipads = \"%s\"\n", bit(4));
  out.format("\t\t\tdeleteAllRunways = \"%s\"\n", bit(5));
  out.format("\t\t\tdeleteAllStarts = \"%s\"\n", bit(6));
  out.format("\t\t\tdeleteAllTaxiways = \"%s\"", bit(7));
  if (in_msfs_airport(ctx) && ctx.airport != nullptr) write_msfs_flags(ctx, record);
  if (size <= 10) {
    out.write(" />\n");
    return;
  }
  out.write(">\n");
  const uint32_t runways = record.u8(8);
  const uint32_t starts = record.u8(9);
  const uint32_t total = runways + starts + record.u8(10);
  // Entries stop at the end of the sub-record.
  const uint32_t room = size >= kEntriesAt ? (size - kEntriesAt) / kEntrySize : 0;
  const uint32_t count = total < room ? total : room;
  for (uint32_t i = 0; i < count; ++i) {
    write_entry(ctx, record, kEntriesAt + i * kEntrySize, i, runways, starts);
  }
  if (count < total) ctx.report_malformed(record.offset());
  out.format("\t\t</%s>\n", name);
}

}  // namespace terrova
