#include "scenery_records.h"

namespace terrova::testkit {
namespace {

Bytes& object_header(Bytes& b, const ObjectHeader& h) {
  b.begin_u16(h.kind).lon(h.lon).lat(h.lat).i32(h.alt_mm);
  b.u16(h.agl).u16(h.pitch).u16(h.bank).u16(h.heading).u32(h.complexity);
  if (h.kind > 9) b.zeros(16);
  return b;
}

}  // namespace

Bytes& scenery_object(Bytes& b, const ObjectHeader& h, const Bytes& kind_data) {
  return object_header(b, h).raw(kind_data).end();
}

Bytes& taxiway_signs(Bytes& b, uint32_t kind, double lat, double lon,
                     const std::vector<Sign>& signs) {
  ObjectHeader h;
  h.kind = kind;
  h.lat = lat;
  h.lon = lon;
  object_header(b, h).u32(static_cast<uint32_t>(signs.size()));
  for (const Sign& s : signs) {
    b.f32(s.x).f32(s.y).u16(s.heading).u8(s.size).u8(s.justification).cstr(s.label);
    if (s.label.size() % 2 == 0) b.u8(0);  // 13 + an even length is odd: pad to even
  }
  return b.end();
}

}  // namespace terrova::testkit
