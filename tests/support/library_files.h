// Builders for the files of a scenery library in tests and benchmarks: small facility files of one
// airport, of scenery objects with exclusion rectangles, and of navaids, and a library of layers
// that lists them as a reader of the library's configuration would.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "airport_records.h"
#include "library/library.h"
#include "scenery_records.h"

namespace terrova::testkit {

// A file whose airport section holds one airport (`fields`, its name) with the sub-records given.
std::vector<uint8_t> airport_bgl(const AirportFields& fields, std::string_view name,
                                 const Bytes& subrecords);
// `count` approach sub-records for an airport's sub-records.
Bytes& approaches(Bytes& b, int count);

struct PlacedObject {
  double lat = 0;
  double lon = 0;
  uint32_t guid_word = 1;  // the first word of the library object's GUID
};
struct Rectangle {
  uint32_t flags = 0x0008;  // 8: every object
  double lat_min = 0, lat_max = 0, lon_min = 0, lon_max = 0;
};
// A file of library objects and exclusion rectangles.
std::vector<uint8_t> scenery_bgl(const std::vector<PlacedObject>& objects,
                                 const std::vector<Rectangle>& rectangles);

// Writes the file under `folder` (created as needed); false when it cannot.
bool write_library_file(const std::string& folder, const std::string& name,
                        const std::vector<uint8_t>& bytes);

// A layer of the library whose files are the BGL files `names` in `folder`, in that order.
library::Layer library_layer(const std::string& title, const std::string& folder, int64_t layer,
                             const std::vector<std::string>& names, std::string origin = "");

}  // namespace terrova::testkit
