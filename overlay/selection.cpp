#include "overlay/selection.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <system_error>

#include "core/rounding.h"

namespace pelvanto::overlay {

namespace {

// The selection in whole pixels; a press counts as inside on its left and top edges only.
bool PressInside(const RectF& r, float x, float y) {
  const int px = RoundHalfEven(x);
  const int py = RoundHalfEven(y);
  return px >= RoundHalfEven(r.left) && px < RoundHalfEven(r.Right()) &&
         py >= RoundHalfEven(r.top) && py < RoundHalfEven(r.Bottom());
}

}  // namespace

Selection::Selection(const DesktopMetrics& metrics)
    : metrics_(metrics),
      outline_{metrics.Primary().first_outline, false},
      size_label_{metrics.Primary().size_label, false, L"宽X高", metrics.Primary().dpi},
      colour_label_{metrics.Primary().colour_label, false, L"", metrics.Primary().dpi} {}

bool Selection::Press(MouseButton button, float x, float y) {
  if (!finished_) {
    outline_ = {{x, y, 0, 0}, true};
    anchor_x_ = x;
    anchor_y_ = y;
    if (button == MouseButton::kRight) keep_open_ = false;
    return false;
  }
  if (PressInside(outline_.rect, x, y)) {
    press_x_ = x;
    press_y_ = y;
    // Left: the drag that follows moves the selection. Middle: nothing more.
    if (button != MouseButton::kRight) return false;
  }
  // Cleared: the press point becomes the anchor of the next drawing, and the next right
  // release only ends this clearing.
  anchor_x_ = x;
  anchor_y_ = y;
  outline_ = {{x, y, 0, 0}, false};
  size_label_.visible = false;
  colour_label_.visible = false;
  finished_ = false;
  keep_open_ = true;
  return true;
}

Pointer Selection::Move(MouseButtons held, float x, float y, std::uint32_t colour,
                        bool& drawn) {
  drawn = false;
  // The read-out and the pointer follow every move, whatever the buttons.
  colour_label_.caption = ColourText(colour);
  auto& r = outline_.rect;
  // Edges count as outside. A hidden outline (before the first press) offers nothing to move.
  const bool inside =
      outline_.visible && x > r.left && y > r.top && x < r.Right() && y < r.Bottom();
  // Only the left button alone draws or moves.
  if (held != MouseButton::kLeft) return inside ? Pointer::kMove : Pointer::kCrosshair;

  Pointer pointer = Pointer::kCrosshair;
  if (!finished_) {
    // On the anchor's row or column the outline keeps the geometry of the previous move.
    if (x != anchor_x_ && y != anchor_y_) {
      r = {std::fmin(x, anchor_x_), std::fmin(y, anchor_y_), std::fabs(x - anchor_x_),
           std::fabs(y - anchor_y_)};
    }
  } else {
    pointer = Pointer::kMove;
    // Measured from the press each time, so clamping never accumulates.
    r.left = anchor_x_ - (press_x_ - x);
    r.top = anchor_y_ - (press_y_ - y);
    KeepOnDesktop(r);
  }
  PlaceLabels();
  outline_.visible = true;
  size_label_.visible = true;
  colour_label_.visible = true;
  drawn = true;
  return pointer;
}

void Selection::KeepOnDesktop(RectF& r) const {
  // Near edges first: a selection larger than the desktop keeps its far edges on the
  // desktop's far edges.
  const RectI& bounds = metrics_.desktop().bounds;
  const auto left = static_cast<float>(bounds.left);
  const auto top = static_cast<float>(bounds.top);
  const auto right = static_cast<float>(bounds.right);
  const auto bottom = static_cast<float>(bounds.bottom);
  if (r.left < left) r.left = left;
  if (r.top < top) r.top = top;
  if (r.Right() > right) r.left = right - r.width;
  if (r.Bottom() > bottom) r.top = bottom - r.height;
}

void Selection::MoveBy(float dx, float dy) {
  RectF r = outline_.rect;
  r.left += dx;
  r.top += dy;
  KeepOnDesktop(r);
  Resize(r);
}

void Selection::GrowBy(float dx, float dy) {
  // Never below zero, and never out past the desktop, where the mouse cannot reach either
  // (a selection already past it may still shrink).
  const RectI& bounds = metrics_.desktop().bounds;
  auto grow = [](float size, float delta, float room) {
    const float grown = std::max(0.0f, size + delta);
    return delta > 0 ? std::max(size, std::min(grown, room)) : grown;
  };
  RectF r = outline_.rect;
  r.width = grow(r.width, dx, static_cast<float>(bounds.right) - r.left);
  r.height = grow(r.height, dy, static_cast<float>(bounds.bottom) - r.top);
  Resize(r);
}

SurfaceRelease Selection::Release(MouseButton button) {
  if (button != MouseButton::kLeft) return keep_open_ ? SurfaceRelease::kNothing : SurfaceRelease::kClose;
  // Even a zero-size outline is a finished selection.
  finished_ = true;
  anchor_x_ = outline_.rect.left;
  anchor_y_ = outline_.rect.top;
  return SurfaceRelease::kFinished;
}

void Selection::Resize(const RectF& rect) {
  outline_.rect = rect;
  PlaceLabels();
  anchor_x_ = rect.left;
  anchor_y_ = rect.top;
}

void Selection::Clear() {
  finished_ = false;
  outline_.visible = false;
  outline_.rect.width = 0;
  outline_.rect.height = 0;
  size_label_.visible = false;
  colour_label_.visible = false;
}

void Selection::PlaceLabels() {
  const RectF& r = outline_.rect;
  size_label_.caption = SizeText(r.width, r.height);
  // Sized for the monitor the read-outs are drawn on, and kept on it.
  const Metrics& m = metrics_.At(r.left, r.top);
  const float gap = m.label_gap;
  for (Label* label : {&size_label_, &colour_label_}) label->dpi = m.dpi;
  size_label_.rect.width = m.size_label.width;
  size_label_.rect.height = m.size_label.height;
  colour_label_.rect.width = m.colour_label.width;
  colour_label_.rect.height = m.colour_label.height;
  const PointF origin =
      ReadoutOrigin(metrics_.desktop(), r.left, r.top, gap,
                    std::max(size_label_.rect.width, colour_label_.rect.width),
                    size_label_.rect.height + gap + colour_label_.rect.height);
  size_label_.rect.left = origin.x;
  size_label_.rect.top = origin.y;
  colour_label_.rect.left = origin.x;
  colour_label_.rect.top = size_label_.rect.top + size_label_.rect.height + gap;
}

std::wstring SizeText(float width, float height) {
  // Shortest decimal text that reads back as the same float, never in exponent form
  // ("%g" would write 500 as "5e+02").
  auto shortest = [](float v) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::fixed);
    return std::wstring(buffer, result.ec == std::errc{} ? result.ptr : buffer);
  };
  return shortest(width) + L"x" + shortest(height);
}

std::wstring ColourText(std::uint32_t colour) {
  return L"RGB(" + std::to_wstring(colour & 0xFF) + L"," + std::to_wstring((colour >> 8) & 0xFF) +
         L"," + std::to_wstring((colour >> 16) & 0xFF) + L")";
}

}  // namespace pelvanto::overlay
