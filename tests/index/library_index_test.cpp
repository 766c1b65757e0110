// Libraries built by the test builder, indexed in-process and checked through queries of the
// index and through the report, kept as golden files.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "driver/library_run.h"
#include "golden.h"
#include "index/sqlite.h"
#include "library_files.h"

namespace terrova {
namespace {

using testkit::AirportFields;
using testkit::Bytes;

class LibraryIndexTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = testkit::private_temp_path("terrova_library_");
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  std::string folder(const std::string& name) const { return dir_ + "/" + name; }
  std::string index_path() const { return dir_ + "/library.sqlite"; }

  void add_file(const std::string& layer_folder, const std::string& name,
                const std::vector<uint8_t>& bytes) {
    ASSERT_TRUE(testkit::write_library_file(folder(layer_folder), name, bytes));
  }

  int index(const library::Library& library) {
    LibraryRequest request;
    request.library = "test library";
    request.index_path = index_path();
    request.jobs = 2;
    request.take_run_guard = false;
    console_.clear();
    Console console(&console_);
    return index_library(request, library, console);
  }

  // The rows of a query, each "a|b|c", one per line.
  std::string query(const std::string& sql) {
    index::Database db;
    EXPECT_TRUE(db.open(index_path(), false)) << db.error();
    index::Statement statement = db.prepare(sql.c_str());
    std::string rows;
    while (statement.step()) {
      for (int i = 0; i < statement.columns(); ++i) {
        if (i != 0) rows += '|';
        rows += statement.text(i);
      }
      rows += '\n';
    }
    EXPECT_EQ(db.error(), "") << sql;
    return rows;
  }

  std::string report() { return query("SELECT text FROM report ORDER BY line"); }

  // A stock area, an add-on that replaces its airport with a DeleteAirport, and a third layer.
  library::Library replaced_airport_library(bool third_brings_approaches) {
    AirportFields stock;
    stock.ident = "KAAA";
    Bytes stock_parts;
    testkit::approaches(stock_parts, 3);
    add_file("Scenery/World", "apt_stock.bgl", testkit::airport_bgl(stock, "Stock", stock_parts));
    AirportFields addon = stock;
    Bytes addon_parts;
    testkit::delete_airport(addon_parts, 0x0001 | 0x0020, {});
    testkit::begin_runway(addon_parts, {}).end();
    testkit::start(addon_parts, 8, 0, 47.26, 11.34, 58100, 81.0f);
    add_file("Addon", "kaaa.bgl", testkit::airport_bgl(addon, "Add-on", addon_parts));
    Bytes third_parts;
    if (third_brings_approaches) testkit::approaches(third_parts, 2);
    add_file("Procedures", "kaaa_nav.bgl", testkit::airport_bgl(addon, "Add-on", third_parts));
    library::Library library;
    library.kind = "test";
    library.layers.push_back(
        testkit::library_layer("Default Terrain", folder("Scenery/World"), 1, {"apt_stock.bgl"}));
    library.layers.push_back(testkit::library_layer("Addon", folder("Addon"), 20, {"kaaa.bgl"}));
    library.layers.push_back(
        testkit::library_layer("Procedures", folder("Procedures"), 30, {"kaaa_nav.bgl"}));
    return library;
  }

