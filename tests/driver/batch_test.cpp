// Folder runs in-process: the documents equal those of single decodes whatever the number of jobs,
// non-BGL files are left alone, failures are summed up in file order, and Ctrl-C leaves no
// document cut short. These runs hold no run guard, so they may run beside the whole-run tests.
#include "driver/batch.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "bgl_builder.h"
#include "driver/decode_file.h"
#include "driver/model_files.h"
#include "golden.h"
#include "platform/platform.h"
#include "sample_sections.h"
#include "scenery/object_names.h"

namespace terrova {
namespace {

namespace fs = std::filesystem;

std::string read(const fs::path& p) {
  std::ifstream f(p, std::ios::binary);
  std::stringstream s;
  s << f.rdbuf();
  return s.str();
}

// The document without its time-stamp line, the only line that differs between two decodes.
std::string without_time_stamp(const std::string& document) {
  const size_t first = document.find('\n');
  const size_t second = document.find('\n', first + 1);
  EXPECT_NE(document.find("decoded by terrova on"), std::string::npos);
  return document.substr(0, first + 1) + document.substr(second + 1);
}

// Every file under `root`, as relative paths with '/'.
std::set<std::string> files_under(const fs::path& root) {
  std::set<std::string> names;
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    if (entry.is_regular_file()) names.insert(fs::relative(entry.path(), root).generic_string());
  }
  return names;
}

// The names among `names` that end in `extension`.
std::set<std::string> with_extension(const std::set<std::string>& names,
                                     const std::string& extension) {
  std::set<std::string> kept;
  for (const std::string& name : names) {
    if (name.ends_with(extension)) kept.insert(name);
  }
  return kept;
}

class BatchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::clear_cancel();
    dir_ = testkit::private_temp_path(
        "terrova_batch_" +
        std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(dir_);
    fs::create_directories(dir_ / "in");
  }
  void TearDown() override {
    platform::clear_cancel();
    fs::remove_all(dir_);
  }

  fs::path in() const { return dir_ / "in"; }

  void put(const std::string& relative, const std::vector<uint8_t>& bytes) {
    const fs::path p = in() / relative;
    fs::create_directories(p.parent_path());
    ASSERT_TRUE(testkit::write_file(p.string(), bytes));
  }

  // Facility files of several sizes in nested folders, one with an upper-case extension, one
  // BGL file of another kind and two files that are not BGL files at all.
  void make_scenery_folder() {
    put("a.bgl", testkit::sample_bgl(1));
    put("sub/b.BGL", testkit::sample_bgl(2));
    put("sub/deeper/c.bgl", testkit::sample_bgl(3));
    put("sub/deeper/d.Bgl", testkit::sample_bgl(1));
    put("z.bgl", testkit::sample_bgl(4));
    put("terrain.bgl", std::vector<uint8_t>(64, 0x11));  // not facility data
    put("readme.txt", {'h', 'i'});
    put("sub/c.bgl.bak", testkit::sample_bgl(1));
  }

  BatchResult run(BatchRequest request) {
    request.input_folder = in().string();
    request.take_run_guard = false;
    console_.clear();
    Console console(&console_);
    return run_batch(request, console);
  }

  fs::path dir_;
  std::string console_;
};

TEST(BatchNames, OnlyBglNamesInAnyCase) {
  EXPECT_TRUE(is_bgl_name("a.bgl"));
  EXPECT_TRUE(is_bgl_name("dir/A.BGL"));
  EXPECT_TRUE(is_bgl_name(".bGl"));
  EXPECT_FALSE(is_bgl_name("bgl"));
  EXPECT_FALSE(is_bgl_name("a.bgl.bak"));
  EXPECT_FALSE(is_bgl_name("a_bgl"));
  EXPECT_FALSE(is_bgl_name("a.bgx"));
  EXPECT_FALSE(is_bgl_name(""));
}

