// The dispatch table by section type.
#pragma once

#include <span>

#include "bgl/walker.h"

namespace terrova {

std::span<const SectionKind> section_kinds();

}  // namespace terrova