  std::string dir_;
  std::string console_;
};

TEST_F(LibraryIndexTest, DeleteAirportTakesTheApproachesOfTheStockAirport) {
  ASSERT_EQ(index(replaced_airport_library(false)), 0) << console_;
  EXPECT_EQ(query("SELECT definition, wins, layer_title, approaches, approaches_left, runways, "
                  "taken_what FROM airport_definitions WHERE ident = 'KAAA'"),
            "1|0|Default Terrain|3|0|0|approaches,runways\n"
            "2|0|Addon|0|0|1|\n"
            "3|1|Procedures|0|0|0|\n");
  EXPECT_EQ(query("SELECT definitions, winning_layer, approaches, runways FROM airport_summary"),
            "3|Procedures|0|1\n");
  EXPECT_EQ(query("SELECT ident, deletes_what, starts FROM airports WHERE has_delete"),
            "KAAA|approaches,runways|1\n");
  testkit::expect_golden("index/golden/replaced_airport_report.txt", report());
}

TEST_F(LibraryIndexTest, ApproachesBroughtBackByALaterLayerAreNotLost) {
  ASSERT_EQ(index(replaced_airport_library(true)), 0) << console_;
  EXPECT_EQ(query("SELECT sum(approaches_left) FROM airport_definitions"), "2\n");
  EXPECT_EQ(report().find("Procedures lost to deletions: none\n") != std::string::npos, true);
}

TEST_F(LibraryIndexTest, ExclusionHidesTheObjectsOfLowerLayersOnly) {
  add_file("Objects", "objects.bgl",
           testkit::scenery_bgl(
               {
                   {10.0, 10.0, 1},
                   {10.5, 10.5, 2},
                   {20.0, 20.0, 3}
  },
               {}));
  // Library objects (0x0080) inside the first rectangle; generic buildings (0x0040) in the second.
  add_file("Exclusions", "exclude.bgl",
           testkit::scenery_bgl(
               {
                   {10.2, 10.2, 4}
  },
               {{0x0080, 9.9, 10.6, 9.9, 10.6}, {0x0040, 19.0, 21.0, 19.0, 21.0}}));
  library::Library library;
  library.kind = "test";
  library.layers.push_back(
      testkit::library_layer("Objects", folder("Objects"), 1, {"objects.bgl"}));
  library.layers.push_back(
      testkit::library_layer("Exclusions", folder("Exclusions"), 2, {"exclude.bgl"}));
  ASSERT_EQ(index(library), 0) << console_;
  EXPECT_EQ(query("SELECT o.guid, e.excludes_what FROM objects o LEFT JOIN exclusions e ON "
                  "e.exclusion_id = o.excluded_by ORDER BY o.file_id, o.offset"),
            "000000014b8e1c2a3412009fab907856|library objects\n"
            "000000024b8e1c2a3412009fab907856|library objects\n"
            "000000034b8e1c2a3412009fab907856|\n"
            "000000044b8e1c2a3412009fab907856|\n");
  EXPECT_EQ(query("SELECT hidden_objects FROM exclusions ORDER BY exclusion_id"), "2\n0\n");
  testkit::expect_golden("index/golden/exclusion_report.txt", report());
}

TEST_F(LibraryIndexTest, SecondRunReusesUnchangedFilesAndDropsVanishedOnes) {
  library::Library library = replaced_airport_library(false);
  ASSERT_EQ(index(library), 0) << console_;
  const std::string first_report = report();
  ASSERT_EQ(index(library), 0) << console_;
  EXPECT_NE(console_.find("Indexed: 3 files, 0 decoded, 3 unchanged"), std::string::npos)
      << console_;
  EXPECT_EQ(report(), first_report);

  // A changed file is decoded again; a file that left the library leaves the index.
  AirportFields changed;
  changed.ident = "KBBB";
  add_file("Addon", "kaaa.bgl", testkit::airport_bgl(changed, "Changed airport", Bytes()));
  library.layers.pop_back();
  ASSERT_EQ(index(library), 0) << console_;
  EXPECT_NE(console_.find("Indexed: 2 files, 1 decoded, 1 unchanged"), std::string::npos)
      << console_;
  EXPECT_EQ(query("SELECT ident, file FROM airport_definitions ORDER BY ident"),
            "KAAA|apt_stock.bgl\nKBBB|kaaa.bgl\n");
  EXPECT_EQ(query("SELECT count(*) FROM files"), "2\n");
}

TEST_F(LibraryIndexTest, FileOfTwoLayersIsIndexedAndReusedForEach) {
  add_file("Area", "good.bgl", testkit::airport_bgl(AirportFields(), "Good", Bytes()));
  library::Library library;
  library.kind = "test";
  library.layers.push_back(testkit::library_layer("First", folder("Area"), 1, {"good.bgl"}));
  library.layers.push_back(testkit::library_layer("Again", folder("Area"), 2, {"good.bgl"}));
  for (int run = 0; run < 2; ++run) {
    ASSERT_EQ(index(library), 0) << console_;
    EXPECT_EQ(query("SELECT layer_title, wins FROM airport_definitions"), "First|0\nAgain|1\n");
  }
  EXPECT_NE(console_.find("2 unchanged"), std::string::npos) << console_;
}

TEST_F(LibraryIndexTest, DamagedAndMissingFilesDoNotStopTheLibrary) {
  add_file("Area", "garbage.bgl", std::vector<uint8_t>(300, 0x5A));
  std::vector<uint8_t> cut = testkit::airport_bgl(AirportFields(), "Cut short", Bytes());
  cut.resize(cut.size() - 20);
  add_file("Area", "cut.bgl", cut);
  add_file("Area", "good.bgl", testkit::airport_bgl(AirportFields(), "Good", Bytes()));
  library::Library library;
  library.kind = "test";
  library.layers.push_back(testkit::library_layer(
      "Area", folder("Area"), 1, {"garbage.bgl", "cut.bgl", "gone.bgl", "good.bgl"}));
  library::Layer inactive = testkit::library_layer("Old", folder("Old"), 2, {});
  inactive.active = false;
  library.layers.push_back(inactive);
  library::Layer missing = testkit::library_layer("Missing", folder("Missing"), 3, {});
  missing.folder_missing = true;
  library.layers.push_back(missing);
  ASSERT_EQ(index(library), 0) << console_;
  EXPECT_EQ(query("SELECT relative, read, status FROM files ORDER BY file_id"),
            "garbage.bgl|1|not facility data\n"
            "cut.bgl|1|read\n"
            "gone.bgl|0|failed: can't open (No such file or directory)\n"
            "good.bgl|1|read\n");
  // The airport cut short ends its file's walk; the files after it are read.
  EXPECT_EQ(query("SELECT file FROM airport_definitions"), "good.bgl\n");
  const std::string text = report();
  EXPECT_NE(text.find("Files that could not be read:\n  Area (layer 1): gone.bgl: failed"),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("Damaged files:\n  Area (layer 1): cut.bgl: 1 malformed"), std::string::npos)
      << text;
  EXPECT_NE(text.find("Inactive areas (listed, not read):\n  Old (layer 2): "), std::string::npos);
  EXPECT_NE(text.find("Areas whose folder is missing:\n  Missing (layer 3): "), std::string::npos);
}

TEST_F(LibraryIndexTest, IndexThatCannotBeWrittenFailsAndLeavesThePreviousFile) {
  // A file that is not an index is never replaced.
  { std::ofstream(index_path()) << "my notes"; }
  library::Library library = replaced_airport_library(false);
  EXPECT_EQ(index(library), 2);
  EXPECT_NE(console_.find("is not a library index; it is left as it is"), std::string::npos);
  std::ifstream kept(index_path());
  std::string text;
  std::getline(kept, text);
  EXPECT_EQ(text, "my notes");
  EXPECT_FALSE(std::filesystem::exists(index_path() + ".tmp"));

  LibraryRequest request;
  request.index_path = dir_ + "/no such folder/library.sqlite";
  request.take_run_guard = false;
  console_.clear();
  Console console(&console_);
  EXPECT_EQ(index_library(request, library, console), 2);
  EXPECT_NE(console_.find("Can't write the index " + request.index_path), std::string::npos)
      << console_;
}

}  // namespace
}  // namespace terrova
