// The keyboard on the overlay, double clicks and the loupe's place beside the pointer. Each key
// runs the same operation as its mouse or toolbar counterpart, so the outline, read-outs,
// handles and toolbar follow the same rules.

#include <algorithm>
#include <utility>

#include "core/geometry.h"
#include "overlay/overlay.h"

namespace pelvanto::overlay {

namespace {

constexpr int kStep = 1;
constexpr int kBigStep = 10;

}  // namespace

void Overlay::OnMouseDown(MouseButton button, int x, int y) {
  copy_at_release_ = false;
  router_.Press(button, x, y);
  FollowPointer(x, y);
}

void Overlay::OnMouseMove(MouseButtons held, int x, int y) {
  router_.Move(held, x, y);
  FollowPointer(x, y);
}

void Overlay::OnMouseUp(MouseButton button, int x, int y) {
  const bool copy = button == MouseButton::kLeft && std::exchange(copy_at_release_, false);
  router_.Release(button, x, y);
  if (copy && !closed_ && selection_.Finished()) ButtonClick(kCopyAndExit);
  FollowPointer(x, y);
}

void Overlay::OnDoubleClick(int x, int y) {
  OnMouseDown(MouseButton::kLeft, x, y);
  // The press kept the selection only if it landed inside it.
  copy_at_release_ = !closed_ && Captured() && HitTest(x, y).kind == HitTarget::Kind::kSurface &&
                     selection_.Finished();
}

bool Overlay::OnKey(const KeyPress& press) {
  // A key in the middle of a press would fight the drag for the selection.
  if (closed_ || Captured()) return false;
  const bool selected = selection_.Finished();
  switch (press.key) {
    case Key::kEscape: {
      // Held down, Esc would clear and then close at once.
      if (press.repeat) return false;
      // A right click at the pointer: clears a selection, closes the overlay without one.
      SurfacePress(MouseButton::kRight, pointer_.x, pointer_.y);
      SurfaceRelease(MouseButton::kRight);
      return true;
    }
    case Key::kEnter:
      if (press.repeat || !selected) return false;
      ButtonClick(kCopyAndExit);
      return true;
    case Key::kLeft:
    case Key::kRight:
    case Key::kUp:
    case Key::kDown:
      break;
  }
  if (!selected) return false;

  const int step = press.shift ? kBigStep : kStep;
  const int dx = press.key == Key::kLeft ? -step : press.key == Key::kRight ? step : 0;
  const int dy = press.key == Key::kUp ? -step : press.key == Key::kDown ? step : 0;
  if (press.ctrl) {
    selection_.GrowBy(dx, dy);
  } else {
    selection_.MoveBy(dx, dy);
  }
  // As at the end of a mouse move or resize: handles and toolbar follow.
  handles_.PlaceAround(selection_.Rect());
  ShowToolbar();
  return true;
}

void Overlay::FollowPointer(int x, int y) {
  // Gone, or sent to the tray by this very event.
  if (closed_ || in_tray_) {
    loupe_.visible = false;
    return;
  }
  pointer_ = {x, y};
  // The loupe stays on the monitor under the pointer, at that monitor's DPI.
  const Monitor& monitor = MonitorAt(metrics_.Monitors(), x, y);
  const RectI& screen = monitor.bounds;
  const HitTarget over = HitTest(x, y);
  const bool on_toolbar =
      over.kind == HitTarget::Kind::kButton || over.kind == HitTarget::Kind::kToolbar;
  if (on_toolbar || !Contains(screen, pointer_)) {
    loupe_.visible = false;
    return;
  }
  loupe_ = MakeLoupe(pointer_, LoupeMetrics(monitor.dpi), screen, metrics_.Monitors().bounds,
                     services_.window.FrozenPixel(pointer_.x, pointer_.y));
}

}  // namespace pelvanto::overlay
