#include "driver/run.h"

int main(int argc, char** argv) {
  terrova::Console console;
  return terrova::run(argc, argv, console);
}
