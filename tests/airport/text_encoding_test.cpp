// The texts of a file holding an MSFS airport are UTF-8 (valid sequences as they are, other bytes
// as Windows-1252), all of them: the name list, navaids and objects written before the airport.
#include <gtest/gtest.h>

#include "airport/airport.h"
#include "golden.h"
#include "msfs_procedure_records.h"
#include "msfs_records.h"
#include "nav_records.h"

namespace terrova {
namespace {

using namespace testkit;

// UTF-8 of two, three and four bytes; not UTF-8: a Windows-1252 "ç", an overlong "/", U+FFFE
// (no XML character) and a lead byte cut short by the end of the text.
std::vector<uint8_t> utf8_text_file() {
  NameListFields n;
  n.regions = {"Europe"};
  n.countries = {"Schweiz \xE2\x80\xA2 Suisse"};
  n.cities = {"Z\xC3\xBCrich"};
  n.entries = {
      {0, 0, 0, 0, "LSZH"}
  };
  Bytes vor;
  begin_navaid(vor, Navaid{.frequency_hz = 114850000, .ident = pack_ident("KLO")});
  add_navaid_name(vor, "Kl\xC3\xB6ten").end();
  ObjectHeader h;
  h.kind = 0x19;
  Bytes objects;
  scenery_object(objects, h, sim_object(1.0f, "Ger\xC3\xA4t \xC3"));
  h.kind = 4;
  scenery_object(objects, h,
                 effect("fx_\xC3\xA9"
                        "clair",
                        "r=\xC3\xA9\xE2\x80\xA6;q=\xE9"));
  Bytes airport;
  msfs_airport_name(begin_msfs_airport(airport, {.ident = "LSZH"}),
                    "Z\xC3\xBCrich \xE2\x80\x93 Kloten \xF0\x9F\x9B\xAB");
  com(airport, 2, 118100000,
      "Tour \xE7"
      "a \xC0\xAF \xEF\xBF\xBE \xC3");
  taxi_names(airport, {"\xC3\xA9t\xC3\xA9", "N\xF6rd"});
  msfs_sign(airport, 39.51, 116.41, 90.0f, 3, 0, "\xE2\x86\x90 B \xE9");
  BglBuilder bgl;
  bgl.section(39).add(name_list(n), 1);
  bgl.section(19).add(vor, 1);
  bgl.section(37).add(objects, 1);
  bgl.section(3).add(airport.end(), 1);
  return bgl.build();
}

TEST(TextEncoding, GoldenDocuments) {
  expect_golden_styles(utf8_text_file(), "airport/golden/text_msfs_utf8");
}

// Any record of an airport section of the MSFS forms, wherever it stands in its run, makes the
// file's text UTF-8; the look stops at a size that cannot be a record's.
TEST(TextEncoding, TakenFromTheAirportRecordsIds) {
  auto encoding_of = [](const std::vector<uint16_t>& ids, uint32_t size = 8) {
    Bytes records;
    for (uint16_t id : ids) records.begin(id).zeros(2).end_with_size(size);
    BglBuilder bgl;
    bgl.section(39).add(Bytes().begin(0x56).zeros(2).end(), 1);  // not an airport section
    bgl.section(3).add(records, static_cast<uint32_t>(ids.size()));
    const std::vector<uint8_t> file = bgl.build();
    return file_text_encoding(Image(file.data(), static_cast<uint32_t>(file.size())));
  };
  EXPECT_EQ(encoding_of({0x3C, 0xAB}), TextEncoding::kWindows1252);
  EXPECT_EQ(encoding_of({0x3C, 0x56}), TextEncoding::kUtf8);
  EXPECT_EQ(encoding_of({0x113}), TextEncoding::kUtf8);
  EXPECT_EQ(encoding_of({0x3C, 0x56}, 0), TextEncoding::kWindows1252);
}

}  // namespace
}  // namespace terrova
