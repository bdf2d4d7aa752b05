#pragma once
// Following a window: the watched area kept at its place in the window it was taken from, as
// that window moves, resizes, hides or closes.

#include <optional>
#include <string>
#include <vector>

#include "core/geometry.h"
#include "host/types.h"
#include "host/window_watch.h"

namespace pelvanto::overlay {

// What the area is of its window.
enum class FollowKind {
  kWholeWindow,  // the window's whole visible frame
  kControl,      // one control of it
  kPart,         // any other part: an offset from the window's top-left and a size
};

// A window and the area's place in it, as they were when the area was chosen.
struct FollowChoice {
  WindowId window = 0;   // the top-level window
  WindowId control = 0;  // kControl: the control that is the area
  FollowKind kind = FollowKind::kPart;
  RectI frame;  // the window's visible frame at the choice, desktop pixels
  RectI area;   // the area at the choice
  friend bool operator==(const FollowChoice&, const FollowChoice&) = default;
};

// The area where the window stands now: `frame` its visible frame, `dpi` its monitor's, and
// `control` the control's rectangle while it can still be read (else the control is taken as
// the part of the window it was). A part keeps its offset and size, scaled from `choice_dpi`
// to `dpi`; everything is clipped to the window and to the desktop. Empty when nothing of the
// area is left in the window.
RectI FollowedArea(const FollowChoice& choice, unsigned choice_dpi, const RectI& frame,
                   unsigned dpi, const std::optional<RectI>& control, const RectI& desktop);

// The window an area drawn on the screen lies in: the topmost of `windows` (topmost first)
// that meets the area, when it holds the whole area (on the `desktop`). An area that equals
// that window's part of the desktop is the whole window.
std::optional<FollowChoice> ChoiceHolding(const std::vector<WindowPlace>& windows,
                                          const RectI& area, const RectI& desktop);

enum class FollowState {
  kNone,         // the area lies in no single window: nothing to follow
  kOff,          // it lies in one window, which is not followed
  kFollowing,    // followed, and on the screen
  kMinimised,    // followed; no cut until it is back
  kHidden,       // likewise, while it is not visible
  kCloaked,      // likewise, while the compositor hides it
  kOffMonitors,  // likewise, while no monitor shows it
  kOutside,      // likewise, while the window is too small to hold any of the area
  kGone,         // followed, and closed (or its handle is another window's now): no more cuts
};

struct FollowFacts {
  FollowState state = FollowState::kNone;
  std::wstring title;  // the window's title, as last read
  // "跟随窗口" applies: there is a window, and it has not gone.
  bool Offered() const { return state != FollowState::kNone && state != FollowState::kGone; }
  bool Following() const { return state != FollowState::kNone && state != FollowState::kOff; }
  // A cut may be made now.
  bool Cuttable() const { return !Following() || state == FollowState::kFollowing; }
  friend bool operator==(const FollowFacts&, const FollowFacts&) = default;
};

class Follower {
 public:
  explicit Follower(WindowWatch& watch) : watch_(watch) {}

  // A new choice for `area`: the window it was taken from, if any, followed at once when `on`.
  // Never a window of this program, nor one that has gone already.
  void Choose(const RectI& area, const std::optional<FollowChoice>& choice, bool on);
  // "跟随窗口": the area follows the window, or stays where the window last put it. False,
  // and nothing changed, when there is no window to follow.
  bool SetOn(bool on);
  // Reads the window again and moves the area with it. True when the area or the facts
  // changed. Gone stays gone.
  bool Check(const RectI& desktop);
  // The window is still the same one, at the frame `frame` (read now).
  bool StillAt(const RectI& frame) const;

  const FollowFacts& Facts() const { return facts_; }
  bool Chosen() const { return chosen_; }
  // The watched area: where the window put it last, or as it was chosen.
  const RectI& Area() const { return area_; }
  // The window's frame at the last reading.
  const RectI& Frame() const { return frame_; }
  WindowId Window() const { return choice_ ? choice_->window : 0; }

 private:
  // The same window, of the same program and class as at the choice.
  bool Same(const WindowLook& look) const;
  std::optional<RectI> ControlNow() const;

  WindowWatch& watch_;
  bool chosen_ = false;                 // Choose ran
  std::optional<FollowChoice> choice_;  // the window; none when nothing can be followed
  unsigned choice_dpi_ = kDesignDpi;    // the window's monitor's DPI at the choice
  std::uint32_t process_ = 0;           // the window's process at the choice
  std::wstring class_name_;             // and its class
  std::wstring control_class_;          // kControl: the control's class at the choice
  bool on_ = false;                     // "跟随窗口" is checked
  FollowFacts facts_;
  RectI area_;   // the watched area
  RectI frame_;  // the window's frame at the last reading
};

}  // namespace pelvanto::overlay
