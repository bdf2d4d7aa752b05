#pragma once
// Steering the auto-cut from the tray: pausing and resuming the pace, one cut
// now, adjusting the watched area, the frame around it, and the facts its status shows.

#include <optional>

#include "app/auto_cut_menu.h"
#include "app/auto_cut_status.h"
#include "host/timer.h"
#include "overlay/cut.h"
#include "overlay/follow.h"

namespace pelvanto::app {

// How the frame around the watched area looks.
enum class FrameStyle {
  kHidden,  // no frame
  kSolid,   // the auto-cut runs
  kDashed,  // the auto-cut is paused
};

// What the steering reaches of the overlay that holds the watched area.
class WatchedArea {
 public:
  virtual ~WatchedArea() = default;
  // One cut, at the next tick of the overlay's cut timer.
  virtual void StartCut() = 0;
  // A cut asked for and not made yet is dropped.
  virtual void CancelCut() = 0;
  // A cut was asked for and is not made yet.
  virtual bool CutUnderWay() const = 0;
  // Freezes the screen anew and shows the overlay with the watched area in place, at once or,
  // where the frame must leave the screen first, a moment later. False when it could not;
  // nothing changed then. A freeze that fails later ends the adjustment as OnAreaSet, with
  // the old area.
  virtual bool Adjust() = 0;
  virtual void ShowFrame(FrameStyle style) = 0;
  // Reads the followed window again; a change comes back as OnFollowChanged.
  virtual void CheckFollowed() = 0;
  // "跟随窗口" on or off; the change comes back as OnFollowChanged. False when it cannot be.
  virtual bool SetFollowing(bool on) = 0;
};

class AutoCutSteering {
 public:
  AutoCutSteering(Timer& pace, WatchedArea& area) : pace_(pace), area_(area) {}

  // The overlay went to the tray with an area: "复制退出" on a fresh overlay, or the end of an
  // adjustment, confirmed or not. The pace runs unless paused.
  void OnAreaSet();
  // The overlay closed: nothing is watched; the next capture starts unpaused and counts anew.
  void OnAreaGone();
  // A tick of the pace at the interval box's value: one cut, unless paused, adjusting or at 0.
  // The pace is set to that value (at most the list's top one) for the next tick.
  void OnPaceTick(int interval_seconds);
  void OnCutReport(const overlay::CutReport& report);
  void OnSessionChange(bool locked);
  // The followed window moved, changed state or went, or following was turned on or off.
  void OnFollowChanged(const overlay::FollowFacts& facts);
  // Cut now, pause, resume, adjust and the frame's check item; the other commands belong to
  // the main window's logic. False, and nothing done, when the command does not apply now.
  bool OnCommand(MenuCommand command, bool capturing, int interval_seconds);

  SteeringState State(bool capturing) const;
  StatusFacts Status(int interval_seconds) const;
  FrameStyle Frame() const;

 private:
  void Resume(int interval_seconds);
  void ShowFrame() { area_.ShowFrame(Frame()); }

  Timer& pace_;
  WatchedArea& area_;
  bool area_set_ = false;        // the overlay waits in the tray with an area
  bool paused_ = false;          // "暂停切图" until "继续切图"
  bool adjusting_ = false;       // the overlay is up to adjust the area: no cuts
  bool session_locked_ = false;  // the session does not show the screen
  bool frame_wanted_ = true;     // "显示选区边框", for this run only
  int cuts_made_ = 0;            // pictures on the clipboard in this capture
  std::optional<overlay::CutReport> last_cut_;
  std::optional<overlay::CutReport> last_landed_;
  overlay::FollowFacts follow_;  // the window the area follows, and how it stands
};

}  // namespace pelvanto::app
