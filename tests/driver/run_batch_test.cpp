// Whole runs with a folder as input: the run guard held for the whole folder, the documents equal
// to those of single runs, and the status of the program.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <vector>

#include "bgl_builder.h"
#include "driver/batch.h"
#include "driver/run.h"
#include "platform/platform.h"
#include "run_fixture.h"
#include "sample_sections.h"

namespace terrova {
namespace {

namespace fs = std::filesystem;

class RunBatchTest : public testkit::InProcessRun {
 protected:
  void SetUp() override {
    platform::clear_cancel();
    make_folder("terrova_run_batch_");
    fs::create_directories(dir_ / "in" / "sub");
    testkit::write_file(path("in/a.bgl"), testkit::sample_bgl(1));
    testkit::write_file(path("in/sub/B.BGL"), testkit::sample_bgl(2));
    testkit::write_file(path("in/sub/other.bgl"), std::vector<uint8_t>(100, 7));
    testkit::write_file(path("in/notes.txt"), {'n'});
  }

  // The document without its time-stamp line.
  static std::string without_time_stamp(const std::string& document) {
    const size_t first = document.find('\n');
    return document.substr(0, first + 1) + document.substr(document.find('\n', first + 1) + 1);
  }
};

TEST_F(RunBatchTest, AFolderGivesTheDocumentsOfSingleRuns) {
  EXPECT_EQ(run_with({"-t", path("in/a.bgl"), path("single_a.xml")}), 0);
  EXPECT_EQ(run_with({"-t", path("in/sub/B.BGL"), path("single_b.xml")}), 0);
  const std::string without_jobs = console_;
  // -j with a single file changes nothing.
  EXPECT_EQ(run_with({"-t", "-j", "2", path("in/sub/B.BGL"), path("single_b.xml")}), 0);
  EXPECT_EQ(console_, without_jobs);

  EXPECT_EQ(run_with({"-tj2", path("in"), path("out")}), 0);
  EXPECT_EQ(console_.substr(0, console_.find(", 2 at once\n")),
            "Terrova version 2.1 / WIN32\nDecoding 3 BGL files in " + path("in"))
      << console_;
  EXPECT_NE(console_.find("Decoded: 2 of 3 files, "), std::string::npos) << console_;
  EXPECT_EQ(without_time_stamp(read(path("out/a.xml"))),
            without_time_stamp(read(path("single_a.xml"))));
  EXPECT_EQ(without_time_stamp(read(path("out/sub/B.xml"))),
            without_time_stamp(read(path("single_b.xml"))));
  EXPECT_TRUE(fs::exists(path("out/sub/9e3779b94b8e1c2a3412009fab907856.mdl")));
  EXPECT_FALSE(fs::exists(path("out/sub/other.xml")));
}

TEST_F(RunBatchTest, PlansFollowTheirDocuments) {
  EXPECT_EQ(run_with({path("in/a.bgl"), path("plain.xml")}), 0);
  EXPECT_FALSE(fs::exists(path("plain.LAAA.svg")));  // no plans without -p
  EXPECT_EQ(run_with({"-p", path("in/sub/B.BGL"), path("single_b.xml")}), 0);
  EXPECT_NE(console_.find("Writing plan single_b.LAAA.svg...\n"), std::string::npos) << console_;
  EXPECT_EQ(run_with({"-pj2", path("in"), path("out")}), 0);
  EXPECT_EQ(console_.find("Writing plan"), std::string::npos) << console_;
  EXPECT_EQ(read(path("out/sub/B.LAAA.svg")), read(path("single_b.LAAA.svg")));
  EXPECT_TRUE(fs::exists(path("out/a.LDAA.svg")));
  EXPECT_FALSE(fs::exists(path("out/sub/other.LAAA.svg")));
}

TEST_F(RunBatchTest, TheFolderRunHoldsTheGuardOnce) {
  // Another run holds the guard: the folder run is refused before any file, as a single run is.
  platform::RunGuard other;
  ASSERT_EQ(platform::acquire_folder_run_guard(other), 0);
  EXPECT_EQ(run_with({path("in")}), 183);
  EXPECT_EQ(console_,
            "Terrova version 2.1 / WIN32\nFile mapping failed, object already exists\n"
            ", file: " +
                path("in") + "\n(unknown error)\nError code: 183\n");
  EXPECT_FALSE(fs::exists(path("in/a.xml")));
  // A folder run's guard keeps a single run out too.
  EXPECT_EQ(run_with({path("in/a.bgl")}), 183);
  platform::release_folder_run_guard(other);

  // Its own files do not take the guard again.
  EXPECT_EQ(run_with({path("in")}), 0) << console_;
  EXPECT_TRUE(fs::exists(path("in/a.xml")));
  EXPECT_TRUE(fs::exists(path("in/sub/B.xml")));
}

TEST_F(RunBatchTest, TheProgramEndsWithTheFirstFailuresStatus) {
  const std::string console = path("console.txt");
  const std::string ok =
      std::string(TERROVA_BINARY) + " \"" + path("in") + "\" > \"" + console + "\"";
  EXPECT_EQ(std::system(ok.c_str()), 0) << read(console);
  // The progress goes to a file here: plain lines, never a carriage return.
  EXPECT_EQ(read(console).find('\r'), std::string::npos);

  testkit::write_file(path("in/sub/empty.bgl"), {});
  int status = std::system(ok.c_str());
#ifndef _WIN32
  status = (status >> 8) & 0xFF;  // the exit status inside the wait status
#endif
  EXPECT_EQ(status, 5);
  EXPECT_NE(read(console).find("Failed: 1\n  sub" + std::string(1, platform::kPathSeparator) +
                               "empty.bgl\n    " + path("in/sub/empty.bgl") +
                               " is 0 bytes in size. Nothing to decode\n"),
            std::string::npos)
      << read(console);
}

// The lines of the unread-bytes report in a console text, by kind, with their record counts.
std::map<std::string, long> unread_counts(const std::string& console) {
  std::map<std::string, long> counts;
  std::istringstream lines(console);
  std::string line;
  while (std::getline(lines, line)) {
    const size_t colon = line.find(": ");
    if (line.rfind("0x", 0) != 0 || line.find("; never read: +") == std::string::npos) continue;
    counts[line.substr(0, colon)] = std::atol(line.c_str() + colon + 2);
  }
  return counts;
}

TEST_F(RunBatchTest, TheUnreadReportComesBeforeDoneAndAddsUpOverAFolder) {
  std::map<std::string, long> singles;
  for (const char* name : {"in/a.bgl", "in/sub/B.BGL"}) {
    EXPECT_EQ(run_with({"-u", path(name), path("single.xml")}), 0);
    const size_t report = console_.find("Unread bytes, by record kind");
    ASSERT_NE(report, std::string::npos) << console_;
    EXPECT_LT(report, console_.find("Done!"));
    for (const auto& [kind, count] : unread_counts(console_)) singles[kind] += count;
  }
  EXPECT_FALSE(singles.empty());
  // The report changes nothing in the document.
  const std::string with_report = without_time_stamp(read(path("single.xml")));
  EXPECT_EQ(run_with({path("in/sub/B.BGL"), path("single.xml")}), 0);
  EXPECT_EQ(without_time_stamp(read(path("single.xml"))), with_report);
  EXPECT_EQ(run_with({"-uj2", path("in"), path("out")}), 0);
  EXPECT_LT(console_.find("Unread bytes, by record kind"), console_.find("Time: "));
  EXPECT_EQ(unread_counts(console_), singles) << console_;
  // Without the switch there is no report.
  EXPECT_EQ(run_with({path("in"), path("out")}), 0);
  EXPECT_EQ(console_.find("Unread bytes"), std::string::npos);
}

}  // namespace
}  // namespace terrova
