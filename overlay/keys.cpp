// The keyboard on the overlay. Each key runs the same operation as its mouse or toolbar
// counterpart, so the outline, read-outs, handles and toolbar follow the same rules.

#include "overlay/overlay.h"

namespace pelvanto::overlay {

namespace {

constexpr int kStep = 1;
constexpr int kBigStep = 10;

}  // namespace

bool Overlay::OnKey(const KeyPress& press) {
  // A key in the middle of a press would fight the drag for the selection.
  if (closed_ || Captured()) return false;
  const bool selected = selection_.Finished();
  switch (press.key) {
    case Key::kEscape: {
      // Held down, Esc would clear and then close at once.
      if (press.repeat) return false;
      // Nothing changed in an adjustment: back to the old area at once.
      if (UnchangedAdjustment()) {
        Quit();
        return true;
      }
      // A right click at the pointer: clears a selection, closes the overlay without one.
      SurfacePress(MouseButton::kRight, pointer_.x, pointer_.y);
      SurfaceRelease(MouseButton::kRight);
      UpdateHover();
      return true;
    }
    case Key::kEnter:
      if (press.repeat || !selected) return false;
      ButtonClick(kCopyAndExit);
      return true;
    case Key::kTab:
      // Through the targets under the pointer: out towards the monitor, with Shift back in.
      return press.shift ? hover_.StepInwards() : hover_.StepOutwards();
    case Key::kLeft:
    case Key::kRight:
    case Key::kUp:
    case Key::kDown: break;
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

}  // namespace pelvanto::overlay