TEST_F(BatchTest, DocumentsEqualSingleDecodesWhateverTheNumberOfJobs) {
  make_scenery_folder();
  const std::vector<std::string> inputs = {"a.bgl", "sub/b.BGL", "sub/deeper/c.bgl",
                                           "sub/deeper/d.Bgl", "z.bgl"};
  DecodeOptions options;
  options.feet = true;
  options.degrees_minutes = true;
  // One model of the sample files has a name, the others keep their GUID text.
  StringTable names = make_object_name_table();
  parse_object_names("Tower_Model {9E3779B9-1C2A-4B8E-9F00-1234567890AB}\n", names);

  // The reference: each file decoded on its own, as a single run does, with its model files
  // beside its document.
  const fs::path reference = dir_ / "reference";
  for (const std::string& name : inputs) {
    DecodeRequest single;
    single.input_name = (in() / name).string();
    single.output_name = (reference / name).replace_extension(".xml").string();
    single.options = options;
    single.object_names = &names;
    single.take_run_guard = false;
    fs::create_directories(fs::path(single.output_name).parent_path());
    std::string messages;
    Console console(&messages);
    ModelFiles models{console, fs::path(single.output_name).parent_path().string() + "/"};
    ExtraFileSink sink = models.sink();
    single.extra_files = &sink;
    ASSERT_EQ(decode_file(single, console).status, 0) << messages;
  }
  const std::set<std::string> expected = files_under(reference);
  ASSERT_EQ(with_extension(expected, ".xml").size(), 5u);
  ASSERT_TRUE(expected.count("sub/deeper/Tower_Model.mdl")) << testing::PrintToString(expected);

  for (unsigned jobs : {1u, 4u}) {
    SCOPED_TRACE(jobs);
    const fs::path out = dir_ / ("out" + std::to_string(jobs));
    BatchRequest request;
    request.output_folder = out.string();
    request.options = options;
    request.object_names = &names;
    request.jobs = jobs;
    const BatchResult result = run(request);
    EXPECT_EQ(result.status, 0) << console_;
    EXPECT_EQ(result.files, 6u);
    EXPECT_EQ(result.decoded, 5u);
    EXPECT_EQ(result.skipped, 1u);
    EXPECT_EQ(result.failed, 0u);
    EXPECT_EQ(files_under(out), expected);
    for (const std::string& name : expected) {
      if (name.ends_with(".xml")) {
        EXPECT_EQ(without_time_stamp(read(out / name)), without_time_stamp(read(reference / name)))
            << name;
      } else {
        EXPECT_EQ(read(out / name), read(reference / name)) << name;
      }
    }
    EXPECT_NE(console_.find("Decoded: 5 of 6 files, "), std::string::npos) << console_;
    EXPECT_NE(console_.find("\nSkipped (not facility data): 1\nFailed: 0\nTime: "),
              std::string::npos)
        << console_;
    // No file's own messages reach the console of a folder run.
    EXPECT_EQ(console_.find("Analyzing"), std::string::npos);
    EXPECT_EQ(console_.find("Writing model"), std::string::npos);
    EXPECT_EQ(console_.find("not a valid"), std::string::npos);
  }
}

TEST_F(BatchTest, DocumentsGoBesideTheirInputsWithoutAnOutputFolder) {
  make_scenery_folder();
  const BatchResult result = run(BatchRequest{});
  EXPECT_EQ(result.status, 0) << console_;
  const std::set<std::string> files = files_under(in());
  EXPECT_EQ(with_extension(files, ".xml"),
            (std::set<std::string>{"a.xml", "sub/b.xml", "sub/deeper/c.xml", "sub/deeper/d.xml",
                                   "z.xml"}));
  EXPECT_TRUE(files.count("sub/deeper/9e3779b94b8e1c2a3412009fab907856.mdl"));
  EXPECT_TRUE(files.count("readme.txt"));
  EXPECT_EQ(console_.substr(0, 24), "Decoding 6 BGL files in ");
}

