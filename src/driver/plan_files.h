// Plan files: the receiver of the SVG plans that a decode with -p writes beside its document.
#pragma once

#include <string>

#include "bgl/context.h"
#include "driver/console.h"
#include "driver/model_files.h"

namespace terrova {

// Writes each plan into `output_dir` (the document's folder with its separator, or "" for the
// current folder), whole or not at all, and prints "Writing plan %s..." first. A plan that cannot
// be written is reported and the decode goes on.
struct PlanFiles {
  ModelFiles files;  // written beside the document as model files are

  ExtraFileSink sink() { return ExtraFileSink{write, this}; }
  static int write(void* context, std::string_view name, std::string_view bytes);
};

// The name that a document's plans start with: its file name without the folder and without a
// final ".xml" (in any case).
std::string plan_base_name(const std::string& document_path);

}  // namespace terrova
