// Representative sections for the bundled sample file, the fuzz seeds and the benchmark, one
// function per subsystem. Each adds its sections to the builder; `scale` multiplies the number of
// records (1 for the sample file).
#pragma once

#include "bgl_builder.h"

namespace terrova::testkit {

void add_airport_sample(BglBuilder& bgl, int scale);
// The number and the positions of the sample airports, so that the scenery sample can place
// taxiway signs near them.
struct SamplePosition {
  double lat;
  double lon;
};
int sample_airport_count(int scale);
SamplePosition sample_airport_position(int i);
void add_nav_sample(BglBuilder& bgl, int scale);
void add_scenery_sample(BglBuilder& bgl, int scale);

// The whole sample file: every subsystem's sections.
std::vector<uint8_t> sample_bgl(int scale = 1);

// Names that hold every byte value from 1 to 255 wherever file text reaches the document.
std::vector<uint8_t> text_sample_bgl();

}  // namespace terrova::testkit
