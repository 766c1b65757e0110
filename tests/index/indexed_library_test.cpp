// Libraries read from their configuration files (scenery.cfg, Content.xml with the packages'
// layout.json) and the real libraries of ../shared/library-samples, indexed and checked through
// queries of the index.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "driver/library_run.h"
#include "golden.h"
#include "index/sqlite.h"
#include "library_files.h"

namespace terrova {
namespace {

namespace fs = std::filesystem;

class IndexedLibraryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = testkit::private_temp_path("terrova_readers_");
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  // Reads and indexes the library; true when both succeeded.
  bool index(const std::string& path, const library::LibraryOptions& options = {}) {
    library::Library library;
    std::string error;
    const int code = library::read_library(path, options, library, error);
    EXPECT_EQ(code, 0) << error;
    if (code != 0) return false;
    LibraryRequest request;
    request.library = path;
    request.index_path = dir_ + "/library.sqlite";
    request.take_run_guard = false;
    Console console(&console_);
    EXPECT_EQ(index_library(request, library, console), 0) << console_;
    return true;
  }

  std::string query(const std::string& sql) {
    index::Database db;
    EXPECT_TRUE(db.open(dir_ + "/library.sqlite", false)) << db.error();
    index::Statement statement = db.prepare(sql.c_str());
    std::string rows;
    while (statement.step()) {
      for (int i = 0; i < statement.columns(); ++i) rows += (i != 0 ? "|" : "") + statement.text(i);
      rows += '\n';
    }
    EXPECT_EQ(db.error(), "") << sql;
    return rows;
  }
  std::string report() { return query("SELECT text FROM report ORDER BY line"); }

