// Whole runs of the program: console messages, exit statuses and the files a run leaves.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "bgl_builder.h"
#include "driver/document.h"
#include "driver/run.h"
#include "platform/platform.h"
#include "run_fixture.h"
#include "sample_sections.h"
#include "xml_check.h"

namespace terrova {
namespace {

namespace fs = std::filesystem;

class RunTest : public testkit::InProcessRun {
 protected:
  void SetUp() override { make_folder("terrova_run_"); }
  void TearDown() override {
    platform::simulate_write_failure(0, 0);
    InProcessRun::TearDown();
  }

  // The names of the files in the test's folder, sorted.
  std::vector<std::string> files() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir_)) {
      names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }

  // What every run that reaches the document prints when there is no names file: the program
  // is started here by the bare name "terrova", so the file is looked for in the current folder.
  static std::string names_file_missing() {
    return "Can't open library objects.txt\n(No such file or directory)\nError code: 2\n";
  }

  std::string valid_bgl() {
    testkit::BglBuilder bgl;
    bgl.section(19).add(testkit::Bytes().begin(0x99).end(), 1);
    std::string p = path("in.bgl");
    testkit::write_file(p, bgl.build());
    return p;
  }

  static void write_text(const std::string& p, const std::string& text) {
    std::ofstream(p, std::ios::binary) << text;
  }
};

TEST_F(RunTest, NoArgumentsPrintsUsageAndHint) {
  EXPECT_EQ(run_with({}), 0);
  EXPECT_EQ(console_,
            "Terrova version 2.1 / WIN32\nUsage: terrova [-switches] infile.bgl [outfile.xml]\n"
            "Type terrova -? for help\n");
}

TEST_F(RunTest, HelpPrintsTheSwitches) {
  EXPECT_EQ(run_with({"-?"}), 0);
  EXPECT_EQ(console_.substr(0, 80),
            "Terrova version 2.1 / WIN32\nUsage: terrova [-switches] infile.bgl "
            "[outfile.xml]\n");
  EXPECT_NE(console_.find("\n       terrova [-switches] FOLDER [OUTFOLDER]\n"), std::string::npos);
  EXPECT_NE(console_.find("  -e<arg>  Center longitude of circle: E8:33, W122.5\n"),
            std::string::npos);
  EXPECT_EQ(run_with({"--version"}), 0);
  EXPECT_EQ(console_, "Terrova version 2.1 / WIN32\n");
}

TEST_F(RunTest, ParserErrorsEndWithStatusTwo) {
  EXPECT_EQ(run_with({"-x", "in.bgl"}), 2);
  EXPECT_EQ(console_,
            "Terrova version 2.1 / WIN32\n? -- unrecognized option x\n"
            "Usage: terrova [-switches] infile.bgl [outfile.xml]\nType terrova -? for help\n");
  EXPECT_EQ(run_with({"a", "b", "c"}), 2);
  EXPECT_FALSE(fs::exists("b"));
  EXPECT_EQ(run_with({"-rabc", "a"}), 2);
  EXPECT_EQ(run_with({"--"}), 2);
}

TEST_F(RunTest, MissingInputName) {
  EXPECT_EQ(run_with({"-t"}), 2);
  EXPECT_EQ(console_,
            "Terrova version 2.1 / WIN32\nError: missing an input file name\n"
            "Usage: terrova [-switches] infile.bgl [outfile.xml]\nType terrova -? for help\n");
}

TEST_F(RunTest, InputThatCannotBeOpened) {
  const std::string missing = path("missing.bgl");
  EXPECT_EQ(run_with({missing}), 2);  // ENOENT
  EXPECT_EQ(console_, "Terrova version 2.1 / WIN32\nCan't open " + missing +
                          "\n(No such file or directory)\nError code: 2\n");
  EXPECT_FALSE(fs::exists(path("missing.xml")));
}

