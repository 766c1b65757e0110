// What a file defines, deletes and hides, handed to an optional listener beside the document (the
// library index of -L). The decoders call it where they already hold the typed fields of a
// record, whatever record form carried them; without a listener each place costs one null test.
//
// Positions are in degrees (latitude north, longitude east). Texts point into the file, into the
// caller's buffers or into static tables and live for the call only; texts from the file are
// Windows-1252. Values are passed as read: a damaged record may carry a NaN.
#pragma once

#include <cstdint>
#include <string_view>

namespace terrova {

// The airport parts that the index counts for each definition.
enum class AirportPart : uint8_t {
  kRunway,
  kStart,
  kParking,  // parking places, one per entry of the parking lists
  kPath,     // taxiway paths, one per entry of the path lists
  kApron,
  kIls,  // ILSs written inside the airport's runways
  kApproach,
  kSid,   // MSFS departures
  kStar,  // MSFS arrivals
  kHelipad,
};
constexpr int kAirportPartCount = 10;

struct AirportFact {
  std::string_view ident;
  std::string_view name;
  double lat = 0;
  double lon = 0;
  uint16_t record_id = 0;  // the record form: 0x3C, 0xAB, 0x56 ...
  uint32_t offset = 0;     // file offset of the airport record
};

// What the DeleteAirport of an airport takes from the definitions loaded before it.
enum DeletedKind : uint32_t {
  kDeletesApproaches = 1u << 0,
  kDeletesAprons = 1u << 1,
  kDeletesFrequencies = 1u << 2,
  kDeletesHelipads = 1u << 3,
  kDeletesRunways = 1u << 4,
  kDeletesStarts = 1u << 5,
  kDeletesTaxiways = 1u << 6,
  kDeletesSids = 1u << 7,   // MSFS departures
  kDeletesStars = 1u << 8,  // MSFS arrivals
  kDeletesIls = 1u << 9,    // MSFS: from the navaid deletion records
  kDeletesTerminalWaypoints = 1u << 10,
  kDeletesTerminalNdbs = 1u << 11,
  kDeletesJetways = 1u << 12,
  kDeletesTaxiwaySigns = 1u << 13,
  kDeletesPaintedElements = 1u << 14,
};

struct DeleteAirportFact {
  uint32_t deletes = 0;  // `DeletedKind` bits
  // The single runways, starts and frequencies named for deletion.
  uint32_t runways = 0;
  uint32_t starts = 0;
  uint32_t frequencies = 0;
  uint32_t offset = 0;
};

// The object classes an exclusion rectangle hides.
enum ExcludedClass : uint32_t {
  kExcludesBeacons = 1u << 0,
  kExcludesEffects = 1u << 1,
  kExcludesGenericBuildings = 1u << 2,
  kExcludesLibraryObjects = 1u << 3,
  kExcludesTaxiwaySigns = 1u << 4,
  kExcludesTriggers = 1u << 5,
  kExcludesWindsocks = 1u << 6,
  kExcludesAll = 0x7F,  // every class, and objects of no class
};

struct ExclusionFact {
  double lat_min = 0, lat_max = 0, lon_min = 0, lon_max = 0;
  uint32_t excludes = 0;  // `ExcludedClass` bits; kExcludesAll with excludeAllObjects
  bool all_objects = false;
  uint32_t offset = 0;
};

struct NavaidFact {
  const char* kind = "";   // "VOR", "ILS", "NDB", "WAYPOINT", "TACAN"
  std::string_view ident;  // as the document writes it
  std::string_view region;
  std::string_view airport;  // the owning airport of a terminal waypoint; empty otherwise
  double lat = 0;
  double lon = 0;
  uint32_t offset = 0;
};

struct SceneryObjectFact {
  const char* kind = "";  // the element name: "LibraryObject", "Effect" ... or "Unknown"
  std::string_view guid;  // a library object's GUID, 32 hexadecimal digits; empty otherwise
  // A library object's name from the names file, an effect's name, a SimObject's container
  // title; empty when none.
  std::string_view name;
  std::string_view instance;  // the instance GUID, 32 digits; empty when none
  double lat = 0;
  double lon = 0;
  uint32_t offset = 0;
};

// Receives the facts of one file in file order. Parts and the DeleteAirport arrive between
// `airport` and `end_airport`.
class FactsListener {
 public:
  virtual ~FactsListener() = default;
  virtual void airport(const AirportFact& airport) = 0;
  // `count` more parts of a kind of the current airport.
  virtual void airport_part(AirportPart part, uint32_t count) = 0;
  virtual void delete_airport(const DeleteAirportFact& deletion) = 0;
  virtual void end_airport() = 0;
  virtual void exclusion(const ExclusionFact& exclusion) = 0;
  virtual void navaid(const NavaidFact& navaid) = 0;
  // A navaid deletion record: the airport `airport` deletes its navaids of the `DeletedKind`
  // bits `deletes`.
  virtual void navaid_deletion(std::string_view airport, uint32_t deletes, uint32_t offset) = 0;
  virtual void scenery_object(const SceneryObjectFact& object) = 0;
};

}  // namespace terrova
