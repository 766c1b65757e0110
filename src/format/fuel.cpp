#include "format/fuel.h"

namespace terrova {
namespace {

constexpr const char* kFuelTypes[] = {"73",   "87",    "100",   "130",  "145",  "MOGAS", "JET",
                                      "JETA", "JETA1", "JETAP", "JETB", "JET4", "JET5"};
constexpr const char* kAvailability[] = {nullptr, "UNKNOWN", "PRIOR_REQUEST", "YES"};

}  // namespace

void write_fuel_elements(Output& out, uint32_t fuel_word) {
  unsigned shift = 0;
  for (const char* type : kFuelTypes) {
    const uint32_t code = (fuel_word >> shift) & 3;
    if (code != 0) {
      out.format("\t\t\t<Fuel type=\"%s\" availability=\"%s\" />\n", type, kAvailability[code]);
    }
    shift += 2;
  }
}

}  // namespace terrova
