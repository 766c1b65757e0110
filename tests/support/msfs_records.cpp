#include "msfs_records.h"

#include <cstring>

namespace terrova::testkit {
namespace {

Bytes& f64(Bytes& b, double v) {
  uint64_t bits = 0;
  std::memcpy(&bits, &v, sizeof bits);
  return b.u32(static_cast<uint32_t>(bits)).u32(static_cast<uint32_t>(bits >> 32));
}

}  // namespace

Bytes& begin_msfs_airport(Bytes& b, const MsfsAirportFields& f) {
  b.begin(0x56).zeros(6).lon(f.lon).lat(f.lat).i32(f.alt_mm).zeros(12).f32(f.magvar);
  b.u32(pack_ident(f.ident)).u32(0).u32(f.fuel);
  return b.u8(0).u8(f.traffic).u8(f.flags).zeros(13);
}

Bytes& msfs_airport_name(Bytes& b, std::string_view name) {
  b.begin(0x19).text(name);
  return b.zeros((4 - (6 + name.size()) % 4) % 4).end();
}

Bytes& msfs_tower(Bytes& b, double lat, double lon, double alt_m) {
  b.begin(0x66).u16(24).u16(1);
  f64(b, lat);
  f64(b, lon);
  return f64(b, alt_m).zeros(2).end();
}

Bytes& guid(Bytes& b, const Guid& g) {
  for (uint8_t byte : g) b.u8(byte);
  return b;
}

}  // namespace terrova::testkit
