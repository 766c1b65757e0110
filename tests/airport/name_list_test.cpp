// The name list: sorted, duplicate-free name tables whose positions are the indices of the
// ident entries, and the name attributes they give the airports.
#include <gtest/gtest.h>

#include <string>

#include "airport_records.h"
#include "decode_with_tables.h"
#include "golden.h"

namespace terrova {
namespace {

using namespace testkit;

std::vector<std::string> keys(const StringTable& t) {
  std::vector<std::string> out;
  for (int i = 0; i < t.count(); ++i) out.push_back(t[i].key);
  return out;
}

Bytes airport(const std::string& ident) {
  AirportFields f;
  f.ident = ident;
  Bytes b;
  airport_name(begin_airport(b, f), ident + " airport");
  return b.end();
}

TEST(NameList, TablesAreSortedAndFreeOfDuplicates) {
  NameListFields n;
  n.regions = {"B", "A"};
  n.countries = {"Italy", "Austria", "Italy"};
  n.cities = {"X", "X", "Y"};
  n.states = {"Tirol"};
  n.entries = {
      {0, 1, 0, 1, "LOWI"}
  };
  BglBuilder bgl;
  // A record count of 3 still means one name-list record.
  bgl.section(39).add(name_list(n), 3);
  SharedTables tables;
  Decoded d = decode_with_tables(bgl.build(), tables);
  EXPECT_EQ(d.malformed, 0u);
  EXPECT_EQ(keys(tables.region_names), (std::vector<std::string>{"A", "B"}));
  EXPECT_EQ(keys(tables.country_names), (std::vector<std::string>{"Austria", "Italy"}));
  EXPECT_EQ(keys(tables.city_names), (std::vector<std::string>{"X", "Y"}));
  EXPECT_EQ(keys(tables.state_names), (std::vector<std::string>{"Tirol"}));
  EXPECT_EQ(tables.airport_ident_entries.size(), 1u);
  EXPECT_EQ(tables.airport_names.count(), 0);  // airport names are not used
}

TEST(NameList, AttributesOfTheMatchingEntries) {
  NameListFields first;
  first.regions = {"B", "A"};
  first.countries = {"Austria"};
  first.states = {"Tirol", ""};
  first.cities = {"Innsbruck", "Ort & \"Dorf\""};
  first.entries = {
      {0, 0, 0, 0, "LOWX"}
  };
  NameListFields second;  // merges into the same tables; its entries replace the first ones
  second.countries = {"Italy"};
  second.cities = {"Bolzano"};
  second.entries = {
      {0,  1, 0, 2, "LOWI"}, // region A, country Italy, state "" (none), city Ort & "Dorf"
      {1,  0, 1, 0, "LOWI"}, // a second entry for LOWI adds only what the first left out
      {15, 2, 0, 3, "LIPB"}, // region, country and city indices past their tables
      {0,  0, 0, 9, "LOWS"}, // state 0 is the empty text, which sorts first: no attribute
  };
  BglBuilder bgl;
  bgl.section(3).add(airport("LOWX"), 1).add(airport("LOWI"), 1).add(airport("LIPB"), 1);
  bgl.section(3).add(airport("LOWS"), 1);
  bgl.section(39).add(name_list(first), 1).add(name_list(second), 1);
  Decoded d = decode(bgl.build(), switches("t"));
  EXPECT_EQ(d.malformed, 0u);
  expect_golden("airport/golden/name_list_attributes.xml", d.document);
}

TEST(NameList, NoEntriesGiveNoAttributes) {
  NameListFields n;
  n.cities = {"Innsbruck"};
  BglBuilder bgl;
  bgl.section(3).add(airport("LOWI"), 1);
  bgl.section(39).add(name_list(n), 1);
  Decoded d = decode(bgl.build(), switches("t"));
  EXPECT_EQ(d.document.find("city="), std::string::npos);
}

TEST(NameList, ListsReachingPastTheFileStopAtItsEnd) {
  NameListFields n;
  n.regions = {"Europe"};
  n.countries = {"Austria"};
  n.cities = {"Innsbruck", "Wattens"};
  n.entries = {
      {0, 0, 0, 1, "LOWI"}
  };
  Bytes record = name_list(n);
  // The city list's last text loses its zero byte at the very end of the file, the region list
  // claims far more texts than there are, and the ident entries claim three.
  record.data.resize(record.data.size() - 20);  // drop the ident entry
  BglBuilder bgl;
  bgl.section(39).add(record, 1);
  std::vector<uint8_t> file = bgl.build();
  file.pop_back();  // the zero byte after "Wattens"
  const size_t at = file.size() - record.size() + 1;
  file[at + 6] = 200;  // region count
  file[at + 16] = 3;   // ident entries, none of which fits
  SharedTables tables;
  Decoded d = decode_with_tables(file, tables);
  EXPECT_EQ(d.malformed, 3u);
  EXPECT_EQ(keys(tables.city_names), (std::vector<std::string>{"Innsbruck", "Wattens"}));
  EXPECT_TRUE(tables.airport_ident_entries.empty());
  EXPECT_EQ(tables.region_names.count(), 0);  // its texts would start past the file
  EXPECT_EQ(keys(tables.country_names), (std::vector<std::string>{"Austria"}));
}

TEST(NameList, HeaderPastTheFileIsReported) {
  BglBuilder bgl;
  bgl.section(39).add(Bytes().u16(0x27).u32(0).zeros(20), 1);
  SharedTables tables;
  Decoded d = decode_with_tables(bgl.build(), tables);
  EXPECT_EQ(d.malformed, 1u);
  EXPECT_EQ(tables.region_names.count(), 0);
}

}  // namespace
}  // namespace terrova
