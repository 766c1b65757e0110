// Folder runs and the files they write besides documents: models of one name from several inputs
// of one output folder, model files that cannot be written, and files with nothing to decode.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "bgl_builder.h"
#include "driver/batch.h"
#include "driver/decode_file.h"
#include "driver/model_files.h"
#include "golden.h"
#include "scenery_records.h"

namespace terrova {
namespace {

namespace fs = std::filesystem;

// A BGL file of model data alone: one model per text, all under the builder's one GUID.
std::vector<uint8_t> models_file(const std::vector<std::string>& texts) {
  testkit::BglBuilder bgl;
  std::vector<testkit::Model> models;
  for (const std::string& text : texts) models.push_back({testkit::Guid{}, text});
  bgl.section(43).add(testkit::model_data(models), static_cast<uint32_t>(models.size()));
  return bgl.build();
}

constexpr const char* kGuid = "6d3b5f0e4b8e1c2a3412009fab907856";

class FolderModelsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = testkit::private_temp_path(
        "terrova_folder_models_" +
        std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(dir_);
    fs::create_directories(dir_ / "in");
  }
  void TearDown() override { fs::remove_all(dir_); }

  void put(const std::string& relative, const std::vector<uint8_t>& bytes) {
    fs::create_directories((dir_ / "in" / relative).parent_path());
    ASSERT_TRUE(testkit::write_file((dir_ / "in" / relative).string(), bytes));
  }
  BatchResult run(unsigned jobs) {
    BatchRequest request;
    request.input_folder = (dir_ / "in").string();
    request.output_folder = (dir_ / "out").string();
    request.take_run_guard = false;
    request.jobs = jobs;
    console_.clear();
    Console console(&console_);
    return run_batch(request, console);
  }
  std::string read(const std::string& relative) const {
    std::ifstream f(dir_ / "out" / relative, std::ios::binary);
    std::stringstream s;
    s << f.rdbuf();
    return s.str();
  }

  fs::path dir_;
  std::string console_;
};

TEST_F(FolderModelsTest, ModelsOfOneNameGetOneFileForEachContentInFileOrder) {
  const std::string g = kGuid;
  struct Case {
    const char* input;
    std::vector<std::string> models;
    std::string source_file;  // in the input's document
  };
  const Case cases[] = {
      {"a.bgl",     {"X"},      g + ".mdl"  },
      {"b.bgl",     {"X"},      g + ".mdl"  }, // the same bytes: the same file
      {"c.bgl",     {"Y"},      g + "_2.mdl"},
      {"d.bgl",     {"Q", "Y"}, g + "_2.mdl"}, // within a file the last of a name stays
      {"e.bgl",     {"Z"},      g + "_3.mdl"},
      {"sub/f.bgl", {"Z"},      g + ".mdl"  }, // another folder
  };
  for (const Case& c : cases) put(c.input, models_file(c.models));
  for (unsigned jobs : {1u, 4u}) {
    SCOPED_TRACE(jobs);
    fs::remove_all(dir_ / "out");
    const BatchResult result = run(jobs);
    EXPECT_EQ(result.status, 0) << console_;
    EXPECT_EQ(result.decoded, 6u);
    for (const Case& c : cases) {
      const std::string document = read(fs::path(c.input).replace_extension(".xml").string());
      EXPECT_NE(document.find("sourceFile=\"" + c.source_file + "\""), std::string::npos)
          << c.input << document;
    }
    EXPECT_EQ(read(g + ".mdl"), "X");
    EXPECT_EQ(read(g + "_2.mdl"), "Y");
    EXPECT_EQ(read(g + "_3.mdl"), "Z");
    EXPECT_EQ(read("sub/" + g + ".mdl"), "Z");
    EXPECT_FALSE(fs::exists(dir_ / "out" / (g + "_4.mdl")));
    EXPECT_NE(console_.find("c.bgl:\n  Writing model " + g + "_2.mdl..."), std::string::npos)
        << console_;
  }
}

TEST_F(FolderModelsTest, AFileRefusedBeforeItsDocumentHoldsNoLaterFileUp) {
  put("a.BGL", models_file({"X"}));
  put("a.bgl", models_file({"Q"}));  // the same document as a.BGL: refused
  put("b.bgl", models_file({"Y"}));
  for (unsigned jobs : {1u, 3u}) {
    fs::remove_all(dir_ / "out");
    const BatchResult result = run(jobs);
    EXPECT_EQ(result.failed, 1u);
    EXPECT_EQ(result.decoded, 2u);
    EXPECT_EQ(read(std::string(kGuid) + "_2.mdl"), "Y");
  }
}

TEST_F(FolderModelsTest, AModelFileThatCannotBeWrittenFailsItsInput) {
  put("a.bgl", models_file({"X"}));
  fs::create_directories(dir_ / "out" / (std::string(kGuid) + ".mdl"));  // a folder in its way
  const BatchResult result = run(2);
  EXPECT_EQ(result.status, 2);
  EXPECT_EQ(result.failed, 1u);
  EXPECT_NE(console_.find("Failed: 1\n  a.bgl\n    Can't open "), std::string::npos) << console_;

  // A single decode says so too, and keeps its whole document.
  DecodeRequest single;
  single.input_name = (dir_ / "in" / "a.bgl").string();
  single.output_name = (dir_ / "out" / "single.xml").string();
  single.take_run_guard = false;
  Console console(&console_);
  ModelFiles models{console, (dir_ / "out").string() + "/"};
  ExtraFileSink sink = models.sink();
  single.extra_files = &sink;
  const DecodeResult decoded = decode_file(single, console);
  EXPECT_EQ(decoded.status, 2);
  EXPECT_TRUE(decoded.document_written);
  EXPECT_TRUE(fs::exists(single.output_name));
}

TEST_F(FolderModelsTest, FilesWithoutADecodedSectionAreSkippedInFolderRuns) {
  testkit::BglBuilder terrain;
  terrain.section(0x65).add(testkit::Bytes().u32(7), 0);  // terrain vectors of the older tools
  put("terrain.bgl", terrain.build());
  put("no_sections.bgl", testkit::BglBuilder().build());
  put("models.bgl", models_file({"X"}));
  const BatchResult result = run(1);
  EXPECT_EQ(result.decoded, 1u);
  EXPECT_EQ(result.skipped, 2u);
  EXPECT_FALSE(fs::exists(dir_ / "out" / "terrain.xml"));
  EXPECT_FALSE(fs::exists(dir_ / "out" / "no_sections.xml"));

  // A single decode still writes the document of comments.
  DecodeRequest single;
  single.input_name = (dir_ / "in" / "terrain.bgl").string();
  single.output_name = (dir_ / "terrain.xml").string();
  single.take_run_guard = false;
  Console console(&console_);
  EXPECT_EQ(decode_file(single, console).status, 0);
  EXPECT_TRUE(fs::exists(single.output_name));
}

}  // namespace
}  // namespace terrova
