// Writes the bundled sample BGL file, built with the project's own builder:
//   terrova_make_sample sample.bgl            the sample file
//   terrova_make_sample --corpus DIR          the sample and the test files as fuzz seeds
#include <cstdio>
#include <cstring>
#include <string>

#include "sample_sections.h"

int main(int argc, char** argv) {
  using namespace terrova::testkit;
  if (argc == 3 && std::strcmp(argv[1], "--corpus") == 0) {
    const std::string dir = argv[2];
    bool ok = write_file(dir + "/sample.bgl", sample_bgl());
    BglBuilder airport, nav, scenery;
    add_airport_sample(airport, 1);
    add_nav_sample(nav, 1);
    add_scenery_sample(scenery, 1);
    ok = ok && write_file(dir + "/airport.bgl", airport.build());
    ok = ok && write_file(dir + "/nav.bgl", nav.build());
    ok = ok && write_file(dir + "/scenery.bgl", scenery.build());
    if (!ok) std::fprintf(stderr, "cannot write the corpus into %s\n", dir.c_str());
    return ok ? 0 : 1;
  }
  if (argc != 2) {
    std::fprintf(stderr, "usage: terrova_make_sample FILE | --corpus DIR\n");
    return 2;
  }
  if (!write_file(argv[1], sample_bgl())) {
    std::fprintf(stderr, "cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
