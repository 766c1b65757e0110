// A library run (-L): the scenery library is read, every file of every active layer whose size or
// time changed since the previous index is decoded for its facts, several at once, with no
// document, and the index with its report replaces the previous one.
#pragma once

#include <string>

#include "driver/console.h"
#include "driver/names_file.h"
#include "library/library.h"

namespace terrova {

struct LibraryRequest {
  std::string library;     // scenery.cfg, a folder of add-on packages, an MSFS Community folder
  std::string index_path;  // the index file; empty: library.sqlite in the current folder
  library::LibraryOptions options;
  unsigned jobs = 0;  // files decoded at once; 0 is one per processor
  // The names of library objects for every file, read once when the first file is decoded.
  ObjectNamesFile* names_file = nullptr;
  bool take_run_guard = true;
  bool progress_in_place = false;  // as in folder runs
};

// The default index file of a library run.
constexpr const char* kDefaultIndexName = "library.sqlite";

// Runs the library: 0 when the index was written (files that could not be decoded are named in
// the report), 2 when the library or the index could not be read or written, 130 on Ctrl-C, or
// the run guard's code.
int run_library(const LibraryRequest& request, Console& console);

// The part of the run after the library was read (tests give a library of their own): the
// decode, the index and the report. The run guard is the caller's.
int index_library(const LibraryRequest& request, const library::Library& library, Console& console);

}  // namespace terrova
