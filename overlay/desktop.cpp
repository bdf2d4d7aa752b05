#include "overlay/desktop.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <utility>

#include "core/geometry.h"

namespace pelvanto::overlay {

namespace {

// Squared distance from a pixel to the nearest pixel of a monitor; 0 on the monitor.
std::int64_t DistanceSquared(const RectI& r, int x, int y) {
  auto axis = [](std::int64_t v, int low, int high) -> std::int64_t {
    if (v < low) return low - v;
    if (v >= high) return v - (high - 1);
    return 0;
  };
  const std::int64_t dx = axis(x, r.left, r.right);
  const std::int64_t dy = axis(y, r.top, r.bottom);
  return dx * dx + dy * dy;
}

}  // namespace

Desktop MakeDesktop(std::vector<Monitor> monitors) {
  std::erase_if(monitors, [](const Monitor& m) { return m.bounds.Empty(); });
  if (monitors.empty()) monitors.push_back({{0, 0, 1, 1}, {0, 0, 1, 1}, kDesignDpi});
  Desktop desktop{monitors.front().bounds, std::move(monitors)};
  for (Monitor& m : desktop.monitors) {
    if (m.dpi == 0) m.dpi = kDesignDpi;
    // A work area outside its monitor would let the toolbar leave every screen.
    m.work_area = Intersection(m.work_area, m.bounds);
    if (m.work_area.Empty()) m.work_area = m.bounds;
    desktop.bounds = {std::min(desktop.bounds.left, m.bounds.left),
                      std::min(desktop.bounds.top, m.bounds.top),
                      std::max(desktop.bounds.right, m.bounds.right),
                      std::max(desktop.bounds.bottom, m.bounds.bottom)};
  }
  return desktop;
}

Desktop SingleMonitorDesktop(int width, int height, unsigned dpi) {
  const RectI screen{0, 0, width, height};
  return MakeDesktop({{screen, screen, dpi}});
}

const Monitor& MonitorAt(const Desktop& desktop, int x, int y) {
  const Monitor* best = &desktop.monitors.front();
  std::int64_t best_distance = DistanceSquared(best->bounds, x, y);
  for (const Monitor& m : desktop.monitors) {
    const std::int64_t distance = DistanceSquared(m.bounds, x, y);
    if (distance < best_distance) {
      best = &m;
      best_distance = distance;
    }
  }
  return *best;
}

std::vector<RectI> UnshownParts(const Desktop& desktop, const RectI& area) {
  std::vector<RectI> parts;
  if (!area.Empty()) parts.push_back(area);
  for (const Monitor& m : desktop.monitors) {
    std::vector<RectI> rest;
    for (const RectI& part : parts) {
      const RectI shown = Intersection(part, m.bounds);
      if (shown.Empty()) {
        rest.push_back(part);
        continue;
      }
      // What is left of the part around the monitor: bands above and below, then the pieces
      // left and right of it between them.
      const RectI pieces[] = {
          {part.left, part.top, part.right, shown.top},
          {part.left, shown.bottom, part.right, part.bottom},
          {part.left, shown.top, shown.left, shown.bottom},
          {shown.right, shown.top, part.right, shown.bottom},
      };
      for (const RectI& piece : pieces)
        if (!piece.Empty()) rest.push_back(piece);
    }
    parts = std::move(rest);
  }
  return parts;
}

}  // namespace pelvanto::overlay
