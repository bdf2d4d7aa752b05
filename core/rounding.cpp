#include "core/rounding.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace pelvanto {

int RoundHalfEven(double v) {
  if (std::isnan(v)) return 0;
  constexpr double kLow = std::numeric_limits<int>::min();
  constexpr double kHigh = std::numeric_limits<int>::max();
  if (v <= kLow) return std::numeric_limits<int>::min();
  if (v >= kHigh) return std::numeric_limits<int>::max();
  // By hand rather than nearbyint, whose answer depends on the current rounding mode.
  const double floor = std::floor(v);
  const double fraction = v - floor;  // exact for doubles of this size
  double rounded = floor;
  if (fraction > 0.5 || (fraction == 0.5 && std::fmod(floor, 2.0) != 0.0)) rounded += 1.0;
  return static_cast<int>(rounded);
}

int RoundHalfUp(std::int64_t numerator, std::int64_t denominator) {
  if (denominator <= 0) return 0;
  // floor((2n + d) / 2d); C++ division truncates towards zero, so negative quotients step down.
  const std::int64_t shifted = 2 * numerator + denominator;
  const std::int64_t twice = 2 * denominator;
  std::int64_t quotient = shifted / twice;
  if (shifted % twice != 0 && shifted < 0) --quotient;
  return static_cast<int>(std::clamp<std::int64_t>(quotient, std::numeric_limits<int>::min(),
                                                   std::numeric_limits<int>::max()));
}

}  // namespace pelvanto