TEST_F(BatchTest, AnEmptyFolderIsNoFailure) {
  const BatchResult result = run(BatchRequest{});
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.files, 0u);
  EXPECT_NE(console_.find("Decoded: 0 of 0 files, 0.0 MB\n"), std::string::npos) << console_;
}

TEST_F(BatchTest, FailuresAreListedAndTheFirstInFileOrderGivesTheStatus) {
  put("a.bgl", testkit::sample_bgl(1));
  put("b_empty.bgl", {});                        // status 5, as a single run
  put("c/blocked.bgl", testkit::sample_bgl(1));  // its output folder is taken by a file
  put("d.bgl", std::vector<uint8_t>(8, 0));      // not facility data: skipped
  const fs::path out = dir_ / "out";
  fs::create_directories(out);
  std::ofstream(out / "c") << "a file where a folder should be";

  for (unsigned jobs : {1u, 3u}) {
    BatchRequest request;
    request.output_folder = out.string();
    request.jobs = jobs;
    const BatchResult result = run(request);
    EXPECT_EQ(result.status, 5) << console_;
    EXPECT_EQ(result.decoded, 1u);
    EXPECT_EQ(result.skipped, 1u);
    EXPECT_EQ(result.failed, 2u);
    const std::string empty_input = (in() / "b_empty.bgl").string();
    const std::string folder = (out / "c").string();
    EXPECT_NE(console_.find("Failed: 2\n"
                            "  b_empty.bgl\n"
                            "    " +
                            empty_input +
                            " is 0 bytes in size. Nothing to decode\n"
                            "  c/blocked.bgl\n"
                            "    Can't create folder " +
                            folder + "\n    ("),
              std::string::npos)
        << console_;
    EXPECT_TRUE(fs::exists(out / "a.xml"));
  }

  // Without the empty file, the folder failure comes first.
  fs::remove(in() / "b_empty.bgl");
  BatchRequest request;
  request.output_folder = out.string();
  EXPECT_EQ(run(request).status, 2);
}

TEST_F(BatchTest, TwoInputsWithOneDocumentNameNeverReplaceOneAnother) {
  put("a.BGL", testkit::sample_bgl(1));
  put("a.bgl", testkit::sample_bgl(2));
  DecodeRequest single;
  single.input_name = (in() / "a.BGL").string();
  single.output_name = (dir_ / "reference.xml").string();
  single.take_run_guard = false;
  std::string messages;
  Console console(&messages);
  ASSERT_EQ(decode_file(single, console).status, 0);
  const std::string reference = without_time_stamp(read(dir_ / "reference.xml"));
  for (unsigned jobs : {1u, 2u}) {
    BatchRequest request;
    request.jobs = jobs;
    const BatchResult result = run(request);
    EXPECT_EQ(result.status, 2);
    EXPECT_EQ(result.decoded, 1u);
    EXPECT_EQ(result.failed, 1u);
    // "a.BGL" comes first in byte order and keeps its document.
    EXPECT_NE(console_.find("  a.bgl\n    Error: output file " + (in() / "a.xml").string() +
                            " is also the output of " + (in() / "a.BGL").string() + "\n"),
              std::string::npos)
        << console_;
    EXPECT_EQ(without_time_stamp(read(in() / "a.xml")), reference);
  }
}

TEST_F(BatchTest, AnOutputFolderThatCannotBeMadeEndsTheRunBeforeAnyFile) {
  put("a.bgl", testkit::sample_bgl(1));
  std::ofstream(dir_ / "taken") << "x";
  BatchRequest request;
  request.output_folder = (dir_ / "taken").string();
  const BatchResult result = run(request);
  EXPECT_EQ(result.status, 2);
  EXPECT_EQ(console_.substr(0, 11 + request.output_folder.size()),
            "Can't open " + request.output_folder);
  EXPECT_EQ(result.decoded, 0u);
}

