#include "library_files.h"

#include <filesystem>

namespace terrova::testkit {

std::vector<uint8_t> airport_bgl(const AirportFields& fields, std::string_view name,
                                 const Bytes& subrecords) {
  Bytes b;
  airport_name(begin_airport(b, fields), name);
  b.raw(subrecords).end();
  BglBuilder bgl;
  bgl.section(3).add(b, 1);
  return bgl.build();
}

Bytes& approaches(Bytes& b, int count) {
  for (int i = 0; i < count; ++i) {
    ApproachHeader h;
    h.suffix = static_cast<uint32_t>(i);
    begin_approach(b, h).end();
  }
  return b;
}

std::vector<uint8_t> scenery_bgl(const std::vector<PlacedObject>& objects,
                                 const std::vector<Rectangle>& rectangles) {
  BglBuilder bgl;
  if (!objects.empty()) {
    Bytes run;
    for (const PlacedObject& o : objects) {
      ObjectHeader h;
      h.kind = 11;
      h.lat = o.lat;
      h.lon = o.lon;
      Guid g;
      g.w[0] = o.guid_word;
      scenery_object(run, h, library_object(g, 1.0f));
    }
    bgl.section(37).add(run, static_cast<uint32_t>(objects.size()));
  }
  if (!rectangles.empty()) {
    Bytes b;
    for (const Rectangle& r : rectangles) {
      exclusion_rectangle(b, r.flags, r.lat_min, r.lat_max, r.lon_min, r.lon_max);
    }
    bgl.section(46).add(b, static_cast<uint32_t>(rectangles.size()));
  }
  return bgl.build();
}

bool write_library_file(const std::string& folder, const std::string& name,
                        const std::vector<uint8_t>& bytes) {
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  return write_file((std::filesystem::path(folder) / name).string(), bytes);
}

library::Layer library_layer(const std::string& title, const std::string& folder, int64_t layer,
                             const std::vector<std::string>& names, std::string origin) {
  library::Layer l;
  l.kind = origin.empty() ? "area" : "package";
  l.title = title;
  l.folder = folder;
  l.origin = std::move(origin);
  l.layer = layer;
  for (const std::string& name : names) {
    l.files.push_back({(std::filesystem::path(folder) / name).string(), name});
  }
  return l;
}

}  // namespace terrova::testkit
