#include "overlay/input_router.h"

#include <initializer_list>

namespace pelvanto::overlay {

void InputRouter::ReleaseAll(int x, int y) {
  for (MouseButton held : {MouseButton::kLeft, MouseButton::kRight, MouseButton::kMiddle}) {
    if (buttons_down_.Has(held)) Release(held, x, y);
  }
}

void InputRouter::Press(MouseButton button, int x, int y) {
  if (targets_.Closed()) return;
  // The same button going down again means its release never reached us (the capture was
  // taken away): finish the old press here before starting the new one.
  if (buttons_down_.Has(button)) {
    ReleaseAll(x, y);
    if (targets_.Closed()) return;
  }
  if (!captured_) {
    captured_ = true;
    target_ = targets_.HitTest(x, y);
    pressed_button_ = -1;
  }
  buttons_down_.Add(button);

  switch (target_.kind) {
    case HitTarget::Kind::kSurface: targets_.SurfacePress(button, x, y); break;
    case HitTarget::Kind::kHandle: targets_.HandlePress(target_.index); break;
    case HitTarget::Kind::kButton:
      // A click is a left press and a left release on the same button.
      if (button == MouseButton::kLeft) pressed_button_ = target_.index;
      break;
    case HitTarget::Kind::kToolbar: break;
  }
}

void InputRouter::Move(MouseButtons held, int x, int y) {
  if (targets_.Closed()) return;
  // No button held while a press holds the pointer: its releases were lost. End the press
  // here so nothing (a handle drag above all) stays half done.
  if (captured_ && held.Empty()) {
    ReleaseAll(x, y);
    if (targets_.Closed()) return;
  }

  const HitTarget target = captured_ ? target_ : targets_.HitTest(x, y);
  switch (target.kind) {
    case HitTarget::Kind::kSurface: targets_.SurfaceMove(held, x, y); break;
    case HitTarget::Kind::kHandle: targets_.HandleMove(target.index); break;
    case HitTarget::Kind::kButton: targets_.ButtonHover(target.index); break;
    case HitTarget::Kind::kToolbar: targets_.ToolbarHover(); break;
  }
}

void InputRouter::Release(MouseButton button, int x, int y) {
  if (targets_.Closed()) return;
  // A release whose press we never saw (it went down before the overlay showed, or
  // elsewhere) belongs to no element.
  if (!captured_ || !buttons_down_.Has(button)) return;

  buttons_down_.Remove(button);
  const HitTarget target = target_;
  const int pressed = pressed_button_;
  if (button == MouseButton::kLeft) pressed_button_ = -1;
  // Let go before the handler runs: a handler may close the overlay.
  if (buttons_down_.Empty()) captured_ = false;

  switch (target.kind) {
    case HitTarget::Kind::kSurface: targets_.SurfaceRelease(button); break;
    case HitTarget::Kind::kHandle: targets_.HandleRelease(target.index); break;
    case HitTarget::Kind::kButton:
      if (button == MouseButton::kLeft && pressed == target.index &&
          targets_.HitTest(x, y) == target) {
        targets_.ButtonClick(target.index);
      }
      break;
    case HitTarget::Kind::kToolbar: break;
  }
}

}  // namespace pelvanto::overlay
