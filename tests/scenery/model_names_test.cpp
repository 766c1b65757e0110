// Model file names: every name is a plain file name of the output folder, the same in the
// document and on disk, and UTF-8 on disk.
#include <gtest/gtest.h>

#include "scenery/scenery_sections.h"

namespace terrova {
namespace {

TEST(ModelNames, ForbiddenCharactersBecomeUnderscores) {
  EXPECT_EQ(safe_model_name("..\\x"), ".._x");
  EXPECT_EQ(safe_model_name("a/b"), "a_b");
  EXPECT_EQ(safe_model_name("con:"), "con_");
  EXPECT_EQ(safe_model_name("*?\"<>|"), "______");
  EXPECT_EQ(safe_model_name("tab\there\x1F"), "tab_here_");
  EXPECT_EQ(safe_model_name("."), "_");
  EXPECT_EQ(safe_model_name(".."), "_");
  EXPECT_EQ(safe_model_name("..."), "...");
  EXPECT_EQ(safe_model_name("Hangar A.v2"), "Hangar A.v2");
}

TEST(ModelNames, DeviceNamesOfWindowsAreKeptOffTheDevice) {
  EXPECT_EQ(safe_model_name("CON"), "_CON");
  EXPECT_EQ(safe_model_name("nul.big"), "_nul.big");
  EXPECT_EQ(safe_model_name("Com7"), "_Com7");
  EXPECT_EQ(safe_model_name("lpt1"), "_lpt1");
  EXPECT_EQ(safe_model_name("COM0"), "COM0");
  EXPECT_EQ(safe_model_name("CONSOLE"), "CONSOLE");
}

TEST(ModelNames, FileNamesAreUtf8) {
  EXPECT_EQ(model_file_name("abc"), "abc.mdl");
  EXPECT_EQ(model_file_name("Caf\xE9"), "Caf\xC3\xA9.mdl");
  EXPECT_EQ(model_file_name("\x80\x81\x9F\xFF"), "\xE2\x82\xAC\xC2\x81\xC5\xB8\xC3\xBF.mdl");
}

TEST(ModelNames, NamesTableOrGuidText) {
  StringTable names(true, 1);
  table_add(names, "00000000000000000000000000000001", 0, "Tower");
  table_add(names, "00000000000000000000000000000002", 0, "");
  EXPECT_EQ(model_name(&names, "00000000000000000000000000000001"), "Tower");
  EXPECT_EQ(model_name(&names, "00000000000000000000000000000002"),
            "00000000000000000000000000000002");
  EXPECT_EQ(model_name(&names, "00000000000000000000000000000003"),
            "00000000000000000000000000000003");
  EXPECT_EQ(model_name(nullptr, "00000000000000000000000000000001"),
            "00000000000000000000000000000001");
}

}  // namespace
}  // namespace terrova
