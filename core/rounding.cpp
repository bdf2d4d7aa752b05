#include "core/rounding.h"

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

}  // namespace pelvanto
