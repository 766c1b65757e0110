// Writes the bundled sample BGL file, built with the project's own builder:
//   terrova_make_sample sample.bgl            the sample file
//   terrova_make_sample --corpus DIR          the sample and the test files as fuzz seeds
//   terrova_make_sample --inputs DIR          the sample and the test files as BGL files
#include <cstdio>
#include <cstring>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "sample_sections.h"

namespace {

using namespace terrova::testkit;

// The sample file and one file for each family's sections alone, by name.
std::vector<std::pair<std::string, std::vector<uint8_t>>> sample_files() {
  BglBuilder airport, nav, scenery, msfs, msfs2024;
  add_airport_sample(airport, 1);
  add_nav_sample(nav, 1);
  add_scenery_sample(scenery, 1);
  add_msfs_sample(msfs);
  add_msfs2024_sample(msfs2024);
  return {
      {"sample",   sample_bgl()    },
      {"airport",  airport.build() },
      {"nav",      nav.build()     },
      {"scenery",  scenery.build() },
      {"msfs",     msfs.build()    },
      {"msfs2024", msfs2024.build()}
  };
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "--corpus") == 0) {
    // Each seed starts with the fuzz target's four switch bytes: plain, and with every switch
    // and a circle around the sample positions.
    const std::string dir = argv[2];
    const std::vector<uint8_t> prefixes[] = {
        {0,    0,  0, 0 },
        {0x1F, 68, 0, 10}
    };
    bool ok = true;
    for (const auto& [name, bytes] : sample_files()) {
      for (size_t i = 0; i < std::size(prefixes); ++i) {
        std::vector<uint8_t> seed = prefixes[i];
        seed.insert(seed.end(), bytes.begin(), bytes.end());
        ok = ok && write_file(dir + "/" + name + std::to_string(i) + ".bin", seed);
      }
    }
    if (!ok) std::fprintf(stderr, "cannot write the corpus into %s\n", dir.c_str());
    return ok ? 0 : 1;
  }
  if (argc == 3 && std::strcmp(argv[1], "--inputs") == 0) {
    // Files that every build of the program must decode to the same documents.
    const std::string dir = argv[2];
    auto files = sample_files();
    files.emplace_back("texts", text_sample_bgl());
    bool ok = true;
    for (const auto& [name, bytes] : files) ok = ok && write_file(dir + "/" + name + ".bgl", bytes);
    if (!ok) std::fprintf(stderr, "cannot write the inputs into %s\n", dir.c_str());
    return ok ? 0 : 1;
  }
  if (argc != 2) {
    std::fprintf(stderr, "usage: terrova_make_sample FILE | --corpus DIR | --inputs DIR\n");
    return 2;
  }
  if (!write_file(argv[1], sample_bgl())) {
    std::fprintf(stderr, "cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
