#include "overlay/selection.h"

#include <algorithm>

#include "core/geometry.h"

namespace pelvanto::overlay {

namespace {

// Where the read-outs start for a selection whose top-left corner is at (x, y): `gap` inside
// the corner. With several monitors the block (width x height) is kept on the monitor at the
// corner, or the nearest one when the corner lies where no monitor is.
PointI ReadoutOrigin(const Desktop& desktop, int x, int y, int gap, int width, int height) {
  const PointI origin{x + gap, y + gap};
  // One monitor: the selection's corner is always on it.
  if (desktop.monitors.size() == 1) return origin;
  const RectI& m = MonitorAt(desktop, x, y).bounds;
  return {KeepWithin(origin.x, width, m.left, m.right),
          KeepWithin(origin.y, height, m.top, m.bottom)};
}

}  // namespace

Selection::Selection(const DesktopMetrics& metrics)
    : metrics_(metrics),
      outline_{metrics.Primary().first_outline, false},
      size_label_{metrics.Primary().size_label, false, L"宽X高", metrics.Primary().dpi},
      colour_label_{metrics.Primary().colour_label, false, L"", metrics.Primary().dpi} {}

bool Selection::Press(MouseButton button, int x, int y) {
  press_ = {x, y};
  dragged_ = false;
  if (!finished_) {
    outline_ = {{x, y, x, y}, true};
    anchor_ = {x, y};
    if (button == MouseButton::kRight) cleared_by_press_ = false;
    return false;
  }
  // A press on the left or top edge is inside, on the right or bottom edge outside.
  if (Contains(outline_.rect, {x, y})) {
    // Left: the drag that follows moves the selection. Middle: nothing more.
    if (button != MouseButton::kRight) return false;
  }
  // Cleared: the press point becomes the anchor of the next drawing, and the next right
  // release only ends this clearing.
  anchor_ = {x, y};
  outline_ = {{x, y, x, y}, false};
  size_label_.visible = false;
  colour_label_.visible = false;
  finished_ = false;
  cleared_by_press_ = true;
  return true;
}

Pointer Selection::Move(MouseButtons held, int x, int y, std::uint32_t colour, bool& drawn) {
  drawn = false;
  // The read-out and the pointer follow every move, whatever the buttons.
  colour_label_.caption = ColourText(colour);
  auto& r = outline_.rect;
  // Edges count as outside. A hidden outline (before the first press) offers nothing to move.
  const bool inside =
      outline_.visible && Contains({r.left + 1, r.top + 1, r.right, r.bottom}, {x, y});
  // Only the left button alone draws or moves.
  if (held != MouseButton::kLeft) return inside ? Pointer::kMove : Pointer::kCrosshair;

  const Pointer pointer = finished_ ? Pointer::kMove : Pointer::kCrosshair;
  // Still on the press's pixel (the system may report a move there): a click so far.
  if (!dragged_ && x == press_.x && y == press_.y) return pointer;
  dragged_ = true;
  if (!finished_) {
    // On the anchor's row or column the outline keeps the geometry of the previous move.
    if (x != anchor_.x && y != anchor_.y) {
      r = {std::min(x, anchor_.x), std::min(y, anchor_.y), std::max(x, anchor_.x),
           std::max(y, anchor_.y)};
    }
  } else {
    // Measured from the press each time, so clamping never accumulates.
    r = SizedRect(anchor_.x - (press_.x - x), anchor_.y - (press_.y - y), r.Width(), r.Height());
    KeepOnDesktop(r);
  }
  PlaceLabels();
  outline_.visible = true;
  size_label_.visible = true;
  colour_label_.visible = true;
  drawn = true;
  return pointer;
}

void Selection::KeepOnDesktop(RectI& r) const {
  // Near edges first: a selection larger than the desktop keeps its far edges on the
  // desktop's far edges.
  const RectI& bounds = metrics_.Monitors().bounds;
  const int left = std::min(std::max(r.left, bounds.left), bounds.right - r.Width());
  const int top = std::min(std::max(r.top, bounds.top), bounds.bottom - r.Height());
  r = Offset(r, left - r.left, top - r.top);
}

void Selection::MoveBy(int dx, int dy) {
  RectI r = Offset(outline_.rect, dx, dy);
  KeepOnDesktop(r);
  Resize(r);
}

void Selection::GrowBy(int dx, int dy) {
  // Never below zero, and never out past the desktop, where the mouse cannot reach either
  // (a selection already past it may still shrink).
  const RectI& bounds = metrics_.Monitors().bounds;
  auto grow = [](int size, int delta, int room) {
    const int grown = std::max(0, size + delta);
    return delta > 0 ? std::max(size, std::min(grown, room)) : grown;
  };
  const RectI& r = outline_.rect;
  Resize(SizedRect(r.left, r.top, grow(r.Width(), dx, bounds.right - r.left),
                   grow(r.Height(), dy, bounds.bottom - r.top)));
}

SurfaceRelease Selection::Release(MouseButton button) {
  if (button != MouseButton::kLeft) {
    return cleared_by_press_ ? SurfaceRelease::kNothing : SurfaceRelease::kClose;
  }
  // A click leaves nothing new; what it does is the overlay's to decide.
  if (!dragged_ && !finished_) return SurfaceRelease::kClick;
  // Even a zero-size outline, drawn by a drag, is a finished selection.
  finished_ = true;
  anchor_ = {outline_.rect.left, outline_.rect.top};
  return SurfaceRelease::kFinished;
}

void Selection::Resize(const RectI& rect) {
  outline_.rect = rect;
  PlaceLabels();
  anchor_ = {rect.left, rect.top};
}

void Selection::Clear() {
  finished_ = false;
  outline_.visible = false;
  outline_.rect = {outline_.rect.left, outline_.rect.top, outline_.rect.left, outline_.rect.top};
  size_label_.visible = false;
  colour_label_.visible = false;
}

void Selection::PlaceLabels() {
  const RectI& r = outline_.rect;
  const bool size_shown = size_label_.visible;
  size_label_ = SizeReadout(metrics_, r);
  size_label_.visible = size_shown;
  const Metrics& m = metrics_.At(r.left, r.top);
  colour_label_.dpi = m.dpi;
  colour_label_.rect = SizedRect(size_label_.rect.left, size_label_.rect.bottom + m.label_gap,
                                 m.colour_label.Width(), m.colour_label.Height());
}

Label SizeReadout(const DesktopMetrics& metrics, const RectI& r) {
  // Sized for the monitor the read-outs are drawn on, and kept on it with the colour read-out
  // below.
  const Metrics& m = metrics.At(r.left, r.top);
  const int gap = m.label_gap;
  const int size_w = m.size_label.Width(), size_h = m.size_label.Height();
  const int colour_w = m.colour_label.Width(), colour_h = m.colour_label.Height();
  const PointI origin = ReadoutOrigin(metrics.Monitors(), r.left, r.top, gap,
                                      std::max(size_w, colour_w), size_h + gap + colour_h);
  return {SizedRect(origin.x, origin.y, size_w, size_h), true, SizeText(r.Width(), r.Height()),
          m.dpi};
}

std::wstring SizeText(int width, int height) {
  return std::to_wstring(width) + L"x" + std::to_wstring(height);
}

std::wstring ColourText(std::uint32_t colour) {
  return L"RGB(" + std::to_wstring(colour & 0xFF) + L"," + std::to_wstring((colour >> 8) & 0xFF) +
         L"," + std::to_wstring((colour >> 16) & 0xFF) + L")";
}

}  // namespace pelvanto::overlay
