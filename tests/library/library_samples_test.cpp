// The libraries of real add-on packages in ../shared/library-samples (skipped when absent): the
// layers in load order and the files of each as the simulators find them.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "library/library.h"
#include "library/library_paths.h"

namespace terrova::library {
namespace {

namespace fs = std::filesystem;

const std::string kSamples = TERROVA_LIBRARY_SAMPLES_DIR;

#define SKIP_WITHOUT(path) \
  if (!fs::exists(path)) GTEST_SKIP() << "no " << (path)

Library read(const std::string& library, const LibraryOptions& options = {}) {
  Library out;
  std::string error;
  EXPECT_EQ(read_library(library, options, out, error), 0) << error;
  return out;
}

std::vector<std::string> relatives(const Layer& layer) {
  std::vector<std::string> names;
  for (const LibraryFile& f : layer.files) names.push_back(f.relative);
  return names;
}

TEST(LibrarySamples, MsfsPackagesByName) {
  const std::string community = kSamples + "/msfs/Community";
  SKIP_WITHOUT(community);
  const Library lib = read(community);
  EXPECT_EQ(lib.kind, "msfs");
  std::vector<std::string> titles;
  for (const Layer& l : lib.layers) {
    titles.push_back(l.title);
    EXPECT_EQ(l.origin, "community");
    EXPECT_EQ(l.layer, static_cast<int64_t>(titles.size()));
  }
  EXPECT_EQ(titles, (std::vector<std::string>{
                        "azgharie-airport-azga-supreme-leader-airport",
                        "azgharie-airport-azga-supreme-leader-airport-navigation",
                        "billtt-zbad-beijing-daxing", "gravity-airport-edds-stuttgart",
                        "ifsd-airport-os73-al-al", "tabletopandroid-airport-klal-lakeland"}));
  ASSERT_EQ(lib.layers.size(), 6u);
  // The airport, then its navigation package, which loads after it.
  EXPECT_EQ(relatives(lib.layers[0]),
            (std::vector<std::string>{"scenery/azgharie/AZGA.bgl", "scenery/azgharie/shape.bgl"}));
  EXPECT_EQ(lib.layers[0].missing, (std::vector<std::string>{"scenery/azgharie/modelLib.BGL"}));
  EXPECT_EQ(relatives(lib.layers[1]), (std::vector<std::string>{"Scenery/azgharie/NAV-AZGA.bgl"}));
  // layout.json order, not name order.
  EXPECT_EQ(relatives(lib.layers[2]),
            (std::vector<std::string>{
                "scenery/global/scenery/billtt-zbad-beijing-daxing-modelLib.BGL",
                "scenery/world/scenery/zbad-airport.bgl", "scenery/world/scenery/ZBAD.bgl"}));
  EXPECT_EQ(lib.layers[3].missing, (std::vector<std::string>{"scenery/world/EDDSobjects.BGL"}));
  EXPECT_EQ(relatives(lib.layers[4]), (std::vector<std::string>{"scenery/ifsd/OS73.bgl"}));
  EXPECT_TRUE(lib.problems.empty()) << lib.problems[0];
}

TEST(LibrarySamples, Prepar3dComponentsByLayer) {
  const std::string addons = kSamples + "/p3d/Prepar3D v5 Add-ons";
  SKIP_WITHOUT(addons);
  const Library lib = read(addons);
  EXPECT_EQ(lib.kind, "add-ons");
  ASSERT_EQ(lib.layers.size(), 3u);
  EXPECT_EQ(lib.layers[0].title, "LEAB Arrestors");
  EXPECT_EQ(lib.layers[0].layer, 148);
  EXPECT_EQ(relatives(lib.layers[0]), (std::vector<std::string>{"LEAB_XML_Wire_b.BGL"}));
  EXPECT_EQ(lib.layers[1].title, "LEAB_elevation");
  EXPECT_EQ(lib.layers[1].layer, 161);
  EXPECT_EQ(relatives(lib.layers[1]),
            (std::vector<std::string>{"scenery/LEAB_ADEP5_ARV187_ALT.bgl"}));
  const Layer& scenery = lib.layers[2];
  EXPECT_EQ(scenery.title, "LEAB Scenery");
  EXPECT_EQ(scenery.layer, 162);
  EXPECT_EQ(last_part(scenery.folder), "scenery");
  const std::vector<std::string> files = relatives(scenery);
  EXPECT_EQ(files.size(), 22u);
  EXPECT_TRUE(std::is_sorted(files.begin(), files.end(), name_less));
  const auto position = [&](const char* name) {
    return std::find(files.begin(), files.end(), name) - files.begin();
  };
  EXPECT_LT(position("LEAB_ADEP4_ARV187.bgl"), position("LEAB_ADEP5_ARV187.bgl"));
  EXPECT_LT(position("LEAB_ADEP5_ARV187.bgl"), position("San Javier.bgl"));
  EXPECT_LT(position("San Javier.bgl"), static_cast<ptrdiff_t>(files.size()));
  EXPECT_TRUE(lib.problems.empty()) << lib.problems[0];
}

TEST(LibrarySamples, FsxAreasThroughTheDriveMapping) {
  const std::string cfg = kSamples + "/fsx/scenery.cfg";
  SKIP_WITHOUT(cfg);
  // D:\FSX\Addon Scenery\... lands in fsx/Addon Scenery/... (the folder names match ignoring
  // case).
  const Library lib = read(cfg, {{{'D', kSamples}}, "", "", ""});
  EXPECT_EQ(lib.kind, "scenery.cfg");
  EXPECT_TRUE(lib.problems.empty()) << lib.problems[0];
  ASSERT_EQ(lib.layers.size(), 7u);
  for (size_t i = 0; i < 3; ++i) {
    EXPECT_TRUE(lib.layers[i].folder_missing) << lib.layers[i].title;
    EXPECT_TRUE(lib.layers[i].files.empty());
  }
  EXPECT_EQ(lib.layers[3].title, "Addon Scenery");
  EXPECT_FALSE(lib.layers[3].folder_missing);
  const Layer& lkaa = lib.layers[4];
  EXPECT_EQ(lkaa.layer, 105);
  EXPECT_EQ(lkaa.files.size(), 9u);
  EXPECT_EQ(lkaa.files.at(0).relative, "scenery/lkcv.BGL");
  const Layer& edst = lib.layers[5];
  EXPECT_EQ(edst.title, "EDST Hahnweide");
  EXPECT_FALSE(edst.folder_missing);
  EXPECT_TRUE(fs::equivalent(edst.folder, kSamples + "/fsx/Addon Scenery/EDST_Hahnweide"));
  const std::vector<std::string> edst_files = relatives(edst);
  EXPECT_NE(std::find(edst_files.begin(), edst_files.end(), "Scenery/EDST_Hahnweide_Objects.BGL"),
            edst_files.end());
  // The inactive area names the same folder: listed, its files not read.
  const Layer& off = lib.layers[6];
  EXPECT_EQ(off.layer, 107);
  EXPECT_FALSE(off.active);
  EXPECT_FALSE(off.folder_missing);
  EXPECT_TRUE(fs::equivalent(off.folder, edst.folder));
  EXPECT_TRUE(off.files.empty());

  // Without the mapping the area is missing and the problem says why.
  const Library unmapped = read(cfg);
  EXPECT_TRUE(unmapped.layers.at(5).folder_missing);
  ASSERT_EQ(unmapped.problems.size(), 1u);
  EXPECT_NE(unmapped.problems[0].find("[Area.106] Local=D:\\FSX\\Addon Scenery\\EDST_Hahnweide: "
                                      "the drive D: has no folder on this machine"),
            std::string::npos)
      << unmapped.problems[0];
}

}  // namespace
}  // namespace terrova::library
