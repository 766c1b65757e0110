// The columns of the index that depend on the whole library (which definition of each airport
// wins, what later deletions take from the others, which objects later exclusions hide) and the
// report drawn from them. Both are made again from the facts on every run, so an incremental run
// reports what a fresh one does.
#pragma once

#include <string>
#include <vector>

#include "index/sqlite.h"
#include "library/library.h"

namespace terrova::index {

// Fills the derived columns of an index whose facts are written and appends the report lines.
// False when the database failed (its error says why).
bool derive_and_report(Database& db, const library::Library& library,
                       std::vector<std::string>& report);

}  // namespace terrova::index
