#include "index/file_facts.h"

namespace terrova::index {
namespace {

struct Name {
  uint32_t bit;
  const char* text;
};
constexpr Name kDeletedNames[] = {
    {kDeletesApproaches,        "approaches"        },
    {kDeletesAprons,            "aprons"            },
    {kDeletesFrequencies,       "frequencies"       },
    {kDeletesHelipads,          "helipads"          },
    {kDeletesRunways,           "runways"           },
    {kDeletesStarts,            "starts"            },
    {kDeletesTaxiways,          "taxiways"          },
    {kDeletesSids,              "SIDs"              },
    {kDeletesStars,             "STARs"             },
    {kDeletesIls,               "ILS"               },
    {kDeletesTerminalWaypoints, "terminal waypoints"},
    {kDeletesTerminalNdbs,      "terminal NDBs"     },
    {kDeletesJetways,           "jetways"           },
    {kDeletesTaxiwaySigns,      "taxiway signs"     },
    {kDeletesPaintedElements,   "painted elements"  },
};
constexpr Name kExcludedNames[] = {
    {kExcludesBeacons,          "beacons"          },
    {kExcludesEffects,          "effects"          },
    {kExcludesGenericBuildings, "generic buildings"},
    {kExcludesLibraryObjects,   "library objects"  },
    {kExcludesTaxiwaySigns,     "taxiway signs"    },
    {kExcludesTriggers,         "triggers"         },
    {kExcludesWindsocks,        "windsocks"        },
};

template <size_t N>
std::string names_of(uint32_t bits, const Name (&names)[N]) {
  std::string text;
  for (const Name& name : names) {
    if ((bits & name.bit) == 0) continue;
    if (!text.empty()) text += ',';
    text += name.text;
  }
  return text;
}

}  // namespace

void FileFacts::airport(const AirportFact& airport) {
  AirportRow& row = airports.emplace_back();
  row.ident = airport.ident;
  row.name = airport.name;
  row.lat = airport.lat;
  row.lon = airport.lon;
  row.record_id = airport.record_id;
  row.offset = airport.offset;
  in_airport_ = true;
}

void FileFacts::airport_part(AirportPart part, uint32_t count) {
  if (!in_airport_) return;
  airports.back().parts[static_cast<size_t>(part)] += count;
}

void FileFacts::delete_airport(const DeleteAirportFact& deletion) {
  if (!in_airport_) return;
  AirportRow& row = airports.back();
  // An airport has one DeleteAirport; a second one would add to the first.
  row.deletion.deletes |= deletion.deletes;
  row.deletion.runways += deletion.runways;
  row.deletion.starts += deletion.starts;
  row.deletion.frequencies += deletion.frequencies;
  if (!row.has_delete) row.deletion.offset = deletion.offset;
  row.has_delete = true;
}

void FileFacts::navaid(const NavaidFact& navaid) {
  navaids.push_back({navaid.kind, std::string(navaid.ident), std::string(navaid.region),
                     std::string(navaid.airport), navaid.lat, navaid.lon, navaid.offset});
}

void FileFacts::navaid_deletion(std::string_view airport, uint32_t deletes, uint32_t offset) {
  if (!navaid_deletions.empty() && navaid_deletions.back().airport == airport &&
      navaid_deletions.back().deletes == deletes) {
    ++navaid_deletions.back().records;
    return;
  }
  navaid_deletions.push_back({std::string(airport), deletes, offset, 1});
}

void FileFacts::scenery_object(const SceneryObjectFact& object) {
  objects.push_back({object.kind, std::string(object.guid), std::string(object.name),
                     std::string(object.instance), object.lat, object.lon, object.offset});
}

std::string deleted_kind_names(uint32_t deletes) { return names_of(deletes, kDeletedNames); }

std::string excluded_class_names(uint32_t excludes, bool all_objects) {
  return all_objects ? "all" : names_of(excludes, kExcludedNames);
}

uint32_t excluded_class_of(std::string_view kind) {
  if (kind == "LibraryObject") return kExcludesLibraryObjects;
  if (kind == "GenericBuilding") return kExcludesGenericBuildings;
  if (kind == "Effect") return kExcludesEffects;
  if (kind == "Windsock") return kExcludesWindsocks;
  if (kind == "Trigger") return kExcludesTriggers;
  if (kind == "TaxiwaySign") return kExcludesTaxiwaySigns;
  return 0;
}

}  // namespace terrova::index
