// Representative sections for the bundled sample file, the fuzz seeds and the benchmark, one
// function per subsystem. Each adds its sections to the builder; `scale` multiplies the number of
// records (1 for the sample file).
#pragma once

#include "bgl_builder.h"

namespace terrova::testkit {

// How the sample airports lie: more than a degree apart each (the sample file), or sixteen to a
// degree cell over the whole globe (the world-scale benchmark file), so that airports share the
// cells of the taxiway-sign index as those of a real scenery library do.
enum class SampleLayout { kSpread, kClustered };

void add_airport_sample(BglBuilder& bgl, int scale, SampleLayout layout = SampleLayout::kSpread);
// The number and the positions of the sample airports, so that the scenery sample can place
// taxiway signs near them.
struct SamplePosition {
  double lat;
  double lon;
};
int sample_airport_count(int scale);
SamplePosition sample_airport_position(int i, SampleLayout layout = SampleLayout::kSpread);
void add_nav_sample(BglBuilder& bgl, int scale);
void add_scenery_sample(BglBuilder& bgl, int scale, SampleLayout layout = SampleLayout::kSpread);
// One MSFS 2020 airport of every record kind read (sections 3).
void add_msfs_sample(BglBuilder& bgl);
// One MSFS 2024 add-on airport (0x113) with the sub-records of its own and its name list.
void add_msfs2024_sample(BglBuilder& bgl);

// The whole sample file: every subsystem's sections.
std::vector<uint8_t> sample_bgl(int scale = 1, SampleLayout layout = SampleLayout::kSpread);

// Names that hold every byte value from 1 to 255 wherever file text reaches the document.
std::vector<uint8_t> text_sample_bgl();

}  // namespace terrova::testkit
