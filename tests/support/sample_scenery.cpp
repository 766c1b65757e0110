// Scenery objects for the sample file: objects of the kinds that are still dumped (unknown kinds,
// and the kinds whose decoders come later) in both header forms, and taxiway-sign records near
// the sample airports, plus one far from every airport.
#include <string>

#include "sample_sections.h"
#include "scenery_records.h"

namespace terrova::testkit {
namespace {

constexpr int kObjectsPerScale = 6;

Bytes kind_data(int i) {
  Bytes d;
  for (int k = 0; k < 4 + i % 9; ++k) d.u32(0x9E3779B9u * static_cast<uint32_t>(i + k));
  return d;
}

}  // namespace

void add_scenery_sample(BglBuilder& bgl, int scale) {
  static constexpr uint32_t kKinds[] = {6, 11, 1, 12, 8, 15, 2, 13, 7, 10};
  Section& section = bgl.section(37);
  Bytes run;
  uint32_t in_run = 0;
  const int objects = kObjectsPerScale * scale;
  for (int i = 0; i < objects; ++i) {
    const SamplePosition p = sample_airport_position(i % sample_airport_count(scale));
    ObjectHeader h;
    h.kind = kKinds[i % 10];
    h.lat = p.lat + 0.001 * (i % 5);
    h.lon = p.lon - 0.001 * (i % 3);
    h.alt_mm = (i % 4) * 2500;
    h.agl = static_cast<uint32_t>(i % 2);
    h.pitch = static_cast<uint32_t>((i * 37) % 65536);
    h.bank = static_cast<uint32_t>((i * 101) % 65536);
    h.heading = static_cast<uint32_t>((i * 4099) % 65536);
    h.complexity = static_cast<uint32_t>(i % 7);
    scenery_object(run, h, kind_data(i));
    ++in_run;
    if (i % 3 == 0) {
      std::vector<Sign> signs;
      for (int k = 0; k < 1 + i % 4; ++k) {
        Sign s;
        s.x = static_cast<float>(-300 + 97 * k);
        s.y = static_cast<float>(120 - 41 * k);
        s.heading = static_cast<uint32_t>((i * 977 + k * 13107) % 65536);
        s.size = static_cast<uint32_t>(1 + k % 5);
        s.justification = static_cast<uint32_t>(1 + k % 2);
        s.label = std::string(k % 2 == 0 ? "l[A" : "d<B") + std::to_string(k + 1) + "]";
        signs.push_back(s);
      }
      taxiway_signs(run, i % 2 == 0 ? 5 : 14, p.lat + 0.002, p.lon + 0.003, signs);
      ++in_run;
    }
    if ((i + 1) % 40 == 0 || i + 1 == objects) {
      section.add(run, in_run);
      run = Bytes();
      in_run = 0;
    }
  }
  Bytes far;
  taxiway_signs(far, 5, -45.0, 170.0, {Sign{}});
  section.add(far, 1);
}

}  // namespace terrova::testkit
