// Float-to-int conversions for every input a file may hold.
#include "platform/numeric.h"

#include <gtest/gtest.h>

#include <limits>

namespace skerrow {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
constexpr int32_t kMin = std::numeric_limits<int32_t>::min();

TEST(Numeric, TruncAndRoundTable) {
  struct Case {
    double v;
    int32_t trunc;
    int32_t round;
  };
  const Case cases[] = {
      {kNaN, 0, 0},
      {-kNaN, 0, 0},
      {kInf, kMax, kMax},
      {-kInf, kMin, kMin},
      {1e300, kMax, kMax},
      {-1e300, kMin, kMin},
      {2147483647.0, kMax, kMax},
      {2147483647.6, kMax, kMax},
      {-2147483648.0, kMin, kMin},
      {-2147483648.9, kMin, kMin},
      {2147483646.5, 2147483646, 2147483646},  // tie to even stays in range
      {0.0, 0, 0},
      {-0.0, 0, 0},
      {0.5, 0, 0},  // ties to even
      {1.5, 1, 2},
      {2.5, 2, 2},
      {3.5, 3, 4},
      {-0.5, 0, 0},
      {-1.5, -1, -2},
      {-2.5, -2, -2},
      {0.49999999999999994, 0, 0},
      {1.7, 1, 2},
      {-1.7, -1, -2},
      {1e-300, 0, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(TruncToInt(c.v), c.trunc) << c.v;
    EXPECT_EQ(RoundToInt(c.v), c.round) << c.v;
  }
}

TEST(Numeric, ClampIndex) {
  EXPECT_EQ(ClampIndex(kNaN, 2047), 0);
  EXPECT_EQ(ClampIndex(-5.5, 2047), 0);
  EXPECT_EQ(ClampIndex(1e300, 2047), 2047);
  EXPECT_EQ(ClampIndex(kInf, 2047), 2047);
  EXPECT_EQ(ClampIndex(-kInf, 2047), 0);
  EXPECT_EQ(ClampIndex(2047.9, 2047), 2047);
  EXPECT_EQ(ClampIndex(100.9, 2047), 100);
}

}  // namespace
}  // namespace skerrow
