// Mouse input from the window: which element a press lands on, and the pointer capture that
// keeps a press's moves and releases on that element until every button is up.

#include <cmath>
#include <utility>

#include "overlay/overlay.h"

namespace pelvanto::overlay {

namespace {

// Left and top edges inside, right and bottom outside.
bool Contains(const RectF& r, float x, float y) {
  return x >= r.left && x < r.Right() && y >= r.top && y < r.Bottom();
}

bool SingleButton(int button) {
  return button == mouse::kLeft || button == mouse::kRight || button == mouse::kMiddle;
}

bool Finite(float x, float y) { return std::isfinite(x) && std::isfinite(y); }

}  // namespace

HitTarget Overlay::HitTest(float x, float y) const {
  const auto& bar = elements_.Picture1;
  if (bar.visible) {
    // The buttons' places are relative to the strip.
    for (std::size_t i = 0; i < elements_.Image2.size(); ++i) {
      RectF button = elements_.Image2[i];
      button.left += bar.rect.left;
      button.top += bar.rect.top;
      if (Contains(button, x, y)) return {HitTarget::Kind::Button, static_cast<int>(i)};
    }
    if (Contains(bar.rect, x, y)) return {HitTarget::Kind::Toolbar, 0};
  }
  // Handles overlap on a small selection; a later handle lies on top of an earlier one.
  for (std::size_t i = elements_.Image1.size(); i-- > 0;) {
    const auto& handle = elements_.Image1[i];
    if (handle.visible && Contains(handle.rect, x, y)) {
      return {HitTarget::Kind::Handle, static_cast<int>(i)};
    }
  }
  // The labels have no handlers: a press on them is a press on the surface.
  return {HitTarget::Kind::Surface, 0};
}

void Overlay::OnMouseDown(int button, float x, float y) {
  if (unloaded_ || !SingleButton(button) || !Finite(x, y)) return;
  // The same button going down again means its release never reached us (the capture was
  // taken away): finish the old press here before starting the new one.
  if ((buttons_down_ & button) != 0) {
    for (int held : {mouse::kLeft, mouse::kRight, mouse::kMiddle}) {
      if ((buttons_down_ & held) != 0) OnMouseUp(held, x, y);
    }
    if (unloaded_) return;
  }
  if (!captured_) {
    captured_ = true;
    capture_target_ = HitTest(x, y);
    pressed_button_ = -1;
  }
  buttons_down_ |= button;
  copy_at_release_ = false;

  const HitTarget target = capture_target_;
  switch (target.kind) {
    case HitTarget::Kind::Surface: FormMouseDown(button, x, y); break;
    case HitTarget::Kind::Handle: Image1MouseDown(target.index); break;
    case HitTarget::Kind::Button:
      // A click is a left press and a left release on the same button.
      if (button == mouse::kLeft) pressed_button_ = target.index;
      break;
    case HitTarget::Kind::Toolbar: break;
  }
  FollowPointer(x, y);
}

void Overlay::OnMouseMove(int buttons, float x, float y) {
  if (unloaded_ || !Finite(x, y)) return;
  // No button held while a press holds the pointer: its releases were lost. End the press
  // here so nothing (a handle drag above all) stays half done.
  if (captured_ && buttons == 0) {
    for (int held : {mouse::kLeft, mouse::kRight, mouse::kMiddle}) {
      if ((buttons_down_ & held) != 0) OnMouseUp(held, x, y);
    }
    if (unloaded_) return;
  }

  const HitTarget target = captured_ ? capture_target_ : HitTest(x, y);
  switch (target.kind) {
    case HitTarget::Kind::Surface: FormMouseMove(buttons, x, y); break;
    case HitTarget::Kind::Handle: Image1MouseMove(target.index); break;
    case HitTarget::Kind::Button: Image2MouseMove(target.index); break;
    case HitTarget::Kind::Toolbar: Picture1MouseMove(); break;
  }
  FollowPointer(x, y);
}

void Overlay::OnMouseUp(int button, float x, float y) {
  if (unloaded_ || !SingleButton(button) || !Finite(x, y)) return;
  // A release whose press we never saw (it went down before the overlay showed, or
  // elsewhere) belongs to no element.
  if (!captured_ || (buttons_down_ & button) == 0) return;

  buttons_down_ &= ~button;
  const HitTarget target = capture_target_;
  const int pressed = pressed_button_;
  if (button == mouse::kLeft) pressed_button_ = -1;
  // Let go before the handler runs: a handler may close the overlay or let events run.
  if (buttons_down_ == 0) captured_ = false;

  const bool copy = button == mouse::kLeft && std::exchange(copy_at_release_, false);
  switch (target.kind) {
    case HitTarget::Kind::Surface:
      FormMouseUp(button, x, y);
      if (copy && !unloaded_) Image2Click(kCopyAndExit);
      break;
    case HitTarget::Kind::Handle: Image1MouseUp(target.index); break;
    case HitTarget::Kind::Button:
      if (button == mouse::kLeft && pressed == target.index && HitTest(x, y) == target) {
        Image2Click(target.index);
      }
      break;
    case HitTarget::Kind::Toolbar: break;
  }
  FollowPointer(x, y);
}

void Overlay::OnPointerLeft() { loupe_.visible = false; }

void Overlay::FollowPointer(float x, float y) {
  // Gone, or sent to the tray by this very event.
  if (unloaded_ || in_tray_) {
    loupe_.visible = false;
    return;
  }
  pointer_ = {RoundHalfEven(x), RoundHalfEven(y)};
  const RectI screen{0, 0, screen_.width, screen_.height};
  const HitTarget over = HitTest(x, y);
  const bool on_toolbar =
      over.kind == HitTarget::Kind::Button || over.kind == HitTarget::Kind::Toolbar;
  const bool on_screen = pointer_.x >= 0 && pointer_.y >= 0 && pointer_.x < screen.right &&
                         pointer_.y < screen.bottom;
  if (on_toolbar || !on_screen) {
    loupe_.visible = false;
    return;
  }
  loupe_ = MakeLoupe(pointer_, loupe_metrics_, screen, screen,
                     services_.window.FrozenPixel(pointer_.x, pointer_.y));
}

}  // namespace pelvanto::overlay