  static void write_text(const std::string& path, const std::string& text) {
    fs::create_directories(fs::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << text;
  }

  // An MSFS package whose one BGL file defines the airport KCCC with `approaches` approaches.
  void add_package(const std::string& community, const std::string& name, int approaches) {
    testkit::AirportFields f;
    f.ident = "KCCC";
    testkit::Bytes parts;
    testkit::approaches(parts, approaches);
    const std::vector<uint8_t> bgl = testkit::airport_bgl(f, name, parts);
    const std::string package = community + "/" + name;
    ASSERT_TRUE(testkit::write_library_file(package + "/scenery", "kccc.bgl", bgl));
    write_text(package + "/layout.json",
               "{\n  \"content\": [\n    {\n      \"path\": \"scenery/kccc.bgl\",\n      "
               "\"size\": " +
                   std::to_string(bgl.size()) +
                   ",\n      \"date\": 132000000000000000\n    }\n  ]\n}\n");
    write_text(package + "/manifest.json",
               "{\n  \"content_type\": \"SCENERY\",\n  \"title\": \"" + name + "\"\n}\n");
  }

  std::string dir_;
  std::string console_;
};

TEST_F(IndexedLibraryTest, ContentXmlOrderDecidesWhichPackageWins) {
  const std::string community = dir_ + "/Community";
  add_package(community, "a-first", 1);
  add_package(community, "b-second", 2);
  // By name b-second would load last; Content.xml loads a-first after it.
  write_text(dir_ + "/Content.xml",
             "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<Content>\r\n"
             "  <Package name=\"b-second\" active=\"true\"/>\r\n"
             "  <Package name=\"a-first\" active=\"true\"/>\r\n</Content>\r\n");
  library::LibraryOptions options;
  options.content_xml = dir_ + "/Content.xml";
  ASSERT_TRUE(index(community, options));
  EXPECT_EQ(query("SELECT layer_title, wins FROM airport_definitions WHERE ident = 'KCCC'"),
            "b-second|0\na-first|1\n");
}

TEST_F(IndexedLibraryTest, DamagedSceneryCfgIsReportedAndTheRestIsRead) {
  const std::vector<uint8_t> bgl =
      testkit::airport_bgl(testkit::AirportFields(), "Good", testkit::Bytes());
  ASSERT_TRUE(testkit::write_library_file(dir_ + "/Addon Scenery/Good/scenery", "good.bgl", bgl));
  write_text(dir_ + "/scenery.cfg",
             "[General]\r\nTitle=FS World\r\n\r\n[Area.001]\r\nTitle=Good\r\n"
             "Local=Addon Scenery\\Good\r\nLayer=1\r\nActive=TRUE\r\n\r\n"
             "[Area.002\r\nTitle=Broken\r\nLocal=\r\nLayer=two\r\n\x01\x02garbage\r\n");
  ASSERT_TRUE(index(dir_ + "/scenery.cfg"));
  EXPECT_EQ(query("SELECT relative, status FROM files"), "scenery/good.bgl|read\n");
  EXPECT_EQ(query("SELECT ident FROM airports"), "LOWI\n");
  EXPECT_EQ(report().find("Problems with configuration files: none"), std::string::npos);
  EXPECT_NE(query("SELECT count(*) FROM problems"), "0\n");
}

// The real libraries of ../shared/library-samples.
class IndexedLibrarySamplesTest : public IndexedLibraryTest {
 protected:
  void SetUp() override {
    IndexedLibraryTest::SetUp();
    if (!fs::is_directory(samples_)) GTEST_SKIP() << "no " << samples_;
  }
  const std::string samples_ = TERROVA_LIBRARY_SAMPLES_DIR;
};

TEST_F(IndexedLibrarySamplesTest, Msfs) {
  ASSERT_TRUE(index(samples_ + "/msfs/Community"));
  // The airport and its navigation package, whose procedures it adds.
  EXPECT_EQ(query("SELECT count(DISTINCT layer_id) FROM airport_definitions WHERE ident = 'AZGA'"),
            "2\n");
  EXPECT_EQ(query("SELECT approaches + sids + stars > 0 FROM airport_definitions WHERE ident = "
                  "'AZGA' AND layer_title LIKE '%navigation'"),
            "1\n");
  // OS73 is deleted by a package that is the only one to name it.
  EXPECT_EQ(query("SELECT count(*), sum(has_delete) FROM airports WHERE ident = 'OS73'"), "1|1\n");
  EXPECT_NE(report().find("  OS73: "), std::string::npos);
  EXPECT_EQ(query("SELECT ident, count(*) FROM airports WHERE ident IN ('EDDS', 'KLAL', 'ZBAD') "
                  "GROUP BY ident ORDER BY ident"),
            "EDDS|1\nKLAL|1\nZBAD|1\n");
}

TEST_F(IndexedLibrarySamplesTest, Prepar3D) {
  ASSERT_TRUE(index(samples_ + "/p3d/Prepar3D v5 Add-ons"));
  EXPECT_EQ(query("SELECT count(*) >= 3 FROM airports WHERE ident = 'LEAB'"), "1\n");
  EXPECT_EQ(query("SELECT layer FROM airport_definitions WHERE ident = 'LEAB' AND wins"), "162\n");
  EXPECT_NE(report().find("  <- wins"), std::string::npos);
  // LEAB_RFN's layer 148 loads below LEAB's 162.
  EXPECT_EQ(query("SELECT a.layer_id < b.layer_id FROM layers a, layers b WHERE a.layer = 148 AND "
                  "b.layer = 162"),
            "1\n");
}

TEST_F(IndexedLibrarySamplesTest, Fsx) {
  // D:\FSX\... names the sample's own folder.
  const std::string drive = dir_ + "/drive_d";
  fs::create_directories(drive);
  fs::create_directory_symlink(samples_ + "/fsx", drive + "/FSX");
  library::LibraryOptions options;
  options.drives.emplace_back('D', drive);
  ASSERT_TRUE(index(samples_ + "/fsx/scenery.cfg", options));
  const std::string text = report();
  EXPECT_NE(text.find("Areas whose folder is missing:\n  Default Terrain (layer 1): "),
            std::string::npos)
      << text;
  EXPECT_EQ(query("SELECT active, folder_missing FROM layers WHERE layer = 107"), "0|0\n");
  EXPECT_EQ(query("SELECT count(*) FROM files f JOIN layers l ON l.layer_id = f.layer_id WHERE "
                  "l.layer = 107 AND f.read"),
            "0\n");
  EXPECT_EQ(query("SELECT folder_missing, files > 0 FROM layers WHERE layer = 106"), "0|1\n");
  EXPECT_EQ(query("SELECT count(*) > 0 FROM objects o JOIN files f ON f.file_id = o.file_id JOIN "
                  "layers l ON l.layer_id = f.layer_id WHERE l.layer = 106"),
            "1\n");
  EXPECT_EQ(query("SELECT count(*) > 0 FROM navaids n JOIN files f ON f.file_id = n.file_id JOIN "
                  "layers l ON l.layer_id = f.layer_id WHERE l.layer = 105 AND n.kind = "
                  "'WAYPOINT'"),
            "1\n");
}

}  // namespace
}  // namespace terrova
