#include "sample_sections.h"

namespace terrova::testkit {

void add_scenery_sample(BglBuilder& bgl, int scale) {
  (void)bgl;
  (void)scale;
}

}  // namespace terrova::testkit
