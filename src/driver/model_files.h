// Model files: the receiver of the ".mdl" files that a decode writes beside its document.
#pragma once

#include <string>

#include "bgl/context.h"
#include "driver/console.h"

namespace terrova {

// Writes each model file into `output_dir` (the document's folder with its separator, or "" for
// the current folder) and prints "Writing model %s..." first. A file that cannot be written is
// reported and the decode goes on.
struct ModelFiles {
  Console& console;
  std::string output_dir;

  ExtraFileSink sink() { return ExtraFileSink{write, this}; }
  static int write(void* context, std::string_view name, std::string_view bytes);
  // Writes the file as `write` does, without the console line.
  int write_file(std::string_view name, std::string_view bytes);
};

}  // namespace terrova
