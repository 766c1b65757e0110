// Output name derivation.
#include <gtest/gtest.h>

#include "driver/paths.h"

namespace terrova {
namespace {

TEST(Names, ReplaceExtension) {
  EXPECT_EQ(replace_extension("scenery\\airport.bgl", ".xml"), "scenery\\airport.xml");
  EXPECT_EQ(replace_extension("airport", ".xml"), "airport.xml");
  EXPECT_EQ(replace_extension("maps.old\\airport", ".xml"), "maps.xml");
}

TEST(Names, DirectoryOf) {
  EXPECT_EQ(directory_of("C:\\scenery\\out.xml"), "C:\\scenery\\");
  EXPECT_EQ(directory_of("scenery/out.xml"), "scenery/");
  EXPECT_EQ(directory_of("out.xml"), "");
  EXPECT_EQ(directory_of("/out.xml"), "");  // index 0 is never examined
  EXPECT_EQ(directory_of(""), "");
}

}  // namespace
}  // namespace terrova
