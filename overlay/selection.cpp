#include "overlay/selection.h"

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

Selection::Selection(const Metrics& metrics, float bounds_width, float bounds_height)
    : metrics_(metrics),
      bounds_width_(bounds_width),
      bounds_height_(bounds_height),
      outline_{metrics.first_outline, false},
      size_label_{metrics.size_label, false, L"宽X高"},
      colour_label_{metrics.colour_label, false, L""} {}

bool Selection::Press(int button, float x, float y) {
  if (!finished_) {
    outline_ = {{x, y, 0, 0}, true};
    anchor_x_ = x;
    anchor_y_ = y;
    if (button == mouse::kRight) keep_open_ = false;
    return false;
  }
  if (PressInside(outline_.rect, x, y)) {
    press_x_ = x;
    press_y_ = y;
    // Left: the drag that follows moves the selection. Middle: nothing more.
    if (button != mouse::kRight) return false;
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

Pointer Selection::Move(int buttons, float x, float y, std::uint32_t colour, bool& drawn) {
  drawn = false;
  // The read-out and the pointer follow every move, whatever the buttons.
  colour_label_.caption = ColourText(colour);
  auto& r = outline_.rect;
  // Edges count as outside. A hidden outline (before the first press) offers nothing to move.
  const bool inside =
      outline_.visible && x > r.left && y > r.top && x < r.Right() && y < r.Bottom();
  // Only the left button alone draws or moves.
  if (buttons != mouse::kLeft) return inside ? Pointer::Move : Pointer::Crosshair;

  Pointer pointer = Pointer::Crosshair;
  if (!finished_) {
    // On the anchor's row or column the outline keeps the geometry of the previous move.
    if (x != anchor_x_ && y != anchor_y_) {
      r = {std::fmin(x, anchor_x_), std::fmin(y, anchor_y_), std::fabs(x - anchor_x_),
           std::fabs(y - anchor_y_)};
    }
  } else {
    pointer = Pointer::Move;
    // Measured from the press each time, so clamping never accumulates.
    r.left = anchor_x_ - (press_x_ - x);
    r.top = anchor_y_ - (press_y_ - y);
    if (r.left < 0) r.left = 0;
    if (r.top < 0) r.top = 0;
    // After the tests against 0: a selection larger than the picture keeps its far edges on
    // the picture's far edges.
    if (r.Right() > bounds_width_) r.left = bounds_width_ - r.width;
    if (r.Bottom() > bounds_height_) r.top = bounds_height_ - r.height;
  }
  PlaceLabels();
  outline_.visible = true;
  size_label_.visible = true;
  colour_label_.visible = true;
  drawn = true;
  return pointer;
}

SurfaceRelease Selection::Release(int button) {
  if (button != mouse::kLeft) return keep_open_ ? SurfaceRelease::kNothing : SurfaceRelease::kClose;
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
  const float gap = metrics_.label_gap;
  size_label_.caption = SizeText(r.width, r.height);
  size_label_.rect.left = r.left + gap;
  size_label_.rect.top = r.top + gap;
  colour_label_.rect.left = r.left + gap;
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
