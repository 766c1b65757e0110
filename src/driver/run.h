// The run from command line to finished document.
#pragma once

#include "driver/console.h"

namespace terrova {

// Runs `terrova [-switches] infile.bgl [outfile.xml]` and returns the exit status: 0 on success
// and for usage and help, 2 for command-line and output errors, 1 for an input that is not a
// facility-data file or when memory runs out, 5 for an empty input, 183 when another run is
// active, and the system's error code when the input cannot be opened or mapped.
int run(int argc, const char* const* argv, Console& console);

}  // namespace terrova
