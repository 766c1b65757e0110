// The SVG plan of one airport: SVG 1.1 in UTF-8, self-contained (no external references, no
// scripts), north up, with a view box fitted to what is drawn plus a margin, a title, a scale bar,
// a north arrow and a legend of the styles used.
#pragma once

#include <string>

#include "plan/plan_data.h"

namespace terrova::plan {

std::string write_plan_svg(const PlanData& plan);

}  // namespace terrova::plan
