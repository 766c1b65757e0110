// The ground layout of an airport as the decoders read it, handed to an optional listener beside
// the document (the airport plans of -p). The decoders call it where they already hold the typed
// fields of a record, whatever record form carried them; without a listener each record costs one
// null test.
//
// Every call carries plain units: positions in degrees (latitude north, longitude east), lengths
// and widths in metres, headings in degrees true, clockwise from north. Codes are those the
// document writes through its tables (runway numbers, designators, parking names, path types).
// Texts point into the file or into the caller's buffers and live for the call only; texts from
// the file are Windows-1252. Values are passed as read: a listener checks them itself (a damaged
// record may carry a NaN, a zero size or a position far from its airport).
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace terrova {

struct GeoPoint {
  double lat = 0;  // degrees north
  double lon = 0;  // degrees east
};

// The airport that the calls up to `end_airport` belong to.
struct AirportPlace {
  std::string_view ident;     // as the document writes it
  std::string_view name;      // from the file
  bool name_in_utf8 = false;  // the name is UTF-8 (MSFS 2024), not Windows-1252
  std::string_view city;      // from the name list; empty when none
  std::string_view country;
  GeoPoint reference;  // the airport reference point
};

// The area beyond or inside a runway end; a length of 0 means the end has none.
struct EndZone {
  float length = 0;  // metres along the runway
  float width = 0;   // metres
};

struct RunwayEndShape {
  uint32_t designator = 0;  // designator code: 0 none, 1 L, 2 R, 3 C, 4 water, 5 A
  bool closed = false;
  EndZone offset_threshold;  // inside the runway, from its end
  EndZone blast_pad;         // beyond the end
  EndZone overrun;           // beyond the end
};

struct RunwayShape {
  GeoPoint centre;
  float length = 0;
  float width = 0;
  float heading = 0;    // of the primary end's direction: from the primary end to the secondary
  uint32_t number = 0;  // runway number code of the primary end: 1-36, 37-44 compass points
  RunwayEndShape primary;
  RunwayEndShape secondary;
};

struct HelipadShape {
  GeoPoint centre;
  float length = 0;
  float width = 0;
  float heading = 0;
  bool closed = false;
};

struct StartShape {
  GeoPoint position;
  float heading = 0;
  uint32_t number = 0;      // runway number code
  uint32_t designator = 0;  // designator code
};

struct ParkingShape {
  GeoPoint position;
  float radius = 0;
  float heading = 0;
  uint32_t name_code = 0;  // parking name code: 0 NONE ... 10 GATE, 12 and up GATE_A ...
  uint32_t number = 0;
  uint32_t type = 0;  // parking type code: 0 NONE ... 8-10 gates, 12 FUEL, 13 VEHICLE
};

// Path type codes.
enum PathType : uint32_t {
  kPathTaxi = 1,
  kPathRunway = 2,
  kPathParking = 3,
  kPathPath = 4,
  kPathClosed = 5,
  kPathVehicle = 6,
};

// A taxiway path between two entries of the airport's lists, by the indices the document writes:
// `start` a taxiway point; `end` a parking place for a PARKING path, a taxiway point otherwise.
struct PathShape {
  uint32_t start = 0;
  uint32_t end = 0;
  uint32_t type = 0;  // `PathType`; other codes are drawn as taxiways
  float width = 0;
  // The taxi name index; for a RUNWAY path the runway number code, with `designator`.
  uint32_t name_or_number = 0;
  uint32_t designator = 0;
};

struct JetwayShape {
  uint32_t gate_name = 0;  // parking name code of the parking place it serves
  uint32_t parking_number = 0;
  bool has_position = false;  // the jetway object's own position
  GeoPoint position;
  float heading = 0;
};

struct SignShape {
  GeoPoint position;
  float heading = 0;
  std::string_view label;  // the sign's label text, from the file
};

struct IlsShape {
  GeoPoint position;  // the localizer
  float heading = 0;  // the course the localizer serves
  float width = 0;    // beam width, degrees
  double frequency_mhz = 0;
  std::string_view ident;
};

enum class FenceKind { kBlast, kBoundary };

// Receives the geometry of each airport written into the document, in file order, between
// `begin_airport` and `end_airport`.
class GeometryListener {
 public:
  virtual ~GeometryListener() = default;
  virtual void begin_airport(const AirportPlace& airport) = 0;
  // The airport element is closed: nothing more belongs to it.
  virtual void end_airport() = 0;
  virtual void tower(const GeoPoint& position) = 0;
  virtual void runway(const RunwayShape& runway) = 0;
  virtual void helipad(const HelipadShape& helipad) = 0;
  virtual void start(const StartShape& start) = 0;
  // One entry of a taxiway point list, by its index in the list.
  virtual void taxiway_point(uint32_t index, const GeoPoint& position) = 0;
  // One entry of a parking list, by its index in the list.
  virtual void parking(uint32_t index, const ParkingShape& parking) = 0;
  virtual void taxiway_path(const PathShape& path) = 0;
  // One entry of the taxi name list.
  virtual void taxi_name(uint32_t index, std::string_view name) = 0;
  // An apron outline, its vertices in order.
  virtual void apron(std::span<const GeoPoint> outline) = 0;
  // One run of apron edge lights, a polyline.
  virtual void edge_lights(std::span<const GeoPoint> line) = 0;
  virtual void fence(FenceKind kind, std::span<const GeoPoint> line) = 0;
  virtual void jetway(const JetwayShape& jetway) = 0;
  virtual void taxiway_sign(const SignShape& sign) = 0;
  // An ILS written inside one of the airport's runways.
  virtual void ils(const IlsShape& ils) = 0;
};

}  // namespace terrova
