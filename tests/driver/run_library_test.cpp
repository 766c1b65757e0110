// Library runs from the command line: the switches of -L, the run guard of the whole library, and
// a library folder that leaves nothing but the index behind.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "run_fixture.h"
#include "sample_sections.h"

namespace terrova {
namespace {

namespace fs = std::filesystem;

class RunLibraryTest : public testkit::InProcessRun {
 protected:
  void SetUp() override {
    platform::clear_cancel();
    make_folder("terrova_run_library_");
    fs::create_directories(dir_ / "library" / "area" / "scenery");
    testkit::write_file(path("library/area/scenery/a.bgl"), testkit::sample_bgl(1));
    testkit::write_file(path("library/area/scenery/B.BGL"), testkit::sample_bgl(2));
    const std::string cfg = "[Area.001]\r\nTitle=Area\r\nLocal=area\r\nLayer=1\r\nActive=TRUE\r\n";
    testkit::write_file(path("library/scenery.cfg"), std::vector<uint8_t>(cfg.begin(), cfg.end()));
  }

  std::vector<std::string> files_in(const std::string& folder) const {
    std::vector<std::string> names;
    for (const auto& entry : fs::recursive_directory_iterator(path(folder))) {
      names.push_back(fs::relative(entry.path(), dir_).generic_string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }
};

TEST_F(RunLibraryTest, TheIndexIsTheOnlyFileWritten) {
  ASSERT_EQ(run_with({"-L", "-j2", path("library"), path("library.sqlite")}), 0) << console_;
  EXPECT_NE(console_.find("Index saved as " + path("library.sqlite")), std::string::npos);
  EXPECT_NE(console_.find("Airports defined more than once:"), std::string::npos) << console_;
  EXPECT_EQ(files_in("library"),
            (std::vector<std::string>{"library/area", "library/area/scenery",
                                      "library/area/scenery/B.BGL", "library/area/scenery/a.bgl",
                                      "library/scenery.cfg"}));
  EXPECT_TRUE(fs::exists(path("library.sqlite")));
  EXPECT_FALSE(fs::exists(path("library.sqlite.tmp")));
}

TEST_F(RunLibraryTest, DriveMappingMustNameADriveAndAFolder) {
  EXPECT_EQ(run_with({"-L", "-D", "/mnt/d", path("library"), path("library.sqlite")}), 2);
  EXPECT_NE(console_.find("Error: -D wants a drive and a folder: D=FOLDER, not /mnt/d"),
            std::string::npos)
      << console_;
  EXPECT_FALSE(fs::exists(path("library.sqlite")));
}

TEST_F(RunLibraryTest, AnotherRunKeepsTheLibraryRunOut) {
  platform::RunGuard other;
  ASSERT_EQ(platform::acquire_folder_run_guard(other), 0);
  EXPECT_EQ(run_with({"-L", path("library"), path("library.sqlite")}), 183);
  platform::release_folder_run_guard(other);
  EXPECT_FALSE(fs::exists(path("library.sqlite")));
}

}  // namespace
}  // namespace terrova
