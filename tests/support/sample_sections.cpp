#include "sample_sections.h"

namespace terrova::testkit {

std::vector<uint8_t> sample_bgl(int scale) {
  BglBuilder bgl;
  add_airport_sample(bgl, scale);
  add_nav_sample(bgl, scale);
  add_scenery_sample(bgl, scale);
  return bgl.build();
}

}  // namespace terrova::testkit
