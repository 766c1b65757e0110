// Where the run guard goes when TMPDIR cannot take it, and what a run says when it cannot be
// placed: the folder and the reason, never the input.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "driver/decode_file.h"
#include "golden.h"
#include "library_files.h"
#include "platform/platform.h"

namespace terrova {
namespace {

#ifndef _WIN32
class GuardFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (const char* tmpdir = std::getenv("TMPDIR")) saved_ = tmpdir;
    folder_ = testkit::private_temp_path("terrova_guard_");
    std::filesystem::create_directories(folder_);
  }
  void TearDown() override {
    if (saved_) {
      ::setenv("TMPDIR", saved_->c_str(), 1);
    } else {
      ::unsetenv("TMPDIR");
    }
    std::filesystem::remove_all(folder_);
  }
  std::optional<std::string> saved_;
  std::string folder_;
};

TEST_F(GuardFolderTest, TmpdirThatCannotTakeTheGuardGivesWayToTheSystemFolder) {
  ::setenv("TMPDIR", folder_.c_str(), 1);
  EXPECT_EQ(platform::run_guard_folder(), folder_);
  ::setenv("TMPDIR", (folder_ + "/no such folder").c_str(), 1);
  EXPECT_EQ(platform::run_guard_folder(), "/tmp");
  // A file where the folder should be.
  const std::string file = folder_ + "/a file";
  ASSERT_TRUE(testkit::write_library_file(folder_, "a file", {1}));
  ::setenv("TMPDIR", file.c_str(), 1);
  EXPECT_EQ(platform::run_guard_folder(), "/tmp");
}

TEST_F(GuardFolderTest, GuardFailureNamesTheFolderNotTheInput) {
  ::setenv("TMPDIR", folder_.c_str(), 1);
  std::string text;
  Console console(&text);
  report_run_guard_failure(console, "in.bgl", ENOENT);
  EXPECT_EQ(text, "Can't place the run guard in the temporary folder " + folder_ +
                      "\n(No such file or directory)\nError code: 2\n");
}
#endif

}  // namespace
}  // namespace terrova
