// The dispatch table by section type.
#pragma once

#include <span>

#include "bgl/walker.h"

namespace terrova {

std::span<const SectionKind> section_kinds();
// The section types whose decoder writes nothing for some of their forms.
std::span<const SectionContent> section_contents();

}  // namespace terrova
