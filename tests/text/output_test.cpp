// The output sink: printf-compatible number text, template filling and line ends.
#include "text/output.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <random>
#include <string>

#include "text/numbers.h"

namespace terrova {
namespace {

std::string fixed_text(double v, int precision) {
  char buffer[400];
  return std::string(buffer, write_fixed(buffer, v, precision));
}

std::string printf_text(double v, int precision) {
  char buffer[400];
  std::snprintf(buffer, sizeof buffer, "%.*f", precision, v);
  return buffer;
}

template <class... Args>
std::string formatted(FormatString<std::type_identity_t<Args>...> pattern, const Args&... args) {
  std::string s;
  Output out(drain_to_string, &s, false);
  out.format(pattern, args...);
  out.flush();
  return s;
}

TEST(FixedText, RoundsHalfToEvenOnTheExactBinaryValue) {
  EXPECT_EQ(fixed_text(5.625, 2), "5.62");  // exact tie, even neighbour
  EXPECT_EQ(fixed_text(5.635, 2), "5.63");  // 5.635 is stored a little below the tie
  EXPECT_EQ(fixed_text(0.125, 2), "0.12");
  EXPECT_EQ(fixed_text(0.375, 2), "0.38");
  EXPECT_EQ(fixed_text(2.5, 0), "2");
  EXPECT_EQ(fixed_text(3.5, 0), "4");
  EXPECT_EQ(fixed_text(1.0005, 3), "1.000");  // stored below the tie
}

TEST(FixedText, SignOfValuesThatRoundToZero) {
  EXPECT_EQ(fixed_text(-0.001, 2), "-0.00");
  EXPECT_EQ(fixed_text(-0.0, 2), "-0.00");
  EXPECT_EQ(fixed_text(0.0, 6), "0.000000");
  EXPECT_EQ(fixed_text(-122.309722, 6), "-122.309722");
}

TEST(FixedText, LargeAndNonFiniteValuesKeepAllTheirDigits) {
  EXPECT_EQ(fixed_text(1e30, 2), printf_text(1e30, 2));
  EXPECT_EQ(fixed_text(-3.4028234663852886e38, 3), printf_text(-3.4028234663852886e38, 3));
  EXPECT_EQ(fixed_text(NAN, 2), printf_text(NAN, 2));
  EXPECT_EQ(fixed_text(INFINITY, 2), "inf");
  EXPECT_EQ(fixed_text(-INFINITY, 2), "-inf");
  EXPECT_EQ(fixed_text(1e-300, 2), "0.00");
}

TEST(FixedText, AgreesWithPrintfOnRandomValues) {
  std::mt19937_64 random(20261207);
  std::uniform_real_distribution<double> magnitude(-12, 12);
  for (int i = 0; i < 200000; ++i) {
    double v = std::pow(10.0, magnitude(random)) * ((random() & 1) ? -1 : 1);
    int precision = static_cast<int>(random() % 7);
    // Values on or near a rounding boundary are the interesting ones.
    if (i % 3 == 0) v = std::round(v * 1000.0) / 1000.0 + 0.0005;
    if (i % 3 == 1) v = static_cast<float>(v);
    ASSERT_EQ(fixed_text(v, precision), printf_text(v, precision)) << v << " " << precision;
  }
}

TEST(Format, FillsTemplatesAsPrintfDoes) {
  EXPECT_EQ(formatted("a=%d b=%0.2d c=%0.8X d=%x", -5, 7, 0x1234u, 255u),
            "a=-5 b=07 c=00001234 d=ff");
  EXPECT_EQ(formatted("%0.4d-%0.2d", 2007, 3), "2007-03");
  EXPECT_EQ(formatted("%0.2lf|%.3lf|%.04lf|%lf", 1.005, 122.8, -0.00005, 1.0),
            "1.00|122.800|-0.0001|1.000000");
  EXPECT_EQ(formatted("%s and %s", "text", std::string("more")), "text and more");
  EXPECT_EQ(formatted("%c%%", 'x'), "x%");
  EXPECT_EQ(formatted("[%0.X]", 0u), "[]");  // precision 0 writes nothing for the value 0
  EXPECT_EQ(formatted("[%0.X]", 6u), "[6]");
}

TEST(Format, IntegersAgreeWithPrintfForEveryDigitCount) {
  std::mt19937_64 random(7);
  for (int i = 0; i < 20000; ++i) {
    // Every length from 1 to 10 digits, and the powers of ten around each.
    const uint32_t value = static_cast<uint32_t>(random() >> (random() % 64));
    char expected[64];
    std::snprintf(expected, sizeof expected, "%d|%u|%.3d|%.0u", static_cast<int32_t>(value), value,
                  static_cast<int32_t>(value % 1000), value % 3);
    ASSERT_EQ(formatted("%d|%u|%0.3d|%0.u", value, value, value % 1000, value % 3), expected);
  }
  for (uint32_t power = 1; power <= 1000000000u; power *= 10) {
    for (uint32_t value : {power - 1, power, power + 1}) {
      ASSERT_EQ(formatted("%u", value), std::to_string(value));
    }
  }
}

TEST(Format, ThirtyTwoBitValuesWithTheTopBitSetAreNegativeUnderPercentD) {
  EXPECT_EQ(formatted("%d", 0xFFFFFFFFu), "-1");
  EXPECT_EQ(formatted("%d", 0x80000000u), "-2147483648");
  EXPECT_EQ(formatted("%u", 0xFFFFFFFFu), "4294967295");
}

TEST(Output, DocumentSinkWritesCrLfForEveryLf) {
  std::string s;
  Output out(drain_to_string, &s, true);
  out.write("a\nb\r\n\n");
  out.flush();
  EXPECT_EQ(s, "a\r\nb\r\r\n\r\n");  // a lone CR passes unchanged
}

TEST(Output, LineFeedsAnywhereInTheBufferBecomeCrLf) {
  // Line feeds at every place of a word, next to each other, at the start and end, and in short
  // tails, through buffers of several sizes.
  std::mt19937 random(11);
  for (size_t capacity : {size_t{64}, size_t{100}, size_t{4096}}) {
    for (int round = 0; round < 200; ++round) {
      std::string text;
      const size_t length = random() % 300;
      for (size_t i = 0; i < length; ++i) text += (random() % 4 == 0) ? '\n' : char('a' + i % 26);
      std::string expected;
      for (char c : text) {
        if (c == '\n') expected += '\r';
        expected += c;
      }
      std::string s;
      Output out(drain_to_string, &s, true, capacity);
      out.write(text);
      out.flush();
      ASSERT_EQ(s, expected) << capacity << " " << round;
    }
  }
}

TEST(Output, LargeDocumentsCrossTheBufferBoundaryIntact) {
  std::string s;
  Output out(drain_to_string, &s, true);
  std::string line(1000, 'x');
  line += '\n';
  for (int i = 0; i < 3000; ++i) out.write(line);
  out.write(std::string(3 << 20, 'y'));  // one write larger than the buffer
  out.flush();
  ASSERT_EQ(s.size(), 3000u * 1002 + (3u << 20));
  EXPECT_EQ(s.substr(998, 6), "xx\r\nxx");
  EXPECT_EQ(out.written(), 3000u * 1001 + (3u << 20));
}

TEST(Output, KnowsWhetherALineIsOpen) {
  std::string s;
  Output out(drain_to_string, &s, true);
  EXPECT_TRUE(out.at_line_start());
  out.write("<a");
  EXPECT_FALSE(out.at_line_start());
  out.flush();
  EXPECT_FALSE(out.at_line_start());
  out.write(">\n");
  EXPECT_TRUE(out.at_line_start());
}

}  // namespace
}  // namespace terrova
