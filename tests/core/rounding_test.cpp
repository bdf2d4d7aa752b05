#include "core/rounding.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <limits>

namespace pelvanto {
namespace {

struct RoundCase {
  double value;
  int rounded;
};

class RoundHalfEvenTest : public testing::TestWithParam<RoundCase> {};

TEST_P(RoundHalfEvenTest, RoundsToNearestWithHalvesToEvenAndPinsTheEnds) {
  EXPECT_EQ(RoundHalfEven(GetParam().value), GetParam().rounded) << GetParam().value;
}

INSTANTIATE_TEST_SUITE_P(
    Values, RoundHalfEvenTest,
    testing::Values(RoundCase{2.5, 2}, RoundCase{3.5, 4}, RoundCase{0.5, 0}, RoundCase{1.5, 2},
                    RoundCase{49.5, 50}, RoundCase{48.5, 48}, RoundCase{0.4, 0},
                    RoundCase{49.6, 50}, RoundCase{2.5000001, 3}, RoundCase{0, 0},
                    RoundCase{36, 36}, RoundCase{-0.5, 0}, RoundCase{-1.5, -2}, RoundCase{-2.5, -2},
                    RoundCase{-0.4, 0}, RoundCase{1e21, INT_MAX}, RoundCase{-1e30, INT_MIN},
                    RoundCase{std::numeric_limits<double>::quiet_NaN(), 0}));

struct QuotientCase {
  std::int64_t numerator, denominator;
  int rounded;
};

class RoundHalfUpTest : public testing::TestWithParam<QuotientCase> {};

TEST_P(RoundHalfUpTest, RoundsToNearestWithHalvesUpOnBothSidesOfZero) {
  const QuotientCase& c = GetParam();
  EXPECT_EQ(RoundHalfUp(c.numerator, c.denominator), c.rounded)
      << c.numerator << "/" << c.denominator;
}

INSTANTIATE_TEST_SUITE_P(Values, RoundHalfUpTest,
                         testing::Values(QuotientCase{5, 2, 3}, QuotientCase{3, 2, 2},
                                         QuotientCase{4, 2, 2}, QuotientCase{-5, 2, -2},
                                         QuotientCase{-3, 2, -1}, QuotientCase{-4, 2, -2},
                                         QuotientCase{7, 3, 2}, QuotientCase{-7, 3, -2},
                                         QuotientCase{8, 3, 3}, QuotientCase{0, 7, 0},
                                         QuotientCase{1, 0, 0}, QuotientCase{1, -2, 0},
                                         QuotientCase{std::int64_t{1} << 40, 1, INT_MAX},
                                         QuotientCase{-(std::int64_t{1} << 40), 1, INT_MIN}));

}  // namespace
}  // namespace pelvanto
