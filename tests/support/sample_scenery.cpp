// Scenery objects for the sample file: objects of every decoded kind and of unknown kinds in both
// header forms, taxiway-sign records near the sample airports plus one far from every airport,
// exclusion rectangles and model data.
#include <iterator>
#include <string>
#include <vector>

#include "sample_sections.h"
#include "scenery_records.h"

namespace terrova::testkit {
namespace {

constexpr int kObjectsPerScale = 13;  // every kind of the list below once per scale

Bytes unknown_kind_data(int i) {
  Bytes d;
  for (int k = 0; k < 4 + i % 9; ++k) d.u32(0x9E3779B9u * static_cast<uint32_t>(i + k));
  return d;
}

Guid sample_guid(int i) {
  Guid g;
  g.w[0] = 0x9E3779B9u * static_cast<uint32_t>(i % 7);
  return g;
}

// Kind data for the kind, varied by `i`.
Bytes kind_data(uint32_t kind, int i) {
  static constexpr uint32_t kBuildingTypes[] = {4, 7, 6, 8, 9, 10, 5};
  static constexpr size_t kBuildingWords[] = {19, 21, 23, 26, 21, 18, 3};
  const uint32_t base = kind > 9 ? kind - 9 : kind;
  const float f = static_cast<float>(i % 13) * 0.75f;
  switch (base) {
    case 1: {
      const size_t shape = static_cast<size_t>(i) % 7;
      std::vector<uint32_t> words;
      for (size_t k = 0; k < kBuildingWords[shape]; ++k) {
        words.push_back(static_cast<uint32_t>((i * 31 + static_cast<int>(k) * 7) % 65536));
      }
      return generic_building(1 + f, kBuildingTypes[shape], words);
    }
    case 2: {
      if (i % 3 != 0) return library_object(sample_guid(i), 1 + f);
      Attachment a;
      a.marker = i % 2 == 0 ? 0x1000 : 0x1002;
      a.heading = static_cast<uint32_t>((i * 997) % 65536);
      a.beacon = static_cast<uint32_t>(0xF5 + i % 7);
      a.name = "attach_" + std::to_string(i);
      return library_object(sample_guid(i), 1, a);
    }
    case 3: {
      WindsockData w;
      w.pole_height = 4 + f;
      w.lighted = static_cast<uint32_t>(i % 2);
      return windsock(w);
    }
    case 4:
      return i % 2 == 0
                 ? effect("fx_beaconwhi.fx", "", false).u8(0)
                 : effect("fx_smoke_" + std::to_string(i), "Rate=" + std::to_string(i) + ";");
    default:
      if (i % 2 == 0) {
        return refuel_trigger(10 + f, 0x00C3000Cu ^ static_cast<uint32_t>(i),
                              {
                                  {1, 2 },
                                  {f, -f}
        });
      }
      return weather_trigger(f, static_cast<uint32_t>(1 + i % 4), f * 10, 0.5f,
                             {
                                 {f, 1}
      });
  }
}

}  // namespace

void add_scenery_sample(BglBuilder& bgl, int scale, SampleLayout layout) {
  static constexpr uint32_t kKinds[] = {6, 11, 1, 12, 8, 15, 2, 13, 7, 10, 3, 4, 16};
  Section& section = bgl.section(37);
  Bytes run;
  uint32_t in_run = 0;
  const int objects = kObjectsPerScale * scale;
  for (int i = 0; i < objects; ++i) {
    const SamplePosition p = sample_airport_position(i % sample_airport_count(scale), layout);
    ObjectHeader h;
    h.kind = kKinds[static_cast<size_t>(i) % std::size(kKinds)];
    h.lat = p.lat + 0.001 * (i % 5);
    h.lon = p.lon - 0.001 * (i % 3);
    h.alt_mm = (i % 4) * 2500;
    h.agl = static_cast<uint32_t>(i % 2);
    h.pitch = static_cast<uint32_t>((i * 37) % 65536);
    h.bank = static_cast<uint32_t>((i * 101) % 65536);
    h.heading = static_cast<uint32_t>((i * 4099) % 65536);
    h.complexity = static_cast<uint32_t>(i % 7);
    const bool decoded = h.kind != 6 && h.kind != 8 && h.kind != 15;
    scenery_object(run, h, decoded ? kind_data(h.kind, i) : unknown_kind_data(i));
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
  // Signs of the later kinds, placed with their own altitude and attitude, at the first airport.
  const SamplePosition first = sample_airport_position(0);
  Bytes placed;
  for (uint32_t kind : {0x13u, 0x14u}) {
    PlacedSign s;
    s.x = 40.0f;
    s.y = -25.0f;
    s.alt = 2.5f;
    s.pitch = 182;
    s.heading = kind * 1000;
    s.flags = kind == 0x13 ? 1 : 6;
    s.label = kind == 0x13 ? "l[B]" : "d<C";
    placed_taxiway_signs(placed, kind, first.lat + 0.001, first.lon, {s});
  }
  section.add(placed, 2);

  Bytes rectangles;
  static constexpr uint32_t kFlags[] = {0x0008, 0x0018, 0x0700, 0x07F0, 0x0000, 0x0090};
  for (uint32_t flags : kFlags) {
    const SamplePosition p = sample_airport_position(0);
    exclusion_rectangle(rectangles, flags, p.lat - 0.01, p.lat + 0.01, p.lon - 0.01, p.lon + 0.01);
  }
  bgl.section(46).add(rectangles, static_cast<uint32_t>(std::size(kFlags)));
  std::vector<Model> models;
  for (int i = 0; i < 3; ++i)
    models.push_back({sample_guid(i), std::string(16u * static_cast<unsigned>(i + 1), 'M')});
  bgl.section(43).add(model_data(models), static_cast<uint32_t>(models.size()));
}

}  // namespace terrova::testkit