TEST_F(RunTest, EmptyInput) {
  const std::string empty = path("empty.bgl");
  testkit::write_file(empty, {});
  EXPECT_EQ(run_with({empty}), 5);
  EXPECT_EQ(console_,
            "Terrova version 2.1 / WIN32\n" + empty + " is 0 bytes in size. Nothing to decode\n");
}

TEST_F(RunTest, HeaderTest) {
  std::vector<uint8_t> bytes(56, 0);
  bytes[0] = 1;
  bytes[16] = 0x03;
  bytes[17] = 0x18;
  bytes[18] = 0x05;
  bytes[19] = 0x08;
  const std::string ok = path("ok.bgl");
  testkit::write_file(ok, bytes);
  EXPECT_EQ(run_with({ok}), 0);
  EXPECT_TRUE(fs::exists(path("ok.xml")));

  std::vector<uint8_t> second = bytes;
  second[0] = 0;
  second[1] = 1;
  testkit::write_file(ok, second);
  EXPECT_EQ(run_with({ok}), 0);

  std::vector<uint8_t> short_file(bytes.begin(), bytes.end() - 1);
  const std::string bad = path("bad.bgl");
  testkit::write_file(bad, short_file);
  EXPECT_EQ(run_with({bad}), 1);
  EXPECT_EQ(
      console_,
      "Terrova version 2.1 / WIN32\nInput file: not a valid FS2004 or FSX facility data BGL!\n");
  EXPECT_FALSE(fs::exists(path("bad.xml")));

  std::vector<uint8_t> wrong_mark = bytes;
  wrong_mark[16] = 0;
  testkit::write_file(bad, wrong_mark);
  EXPECT_EQ(run_with({bad}), 1);
}

TEST_F(RunTest, DecodesIntoTheDerivedOutputName) {
  const std::string in = valid_bgl();
  EXPECT_EQ(run_with({in}), 0);
  const std::string out = path("in.xml");
  EXPECT_EQ(console_, "Terrova version 2.1 / WIN32\n" + names_file_missing() + "Analyzing " + in +
                          "...\nDone!\nOutput saved as " + out + "\n");
  std::string doc = read(out);
  EXPECT_EQ(testkit::xml_problem(doc), "");
  EXPECT_EQ(doc.substr(0, 29), "<!--\r\n\tdecoded by terrova on ");
  EXPECT_NE(
      doc.find("<FSData version=\"9.0\" xmlns:xsi='http://www.w3.org/2001/XMLSchema-instance'\r\n"
               " xsi:noNamespaceSchemaLocation=\"bglcomp.xsd\" >\r\n\r\n"),
      std::string::npos);
  EXPECT_EQ(doc.substr(doc.size() - 11), "</FSData>\r\n");
}

TEST_F(RunTest, ModelFilesLandBesideTheDocument) {
  testkit::Bytes models;
  models.u32(1).u32(2).u32(3).u32(4).u32(48).u32(3);
  models.u32(1).u32(2).u32(3).u32(4).u32(51).u32(2);  // the same GUID: the file is overwritten
  models.text("abcXY");
  testkit::BglBuilder bgl;
  bgl.section(43).add(models, 2);
  const std::string in = path("models.bgl");
  testkit::write_file(in, bgl.build());
  fs::create_directories(dir_ / "out");
  const std::string out = path("out/doc.xml");
  EXPECT_EQ(run_with({"-t", in, out}), 0);
  const std::string file = path("out/00000001000000020000000300000004.mdl");
  EXPECT_EQ(console_, "Terrova version 2.1 / WIN32\n" + names_file_missing() + "Analyzing " + in +
                          "...\nWriting model 00000001000000020000000300000004.mdl...\n"
                          "Writing model 00000001000000020000000300000004.mdl...\nDone!\n"
                          "Output saved as " +
                          out + "\n");
  EXPECT_EQ(read(file), "XY");
  EXPECT_NE(read(out).find("\t<ModelData sourceFile=\"00000001000000020000000300000004.mdl\" />"),
            std::string::npos);
}

