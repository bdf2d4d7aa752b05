#include "overlay/watch_frame.h"

#include <algorithm>
#include <cstdint>

namespace pelvanto::overlay {

namespace {

constexpr int kThicknessAt96 = 2;

int ThicknessAt(const Desktop& desktop, std::int64_t x, std::int64_t y) {
  return FrameThickness(MonitorAt(desktop, static_cast<float>(x), static_cast<float>(y)).dpi);
}

bool Shown(const RectI& edge, const Desktop& desktop) {
  if (edge.Empty()) return false;
  return std::ranges::any_of(desktop.monitors, [&](const Monitor& m) {
    return !Intersection(edge, m.bounds).Empty();
  });
}

// `start` moved so [start, start + length) lies in [low, high); `low` wins when it cannot.
int KeepIn(int start, int length, int low, int high) {
  return static_cast<int>(std::max<std::int64_t>(
      low, std::min<std::int64_t>(start, std::int64_t{high} - length)));
}

}  // namespace

int FrameThickness(unsigned dpi) {
  return static_cast<int>((kThicknessAt96 * dpi + 48) / 96);
}

std::array<RectI, 4> FrameEdges(const RectI& a, const Desktop& desktop) {
  // Middles in 64 bits: an area near the ends of the int range must not overflow.
  const std::int64_t mid_x = (std::int64_t{a.left} + a.right) / 2;
  const std::int64_t mid_y = (std::int64_t{a.top} + a.bottom) / 2;
  const int top = ThicknessAt(desktop, mid_x, std::int64_t{a.top} - 1);
  const int bottom = ThicknessAt(desktop, mid_x, a.bottom);
  const int left = ThicknessAt(desktop, std::int64_t{a.left} - 1, mid_y);
  const int right = ThicknessAt(desktop, a.right, mid_y);
  std::array<RectI, 4> edges = {
      RectI{a.left - left, a.top - top, a.right + right, a.top},
      RectI{a.left - left, a.bottom, a.right + right, a.bottom + bottom},
      RectI{a.left - left, a.top, a.left, a.bottom},
      RectI{a.right, a.top, a.right + right, a.bottom},
  };
  for (RectI& edge : edges)
    if (!Shown(edge, desktop)) edge = {};
  return edges;
}

RectI ClampIntoDesktop(const RectI& area, const Desktop& desktop) {
  const RectI& b = desktop.bounds;
  const int width = std::clamp(area.Width(), 0, b.Width());
  const int height = std::clamp(area.Height(), 0, b.Height());
  const int left = KeepIn(area.left, width, b.left, b.right);
  const int top = KeepIn(area.top, height, b.top, b.bottom);
  return {left, top, left + width, top + height};
}

}  // namespace pelvanto::overlay
