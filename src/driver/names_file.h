// The library-object names file, "library objects.txt" in the program's folder, read once at the
// start of a run.
#pragma once

#include <string>

#include "bgl/tables.h"
#include "driver/console.h"
#include "scenery/object_names.h"

namespace terrova {

// Adds the names of the file at `path` to `names`. A file that is missing, empty or unreadable is
// reported on the console and adds nothing; the run goes on.
void load_object_names(Console& console, const std::string& path, StringTable& names);

// The names file of a run: read when the first document of the run is about to be written (its
// output is open), and only then, so that a run that ends before has no message of it.
struct ObjectNamesFile {
  std::string path;
  StringTable names = make_object_name_table();
  bool loaded = false;

  // The names, read on the first call.
  const StringTable* load(Console& console) {
    if (!loaded) load_object_names(console, path, names);
    loaded = true;
    return &names;
  }
};

}  // namespace terrova
