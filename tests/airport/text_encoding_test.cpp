// The texts of a file are read as UTF-8 when it holds an MSFS airport (valid sequences as they
// are, every other byte as its Windows-1252 character) and as Windows-1252 otherwise, for the
// whole file: the name list, the navaids and the objects written before the airports included.
#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "airport/airport.h"
#include "golden.h"
#include "msfs_procedure_records.h"
#include "msfs_records.h"
#include "nav_records.h"
#include "xml_check.h"

namespace terrova {
namespace {

using namespace testkit;

// UTF-8 of two, three and four bytes, and bytes that are not UTF-8: a Windows-1252 "ç", an
// overlong "/", U+FFFE (no XML character) and a lead byte cut short by the end of the text.
constexpr std::string_view kAirportName = "Z\xC3\xBCrich \xE2\x80\x93 Kloten \xF0\x9F\x9B\xAB";
constexpr std::string_view kComName =
    "Tour \xE7"
    "a \xC0\xAF \xEF\xBF\xBE \xC3";

// The airport record: the MSFS form (0x56) or the FSX form (0x3C).
Bytes airport(bool msfs) {
  Bytes b;
  if (msfs) {
    MsfsAirportFields f;
    f.ident = "LSZH";
    msfs_airport_name(begin_msfs_airport(b, f), kAirportName);
  } else {
    AirportFields f;
    f.ident = "LSZH";
    f.tower = false;
    airport_name(begin_airport(b, f), kAirportName);
  }
  com(b, 2, 118100000, kComName);
  taxi_names(b, {"\xC3\xA9t\xC3\xA9", "N\xF6rd"});
  if (msfs) msfs_sign(b, 39.51, 116.41, 90.0f, 3, 0, "\xE2\x86\x90 B \xE9");
  return b.end();
}

// The name list and a VOR come before the airports in the file and in the walk.
std::vector<uint8_t> text_file(bool msfs) {
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
  BglBuilder bgl;
  bgl.section(39).add(name_list(n), 1);
  bgl.section(19).add(vor, 1);
  bgl.section(37).add(objects, 1);
  bgl.section(3).add(airport(msfs), 1);
  return bgl.build();
}

TEST(TextEncoding, GoldenDocuments) {
  const struct {
    const char* name;
    bool msfs;
  } kCases[] = {
      {"text_msfs_utf8",       true },
      {"text_fsx_windows1252", false},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    const std::vector<uint8_t> file = text_file(c.msfs);
    expect_golden_styles(file, std::string("airport/golden/") + c.name);
    EXPECT_EQ(xml_problem(decode(file).document), "");
  }
}

// Which files are read as UTF-8: any record of an airport section of the MSFS forms, wherever it
// stands in its run; the look at the records stops at a size that cannot be a record's.
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
  EXPECT_EQ(encoding_of({}), TextEncoding::kWindows1252);
}

}  // namespace
}  // namespace terrova
