#include "bgl/header.h"

namespace terrova {

bool is_facility_bgl(const Image& image) {
  if (image.size() < kHeaderSize) return false;
  if (image.u8(0) != 1 && image.u8(1) != 1) return false;
  return image.u32(16) == kFormatMark;
}

}  // namespace terrova
