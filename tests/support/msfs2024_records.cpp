#include "msfs2024_records.h"

namespace terrova::testkit {

Bytes& begin_msfs2024_airport(Bytes& b, const Msfs2024AirportFields& f) {
  b.begin(0x113);
  for (uint32_t count : f.counts) b.u8(count);
  b.lon(f.lon).lat(f.lat).i32(f.alt_mm).zeros(12).f32(f.magvar).zeros(13).u8(f.traffic);
  return b.zeros(22).u32(pack_raw_ident(f.ident) << 6 | 1).zeros(12);
}

Bytes& msfs2024_helipad(Bytes& b, const Msfs2024HelipadFields& f) {
  b.begin(0xFB).u8(f.surface).u8(f.flags).u8(f.blue).u8(f.green).u8(f.red).u8(0);
  b.lon(f.lon).lat(f.lat).i32(f.alt_mm).f32(f.length).f32(f.width).f32(f.heading);
  return b.zeros(24).end();
}

Bytes& marking_biases(Bytes& b, float primary, float secondary) {
  return b.begin(0x65).u16(0).f32(primary).f32(secondary).end();
}

}  // namespace terrova::testkit
