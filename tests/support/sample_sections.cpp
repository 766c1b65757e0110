#include "sample_sections.h"

namespace terrova::testkit {

std::vector<uint8_t> sample_bgl(int scale, SampleLayout layout) {
  BglBuilder bgl;
  add_airport_sample(bgl, scale, layout);
  add_nav_sample(bgl, scale);
  add_scenery_sample(bgl, scale, layout);
  return bgl.build();
}

}  // namespace terrova::testkit
