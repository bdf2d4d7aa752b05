#include "overlay/loupe.h"

#include <algorithm>
#include <string>

#include "core/geometry.h"
#include "overlay/selection.h"

namespace pelvanto::overlay {

namespace {

// The start of a span of `size` beside `at`: after it when that fits before `end`, else before
// it; pushed back inside [begin, end) if even that does not fit.
int PlaceAlong(int at, int size, int gap, int begin, int end) {
  int start = at + gap;
  if (start + size > end) start = at - gap - size;
  return std::max(begin, std::min(start, end - size));
}

}  // namespace

LoupeMetrics::LoupeMetrics(unsigned dpi)
    : span(15),
      // Whole pixels per cell, so every enlarged pixel is the same size on the screen.
      cell(std::max(2, DesignPixels(8, dpi))),
      text_height(DesignPixels(36, dpi)),
      gap(DesignPixels(20, dpi)) {}

RectI PlaceLoupe(PointI pointer, int width, int height, int gap, const RectI& monitor) {
  const int left = PlaceAlong(pointer.x, width, gap, monitor.left, monitor.right);
  const int top = PlaceAlong(pointer.y, height, gap, monitor.top, monitor.bottom);
  return {left, top, left + width, top + height};
}

LoupeView MakeLoupe(PointI pixel, const LoupeMetrics& m, const RectI& monitor, const RectI& frozen,
                    std::uint32_t colour) {
  LoupeView view;
  view.visible = true;
  view.cell = m.cell;
  view.pixel = pixel;
  view.rect = PlaceLoupe(pixel, m.Width(), m.Height(), m.gap, monitor);
  const int side = m.span * m.cell + 1;
  view.grid = {view.rect.left + 1, view.rect.top + 1, view.rect.left + 1 + side,
               view.rect.top + 1 + side};
  view.text = {view.grid.left, view.grid.bottom, view.grid.right, view.rect.bottom - 1};

  const int half = m.span / 2;
  const RectI shown{pixel.x - half, pixel.y - half, pixel.x + half + 1, pixel.y + half + 1};
  view.source = Intersection(shown, frozen);
  if (!view.source.Empty()) {
    view.target = {view.grid.left + (view.source.left - shown.left) * m.cell,
                   view.grid.top + (view.source.top - shown.top) * m.cell,
                   view.grid.left + (view.source.right - shown.left) * m.cell,
                   view.grid.top + (view.source.bottom - shown.top) * m.cell};
  }
  view.position = PositionText(pixel);
  view.colour = ColourText(colour);
  return view;
}

std::wstring PositionText(PointI pixel) {
  return std::to_wstring(pixel.x) + L", " + std::to_wstring(pixel.y);
}

LoupeView LoupeAt(PointI pixel, const Desktop& desktop, std::uint32_t colour) {
  const Monitor& monitor = MonitorAt(desktop, pixel.x, pixel.y);
  if (!Contains(monitor.bounds, pixel)) return {};
  return MakeLoupe(pixel, LoupeMetrics(monitor.dpi), monitor.bounds, desktop.bounds, colour);
}

std::vector<RectI> LoupeDamage(const LoupeView& before, const LoupeView& after) {
  std::vector<RectI> out;
  if (before == after) return out;
  if (before.visible) out.push_back(before.rect);
  if (after.visible && !(before.visible && before.rect == after.rect)) out.push_back(after.rect);
  return out;
}

}  // namespace pelvanto::overlay