TEST_F(RunTest, ExplicitOutputNameAndSwitchesInAnyOrder) {
  const std::string in = valid_bgl();
  const std::string out = path("chosen.xml");
  EXPECT_EQ(run_with({in, "-t", out}), 0);
  std::string doc = read(out);
  EXPECT_EQ(doc.find("Object type"), std::string::npos);
}

TEST_F(RunTest, OutputThatCannotBeOpened) {
  const std::string in = valid_bgl();
  const std::string out = path("no/such/dir/out.xml");
  EXPECT_EQ(run_with({in, out}), 2);
  EXPECT_EQ(console_, "Terrova version 2.1 / WIN32\nCan't open " + out +
                          "\n(No such file or directory)\nError code: 2\n");
}

TEST_F(RunTest, AFailedDocumentWriteIsNotReportedAsSuccess) {
  if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full here";
  const std::string in = valid_bgl();
  EXPECT_EQ(run_with({in, "/dev/full"}), 2);
  EXPECT_EQ(console_,
            "Terrova version 2.1 / WIN32\n" + names_file_missing() + "Analyzing " + in +
                "...\nCan't write /dev/full\n(No space left on device)\nError code: 28\n");
}

TEST_F(RunTest, OutputNamingTheInputIsRefusedAndTheInputKept) {
  const std::string in = valid_bgl();
  const std::string before = read(in);
  EXPECT_EQ(run_with({in, in}), 2);
  EXPECT_EQ(console_,
            "Terrova version 2.1 / WIN32\nError: output file " + in + " is the input file\n");
  EXPECT_EQ(read(in), before);

  // The same file through another spelling and through a link.
  const std::string other = (dir_ / "." / "in.bgl").string();
  EXPECT_EQ(run_with({in, other}), 2);
  fs::create_symlink(in, path("link.xml"));
  EXPECT_EQ(run_with({in, path("link.xml")}), 2);
  EXPECT_EQ(read(in), before);

  // An input named .xml whose derived output name is itself.
  const std::string xml = path("x.xml");
  fs::copy_file(in, xml);
  EXPECT_EQ(run_with({xml}), 2);
  EXPECT_EQ(read(xml), before);
}

TEST_F(RunTest, ASecondSimultaneousRunIsRefused) {
  const std::string in = valid_bgl();
  platform::InputFile holder;
  ASSERT_EQ(platform::open_input(in.c_str(), holder), 0);
  ASSERT_EQ(platform::acquire_run_guard(holder), 0);
  EXPECT_EQ(run_with({in}), 183);
  EXPECT_EQ(console_,
            "Terrova version 2.1 / WIN32\nFile mapping failed, object already exists\n"
            ", file: " +
                in + "\n(unknown error)\nError code: 183\n");
  EXPECT_FALSE(fs::exists(path("in.xml")));
  platform::release_input(holder);
  EXPECT_EQ(run_with({in}), 0);
}

TEST_F(RunTest, ARunBesideAnotherThatHoldsTheDefaultGuardGoesOn) {
  const std::string in = valid_bgl();
  // Another run of the machine holds the guard of the temporary folder that the tests were
  // started with (or one held it already).
  use_guard_folder(outer_tmpdir_.value_or("/tmp"));
  platform::RunGuard other;
  const int held = platform::acquire_folder_run_guard(other);
  ASSERT_TRUE(held == 0 || held == platform::kAlreadyExists) << held;
  use_guard_folder(guard_dir_);
  EXPECT_EQ(run_with({in}), 0) << console_;
  EXPECT_EQ(run_with({"-j2", dir_.string(), path("out")}), 0) << console_;
  platform::release_folder_run_guard(other);
}

TEST_F(RunTest, DamagedInputIsCountedOnTheConsole) {
  testkit::BglBuilder bgl;
  bgl.section(19).add(testkit::Bytes().begin(0x99).end(), 1);
  bgl.section_count_override = 2;
  const std::string in = path("damaged.bgl");
  testkit::write_file(in, bgl.build());
  EXPECT_EQ(run_with({in}), 0);
  EXPECT_NE(console_.find("Warning: 1 malformed structures skipped\nDone!\n"), std::string::npos);
  EXPECT_EQ(testkit::xml_problem(read(path("damaged.xml"))), "");
}

