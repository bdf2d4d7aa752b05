// The keyboard on the overlay: Esc, Enter and the arrows. Each key runs the same operation as
// its mouse or toolbar counterpart, so the outline, read-outs, handles and toolbar follow the
// same rules.

#include <algorithm>

#include "overlay/overlay.h"

namespace pelvanto::overlay {

namespace {

constexpr float kStep = 1;
constexpr float kBigStep = 10;

}  // namespace

bool Overlay::OnKey(const KeyPress& press) {
  // A key in the middle of a press would fight the drag for the selection.
  if (unloaded_ || captured_) return false;
  const bool selected = state_.DrawMode == SelectMode::Move;
  switch (press.key) {
    case Key::Escape: {
      // Held down, Esc would clear and then close at once.
      if (press.repeat) return false;
      // A right click at the pointer: clears a selection, closes the overlay without one.
      const float x = static_cast<float>(pointer_.x);
      const float y = static_cast<float>(pointer_.y);
      FormMouseDown(mouse::kRight, x, y);
      FormMouseUp(mouse::kRight, x, y);
      return true;
    }
    case Key::Enter:
      if (press.repeat || !selected) return false;
      Image2Click(kCopyAndExit);
      return true;
    case Key::Left:
    case Key::Right:
    case Key::Up:
    case Key::Down:
      break;
  }
  if (!selected) return false;

  const float step = press.shift ? kBigStep : kStep;
  const float dx = press.key == Key::Left ? -step : press.key == Key::Right ? step : 0;
  const float dy = press.key == Key::Up ? -step : press.key == Key::Down ? step : 0;
  RectF& shape = elements_.Shape1.rect;
  if (press.ctrl) {
    // Grows or shrinks from the right or bottom edge; never below zero, and never out past
    // the screen, where the mouse cannot reach either.
    auto resize = [](float size, float delta, float room) {
      const float grown = std::max(0.0f, size + delta);
      return delta > 0 ? std::max(size, std::min(grown, room)) : grown;
    };
    shape.width = resize(shape.width, dx, ScreenW() - shape.left);
    shape.height = resize(shape.height, dy, ScreenH() - shape.top);
  } else {
    // The same clamping as a mouse move: the top-left corner first, then the far edges.
    shape.left += dx;
    shape.top += dy;
    if (shape.left < 0) shape.left = 0;
    if (shape.top < 0) shape.top = 0;
    if (shape.Right() > ScreenW()) shape.left = ScreenW() - shape.width;
    if (shape.Bottom() > ScreenH()) shape.top = ScreenH() - shape.height;
  }
  // As at the end of a mouse move or resize: the base of the next move is the new corner.
  state_.StartX = shape.left;
  state_.StartY = shape.top;
  PlaceLabels();
  ImageMove();
  PlaceToolbar();
  elements_.Picture1.visible = true;
  return true;
}

void Overlay::OnDoubleClick(float x, float y) {
  OnMouseDown(mouse::kLeft, x, y);
  // The press kept the selection only if it landed inside it.
  copy_at_release_ = !unloaded_ && captured_ &&
                     capture_target_.kind == HitTarget::Kind::Surface &&
                     state_.DrawMode == SelectMode::Move;
}

}  // namespace pelvanto::overlay
