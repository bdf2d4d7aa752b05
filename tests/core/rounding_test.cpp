#include "core/rounding.h"

#include <gtest/gtest.h>

#include <climits>
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
                    RoundCase{36, 36}, RoundCase{-0.5, 0}, RoundCase{-1.5, -2},
                    RoundCase{-2.5, -2}, RoundCase{-0.4, 0}, RoundCase{1e21, INT_MAX},
                    RoundCase{-1e30, INT_MIN},
                    RoundCase{std::numeric_limits<double>::quiet_NaN(), 0}));

}  // namespace
}  // namespace pelvanto
