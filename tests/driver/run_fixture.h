// A whole run of the program in-process: a fresh folder of the test's own, the run with its
// console kept, and the files it leaves read back.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "driver/run.h"

namespace terrova::testkit {

class InProcessRun : public ::testing::Test {
 protected:
  // Makes the empty folder "<prefix><test name>" in the temporary folder.
  void make_folder(const std::string& prefix) {
    dir_ = std::filesystem::temp_directory_path() /
           (prefix + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

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
};

}  // namespace terrova::testkit
