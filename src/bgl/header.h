// The header test that tells a facility-data BGL file from anything else.
//
// Header layout (little-endian):
//   +0   u8   first header byte, 1 in a facility-data file
//   +1   u8   second header byte, also accepted as 1
//   +16  u32  format mark 0x08051803
//   +20  u32  number of sections
//   +56       first entry of the section table
#pragma once

#include "bgl/image.h"

namespace terrova {

constexpr uint32_t kHeaderSize = 56;
constexpr uint32_t kFormatMark = 0x08051803;

bool is_facility_bgl(const Image& image);

}  // namespace terrova
