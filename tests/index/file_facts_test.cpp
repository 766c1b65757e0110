// The names and classes the index writes for the bits of deletions and exclusions, the merging of
// navaid deletion records, and which layers count as stock.
#include "index/file_facts.h"

#include <gtest/gtest.h>

#include "driver/document.h"
#include "index/library_index.h"
#include "msfs_procedure_records.h"
#include "msfs_records.h"

namespace terrova::index {
namespace {

TEST(FileFactsTest, NamesOfDeletionsAndExclusions) {
  EXPECT_EQ(deleted_kind_names(0), "");
  EXPECT_EQ(deleted_kind_names(kDeletesApproaches | kDeletesRunways | kDeletesStars),
            "approaches,runways,STARs");
  EXPECT_EQ(excluded_class_names(kExcludesAll, true), "all");
  EXPECT_EQ(excluded_class_names(kExcludesLibraryObjects | kExcludesWindsocks, false),
            "library objects,windsocks");
  EXPECT_EQ(excluded_class_of("LibraryObject"), kExcludesLibraryObjects);
  EXPECT_EQ(excluded_class_of("TaxiwaySign"), kExcludesTaxiwaySigns);
  EXPECT_EQ(excluded_class_of("SimObject"), 0u);  // only an exclusion of every object hides it
}

TEST(FileFactsTest, PartsBelongToTheOpenAirportAndDeletionRecordsMerge) {
  FileFacts facts;
  facts.airport_part(AirportPart::kRunway, 1);  // outside an airport: dropped
  facts.airport({"KAAA", "A", 1, 2, 0x56, 100});
  facts.airport_part(AirportPart::kParking, 12);
  facts.airport_part(AirportPart::kParking, 3);
  facts.delete_airport({kDeletesApproaches, 1, 0, 0, 120});
  facts.end_airport();
  facts.airport_part(AirportPart::kApproach, 1);
  ASSERT_EQ(facts.airports.size(), 1u);
  EXPECT_EQ(facts.airports[0].parts[static_cast<size_t>(AirportPart::kParking)], 15u);
  EXPECT_EQ(facts.airports[0].parts[static_cast<size_t>(AirportPart::kApproach)], 0u);
  EXPECT_TRUE(facts.airports[0].has_delete);
  EXPECT_EQ(facts.airports[0].deletion.offset, 120u);

  facts.navaid_deletion("OS73", kDeletesIls, 16);
  facts.navaid_deletion("OS73", kDeletesIls, 32);
  facts.navaid_deletion("OS73", kDeletesTerminalNdbs, 48);
  facts.navaid_deletion("OS73", kDeletesIls, 64);
  ASSERT_EQ(facts.navaid_deletions.size(), 3u);
  EXPECT_EQ(facts.navaid_deletions[0].records, 2u);
  EXPECT_EQ(facts.navaid_deletions[0].offset, 16u);
}

// The facts of an MSFS DeleteAirport say what its bits delete, as its document does: bit 10 is the
// jetways, bit 11 the control towers.
TEST(FileFactsTest, MsfsDeleteAirportBitsAsTheDocumentReadsThem) {
  testkit::Bytes airport;
  testkit::begin_msfs_airport(airport, {});
  testkit::msfs_delete_airport(airport, 0x0401, 0);
  testkit::msfs_airport_name(airport, "Daxing").end();
  testkit::BglBuilder bgl;
  bgl.section(3).add(airport, 1);
  const std::vector<uint8_t> file = bgl.build();
  FileFacts facts;
  std::string document;
  Output out(drain_to_string, &document, true);
  SharedTables tables;
  write_document(Image(file.data(), static_cast<uint32_t>(file.size())), {}, tables,
                 {2007, 3, 5, 9, 4, 1}, out, nullptr, nullptr, nullptr, &facts);
  ASSERT_EQ(facts.airports.size(), 1u);
  EXPECT_EQ(deleted_kind_names(facts.airports[0].deletion.deletes), "approaches,jetways");
  EXPECT_NE(document.find("deleteAllJetways = \"TRUE\""), std::string::npos);
}

TEST(FileFactsTest, StockLayers) {
  library::Layer area;
  area.kind = "area";
  area.folder = "C:\\FSX\\Scenery\\World";
  EXPECT_TRUE(is_stock_layer(area));
  area.folder = "/sim/scenery/0301/";
  EXPECT_TRUE(is_stock_layer(area));
  area.folder = "/sim/Addon Scenery/EDST";
  EXPECT_FALSE(is_stock_layer(area));
  area.folder = "Scenery";
  EXPECT_FALSE(is_stock_layer(area));
  library::Layer package;
  package.kind = "package";
  package.origin = "official";
  EXPECT_TRUE(is_stock_layer(package));
  package.origin = "community";
  EXPECT_FALSE(is_stock_layer(package));
}

}  // namespace
}  // namespace terrova::index
