#pragma once

namespace pelvanto {

// Nearest whole number, ties to the even neighbour (2.5 gives 2, 3.5 gives 4), whatever the
// floating-point environment says. Past int's range it stops at its ends; NaN gives 0.
int RoundHalfEven(double value);

}  // namespace pelvanto
