// The typed entries that one record family leaves for another. The navigation family reads the
// ILS records and terminal waypoints that airports and runways write later; the scenery family
// reads the taxiway-sign records that airports claim. Each entry carries the fields its reader
// writes, never an offset to read again, and the file offset only for comments and warnings.
#pragma once

#include <cstdint>
#include <string_view>

namespace terrova {

// The number whose base-38 text `decode_ident` writes for an identifier word; the word 0, which
// it writes as "0", counts as 2, the number of that text. Base-38 texts have no leading zero
// digit, so two identifiers have the same text exactly when these numbers are equal, and a plain
// identifier (`decode_raw_ident`) has the text of an identifier word exactly when it equals the
// word's number. The lists that airports search are keyed this way, without writing texts.
inline uint32_t ident_number(uint32_t word) {
  const uint32_t n = word >> 5;
  return n == 0 ? 2 : n;
}

// A packed position and altitude as the records store them.
struct PackedPosition {
  int32_t lon = 0;     // packed longitude
  int32_t lat = 0;     // packed latitude
  int32_t alt_mm = 0;  // millimetres
};

// An ILS record of the navaid section, for the runway end it serves.
struct IlsEntry {
  uint32_t offset = 0;        // file offset of the record
  uint32_t ident_number = 0;  // `ident_number` of the identifier: the runway's key
  PackedPosition position;
  int32_t frequency_hz = 0;
  float range_m = 0;
  float magvar = 0;
  uint32_t ident = 0;  // identifier word
  bool back_course = false;
  // The last localizer, glide slope and DME sub-records, and the name.
  bool has_localizer = false;
  float heading = 0;
  float width = 0;
  bool has_glide_slope = false;
  PackedPosition glide_slope;
  float glide_slope_range_m = 0;
  float glide_slope_pitch = 0;
  bool has_dme = false;
  PackedPosition dme;
  float dme_range_m = 0;
  std::string_view name;
  // A damaged sub-record ended the read: its file offset is reported where the ILS is written.
  bool damaged = false;
  uint32_t damaged_at = 0;
};

// A terminal waypoint of the waypoint section, for the airport that owns it.
struct TerminalWaypoint {
  uint32_t offset = 0;   // file offset of the record
  uint32_t airport = 0;  // `ident_number` of the owning airport's identifier
  uint8_t type = 0;      // waypoint type code
  int32_t lon = 0;       // packed
  int32_t lat = 0;       // packed
  float magvar = 0;
  uint32_t ident = 0;   // identifier word
  uint32_t region = 0;  // region word
};

// The navaids that an airport of the MSFS form deletes, gathered from its deletion records in the
// ILS, NDB and waypoint sections (one record per subsection of each section).
enum NavaidDeletionKind : uint8_t {
  kDeleteIlss = 1,
  kDeleteTerminalNdbs = 2,
  kDeleteTerminalWaypoints = 4,
};
struct NavaidDeletion {
  uint32_t airport = 0;  // `ident_number` of the airport's identifier
  uint8_t kinds = 0;     // `NavaidDeletionKind` bits
};

// One sign of a taxiway-sign record.
struct SignEntry {
  uint32_t offset = 0;   // file offset of the entry
  float x = 0;           // metres east of the record's reference point
  float y = 0;           // metres north
  uint16_t heading = 0;  // units of 360/65535 degree; 360/65536 for a placed sign
  uint8_t size = 0;
  uint8_t justification = 0;  // designator code
  std::string_view label;
  // Signs of the later record kinds carry their own altitude and attitude.
  bool placed = false;
  float alt = 0;                 // metres
  uint16_t pitch = 0;            // units of 360/65536 degree
  uint16_t bank = 0;             // units of 360/65536 degree
  uint16_t placement_flags = 0;  // bit 0 altitude above ground, 1 clamp pitch, 2 clamp bank
};

// A taxiway-sign record of the scenery-object section, waiting for the airport that claims it.
// Its signs are the entries [first_entry, first_entry + entry_count) of the sign entry list.
struct DeferredSign {
  uint32_t offset = 0;  // file offset of the record
  double lat = 0;       // reference point, degrees
  double lon = 0;
  uint32_t first_entry = 0;
  uint32_t entry_count = 0;
  // A damaged entry or a record too short for its count ended the read: reported where the
  // signs are written.
  bool damaged = false;
  uint32_t damaged_at = 0;
  bool pending = true;  // cleared when an airport takes the record, written or not
};

}  // namespace terrova
