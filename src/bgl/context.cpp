#include "bgl/context.h"

namespace terrova {

void DecodeContext::report_malformed(uint64_t offset) {
  if (!out.at_line_start()) out.put('\n');
  out.format("<!-- WARNING: malformed data at offset 0x%.8X -->\n", static_cast<uint32_t>(offset));
  ++malformed_count;
}

}  // namespace terrova
