// The library readers over small libraries written into a temporary folder: scenery.cfg in its
// encodings and with damage, drive mappings and missing folders, add-on packages with and
// without layers, MSFS packages by name and by Content.xml, layout.json with missing files.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "golden.h"
#include "library/library.h"

namespace terrova::library {
namespace {

namespace fs = std::filesystem;

class LibraryReadersTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = testkit::private_temp_path(
        "terrova_library_" +
        std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  // Writes `bytes` to the file under the test folder, making its folders.
  void write(const std::string& relative, const std::string& bytes = "BGL") {
    const fs::path path = dir_ / fs::u8path(relative);
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
  }
  std::string at(const std::string& relative) const { return (dir_ / relative).string(); }

  // Reads the library and gives each layer as "layer title [flags]: relative files; missing".
  std::vector<std::string> layers(const std::string& library, const LibraryOptions& options = {}) {
    library_ = Library{};
    std::string error;
    status_ = read_library(library, options, library_, error);
    error_ = error;
    std::vector<std::string> out;
    for (const Layer& l : library_.layers) {
      std::string line = std::to_string(l.layer) + " " + l.title;
      if (!l.origin.empty()) line += " (" + l.origin + ")";
      if (!l.active) line += " [inactive]";
      if (l.folder_missing) line += " [missing]";
      line += ":";
      for (const LibraryFile& f : l.files) {
        line += " " + f.relative;
        EXPECT_TRUE(fs::exists(fs::u8path(f.path))) << f.path;
      }
      for (const std::string& m : l.missing) line += " !" + m;
      out.push_back(line);
    }
    return out;
  }

  fs::path dir_;
  Library library_;
  int status_ = -1;
  std::string error_;
};

using Lines = std::vector<std::string>;

TEST_F(LibraryReadersTest, SceneryCfgInEveryEncodingAndCase) {
  write("Sim/addon scenery/Caf\xC3\xA9/SCENERY/b.BGL");
  write("Sim/addon scenery/Caf\xC3\xA9/SCENERY/A.bgl");
  write("Sim/addon scenery/Caf\xC3\xA9/SCENERY/notes.txt");
  write("Sim/addon scenery/Caf\xC3\xA9/top.bgl");  // not in the scenery subfolder: not read
  write("Elsewhere/x/Scenery/z.bgl");
  const std::string areas =
      "[General]\r\nTitle=World\r\n\r\n[AREA.002]\r\ntitle=Caf\xE9\r\nLOCAL=Addon "
      "Scenery\\Caf\xE9\\\r\nLAYER=2\r\nactive=true\r\n\r\n[area.001]\r\nTitle=Far\r\n"
      "Local=E:\\X\r\nLayer=3\r\nActive=True\r\n";
  const LibraryOptions options{{{'e', at("Elsewhere")}}, at("Sim"), "", ""};
  const Lines expected = {"2 Caf\xC3\xA9: SCENERY/A.bgl SCENERY/b.BGL", "3 Far: Scenery/z.bgl"};
  // Windows-1252 with CR LF; UTF-8 with a mark and LF; UTF-16LE with a mark and CR LF.
  std::string utf8 = areas;
  std::erase(utf8, '\r');
  for (size_t i; (i = utf8.find('\xE9')) != std::string::npos;) utf8.replace(i, 1, "\xC3\xA9");
  utf8 = "\xEF\xBB\xBF" + utf8;
  std::string wide = "\xFF\xFE";
  for (const char c : areas) wide += std::string{c, '\0'};
  for (const std::string& bytes : {areas, utf8, wide}) {
    write("cfg/scenery.cfg", bytes);
    EXPECT_EQ(layers(at("cfg/scenery.cfg"), options), expected);
    EXPECT_EQ(status_, 0);
    EXPECT_EQ(library_.kind, "scenery.cfg");
    EXPECT_TRUE(library_.problems.empty()) << library_.problems[0];
  }
}

TEST_F(LibraryReadersTest, SceneryCfgMissingFoldersAndDamage) {
  write("Addon Scenery/A/scenery/a.bgl");
  write("Addon Scenery/B/scenery/b.bgl");
  write("scenery.cfg",
        "[Area.001]\nTitle=Stock\nLocal=Scenery\\World\nLayer=1\nActive=TRUE\n"
        "[Area.010]\nTitle=A\nLocal=Addon Scenery\\A\nLayer=ten\nActive=maybe\n"
        "[Area.003]\nTitle=Unmapped\nLocal=D:\\FSX\\A\n[Area.033]\nLocal=d:\\B\nLayer=33\n"
        "[Area.004]\nTitle=No folder\nLayer=4\n"
        "[Area.x5]\nLocal=A\n"
        "\x7F\x45LF\x01\x02 binary junk\n"
        "[Area.002]\nTitle=B\nLocal=addon scenery/b\nLayer=2\n"
        "[Area.002]\nTitle=B again\nLocal=Addon Scenery\\B\nLayer=20\nActive=FALSE\n"
        "[Area.040]\nLocal=Addon Scenery/b\nLayer=40\n[Area.050]\nLocal=\\\\nas\\fs\nLayer=50\n");
  // The folder of the cfg is found as its library too.
  EXPECT_EQ(layers(dir_.string()),
            (Lines{"1 Stock [missing]:", "2 B: scenery/b.bgl",
                   "3 Unmapped [missing]:", "10 A: scenery/a.bgl", "20 B again [inactive]:",
                   "33  [missing]:", "40 : scenery/b.bgl", "50  [missing]:"}));
  EXPECT_EQ(status_, 0);
  const std::string cfg = at("scenery.cfg") + ": ";
  const Lines problems = {
      cfg + "line 22: holds control bytes; the line is passed over",
      cfg + "line 9: Layer=ten is not a number; the area takes the layer of its area number",
      cfg + "line 10: Active=maybe is neither TRUE nor FALSE; the area is taken as active",
      cfg + "[Area.003] (line 11): no Layer; the area takes the layer of its area number",
      cfg + "[Area.004] (line 17): no Local folder; the area is passed over",
      cfg + "[Area.x5] (line 20): the area number is not a number; the area is passed over",
      cfg + "[Area.002] appears more than once; each is read",
      cfg +
          "[Area.003] Local=D:\\FSX\\A: the drive D: has no folder on this machine (give the "
          "drive mapping)",
      cfg + "[Area.040] names the folder of [Area.002] again; its files load twice",
      cfg + "[Area.050] Local=\\\\nas\\fs: a network path, which this machine cannot reach",
      cfg + "1 more areas on the drive D: are not found for the same reason"};
  EXPECT_EQ(library_.problems, problems);

  // A cfg away from the simulator's folder finds none of the stock areas.
  write("away/scenery.cfg", "[Area.001]\nLocal=Scenery\\World\nLayer=1\n");
  layers(at("away/scenery.cfg"));
  EXPECT_EQ(library_.problems, (Lines{at("away/scenery.cfg") +
                                      ": none of the 1 areas with a relative Local folder is "
                                      "found under " +
                                      at("away") + " (give the simulator's folder)"}));

  write("other.cfg", "just=text\n");
  EXPECT_TRUE(layers(at("other.cfg")).empty());
  EXPECT_EQ(status_, kNotALibrary);
  EXPECT_EQ(error_, at("other.cfg") + ": no [Area.NNN] section; not a scenery.cfg");
  layers(at("absent.cfg"));
  EXPECT_EQ(status_, 2);
  EXPECT_NE(error_.find("absent.cfg: cannot be read"), std::string::npos) << error_;
}

TEST_F(LibraryReadersTest, AddOnComponentsByLayerThenWithout) {
  write("Add-ons/Zulu/add-on.xml",
        "\xEF\xBB\xBF<SimBase.Document><AddOn.Name>Zulu</AddOn.Name>"
        "<AddOn.Component><Category>Scenery</Category><Path>world</Path></AddOn.Component>"
        "<AddOn.Component><Category>Texture</Category><Path>texture</Path></AddOn.Component>"
        "<AddOn.Component><Category>scenery</Category><Path>Z</Path><Name>Z low</Name>"
        "<Layer>5</Layer></AddOn.Component></SimBase.Document>");
  write("Add-ons/Zulu/World/Scenery/w.bgl");
  write("Add-ons/Zulu/z/z2.bgl");
  write("Add-ons/Zulu/z/z1.bgl");
  write("Add-ons/alpha/ADD-ON.XML",
        "<SimBase.Document><AddOn.Component><Category>Scenery</Category><Path>a</Path>"
        "<Name>A high</Name><Layer>50</Layer></AddOn.Component><AddOn.Component>"
        "<Category>Scenery</Category><Path>gone</Path><Name>Gone</Name><Layer>x</Layer>"
        "</AddOn.Component><AddOn.Component><Category>Scenery</Category><Name>No path</Name>"
        "</AddOn.Component></SimBase.Document>");
  write("Add-ons/alpha/a/scenery/a.bgl");
  write("Add-ons/broken/add-on.xml",
        "<SimBase.Document><AddOn.Component><Category>Scenery</Category><Path>b</Path>"
        "<Layer>1</Layer></AddOn.Component><AddOn.Component><Category>Scenery</Category>"
        "<Path>c</Path><Lay");
  write("Add-ons/broken/b/b.bgl");
  write("Add-ons/no package/readme.txt", "");
  EXPECT_EQ(layers(at("Add-ons")),
            (Lines{"1 broken: b.bgl", "5 Z low: z1.bgl z2.bgl", "50 A high: scenery/a.bgl",
                   "51 Gone [missing]:", "52 Zulu: Scenery/w.bgl"}));
  EXPECT_EQ(library_.kind, "add-ons");
  const Lines problems = {
      at("Add-ons/alpha/ADD-ON.XML") +
          ": component 2: Layer x is not a number; it loads after the components with a layer",
      at("Add-ons/alpha/ADD-ON.XML") +
          ": component 3: a Scenery component without a Path; "
          "passed over",
      at("Add-ons/broken/add-on.xml") +
          ": damaged at byte 174 (an unclosed start tag <Lay>); the components complete before "
          "it are read"};
  EXPECT_EQ(library_.problems, problems);
  // One package named directly.
  EXPECT_EQ(layers(at("Add-ons/Zulu")), (Lines{"5 Z low: z1.bgl z2.bgl", "6 Zulu: Scenery/w.bgl"}));
}

TEST_F(LibraryReadersTest, AddOnsCfgPackagesAndDiscoveryPaths) {
  const auto package = [&](const std::string& folder, const std::string& name, int layer) {
    write(folder + "/add-on.xml",
          "<SimBase.Document><AddOn.Component><Category>Scenery</Category><Path>s</Path><Name>" +
              name + "</Name>" + (layer > 0 ? "<Layer>" + std::to_string(layer) + "</Layer>" : "") +
              "</AddOn.Component></SimBase.Document>");
    write(folder + "/s/" + name + ".bgl");
  };
  package("E/Pkg One", "one", 7);
  package("Disc/p2", "two", 3);
  package("Disc/p3", "three", 0);
  package("Off/p4", "four", 1);
  write("cfg/add-ons.cfg",
        "[DiscoveryPath.0]\r\nPATH=" + at("Disc") +
            "\r\nACTIVE=true\r\n[Package.0]\r\nPATH=E:\\pkg one\r\nACTIVE=TRUE\r\n"
            "[Package.1]\r\nPATH=" +
            at("Disc/p3") +
            "\r\nACTIVE=false\r\n[Package.2]\r\nPATH=E:\\Gone\r\n[DiscoveryPath.1]\r\n"
            "PATH=" +
            at("Off") + "\r\nACTIVE=false\r\n");
  const LibraryOptions options{{{'E', at("E")}}, "", "", ""};
  EXPECT_EQ(layers(at("cfg/add-ons.cfg"), options),
            (Lines{"3 two: two.bgl", "7 one: one.bgl", "8 three [inactive]:"}));
  EXPECT_EQ(status_, 0);
  EXPECT_EQ(library_.kind, "add-ons");
  EXPECT_EQ(library_.problems,
            (Lines{at("cfg/add-ons.cfg") + ": [Package.2] (line 10): PATH=E:\\Gone: the folder is "
                                           "not there"}));
  // Under another name it is still found by its sections.
  write("cfg/mine.cfg", "[Package.0]\nPATH=" + at("Disc/p2") + "\n");
  EXPECT_EQ(layers(at("cfg/mine.cfg")), (Lines{"3 two: two.bgl"}));
}

TEST_F(LibraryReadersTest, MsfsPackagesInLoadOrder) {
  const std::string layout =
      "{\"content\": [{\"path\": \"scenery/B.bgl\", \"size\": 3}, {\"path\": "
      "\"ContentInfo/x.jpg\"}, {\"path\": \"Scenery/a.BGL\"}, {\"path\": \"scenery/gone.bgl\"}, "
      "{\"path\": \"../beta/b.bgl\"}]}";
  write("Community/zeta-airport/layout.json", layout);
  write("Community/zeta-airport/scenery/a.bgl");
  write("Community/zeta-airport/scenery/b.bgl");
  write("Community/zeta-airport/scenery/unlisted.bgl");
  write("Community/Alpha-nav/manifest.json", "{}");  // no layout.json: files by name
  write("Community/Alpha-nav/s/y.bgl");
  write("Community/Alpha-nav/s/X.bgl");
  write("Community/beta/layout.json", "{\"content\": [{\"path\": \"b.bgl\"}, {\"size\": 1}, ");
  write("Community/beta/b.bgl");
  write("Community/stray/nested/layout.json", "{\"content\": [{\"path\": \"n.bgl\"}]}");
  write("Official/OneStore/fs-base-nav/layout.json", "{\"content\": [{\"path\": \"n.bgl\"}]}");
  write("Official/OneStore/fs-base-nav/n.bgl");
  write("Official/OneStore/asobo-airport-kxyz/layout.json", "{\"content\": []}");
  EXPECT_EQ(layers(at("Community"), {{}, "", at("Official"), ""}),
            (Lines{"1 fs-base-nav (base): n.bgl", "2 asobo-airport-kxyz (official):",
                   "3 Alpha-nav (community): s/X.bgl s/y.bgl", "4 beta (community): b.bgl",
                   "5 zeta-airport (community): scenery/B.bgl Scenery/a.BGL !scenery/gone.bgl "
                   "!../beta/b.bgl"}));
  EXPECT_EQ(library_.kind, "msfs");
  const Lines problems = {
      at("Community/stray") + ": no layout.json or manifest.json; not a package, passed over",
      at("Community/Alpha-nav") + ": no layout.json; its BGL files are taken in name order",
      at("Community/beta/layout.json") +
          ": damaged at byte 45 (a value is missing); the files listed before it are read",
      at("Community/beta/layout.json") +
          ": 1 entries of \"content\" without a \"path\"; passed over"};
  EXPECT_EQ(library_.problems, problems);

  // Content.xml: its order and its inactive packages first, the packages it does not name after.
  write("Content.xml",
        "<?xml version=\"1.0\"?><Content><Package name=\"zeta-airport\" active=\"false\"/>"
        "<Package name=\"not-here\"/><Package name=\"BETA\" active=\"true\"/>"
        "<Package name=\"fs-base-nav\"/></Content>");
  EXPECT_EQ(layers(at("Community"), {{}, "", at("Official"), at("Content.xml")}),
            (Lines{"1 zeta-airport (community) [inactive]:", "2 beta (community): b.bgl",
                   "3 fs-base-nav (base): n.bgl", "4 asobo-airport-kxyz (official):",
                   "5 Alpha-nav (community): s/X.bgl s/y.bgl"}));
  // One package named directly, and the folder above Community and Official, are libraries too.
  EXPECT_EQ(layers(at("Community/beta")), (Lines{"1 beta (community): b.bgl"}));
  EXPECT_EQ(layers(dir_.string()).size(), 5u);
  write("Content2.xml", "<Content><Package name=\"beta\"/><Package name=");
  layers(at("Community"), {{}, "", "", at("Content2.xml")});
  EXPECT_EQ(library_.layers.at(0).title, "beta");
  EXPECT_EQ(library_.problems.at(1),
            at("Content2.xml") +
                ": damaged at byte 45 (attribute name without quotes); the packages named before "
                "it keep its order");
}

TEST_F(LibraryReadersTest, NothingToRead) {
  write("empty/readme.txt", "");
  EXPECT_TRUE(layers(at("empty")).empty());
  EXPECT_EQ(status_, kNotALibrary);
  EXPECT_EQ(error_, at("empty") +
                        ": neither a scenery.cfg nor a folder of Prepar3D add-on packages or "
                        "MSFS packages");
  layers(at("nowhere"));
  EXPECT_EQ(status_, 2);
}

}  // namespace
}  // namespace terrova::library
