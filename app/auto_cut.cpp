#include "app/auto_cut.h"

#include <algorithm>

#include "app/interval.h"

namespace pelvanto::app {

namespace {
constexpr unsigned kMsPerSecond = 1000;

// The pace's period for a positive interval: never above the list's top value, so the product
// always fits.
unsigned PaceMs(int interval_seconds) {
  return static_cast<unsigned>(std::min(interval_seconds, kMaxIntervalSeconds)) * kMsPerSecond;
}
}  // namespace

void AutoCutSteering::OnAreaSet() {
  if (!area_set_) {
    cuts_made_ = 0;
    last_cut_.reset();
    last_landed_.reset();
  }
  area_set_ = true;
  adjusting_ = false;
  // The overlay starts the pace itself; a pause outlasts an adjustment.
  if (paused_) pace_.SetEnabled(false);
  ShowFrame();
}

void AutoCutSteering::OnAreaGone() {
  area_set_ = false;
  follow_ = {};
  paused_ = false;
  adjusting_ = false;
  ShowFrame();
}

void AutoCutSteering::OnPaceTick(int interval_seconds) {
  // The overlay starts the pace with its area; a tick after a pause was already on its way.
  if (paused_ || adjusting_) return;
  const bool cut = interval_seconds > 0 && follow_.Cuttable();
  // Where the system does not report the followed window's moves (Wine), the frame catches up
  // here, and a window that could not be seen is found back; a cut reads the window itself.
  if (follow_.Following() && !cut) area_.CheckFollowed();
  if (interval_seconds <= 0) return;
  pace_.SetInterval(PaceMs(interval_seconds));
  // Nothing of a window that cannot be seen, or has gone.
  if (cut) area_.StartCut();
}

void AutoCutSteering::OnCutReport(const overlay::CutReport& report) {
  last_cut_ = report;
  if (!report.Landed()) return;
  ++cuts_made_;
  last_landed_ = report;
}

void AutoCutSteering::OnSessionChange(bool locked) { session_locked_ = locked; }

void AutoCutSteering::OnFollowChanged(const overlay::FollowFacts& facts) {
  follow_ = facts;
  if (!follow_.Cuttable()) area_.CancelCut();
  ShowFrame();
}

bool AutoCutSteering::OnCommand(MenuCommand command, bool capturing, int interval_seconds) {
  if (!Applies(State(capturing), command)) return false;
  switch (command) {
    case MenuCommand::kCutNow: area_.StartCut(); return true;
    case MenuCommand::kPause:
      paused_ = true;
      pace_.SetEnabled(false);
      // A cut already asked for must not land either.
      area_.CancelCut();
      ShowFrame();
      return true;
    case MenuCommand::kResume: Resume(interval_seconds); return true;
    case MenuCommand::kAdjust:
      area_.CancelCut();
      adjusting_ = true;
      // Off the screen before the screen freezes again.
      ShowFrame();
      if (!area_.Adjust()) {
        adjusting_ = false;
        ShowFrame();
        return false;
      }
      return true;
    case MenuCommand::kToggleFrame:
      frame_wanted_ = !frame_wanted_;
      ShowFrame();
      return true;
    case MenuCommand::kToggleFollow: return area_.SetFollowing(!follow_.Following());
    case MenuCommand::kShowMain:
    case MenuCommand::kStartCapture:
    case MenuCommand::kStopCapture:
    case MenuCommand::kExit: return false;
  }
  return false;
}

void AutoCutSteering::Resume(int interval_seconds) {
  paused_ = false;
  // At 0 the timer keeps its interval and its ticks cut nothing, as before the pause.
  if (interval_seconds > 0) pace_.SetInterval(PaceMs(interval_seconds));
  pace_.SetEnabled(true);
  ShowFrame();
}

SteeringState AutoCutSteering::State(bool capturing) const {
  return {capturing,     area_set_,           paused_,      adjusting_, session_locked_,
          frame_wanted_, area_.CutUnderWay(), follow_.state};
}

StatusFacts AutoCutSteering::Status(int interval_seconds) const {
  return {area_set_,  paused_,   adjusting_,   session_locked_, interval_seconds,
          cuts_made_, last_cut_, last_landed_, follow_};
}

FrameStyle AutoCutSteering::Frame() const {
  // Nothing to frame where the followed window cannot be seen.
  if (!area_set_ || adjusting_ || !frame_wanted_ || !follow_.Cuttable()) return FrameStyle::kHidden;
  return paused_ ? FrameStyle::kDashed : FrameStyle::kSolid;
}

}  // namespace pelvanto::app
