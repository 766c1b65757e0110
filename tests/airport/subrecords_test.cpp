// Starts, frequencies, helipads and deletions: their templates, code tables and the entries of
// a DeleteAirport sub-record.
#include "airport/subrecords.h"

#include <gtest/gtest.h>

#include "airport_records.h"
#include "format/ident.h"
#include "golden.h"

namespace terrova {
namespace {

using namespace testkit;

std::vector<uint8_t> airport_file(const Bytes& subrecords) {
  return single_airport_file(subrecords, "Small records");
}

TEST(Subrecords, StartsComsAndHelipads) {
  Bytes s;
  start(s, 26, 0x21, 47.2589, 11.3268, 581000, 81.5f);    // WATER, LEFT
  start(s, 8, 0x00, 47.2590, 11.3269, 581000, 261.5f);    // RUNWAY, NONE
  start(s, 0, 0x10, 47.2591, 11.3270, -1500, 0.0f);       // RUNWAY, number 36
  start(s, 44, 0x36, 47.2592, 11.3271, 581000, 359.99f);  // HELIPAD, designator 6, NORTHWEST
  start(s, 9, 0x40, 47.2593, 11.3272, 581000, 90.0f);     // start type 4 is past the table
  com(s, 0, 122800000, "");                               // type " " and an empty name (size 12)
  com(s, 1, 118050000, "ATIS <LOWI>\t");
  com(s, 13, -1, "NEGATIVE");  // the frequency field is signed
  com(s, 14, 135000000, "PAST THE TABLE");
  helipad(s, 4, 0x31, 47.2605, 11.3452, 581500, 20.0f, 18.5f, 45.0f);   // closed, transparent, H
  helipad(s, 1, 0x02, 47.2606, 11.3453, 581500, 30.0f, 30.0f, 0.0f);    // open, opaque, SQUARE
  helipad(s, 254, 0xC4, 47.2607, 11.3454, 581500, 30.0f, 30.0f, 0.0f);  // type 0xC4 -> "196"
  const std::vector<uint8_t> file = airport_file(s);
  Decoded d = decode(file);
  EXPECT_EQ(d.malformed, 0u);
  expect_golden("airport/golden/starts_coms_helipads.xml", d.document);
  // With -t the starts and coms lose their comments; helipads never have one.
  expect_golden("airport/golden/starts_coms_helipads_terse.xml",
                decode(file, switches("t")).document);
}

TEST(Subrecords, DeleteAirportForms) {
  Bytes s;
  delete_airport(s, 0x00FF, {}, false);  // size 8: every attribute TRUE, no counts read
  delete_airport(s, 0x0002, {});         // size 12, all counts 0: start and end tag
  DeleteEntries e;
  e.runways = {0x2F000004u | 0u << 8, 0x10002401u};  // designator bits 4-7 of +3: RIGHT, LEFT
  e.starts = {0 | 2 << 8 | 3 << 16, 9 | 7 << 8 | 5 << 16};
  e.frequencies = {0x3751C780u, 0xE1234567u};
  delete_airport(s, 0x0058, e);
  // Counts that reach past the sub-record: entries stop at its end.
  s.begin(0x33).u16(0x0001).u8(2).u8(1).u8(1).u8(0).u32(0x1000000C).u32(0x00000108).end();
  const std::vector<uint8_t> file = airport_file(s);
  Decoded d = decode(file);
  EXPECT_EQ(d.malformed, 1u);
  expect_golden("airport/golden/delete_airport.xml", d.document);
}

// Runways and airports find their ILS records and terminal waypoints by comparing identifier
// numbers; that must be the same as comparing the identifier texts.
TEST(Subrecords, IdentNumbersCompareAsTheirTexts) {
  std::vector<uint32_t> words;
  for (uint32_t n = 0; n < 120; ++n) words.push_back(n << 5 | (n % 32));
  for (uint32_t x = 12345; words.size() < 400; x = x * 1664525u + 1013904223u) words.push_back(x);
  words.push_back(0xFFFFFFFFu);
  for (uint32_t a : words) {
    for (uint32_t b : words) {
      EXPECT_EQ(decode_ident(a).str() == decode_ident(b).str(), ident_number(a) == ident_number(b))
          << a << " " << b;
      // A runway's plain identifier against an ILS record's identifier word (0 means none).
      if (a != 0) {
        EXPECT_EQ(decode_raw_ident(a).str() == decode_ident(b).str(), a == ident_number(b))
            << a << " " << b;
      }
    }
  }
}

}  // namespace
}  // namespace terrova
