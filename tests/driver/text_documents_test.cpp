// File text with every byte value, in every kind of place where it reaches the document: the
// document stays well-formed UTF-8, and plain ASCII names stay as they were.
#include <gtest/gtest.h>

#include "golden.h"
#include "sample_sections.h"
#include "xml_check.h"

namespace terrova {
namespace {

using namespace testkit;

TEST(TextDocuments, EveryByteOfEveryNameGivesAWellFormedDocument) {
  const Decoded d = decode(text_sample_bgl());
  EXPECT_EQ(d.malformed, 0u);
  EXPECT_EQ(xml_problem(d.document), "");
  // The accented letter of a comment in UTF-8, and of a name as a character reference.
  EXPECT_NE(d.document.find("Center Seattle A\xC3\xBC"
                            "PROACH"),
            std::string::npos);
  EXPECT_NE(d.document.find("name=\"Z&#xFC;rich CLASS C\""), std::string::npos);
  expect_golden("driver/golden/every_byte.xml", d.document);
  const Decoded terse = decode(text_sample_bgl(), switches("t"));
  EXPECT_EQ(xml_problem(terse.document), "");
}

TEST(TextDocuments, TheSampleIsWellFormed) {
  const Decoded d = decode(sample_bgl());
  EXPECT_EQ(xml_problem(d.document), "");
}

}  // namespace
}  // namespace terrova
