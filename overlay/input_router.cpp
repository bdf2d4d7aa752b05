#include "overlay/input_router.h"

#include <cmath>
#include <initializer_list>

#include "host/types.h"

namespace pelvanto::overlay {

namespace {

bool SingleButton(int button) {
  return button == mouse::kLeft || button == mouse::kRight || button == mouse::kMiddle;
}

bool Finite(float x, float y) { return std::isfinite(x) && std::isfinite(y); }

}  // namespace

void InputRouter::ReleaseAll(float x, float y) {
  for (int held : {mouse::kLeft, mouse::kRight, mouse::kMiddle}) {
    if ((buttons_down_ & held) != 0) Release(held, x, y);
  }
}

void InputRouter::Press(int button, float x, float y) {
  if (targets_.Closed() || !SingleButton(button) || !Finite(x, y)) return;
  // The same button going down again means its release never reached us (the capture was
  // taken away): finish the old press here before starting the new one.
  if ((buttons_down_ & button) != 0) {
    ReleaseAll(x, y);
    if (targets_.Closed()) return;
  }
  if (!captured_) {
    captured_ = true;
    target_ = targets_.HitTest(x, y);
    pressed_button_ = -1;
  }
  buttons_down_ |= button;

  switch (target_.kind) {
    case HitTarget::Kind::Surface: targets_.SurfacePress(button, x, y); break;
    case HitTarget::Kind::Handle: targets_.HandlePress(target_.index); break;
    case HitTarget::Kind::Button:
      // A click is a left press and a left release on the same button.
      if (button == mouse::kLeft) pressed_button_ = target_.index;
      break;
    case HitTarget::Kind::Toolbar: break;
  }
}

void InputRouter::Move(int buttons, float x, float y) {
  if (targets_.Closed() || !Finite(x, y)) return;
  // No button held while a press holds the pointer: its releases were lost. End the press
  // here so nothing (a handle drag above all) stays half done.
  if (captured_ && buttons == 0) {
    ReleaseAll(x, y);
    if (targets_.Closed()) return;
  }

  const HitTarget target = captured_ ? target_ : targets_.HitTest(x, y);
  switch (target.kind) {
    case HitTarget::Kind::Surface: targets_.SurfaceMove(buttons, x, y); break;
    case HitTarget::Kind::Handle: targets_.HandleMove(target.index); break;
    case HitTarget::Kind::Button: targets_.ButtonHover(target.index); break;
    case HitTarget::Kind::Toolbar: targets_.ToolbarHover(); break;
  }
}

void InputRouter::Release(int button, float x, float y) {
  if (targets_.Closed() || !SingleButton(button) || !Finite(x, y)) return;
  // A release whose press we never saw (it went down before the overlay showed, or
  // elsewhere) belongs to no element.
  if (!captured_ || (buttons_down_ & button) == 0) return;

  buttons_down_ &= ~button;
  const HitTarget target = target_;
  const int pressed = pressed_button_;
  if (button == mouse::kLeft) pressed_button_ = -1;
  // Let go before the handler runs: a handler may close the overlay.
  if (buttons_down_ == 0) captured_ = false;

  switch (target.kind) {
    case HitTarget::Kind::Surface: targets_.SurfaceRelease(button); break;
    case HitTarget::Kind::Handle: targets_.HandleRelease(target.index); break;
    case HitTarget::Kind::Button:
      if (button == mouse::kLeft && pressed == target.index && targets_.HitTest(x, y) == target) {
        targets_.ButtonClick(target.index);
      }
      break;
    case HitTarget::Kind::Toolbar: break;
  }
}

}  // namespace pelvanto::overlay
