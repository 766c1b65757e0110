// The numbers of a plan: whole tenths of a metre rounded half away from zero, written without a
// branch on their length, and the path steps that chain the segments of a path group.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "plan/svg_canvas.h"

namespace terrova::plan {
namespace {

std::string integer_text(int64_t value) {
  char room[kNumberRoom];
  return std::string(room, put_integer(room, value));
}

TEST(PlanNumbers, IntegersOfEveryLength) {
  const std::pair<int64_t, const char*> cases[] = {
      {0,          "0"         },
      {7,          "7"         },
      {-7,         "-7"        },
      {10,         "10"        },
      {99,         "99"        },
      {100,        "100"       },
      {-905,       "-905"      },
      {1000,       "1000"      },
      {9999,       "9999"      },
      {10000,      "10000"     },
      {-99999,     "-99999"    },
      {100000,     "100000"    },
      {4000000000, "4000000000"},
      {-1234567,   "-1234567"  }
  };
  for (const auto& [value, text] : cases) EXPECT_EQ(integer_text(value), text) << value;
}

TEST(PlanNumbers, TenthsRoundHalfAwayFromZeroAndStayBounded) {
  EXPECT_EQ(to_tenths(1.25), 13);
  EXPECT_EQ(to_tenths(-1.25), -13);
  EXPECT_EQ(to_tenths(0.04), 0);
  EXPECT_EQ(to_tenths(-0.04), 0);
  EXPECT_EQ(to_tenths(1e12), 2000000000);
  EXPECT_EQ(to_tenths(-std::numeric_limits<double>::infinity()), -2000000000);
  EXPECT_EQ(to_tenths(std::numeric_limits<double>::quiet_NaN()), 0);
}

TEST(PlanNumbers, SegmentsChainWhereTheyMeet) {
  char room[8 * kStepRoom];
  SegmentText text{room, {}};
  text.add({0, 0}, {10, -5});
  text.add({10, -5}, {10, 20});    // goes on from the pen
  text.add({-3, 4}, {100000, 4});  // starts anew, relative to the pen
  EXPECT_EQ(std::string(room, text.p), "M0,0l10,-5l0,25m-13,-16l100003,0");
}

}  // namespace
}  // namespace terrova::plan
