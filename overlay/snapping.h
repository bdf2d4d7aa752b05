#pragma once
// Window snapping: the windows recorded when the screen froze and their controls as they join,
// the one the pointer hovers, Tab's steps outwards through those under the pointer, and whether a press and its
// release were a click (which selects the highlighted rectangle) or a drag (which draws).

#include <cstddef>
#include <optional>
#include <vector>

#include "host/types.h"
#include "overlay/desktop.h"
#include "overlay/follow.h"

namespace pelvanto::overlay {

// One window as it was recorded, before any clipping.
struct WindowRecord {
  RectI frame;          // its visible frame, virtual-desktop pixels
  int parent = -1;      // index of the window it is a child of, earlier in the list; -1: top level
  WindowId window = 0;  // its handle, to follow it once chosen
  friend bool operator==(const WindowRecord&, const WindowRecord&) = default;
};

// Controls of one top-level window, handed over in the order they were recorded. Each record's
// parent indexes the window's own list: 0 is the window itself, and its controls follow from 1
// in the order they came, over all of its batches.
struct ControlBatch {
  std::size_t window = 0;  // the window's place among the top-level windows of the freeze
  std::vector<WindowRecord> controls;
  friend bool operator==(const ControlBatch&, const ControlBatch&) = default;
};

// The top-level windows recorded at the freeze, and the controls that joined them since.
class RecordedWindows {
 public:
  RecordedWindows() = default;
  explicit RecordedWindows(const std::vector<WindowRecord>& top_level);
  // A batch for a window that was not recorded is dropped.
  void Add(const ControlBatch& batch);
  // All of them in z-order, each window followed by its controls, as SnapTargets takes them. A
  // control whose parent is not before it in its window's list is made to be left out.
  std::vector<WindowRecord> InZOrder() const;

 private:
  std::vector<std::vector<WindowRecord>> windows_;  // each: the window, then its controls
};

// What the pointer can snap to. The rectangles hold as recorded: a window that moves or closes
// later does not change them.
class SnapTargets {
 public:
  SnapTargets() = default;  // nothing recorded: no monitor either, so nothing is ever hovered
  // `windows` in z-order: top-level windows topmost first, each followed by its child windows
  // at any depth (a child after its parent, siblings topmost first). Each window is clipped to
  // its parents and to the desktop; one left empty by that, or on no monitor, is left out
  // together with its children. The monitors are the outermost targets.
  SnapTargets(const Desktop& desktop, const std::vector<WindowRecord>& windows);

  // The rectangles under a point, innermost first: the topmost control there, the windows it
  // lies in, the top-level window, the monitor; a rectangle equal to the one before it is
  // given once. Empty where no monitor is.
  std::vector<RectI> At(PointI p) const;
  // What a click at `p` that selected `rect` chose: the outermost window under `p` whose
  // rectangle that is, with the top-level window it belongs to. None for a monitor.
  std::optional<FollowChoice> ChoiceAt(PointI p, const RectI& rect) const;
  // How many windows were kept.
  std::size_t WindowCount() const { return windows_.size(); }

 private:
  struct Target {
    RectI rect;       // clipped
    std::size_t end;  // one past its last descendant in windows_
    WindowId window;  // as recorded
    RectI frame;      // as recorded, before clipping
    std::size_t top;  // its top-level window's place in windows_
  };
  std::vector<Target> windows_;  // as recorded, less what was left out
  std::vector<RectI> monitors_;
};

// True when every pixel of `r` lies in one of `above` (windows higher in z-order): no point of
// it can be hovered, so its children need not be recorded. Where the answer would take too
// many pieces it is false, which only costs a recording.
bool Covered(const RectI& r, const std::vector<RectI>& above);

// The highlight under the pointer while nothing is selected.
class Hover {
 public:
  // The pointer is at `p`: the innermost target there is highlighted. Over the same targets as
  // before, Tab's step is kept, so a small move does not undo it.
  void Follow(const SnapTargets& targets, PointI p);
  // The targets changed under a pointer that stays at `p` (controls joined): the innermost is
  // highlighted, unless Tab stepped outwards to a rectangle that is still there.
  void Retarget(const SnapTargets& targets, PointI p);
  // Tab and Shift+Tab: one target outwards, one back. False when there is none that way.
  bool StepOutwards();
  bool StepInwards();
  // A press, or a selection: nothing is highlighted until the pointer is followed again.
  void Hide();
  // The highlighted rectangle, if any.
  std::optional<RectI> Highlighted() const;

 private:
  std::vector<RectI> under_;  // targets under the pointer, innermost first; empty when hidden
  std::size_t step_ = 0;      // Tab's steps outwards from the innermost
};

// The system's drag rectangle at the overlay's DPI (SM_CXDRAG x SM_CYDRAG).
struct DragSize {
  int width = 4;
  int height = 4;
};

// Whether a press and its release make a click: every move in between stayed inside the
// system's drag rectangle, `width` x `height` centred on the press (its edges inside).
class ClickOrDrag {
 public:
  explicit ClickOrDrag(DragSize size)
      : half_width_(size.width / 2), half_height_(size.height / 2) {}
  void Press(PointI p);
  void Move(PointI p);
  // True from the press until a move leaves the rectangle.
  bool Click() const { return pressed_ && click_; }
  void Reset() { pressed_ = false; }

 private:
  int half_width_;
  int half_height_;
  PointI press_;
  bool pressed_ = false;
  bool click_ = false;
};

}  // namespace pelvanto::overlay