TEST_F(BatchTest, AFolderThatCannotBeListedIsReported) {
  BatchRequest request;
  request.input_folder = (dir_ / "missing").string();
  request.take_run_guard = false;
  Console console(&console_);
  const BatchResult result = run_batch(request, console);
  EXPECT_EQ(result.status, 2);  // ENOENT
  EXPECT_EQ(console_, "Can't open " + request.input_folder +
                          "\n(No such file or directory)\nError code: 2\n");
}

TEST_F(BatchTest, LinksToFoldersAreNotFollowed) {
  put("a.bgl", testkit::sample_bgl(1));
  fs::create_directory_symlink(in(), in() / "loop");
  fs::create_symlink(in() / "a.bgl", in() / "linked.bgl");
  std::vector<std::string> files;
  std::string failed;
  ASSERT_EQ(platform::list_files(in().string().c_str(), files, failed), 0);
  std::sort(files.begin(), files.end());
  EXPECT_EQ(files, (std::vector<std::string>{"a.bgl", "linked.bgl"}));
}

TEST_F(BatchTest, ProgressInPlaceEndsItsLineBeforeTheSummary) {
  put("a.bgl", testkit::sample_bgl(1));
  put("b.bgl", testkit::sample_bgl(1));
  BatchRequest request;
  request.progress_in_place = true;
  run(request);
  EXPECT_NE(console_.find("\r2 of 2 files, "), std::string::npos) << console_;
  EXPECT_NE(console_.find(" files/s   \nDecoded: 2 of 2 files"), std::string::npos) << console_;
}

// Ctrl-C: the cancel request set through the test hook, as the signal handler sets it.
TEST_F(BatchTest, CtrlCBeforeTheFirstFileDecodesNothing) {
  make_scenery_folder();
  platform::request_cancel();
  BatchRequest request;
  request.output_folder = (dir_ / "out").string();
  const BatchResult result = run(request);
  EXPECT_EQ(result.status, kInterruptedStatus);
  EXPECT_EQ(result.not_done, 6u);
  EXPECT_TRUE(files_under(dir_ / "out").empty());
  EXPECT_NE(console_.find("Interrupted: 6 files not decoded\n"), std::string::npos) << console_;
}

TEST_F(BatchTest, CtrlCStopsTheTakingOfFiles) {
  make_scenery_folder();
  BatchRequest request;
  request.output_folder = (dir_ / "out").string();
  request.jobs = 1;
  request.after_file = [](void*, size_t finished) {
    if (finished == 2) platform::request_cancel();
  };
  const BatchResult result = run(request);
  EXPECT_EQ(result.status, kInterruptedStatus);
  EXPECT_EQ(result.decoded, 2u);
  EXPECT_EQ(result.not_done, 4u);
  // The documents and models of the first two files in order; nothing else, and no temporary
  // file, is left.
  const std::set<std::string> files = files_under(dir_ / "out");
  EXPECT_EQ(with_extension(files, ".xml"), (std::set<std::string>{"a.xml", "sub/b.xml"}));
  EXPECT_EQ(with_extension(files, ".mdl").size() + 2, files.size());
}

TEST_F(BatchTest, CtrlCDuringADecodeDiscardsItsDocument) {
  put("a.bgl", testkit::sample_bgl(40));
  const std::string output = (dir_ / "a.xml").string();
  std::ofstream(output) << "an earlier document";
  DecodeRequest request;
  request.input_name = (in() / "a.bgl").string();
  request.output_name = output;
  request.take_run_guard = false;
  std::string messages;
  Console console(&messages);
  platform::request_cancel();  // comes while the document is being written
  const DecodeResult result = decode_file(request, console);
  EXPECT_EQ(result.status, 2);
  EXPECT_NE(messages.find("Can't write " + output), std::string::npos) << messages;
  EXPECT_EQ(read(output), "an earlier document");
  EXPECT_EQ(files_under(dir_), (std::set<std::string>{"a.xml", "in/a.bgl"}));
}

}  // namespace
}  // namespace terrova
