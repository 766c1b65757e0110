// Builders for scenery-object records (section 37): the common header with any kind data, and
// taxiway-sign records. Records are meant to start at even file offsets, as sign entries are
// aligned to even offsets.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "bgl_builder.h"

namespace terrova::testkit {

struct Guid {
  uint32_t w[4] = {0x6d3b5f0e, 0x4b8e1c2a, 0x3412009f, 0xab907856};
};

struct ObjectHeader {
  uint32_t kind = 6;  // ids above 9 get the 44-byte header
  double lat = 47.2612;
  double lon = 11.3501;
  int32_t alt_mm = 0;
  uint32_t agl = 1;
  uint32_t pitch = 0;  // units of 360/65536 degree
  uint32_t bank = 0;
  uint32_t heading = 0;
  uint32_t complexity = 2;
  std::optional<Guid> instance;  // ids above 9: the instance GUID, zeros without
};
// A scenery object: the header, then the kind data.
Bytes& scenery_object(Bytes& b, const ObjectHeader& h, const Bytes& kind_data);

struct Sign {
  float x = 0;
  float y = 0;
  uint32_t heading = 0;  // units of 360/65535 degree
  uint32_t size = 2;
  uint32_t justification = 1;
  std::string label;
};
// A taxiway-sign record of kind 5 or 14 with its entries, each padded to an even length.
Bytes& taxiway_signs(Bytes& b, uint32_t kind, double lat, double lon,
                     const std::vector<Sign>& signs);

// A sign of the later kinds, placed with its own altitude and attitude.
struct PlacedSign {
  float x = 0;
  float y = 0;
  float alt = 0;       // metres
  uint32_t pitch = 0;  // units of 360/65536 degree
  uint32_t bank = 0;
  uint32_t heading = 0;
  uint32_t flags = 0;  // bit 0 above ground, 1 clamp pitch, 2 clamp bank
  uint32_t size = 2;
  uint32_t justification = 1;
  std::string label;
};
// A taxiway-sign record of kind 0x13, or 0x14 with 32 more bytes after the count; each entry is
// padded to an even length.
Bytes& placed_taxiway_signs(Bytes& b, uint32_t kind, double lat, double lon,
                            const std::vector<PlacedSign>& signs);

}  // namespace terrova::testkit

namespace terrova::testkit {

// A GUID as the records store it: four little-endian u32 words.
Bytes& guid(Bytes& b, const Guid& g);

// Kind data of a generic building: scale, 4 unread bytes, building type, then the words.
Bytes generic_building(float scale, uint32_t type, const std::vector<uint32_t>& words);

// Kind data of a library object without an attachment (20 bytes).
Bytes library_object(const Guid& g, float scale);
struct Attachment {
  uint32_t marker = 0x1000;  // 0x1002 moves the beacon code and the name by 20 bytes
  uint32_t pitch = 0, bank = 0, heading = 0;
  uint32_t beacon = 0xF8;
  std::string name = "beacon_point";
  size_t padding = 2;  // bytes after the name's zero byte inside the attachment block
};
// Kind data of a library object with an attached object; the attachment length field counts the
// block as the decoder consumes it (length + 28).
Bytes library_object(const Guid& g, float scale, const Attachment& a);

struct WindsockData {
  float pole_height = 6.5f;
  float sock_length = 3.25f;
  uint8_t pole[3] = {0x10, 0x20, 0x30};  // blue, green, red
  uint8_t sock[3] = {0x00, 0x80, 0xFF};
  uint32_t lighted = 1;
};
Bytes windsock(const WindsockData& w);

// Kind data of an effect: the name in its 80-byte field, then the parameters with their zero
// byte unless `parameters` is empty and `with_parameters` is false.
Bytes effect(const std::string& name, const std::string& parameters, bool with_parameters = true);

struct TriggerVertex {
  float x, z;
};
Bytes refuel_trigger(float height, uint32_t fuel_word, const std::vector<TriggerVertex>& v);
Bytes weather_trigger(float height, uint32_t weather_type, float heading, float scalar,
                      const std::vector<TriggerVertex>& v);

// An exclusion rectangle record (20 bytes).
Bytes& exclusion_rectangle(Bytes& b, uint32_t flags, double lat_min, double lat_max, double lon_min,
                           double lon_max);

struct Model {
  Guid guid;
  std::string bytes;
};
// Model data subsection: the 24-byte entries, then the models' bytes in order.
Bytes model_data(const std::vector<Model>& models);

// MSFS section-37 records: an attached-object group of beacons (0x1002, one 0x11 each, 0x1003),
// the kind data of car parking (0x16; 0x1E with the cars' heading) and of the SimObject 0x1D.
struct AttachedBeacon {
  Guid instance;
  uint32_t heading = 0;  // units of 360/65536 degree
  uint32_t code = 0xF5;  // CIVILIAN AIRPORT
  std::string name;
};
Bytes& attached_beacon(Bytes& b, const AttachedBeacon& a);
Bytes& attached_group(Bytes& b, const std::vector<AttachedBeacon>& beacons);
struct Degrees {
  double lat, lon;
};
Bytes car_parking(const std::vector<Degrees>& vertices, std::optional<float> cars_heading = {});
Bytes livery_sim_object(float scale, std::string_view title, std::string_view livery);

}  // namespace terrova::testkit
