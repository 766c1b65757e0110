// The unread-bytes report: a layout whose decoder skips fields is reported, with the values of
// what it skipped; fully read records, children's bytes and records left out are not.
#include "bgl/coverage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <string>
#include <tuple>
#include <vector>

#include "bgl/record.h"

namespace terrova {
namespace {

// Two 0x11 records whose decoder reads +6 only; a 0x33 parent holding a 0x22 child; a 0x44
// record that is dumped.
const unsigned char kFile[] = {
    0x11, 0, 20, 0, 0, 0, 7, 0, 1, 0, 0, 0, 0x2A, 0, 0, 0, 0, 0, 0, 0,  // +8 1, +12 0x2A
    0x11, 0, 20, 0, 0, 0, 8, 0, 2, 0, 0, 0, 0x2A, 0, 0, 0, 0, 0, 0, 0,  // +8 2, +12 0x2A
    0x33, 0, 14, 0, 0, 0,                                               // parent header
    0x22, 0, 8,  0, 0, 0, 5, 9,                                         // child, +6 u16
    0x44, 0, 8,  0, 0, 0, 3, 3,                                         // dumped
};

std::vector<std::string> report_lines(bool child_reads_its_field, int files) {
  UnreadReport total;
  for (int file = 0; file < files; ++file) {
    const Image plain(kFile, sizeof kFile);
    Coverage coverage(plain);
    const Image image = plain.with_coverage(&coverage);
    std::string document;
    Output out(drain_to_string, &document, false);
    SharedTables tables;
    DecodeContext ctx(image, DecodeOptions{}, out, tables);
    RecordWalk walk(ctx, image, 0);
    Record r;
    while (walk.next(r)) {
      if (r.id() == 0x11) {
        r.name_kind("Thing");
        r.u16(6);
      } else if (r.id() == 0x33) {
        r.name_kind("Parent");
        RecordWalk children(ctx, r, 6);
        Record child;
        while (children.next(child)) {
          child.name_kind("Child");
          if (child_reads_its_field) child.u16(6);
        }
      } else {
        r.bytes(0, r.size());
        r.leave_out_of_report();
      }
    }
    UnreadReport one;
    coverage.add_to(one);
    total.merge(one);
  }
  return total.lines();
}

TEST(UnreadReport, SkippedFieldsAreListedAndReadRecordsAreNot) {
  struct Case {
    bool child_reads;
    int files;
    std::vector<std::string> lines;
  };
  const Case cases[] = {
      {true,
       1, {"0x11 Thing: 2 records; never read: +8..+11 (varies), +12..+15 (always 0x0000002A), "
        "+16..+19 (always 0)"}                                      },
 // The child's skipped field is its own, never its parent's.
      {false,
       1, {"0x11 Thing: 2 records; never read: +8..+11 (varies), +12..+15 (always 0x0000002A), "
        "+16..+19 (always 0)",
        "0x22 Child: 1 record; never read: +6..+7 (varies)"}        },
 // Files add up; a value met twice is constant.
      {false,
       2, {"0x11 Thing: 4 records; never read: +8..+11 (varies), +12..+15 (always 0x0000002A), "
        "+16..+19 (always 0)",
        "0x22 Child: 2 records; never read: +6..+7 (always 0x0905)"}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(report_lines(c.child_reads, c.files), c.lines) << c.child_reads << c.files;
  }
}

TEST(UnreadReport, ListFieldsFoldAndShorterRecordsSaySo) {
  // A record of 8 bytes and one of 40 with a list of four 8-byte entries; the decoder reads +0..+5
  // and the first half of each entry. The second halves are zero.
  UnreadReport report;
  std::vector<uint8_t> values(40, 0x5A), read(40, 1), own(40, 1);
  read[6] = read[7] = 0;
  values[6] = values[7] = 0;
  for (size_t entry = 8; entry < 40; entry += 8) {
    for (size_t i = entry + 4; i < entry + 8; ++i) read[i] = values[i] = 0;
  }
  report.add_record({0x50, "Listed"}, values.data(), read.data(), own.data(), 8);
  report.add_record({0x50, "Listed"}, values.data(), read.data(), own.data(), 40);
  EXPECT_EQ(report.lines(), std::vector<std::string>{"0x50 Listed: 2 records; never read: +6..+7 "
                                                     "(always 0), +12..+15 (always 0, in 1 of 2) "
                                                     "every 8 bytes, 4 times"});
}

TEST(UnreadReport, OneRecordShowsTheConstantsOfItsListEntries) {
  // One record of four 12-byte entries after +8 whose unread words are 00 00 30 00 and the entry's
  // offset; then a record whose unread +8..+19 hold different bytes: one range of data.
  std::vector<uint8_t> listed(56, 0x11), listed_read(56, 1), data(20), data_read(20, 1);
  for (uint8_t entry = 8; entry < 56; entry += 12) {
    const uint8_t fields[8] = {0, 0, 0x30, 0, entry, 0, 0, 0};
    std::copy_n(fields, 8, listed.begin() + entry + 4);
    std::fill_n(listed_read.begin() + entry + 4, 8, uint8_t{0});
  }
  std::iota(data.begin(), data.end(), uint8_t{1});
  std::fill_n(data_read.begin() + 8, 12, uint8_t{0});
  for (const auto& [values, read, line] : {
           std::tuple{&listed, &listed_read,
                      "+12..+15 (always 0x00300000) every 12 bytes, 4 times, +16..+19 (varies) "
                      "every 12 bytes, 4 times"                },
           std::tuple{&data,   &data_read,   "+8..+19 (varies)"},
  }) {
    UnreadReport report;
    const std::vector<uint8_t> own(values->size(), 1);
    report.add_record({0x60, "Listed"}, values->data(), read->data(), own.data(),
                      static_cast<uint32_t>(values->size()));
    EXPECT_EQ(report.lines(),
              std::vector<std::string>{std::string("0x60 Listed: 1 record; never read: ") + line});
  }
}

}  // namespace
}  // namespace terrova