TEST_F(RunTest, WholeFilesAreWrittenOrTheFailureReported) {
  std::string messages;
  Console console(&messages);
  const std::string model = path("model.mdl");
  EXPECT_EQ(console.write_whole_file(model, "MDL\n", 4), 0);
  EXPECT_EQ(read(model), "MDL\n");
  EXPECT_EQ(messages, "");
  const std::string nowhere = path("no/dir/model.mdl");
  EXPECT_EQ(console.write_whole_file(nowhere, "x", 1), 2);
  EXPECT_EQ(messages, "Can't open " + nowhere + "\n(No such file or directory)\nError code: 2\n");
  messages.clear();
  if (fs::exists("/dev/full")) {
    EXPECT_EQ(console.write_whole_file("/dev/full", "x", 1), 28);  // ENOSPC
    EXPECT_EQ(messages, "Can't write /dev/full\n(No space left on device)\nError code: 28\n");
  }
}

TEST_F(RunTest, ADocumentCutShortLeavesNothingAndKeepsTheEarlierDocument) {
  const std::string in = valid_bgl();
  const std::string out = path("out.xml");
  const std::string failure = "Can't write " + out +
                              "\n(No space left on device)\nError code: " + std::to_string(ENOSPC) +
                              "\n";
  // No earlier document: nothing is left behind, not even the part that was written.
  platform::simulate_write_failure(100, ENOSPC);
  EXPECT_EQ(run_with({in, out}), 2);
  EXPECT_NE(console_.find(failure), std::string::npos) << console_;
  EXPECT_EQ(console_.find("Done!"), std::string::npos);
  EXPECT_EQ(files(), std::vector<std::string>{"in.bgl"});

  // An earlier document stays as it was, whether the write fails at once or half way.
  write_text(out, "earlier document");
  for (uint64_t written : {uint64_t{0}, uint64_t{100}}) {
    platform::simulate_write_failure(written, ENOSPC);
    EXPECT_EQ(run_with({in, out}), 2);
    EXPECT_NE(console_.find(failure), std::string::npos) << console_;
    EXPECT_EQ(read(out), "earlier document");
    EXPECT_EQ((files()), (std::vector<std::string>{"in.bgl", "out.xml"}));
  }

  // Once the writes succeed the earlier document is replaced, keeping its permissions.
  platform::simulate_write_failure(0, 0);
  fs::permissions(out, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  EXPECT_EQ(run_with({in, out}), 0);
  EXPECT_EQ(testkit::xml_problem(read(out)), "");
  EXPECT_EQ((files()), (std::vector<std::string>{"in.bgl", "out.xml"}));
  EXPECT_EQ(fs::status(out).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST_F(RunTest, OutputThroughALinkReplacesTheLinkedFile) {
  const std::string in = valid_bgl();
  fs::create_directories(dir_ / "real");
  const std::string target = path("real/doc.xml");
  write_text(target, "earlier");
  fs::create_symlink(target, path("link.xml"));
  EXPECT_EQ(run_with({in, path("link.xml")}), 0);
  EXPECT_TRUE(fs::is_symlink(path("link.xml")));
  EXPECT_EQ(testkit::xml_problem(read(target)), "");
}

TEST_F(RunTest, OutputThatIsAFolderCannotBeOpened) {
  const std::string in = valid_bgl();
  const std::string out = path("folder.xml");
  fs::create_directories(out);
  EXPECT_EQ(run_with({in, out}), 2);
  EXPECT_EQ(console_.rfind("Terrova version 2.1 / WIN32\nCan't open " + out + "\n(", 0), 0u)
      << console_;
  EXPECT_TRUE(fs::is_directory(out));
  EXPECT_EQ((files()), (std::vector<std::string>{"folder.xml", "in.bgl"}));
}

TEST_F(RunTest, AWholeFileCutShortKeepsTheEarlierFile) {
  std::string messages;
  Console console(&messages);
  const std::string model = path("model.mdl");
  write_text(model, "earlier model");
  platform::simulate_write_failure(3, ENOSPC);
  EXPECT_EQ(console.write_whole_file(model, "MDL new model", 13), ENOSPC);
  EXPECT_EQ(messages, "Can't write " + model + "\n(No space left on device)\nError code: " +
                          std::to_string(ENOSPC) + "\n");
  EXPECT_EQ(read(model), "earlier model");
  EXPECT_EQ(files(), std::vector<std::string>{"model.mdl"});
  platform::simulate_write_failure(0, 0);
  EXPECT_EQ(console.write_whole_file(model, "MDL new model", 13), 0);
  EXPECT_EQ(read(model), "MDL new model");
  EXPECT_EQ(files(), std::vector<std::string>{"model.mdl"});
}

TEST_F(RunTest, TheProgramItselfReturnsTheRunStatus) {
  const std::string in = valid_bgl();
  const std::string command =
      std::string(TERROVA_BINARY) + " -t \"" + in + "\" > \"" + path("console.txt") + "\"";
  EXPECT_EQ(std::system(command.c_str()), 0);
  EXPECT_TRUE(fs::exists(path("in.xml")));
  const std::string bad = std::string(TERROVA_BINARY) + " -x > \"" + path("console.txt") + "\"";
  int status = std::system(bad.c_str());
#ifndef _WIN32
  status = (status >> 8) & 0xFF;  // the exit status inside the wait status
#endif
  EXPECT_EQ(status, 2);
}

}  // namespace
}  // namespace terrova

namespace terrova {
namespace {

// Large inputs have their document written on a second thread while they decode: the document
// is the one an in-process decode gives, and a write that fails half way still leaves nothing
// behind.
TEST_F(RunTest, LargeDocumentsWrittenInTheBackgroundAreWholeOrAbsent) {
  const std::vector<uint8_t> file = testkit::sample_bgl(200);
  ASSERT_GE(file.size(), size_t{1} << 20);
  const std::string in = path("large.bgl");
  testkit::write_file(in, file);
  const std::string out = path("large.xml");

  platform::simulate_write_failure(3u << 20, ENOSPC);
  EXPECT_EQ(run_with({in, out}), 2);
  EXPECT_NE(console_.find("Can't write " + out), std::string::npos) << console_;
  // The sample's model files are written whole beside it; the document is not there at all.
  for (const std::string& name : files()) {
    EXPECT_TRUE(name == "large.bgl" || name.ends_with(".mdl")) << name;
  }

  platform::simulate_write_failure(0, 0);
  EXPECT_EQ(run_with({in, out}), 0);
  const std::string document = read(out);
  std::string expected;
  {
    Output sink(drain_to_string, &expected, true);
    SharedTables tables;
    write_document(Image(file.data(), static_cast<uint32_t>(file.size())), DecodeOptions{}, tables,
                   platform::LocalTime{2007, 3, 5, 9, 4, 1}, sink);
  }
  // The time stamp of the first lines differs; everything after it is the same.
  const size_t body = document.find("<FSData");
  ASSERT_NE(body, std::string::npos);
  EXPECT_EQ(document.substr(body), expected.substr(expected.find("<FSData")));
}

}  // namespace
}  // namespace terrova

namespace terrova {
namespace {

TEST_F(RunTest, CtrlCDuringASingleRunLeavesNoDocumentAndEndsAsInterrupted) {
  const std::string in = valid_bgl();
  const std::string out = path("out.xml");
  write_text(out, "earlier document");
  platform::request_cancel();  // what Ctrl-C does while the run writes
  const int status = run_with({in, out});
  platform::clear_cancel();
  EXPECT_EQ(status, 130);
  EXPECT_EQ(console_.find("Done!"), std::string::npos);
  EXPECT_EQ(read(out), "earlier document");
  EXPECT_EQ((files()), (std::vector<std::string>{"in.bgl", "out.xml"}));
}

}  // namespace
}  // namespace terrova
