// The library-object names file, "library objects.txt" in the program's folder, read once at the
// start of a run.
#pragma once

#include <string>

#include "bgl/tables.h"
#include "driver/console.h"

namespace terrova {

// Adds the names of the file at `path` to `names`. A file that is missing, empty or unreadable is
// reported on the console and adds nothing; the run goes on.
void load_object_names(Console& console, const std::string& path, StringTable& names);

}  // namespace terrova
