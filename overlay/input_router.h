#pragma once
// Mouse input from the window: which element a press lands on, and the pointer capture that
// keeps a press's moves and releases on that element until every button is up.

#include "host/types.h"

namespace pelvanto::overlay {

// What a press landed on.
struct HitTarget {
  enum class Kind { kSurface, kHandle, kButton, kToolbar };
  Kind kind = Kind::kSurface;
  int index = 0;  // handle or button index
  friend bool operator==(const HitTarget&, const HitTarget&) = default;
};

// The elements the router hands input to.
class InputTargets {
 public:
  virtual ~InputTargets() = default;
  // Which element is at a point, topmost first: toolbar button, toolbar, handle, surface.
  virtual HitTarget HitTest(int x, int y) const = 0;
  // The overlay closed; nothing more is routed.
  virtual bool Closed() const = 0;
  virtual void SurfacePress(MouseButton button, int x, int y) = 0;
  virtual void SurfaceMove(MouseButtons held, int x, int y) = 0;
  virtual void SurfaceRelease(MouseButton button) = 0;
  virtual void HandlePress(int index) = 0;
  virtual void HandleMove(int index) = 0;
  virtual void HandleRelease(int index) = 0;
  virtual void ButtonHover(int index) = 0;
  virtual void ButtonClick(int index) = 0;
  virtual void ToolbarHover() = 0;
};

class InputRouter {
 public:
  explicit InputRouter(InputTargets& targets) : targets_(targets) {}

  // `button` is the one that changed; `held` the buttons held during a move.
  void Press(MouseButton button, int x, int y);
  void Move(MouseButtons held, int x, int y);
  void Release(MouseButton button, int x, int y);
  // True while a press holds the pointer capture.
  bool Captured() const { return captured_; }

 private:
  void ReleaseAll(int x, int y);

  InputTargets& targets_;
  bool captured_ = false;      // a press holds the pointer
  HitTarget target_;           // where that press landed
  MouseButtons buttons_down_;  // buttons held since the press
  int pressed_button_ = -1;    // toolbar button a left press landed on, for its click
};

}  // namespace pelvanto::overlay
