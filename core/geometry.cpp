#include "core/geometry.h"

#include <algorithm>
#include <cstdint>

#include "core/rounding.h"

namespace pelvanto {

RectI Intersection(const RectI& a, const RectI& b) {
  const RectI meet{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                   std::min(a.bottom, b.bottom)};
  return meet.Empty() ? RectI{} : meet;
}

int CentredStart(int begin, int end, int length) {
  return RoundHalfUp(std::int64_t{begin} + end - length, 2);
}

int Middle(int begin, int end) { return RoundHalfUp(std::int64_t{begin} + end, 2); }

int KeepWithin(int start, int length, int low, int high) {
  return std::max(low, std::min(start, high - length));
}

int ScaleToDpi(int units, int units_per_inch, unsigned dpi) {
  const std::int64_t dots = dpi == 0 ? kDesignDpi : dpi;
  return RoundHalfUp(units * dots, units_per_inch);
}

RectI ScaleToDpi(const RectI& d, int units_per_inch, unsigned dpi) {
  return {ScaleToDpi(d.left, units_per_inch, dpi), ScaleToDpi(d.top, units_per_inch, dpi),
          ScaleToDpi(d.right, units_per_inch, dpi), ScaleToDpi(d.bottom, units_per_inch, dpi)};
}

}  // namespace pelvanto
