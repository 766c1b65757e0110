// The SVG plan of one airport: SVG 1.1 in UTF-8, self-contained (no external references, no
// scripts), north up, with a view box fitted to what is drawn plus a margin, a title, a scale bar,
// a north arrow and a legend of the styles used.
#pragma once

#include <string>

#include "plan/plan_data.h"
#include "text/output.h"

namespace terrova::plan {

// Writes the plan into `svg`, cleared first, with `storage` as the writer's buffers (the caller
// keeps both from one plan to the next).
void write_plan_svg(const PlanData& plan, std::string& svg, OutputStorage& storage);

}  // namespace terrova::plan
