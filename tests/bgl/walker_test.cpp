// The section walker: order of sections, diagnostic comments, dispatch and damaged tables.
#include "bgl/walker.h"

#include <gtest/gtest.h>

#include <vector>

#include "bgl_builder.h"
#include "golden.h"

namespace terrova {
namespace {

using testkit::BglBuilder;
using testkit::Bytes;
using testkit::decode;
using testkit::expect_golden;
using testkit::switches;

Bytes records(size_t n) {
  Bytes b;
  for (size_t i = 0; i < n; ++i) b.begin(0x99).u32(static_cast<uint32_t>(i)).end();
  return b;
}

TEST(Walker, EmptyFileGivesHeadAndTail) {
  BglBuilder bgl;
  expect_golden("bgl/golden/empty.xml", decode(bgl.build()).document);
}

TEST(Walker, SectionsInDescendingTypeOrderWithTheirComments) {
  BglBuilder bgl;
  bgl.section(3).add(records(1), 1, 0x11);
  bgl.section(39).add(records(1), 1, 0x22);
  bgl.section(19, 7).add(records(2), 2, 0x33).add(records(1), 1, 0x34);
  bgl.section(100).add(records(1), 1);  // a type without a decoder still gets its comments
  bgl.section(32).add(records(1), 1);   // decoded whole: no subsection comments
  bgl.section(35);
  expect_golden("bgl/golden/order.xml", decode(bgl.build()).document);
  // With -t the walker writes nothing of its own.
  expect_golden("bgl/golden/order_terse.xml", decode(bgl.build(), switches("t")).document);
}

TEST(Walker, SubsectionTableAtTheEndOfTheFileGivesOnlyTheSectionComment) {
  BglBuilder bgl;
  bgl.section(19).add(records(1), 1);
  std::vector<uint8_t> file = bgl.build();
  const uint32_t size = static_cast<uint32_t>(file.size());
  std::memcpy(&file[56 + 12], &size, 4);
  testkit::Decoded d = decode(file);
  EXPECT_EQ(d.malformed, 0u);
  EXPECT_EQ(d.document.find("LatInfo"), std::string::npos);
  EXPECT_NE(d.document.find("Object type: 0x00000013"), std::string::npos);
}

TEST(Walker, TablesThatReachPastTheFileAreCutWithAWarning) {
  BglBuilder bgl;
  bgl.section(19).add(records(1), 1);
  bgl.section_count_override = 1000000;
  testkit::Decoded d = decode(bgl.build());
  EXPECT_GE(d.malformed, 1u);  // the entries read from the bytes after the table are damaged too
  expect_golden("bgl/golden/section_count_past_end.xml", d.document);

  // A subsection count that runs past the end of the file.
  BglBuilder sub;
  sub.section(19).add(records(1), 1);
  std::vector<uint8_t> file = sub.build();
  const uint32_t count = 0xFFFFFFFFu;
  std::memcpy(&file[56 + 8], &count, 4);
  testkit::Decoded e = decode(file);
  EXPECT_EQ(e.malformed, 1u);
  expect_golden("bgl/golden/subsection_count_past_end.xml", e.document);
}

// Dispatch is tested with a table of recording decoders.
std::vector<std::pair<uint32_t, SubsectionRun>> calls;
std::vector<uint32_t> whole_calls;

void record_run(DecodeContext&, const SubsectionRun& run) { calls.push_back({0, run}); }
void record_section(DecodeContext&, const SectionEntry& s) { whole_calls.push_back(s.type); }

TEST(Walker, DispatchesEachSubsectionToItsDecoder) {
  BglBuilder bgl;
  bgl.section(39).add(records(3), 3);  // a name list is always decoded as one record
  bgl.section(24).add(records(2), 2).add(records(1), 1);
  bgl.section(35).add(records(1), 1);
  bgl.section(7).add(records(1), 1);
  testkit::Layout layout;
  std::vector<uint8_t> file = bgl.build(&layout);

  const SectionKind kinds[] = {
      {24, record_run, nullptr,        false},
      {39, record_run, nullptr,        true },
      {35, nullptr,    record_section, false}
  };
  calls.clear();
  whole_calls.clear();
  std::string doc;
  Output out(drain_to_string, &doc, true);
  SharedTables tables;
  DecodeOptions options;
  DecodeContext ctx(Image(file.data(), static_cast<uint32_t>(file.size())), options, out, tables);
  walk_sections(ctx, kinds);

  ASSERT_EQ(calls.size(), 3u);
  EXPECT_EQ(calls[0].second.record_count, 1u);  // section 39 first
  EXPECT_EQ(calls[0].second.data_offset, layout.sections[0].data[0]);
  EXPECT_EQ(calls[0].second.data_size, records(3).size());
  EXPECT_EQ(calls[1].second.record_count, 2u);
  EXPECT_EQ(calls[1].second.data_offset, layout.sections[1].data[0]);
  EXPECT_EQ(calls[2].second.record_count, 1u);
  EXPECT_EQ(whole_calls, std::vector<uint32_t>{35});
}

}  // namespace
}  // namespace terrova
