#pragma once
#include <cstdint>

namespace pelvanto {

// Nearest whole number, ties to the even neighbour (2.5 gives 2, 3.5 gives 4), whatever the
// floating-point environment says. Past int's range it stops at its ends; NaN gives 0.
int RoundHalfEven(double value);

// numerator / denominator to the nearest whole number, a half rounding up (5/2 gives 3, -5/2
// gives -2), so a shape lands on the same pixels wherever it is on the desktop. Past int's
// range it stops at its ends; a denominator of 0 or less gives 0.
int RoundHalfUp(std::int64_t numerator, std::int64_t denominator);

}  // namespace pelvanto
