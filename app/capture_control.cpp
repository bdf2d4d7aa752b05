#include "app/capture_control.h"

#include "app/interval.h"
#include "tracking/chat_tracker.h"

namespace pelvanto::app {

namespace {
constexpr unsigned kFirstCutDelayMs = 1000;  // until the first tick sets the real pace
constexpr unsigned kTitleWatchMs = 1000;
constexpr unsigned kPointerResetMs = 10;
constexpr int kPointerResetTicks = 11;  // the pointer is settled this many times after a restore
}  // namespace

CaptureControl::CaptureControl(MainView& view, OverlayControl& overlay, CaptureTimers timers,
                               PointerShape& pointer, Tray& tray, ShellNotifications& shell,
                               tracking::ChatTracker& tracker, HotkeyBoard& hotkeys)
    : view_(view),
      overlay_(overlay),
      timers_(timers),
      pointer_(pointer),
      shell_(shell),
      tracker_(tracker),
      tray_(tray),
      steering_(timers.auto_cut, overlay),
      hotkeys_(hotkeys),
      interval_seconds_(ParseInterval(kInitialInterval)) {}

void CaptureControl::Start() {
  timers_.auto_cut.SetInterval(kFirstCutDelayMs);
  timers_.title_watch.SetInterval(kTitleWatchMs);
  timers_.pointer_reset.SetInterval(kPointerResetMs);
  timers_.title_watch.SetEnabled(true);
  shell_.Subscribe();
  hotkeys_.RegisterAll();
}

std::wstring_view CaptureControl::CaptureCaption() const {
  return capture_state_ == CaptureState::kIdle ? kStartCaption : kStopCaption;
}

void CaptureControl::OnIntervalChange(std::wstring_view text) {
  interval_seconds_ = ParseInterval(text);
  // Replacing the text with "0" comes back here once more, which changes nothing.
  if (IntervalOutOfRange(text)) {
    interval_seconds_ = 0;
    view_.SetIntervalText(L"0");
  }
  RefreshTip();
}

void CaptureControl::OnCaptureClick() {
  if (capture_state_ == CaptureState::kIdle) {
    // The icon only after the overlay is up: adding it is a round trip to the shell that the
    // frozen picture need not wait for.
    view_.Hide();
    if (!overlay_.Open()) {
      // Never a hidden window with nothing on the screen: back to where the user started.
      pointer_.Set(Pointer::kDefault);
      view_.Show();
      view_.SetCaptureCaption(CaptureCaption());
      return;
    }
    // A fresh capture: unpaused, counting anew.
    steering_.OnAreaGone();
    AddTrayIcon();
    capture_state_ = CaptureState::kCapturing;
  } else {
    // The overlay may have closed itself already.
    if (overlay_.IsOpen()) overlay_.Close();
    steering_.OnAreaGone();
    capture_state_ = CaptureState::kIdle;
    pointer_.Set(Pointer::kDefault);
  }
  view_.SetCaptureCaption(CaptureCaption());
  RefreshTip();
}

void CaptureControl::OnExitClick() { Shutdown(); }

void CaptureControl::OnAutoCutTimer() { steering_.OnPaceTick(interval_seconds_); }

void CaptureControl::OnTitleWatchTimer() { tracker_.Watch(); }

void CaptureControl::OnPointerResetTimer() {
  ++pointer_reset_ticks_;
  if (pointer_reset_ticks_ >= kPointerResetTicks) {
    timers_.pointer_reset.SetEnabled(false);
    pointer_reset_ticks_ = 0;
  }
  pointer_.Set(Pointer::kDefault);
}

void CaptureControl::OnResize(bool minimised) {
  pointer_.Set(Pointer::kDefault);
  if (minimised) HideToTray();
}

void CaptureControl::HideToTray() {
  AddTrayIcon();
  view_.Hide();
}

void CaptureControl::AddTrayIcon() {
  TrayRecord record = view_.OwnTrayRecord();
  record.id = kMainTrayId;
  record.tip = Tip();
  tray_.Add(record);
}

std::wstring CaptureControl::Tip() const {
  return StatusTip(steering_.Status(interval_seconds_), hotkeys_.TakenNote());
}

void CaptureControl::RefreshTip() { tray_.ChangeTip(Tip()); }

std::vector<MenuEntry> CaptureControl::TrayMenu() const {
  std::vector<MenuEntry> menu = MenuFor(steering_.State(Capturing()));
  for (MenuEntry& entry : menu) entry.keys = hotkeys_.KeysOf(entry.command);
  return menu;
}

void CaptureControl::OnMenuCommand(MenuCommand command) {
  if (shutting_down_ || !Applies(steering_.State(Capturing()), command)) return;
  switch (command) {
    case MenuCommand::kShowMain: OnTrayDoubleClick(); break;
    case MenuCommand::kStartCapture:
    case MenuCommand::kStopCapture: OnCaptureClick(); break;
    case MenuCommand::kExit: Shutdown(); return;
    case MenuCommand::kAdjust:
      // The screen freezes anew: the main window must not be on it.
      if (!tray_.Shown()) HideToTray();
      steering_.OnCommand(command, Capturing(), interval_seconds_);
      break;
    default: steering_.OnCommand(command, Capturing(), interval_seconds_); break;
  }
  RefreshTip();
}

void CaptureControl::OnCut(const overlay::CutReport& report) {
  steering_.OnCutReport(report);
  RefreshTip();
}

void CaptureControl::OnAreaSet() {
  steering_.OnAreaSet();
  RefreshTip();
}

void CaptureControl::OnFollowChanged(const overlay::FollowFacts& facts) {
  steering_.OnFollowChanged(facts);
  RefreshTip();
}

void CaptureControl::OnSessionChange(bool screen_shown) {
  const bool unlocked = screen_shown && steering_.State(Capturing()).session_locked;
  steering_.OnSessionChange(!screen_shown);
  // A program of the locked session's other user may have let a key go.
  if (unlocked && !shutting_down_) hotkeys_.RegisterAll();
  RefreshTip();
}

void CaptureControl::OnTrayDoubleClick() {
  view_.ShowNoActivate();
  view_.Show();
  tray_.Delete();
  timers_.pointer_reset.SetEnabled(true);
}

bool CaptureControl::OnSecondStart() {
  if (shutting_down_) return false;
  OnTrayDoubleClick();
  return true;
}

void CaptureControl::OnHotkey(int id) {
  const auto hotkey = HotkeyOf(id);
  if (!hotkey || shutting_down_) return;
  // A greyed item's key does nothing at all.
  if (const auto command = HotkeyCommand(steering_.State(Capturing()), *hotkey))
    OnMenuCommand(*command);
}

void CaptureControl::OnTaskbarCreated() {
  tray_.Readd();
  // Explorer came back, perhaps with a program that let a key go in the meantime.
  hotkeys_.RegisterAll();
  RefreshTip();
}

void CaptureControl::OnIconChanged() { tray_.ChangeIcon(view_.OwnTrayRecord().icon); }

void CaptureControl::Shutdown() {
  if (shutting_down_) return;  // the close box and the exit button may both arrive
  shutting_down_ = true;
  hotkeys_.UnregisterAll();
  shell_.Unsubscribe();
  if (overlay_.IsOpen()) overlay_.Close();
  // Leave no dead icon behind.
  tray_.Delete();
  view_.EndProgram();
}

}  // namespace pelvanto::app
