#include "overlay/follow.h"

#include "core/geometry.h"

namespace pelvanto::overlay {

namespace {

FollowState StateOf(WindowShow show) {
  switch (show) {
    case WindowShow::kShown: return FollowState::kFollowing;
    case WindowShow::kMinimised: return FollowState::kMinimised;
    case WindowShow::kHidden: return FollowState::kHidden;
    case WindowShow::kCloaked: return FollowState::kCloaked;
    case WindowShow::kOffMonitors: return FollowState::kOffMonitors;
  }
  return FollowState::kHidden;
}

}  // namespace

RectI FollowedArea(const FollowChoice& choice, unsigned choice_dpi, const RectI& frame,
                   unsigned dpi, const std::optional<RectI>& control, const RectI& desktop) {
  RectI area;
  if (choice.kind == FollowKind::kWholeWindow) {
    area = frame;
  } else if (choice.kind == FollowKind::kControl && control) {
    area = *control;
  } else {
    // The content of a window moved to a monitor of another DPI is drawn that much larger or
    // smaller: the offsets and the size scale with it, in physical pixels of the new place.
    const int from = static_cast<int>(choice_dpi == 0 ? kDesignDpi : choice_dpi);
    auto scaled = [&](int offset) { return ScaleToDpi(offset, from, dpi); };
    area = {frame.left + scaled(choice.area.left - choice.frame.left),
            frame.top + scaled(choice.area.top - choice.frame.top),
            frame.left + scaled(choice.area.right - choice.frame.left),
            frame.top + scaled(choice.area.bottom - choice.frame.top)};
  }
  return Intersection(Intersection(area, frame), desktop);
}

std::optional<FollowChoice> ChoiceHolding(const std::vector<WindowPlace>& windows,
                                          const RectI& area, const RectI& desktop) {
  if (area.Empty()) return std::nullopt;
  for (const WindowPlace& w : windows) {
    if (Intersection(w.frame, area).Empty()) continue;
    // The topmost window there: a window above another shows in the area too, and then the
    // area is not one window's.
    if (!Encloses(w.frame, area)) return std::nullopt;
    const bool whole = area == Intersection(w.frame, desktop);
    return FollowChoice{w.window, 0, whole ? FollowKind::kWholeWindow : FollowKind::kPart, w.frame,
                        area};
  }
  return std::nullopt;
}

void Follower::Choose(const RectI& area, const std::optional<FollowChoice>& choice, bool on) {
  chosen_ = true;
  area_ = area;
  on_ = false;
  choice_.reset();
  facts_ = {};
  watch_.Listen(0);
  if (!choice || choice->window == 0) return;
  const WindowLook look = watch_.Look(choice->window);
  // Pelvanto's own windows are never followed; a window gone already has nothing to follow.
  if (!look.exists || look.process == watch_.OwnProcess()) return;
  choice_ = choice;
  choice_dpi_ = look.dpi;
  process_ = look.process;
  class_name_ = look.class_name;
  frame_ = choice->frame;
  if (choice->kind == FollowKind::kControl) {
    const WindowLook control = watch_.Look(choice->control);
    // A control that went already: the area is the part of the window it was.
    if (control.exists && control.process == process_)
      control_class_ = control.class_name;
    else
      choice_->kind = FollowKind::kPart;
  }
  facts_.state = FollowState::kOff;
  facts_.title = watch_.Title(choice->window);
  SetOn(on);
}

bool Follower::SetOn(bool on) {
  if (!facts_.Offered()) return false;
  on_ = on;
  if (!on_) {
    watch_.Listen(0);
    facts_.state = FollowState::kOff;
    return true;
  }
  watch_.Listen(choice_->window);
  facts_.state = FollowState::kFollowing;
  return true;
}

bool Follower::Same(const WindowLook& look) const {
  // A closed window's handle may be reused by a window of another program: the handle alone
  // does not say it is the same window.
  return look.exists && look.process == process_ && look.class_name == class_name_;
}

std::optional<RectI> Follower::ControlNow() const {
  if (choice_->kind != FollowKind::kControl) return std::nullopt;
  const WindowLook control = watch_.Look(choice_->control);
  if (!control.exists || control.process != process_ || control.class_name != control_class_ ||
      control.show == WindowShow::kHidden)
    return std::nullopt;
  return control.frame;
}

bool Follower::Check(const RectI& desktop) {
  if (!on_ || !choice_ || facts_.state == FollowState::kGone) return false;
  const FollowFacts before = facts_;
  const RectI area_before = area_;
  const WindowLook look = watch_.Look(choice_->window);
  if (!Same(look)) {
    facts_.state = FollowState::kGone;
    watch_.Listen(0);
    return true;
  }
  facts_.title = watch_.Title(choice_->window);
  facts_.state = StateOf(look.show);
  if (facts_.state == FollowState::kFollowing) {
    const RectI area =
        FollowedArea(*choice_, choice_dpi_, look.frame, look.dpi, ControlNow(), desktop);
    if (area.Empty()) {
      facts_.state = FollowState::kOutside;
    } else {
      area_ = area;
      frame_ = look.frame;
    }
  }
  return facts_ != before || area_ != area_before;
}

bool Follower::StillAt(const RectI& frame) const {
  if (!choice_) return true;
  const WindowLook look = watch_.Look(choice_->window);
  return Same(look) && look.show == WindowShow::kShown && look.frame == frame;
}

}  // namespace pelvanto::overlay
