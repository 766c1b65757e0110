// The driver's side of the scenery files: model files written beside the document and the
// names file read from the program's folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "driver/model_files.h"
#include "driver/names_file.h"
#include "golden.h"
#include "platform/platform.h"
#include "scenery/object_names.h"

namespace terrova {
namespace {

namespace fs = std::filesystem;

class SceneryFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = testkit::private_temp_path(
        "terrova_files_" +
        std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override {
    fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::add);
    fs::remove_all(dir_);
  }
  std::string folder() const { return dir_.string() + "/"; }
  static std::string read(const fs::path& p) {
    std::ifstream f(p, std::ios::binary);
    std::stringstream s;
    s << f.rdbuf();
    return s.str();
  }
  void write(const std::string& name, const std::string& text) {
    std::ofstream(dir_ / name, std::ios::binary) << text;
  }

  fs::path dir_;
  std::string console_;
};

TEST_F(SceneryFilesTest, ModelFilesLandInTheOutputFolderAndOverwrite) {
  Console console(&console_);
  ModelFiles models{console, folder()};
  ExtraFileSink sink = models.sink();
  EXPECT_EQ(sink.write(sink.context, "Tower.mdl", std::string_view("RIFF\0x", 6)), 0);
  EXPECT_EQ(read(dir_ / "Tower.mdl"), std::string("RIFF\0x", 6));
  EXPECT_EQ(sink.write(sink.context, "Tower.mdl", "second"), 0);
  EXPECT_EQ(read(dir_ / "Tower.mdl"), "second");
  EXPECT_EQ(sink.write(sink.context, "Empty.mdl", ""), 0);
  EXPECT_TRUE(fs::exists(dir_ / "Empty.mdl"));
  EXPECT_EQ(fs::file_size(dir_ / "Empty.mdl"), 0u);
  EXPECT_EQ(console_,
            "Writing model Tower.mdl...\nWriting model Tower.mdl...\nWriting model Empty.mdl...\n");
}

TEST_F(SceneryFilesTest, NamesThatCouldLeaveTheFolderAreRefused) {
  Console console(&console_);
  fs::create_directories(dir_ / "out");
  ModelFiles models{console, (dir_ / "out").string() + "/"};
  for (const char* name : {"../x.mdl", "..\\x.mdl", "a/b.mdl", "con:.mdl", "..", ""}) {
    console_.clear();
    EXPECT_NE(ModelFiles::write(&models, name, "x"), 0) << name;
    EXPECT_NE(console_.find("Can't open "), std::string::npos) << name;
  }
  EXPECT_TRUE(fs::is_empty(dir_ / "out"));
  EXPECT_FALSE(fs::exists(dir_ / "x.mdl"));
}

TEST_F(SceneryFilesTest, AnUnwritableFolderIsReportedAndTheNextModelStillWritten) {
  Console console(&console_);
  ModelFiles missing{console, folder() + "no such folder/"};
  EXPECT_NE(ModelFiles::write(&missing, "a.mdl", "x"), 0);
  EXPECT_EQ(console_.rfind(
                "Writing model a.mdl...\nCan't open " + folder() + "no such folder/a.mdl\n(", 0),
            0u)
      << console_;
  ModelFiles present{console, folder()};
  EXPECT_EQ(ModelFiles::write(&present, "b.mdl", "y"), 0);
  EXPECT_EQ(read(dir_ / "b.mdl"), "y");
}

TEST_F(SceneryFilesTest, NamesFileIsReadOrReported) {
  Console console(&console_);
  StringTable names = make_object_name_table();
  const std::string path = folder() + "library objects.txt";
  load_object_names(console, path, names);
  EXPECT_EQ(names.count(), 0);
  EXPECT_EQ(console_.rfind("Can't open " + path + "\n(", 0), 0u) << console_;
  EXPECT_NE(console_.find(")\nError code: "), std::string::npos);

  write("library objects.txt", "");
  console_.clear();
  load_object_names(console, path, names);
  EXPECT_EQ(console_, path + " is 0 bytes in size. Nothing to decode\n");

  write("library objects.txt", "Tower {6D3B5F0E-1C2A-4B8E-9F00-1234567890AB}\r\n");
  console_.clear();
  load_object_names(console, path, names);
  EXPECT_EQ(console_, "");
  ASSERT_EQ(names.count(), 1);
  EXPECT_EQ(names[0].name, "Tower");
}

}  // namespace
}  // namespace terrova
