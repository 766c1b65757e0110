// A whole run of the program in-process: a fresh folder of the test's own, the run with its
// console kept, and the files it leaves read back.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "driver/run.h"

namespace terrova::testkit {

class InProcessRun : public ::testing::Test {
 protected:
  // Makes the empty folder "<prefix><test name>_<number>" in the temporary folder, a number
  // drawn for each test so that a run of the tests beside another one meets no folder of it.
  // The run guard goes into a folder of the test's own beside it (the guard's folder is the
  // temporary folder, TMPDIR): a run of the program elsewhere on the machine holds another guard.
  void make_folder(const std::string& prefix) {
    const char* tmpdir = std::getenv("TMPDIR");
    outer_tmpdir_ = tmpdir != nullptr ? std::optional<std::string>(tmpdir) : std::nullopt;
    dir_ = std::filesystem::temp_directory_path() /
           (prefix + ::testing::UnitTest::GetInstance()->current_test_info()->name() + "_" +
            std::to_string(std::random_device()()));
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
    guard_dir_ = dir_.string() + "_guard";
    std::filesystem::create_directories(guard_dir_);
    use_guard_folder(guard_dir_);
  }
  void TearDown() override {
    if (outer_tmpdir_) {
      use_guard_folder(*outer_tmpdir_);
    } else {
      ::unsetenv("TMPDIR");
    }
    std::filesystem::remove_all(dir_);
    std::filesystem::remove_all(guard_dir_);
  }
  static void use_guard_folder(const std::string& folder) { ::setenv("TMPDIR", folder.c_str(), 1); }

  std::string path(const std::string& name) const { return (dir_ / name).string(); }

  // Runs `terrova args...`, started by the bare name; the console text is in `console_`.
  int run_with(std::vector<std::string> args) {
    std::vector<const char*> argv{"terrova"};
    for (const std::string& a : args) argv.push_back(a.c_str());
    console_.clear();
    Console console(&console_);
    return run(static_cast<int>(argv.size()), argv.data(), console);
  }

  static std::string read(const std::string& p) {
    std::ifstream f(p, std::ios::binary);
    std::stringstream s;
    s << f.rdbuf();
    return s.str();
  }

  std::filesystem::path dir_;
  std::string console_;
  std::string guard_dir_;
  std::optional<std::string> outer_tmpdir_;  // TMPDIR as the test found it
};

}  // namespace terrova::testkit
