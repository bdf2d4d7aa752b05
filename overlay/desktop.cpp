#include "overlay/desktop.h"

#include <algorithm>
#include <cstddef>
#include <utility>

namespace pelvanto::overlay {

namespace {

RectF ToRectF(const RectI& r) {
  return {static_cast<float>(r.left), static_cast<float>(r.top), static_cast<float>(r.Width()),
          static_cast<float>(r.Height())};
}

// Squared distance from a point to the nearest pixel of a monitor; 0 on the monitor.
double DistanceSquared(const RectI& r, float x, float y) {
  auto axis = [](double v, int low, int high) {
    if (v < low) return low - v;
    if (v >= high) return v - (high - 1);
    return 0.0;
  };
  const double dx = axis(x, r.left, r.right);
  const double dy = axis(y, r.top, r.bottom);
  return dx * dx + dy * dy;
}

// `value` moved into [low, high - length]; `low` wins when the length does not fit.
float KeepInside(float value, float length, float low, float high) {
  return std::max(low, std::min(value, high - length));
}

}  // namespace

Desktop MakeDesktop(std::vector<Monitor> monitors) {
  std::erase_if(monitors, [](const Monitor& m) { return m.bounds.Empty(); });
  if (monitors.empty()) monitors.push_back({{0, 0, 1, 1}, {0, 0, 1, 1}, 96});
  Desktop desktop{monitors.front().bounds, std::move(monitors)};
  for (Monitor& m : desktop.monitors) {
    if (m.dpi == 0) m.dpi = 96;
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

const Monitor& MonitorAt(const Desktop& desktop, float x, float y) {
  const Monitor* best = &desktop.monitors.front();
  double best_distance = DistanceSquared(best->bounds, x, y);
  for (const Monitor& m : desktop.monitors) {
    const double distance = DistanceSquared(m.bounds, x, y);
    if (distance < best_distance) {
      best = &m;
      best_distance = distance;
    }
  }
  return *best;
}

RectF ToolbarArea(const Desktop& desktop, float x, float y) {
  if (desktop.monitors.size() == 1) return ToRectF(desktop.monitors.front().bounds);
  return ToRectF(MonitorAt(desktop, x, y).work_area);
}

RectF PlaceToolbarStrip(const RectF& selection, float width, float height, float gap,
                        const RectF& area) {
  RectF bar{selection.Right() - width, 0, width, height};
  // Exactly filling the area below the selection still counts as room.
  if (selection.Bottom() + gap + height > area.Bottom()) {
    bar.top = selection.Bottom() - height - gap;
  } else {
    bar.top = selection.Bottom() + gap;
  }
  // A selection reaching past the area (into a part no monitor shows, or onto another
  // monitor) must not take the strip with it.
  bar.top = KeepInside(bar.top, height, area.top, area.Bottom());
  bar.left = std::min(bar.left, area.Right() - width);
  if (bar.left < area.left) bar.left = area.left;
  return bar;
}

PointF ReadoutOrigin(const Desktop& desktop, float x, float y, float gap, float width,
                     float height) {
  const PointF origin{x + gap, y + gap};
  // One monitor: the selection's corner is always on it.
  if (desktop.monitors.size() == 1) return origin;
  const RectF m = ToRectF(MonitorAt(desktop, x, y).bounds);
  return {KeepInside(origin.x, width, m.left, m.Right()),
          KeepInside(origin.y, height, m.top, m.Bottom())};
}

RectI Intersection(const RectI& a, const RectI& b) {
  const RectI meet{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                   std::min(a.bottom, b.bottom)};
  if (meet.Empty()) return {a.left, a.top, a.left, a.top};
  return meet;
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
