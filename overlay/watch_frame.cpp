#include "overlay/watch_frame.h"

#include <algorithm>

#include "core/geometry.h"
#include "overlay/cut.h"

namespace pelvanto::overlay {

namespace {

constexpr int kThicknessAt96 = 2;

int ThicknessAt(const Desktop& desktop, int x, int y) {
  return FrameThickness(MonitorAt(desktop, x, y).dpi);
}

bool Shown(const RectI& edge, const Desktop& desktop) {
  if (edge.Empty()) return false;
  return std::ranges::any_of(
      desktop.monitors, [&](const Monitor& m) { return !Intersection(edge, m.bounds).Empty(); });
}

}  // namespace

int FrameThickness(unsigned dpi) { return DesignPixels(kThicknessAt96, dpi); }

RectI FramedArea(const RectI& area) { return CutArea(area, kMaxMargin); }

std::array<RectI, 4> FrameEdges(const RectI& area, const Desktop& desktop) {
  const RectI a = FramedArea(area);
  const int mid_x = Middle(a.left, a.right);
  const int mid_y = Middle(a.top, a.bottom);
  // The pixels just outside what the frame encloses, where the edges are drawn.
  const int top = ThicknessAt(desktop, mid_x, a.top - 1);
  const int bottom = ThicknessAt(desktop, mid_x, a.bottom);
  const int left = ThicknessAt(desktop, a.left - 1, mid_y);
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
  const int left = KeepWithin(area.left, width, b.left, b.right);
  const int top = KeepWithin(area.top, height, b.top, b.bottom);
  return {left, top, left + width, top + height};
}

}  // namespace pelvanto::overlay
