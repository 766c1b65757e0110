// Holds the run guard of the program, as a run in progress does, so that scripts can check that
// a second run is refused:
//   terrova_hold_run_guard INPUT MARKER
// takes the guard with INPUT open, creates the file MARKER, and keeps the guard until MARKER is
// removed (at most a minute).
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <thread>

#include "platform/platform.h"

int main(int argc, char** argv) {
  namespace platform = terrova::platform;
  if (argc != 3) {
    std::fprintf(stderr, "usage: terrova_hold_run_guard INPUT MARKER\n");
    return 2;
  }
  platform::InputFile input;
  if (int code = platform::open_input(argv[1], input)) return code;
  if (int code = platform::acquire_run_guard(input)) {
    platform::release_input(input);
    return code;
  }
  std::ofstream(argv[2]) << "held\n";
  for (int i = 0; i < 600 && std::filesystem::exists(argv[2]); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  platform::release_input(input);
  return 0;
}
