#include "app/main_window.h"

#include "app/interval.h"
#include "tracking/chat_tracker.h"

namespace pelvanto::app {

namespace {
constexpr unsigned kFirstCutDelayMs = 1000;  // until the first tick sets the real pace
constexpr unsigned kTitleWatchMs = 1000;
constexpr unsigned kPointerResetMs = 10;
constexpr int kPointerResetTicks = 11;  // the pointer is settled this many times after a restore
constexpr unsigned kTrayIconDelayMs = 100;  // from the overlay's show to the window's icon
constexpr unsigned kMsPerSecond = 1000;
}  // namespace

MainWindow::MainWindow(MainWindowView& view, OverlayControl& overlay, MainWindowTimers timers,
                       PointerShape& pointer, Tray& tray, ShellNotifications& shell,
                       tracking::ChatTracker& tracker, bool& overlay_open)
    : view_(view),
      overlay_(overlay),
      timers_(timers),
      pointer_(pointer),
      shell_(shell),
      tracker_(tracker),
      overlay_open_(overlay_open),
      tray_(tray),
      interval_seconds_(ParseInterval(kInitialInterval)) {}

void MainWindow::Start() {
  timers_.auto_cut.SetInterval(kFirstCutDelayMs);
  timers_.title_watch.SetInterval(kTitleWatchMs);
  timers_.pointer_reset.SetInterval(kPointerResetMs);
  timers_.tray_icon.SetInterval(kTrayIconDelayMs);
  timers_.title_watch.SetEnabled(true);
  shell_.Subscribe();
}

std::wstring_view MainWindow::CaptureCaption() const {
  return capture_state_ == CaptureState::kIdle ? kStartCaption : kStopCaption;
}

void MainWindow::OnIntervalChange(std::wstring_view text) {
  interval_seconds_ = ParseInterval(text);
  // Replacing the text with "0" comes back here once more, which changes nothing.
  if (IntervalOutOfRange(text)) {
    interval_seconds_ = 0;
    view_.SetIntervalText(L"0");
  }
}

void MainWindow::OnCaptureClick() {
  if (capture_state_ == CaptureState::kIdle) {
    // The icon a moment after the overlay is up: adding it is a round trip to the shell that
    // the frozen picture need not wait for (under Wine the picture reaches the screen only
    // once the thread is back at its messages).
    view_.Hide();
    overlay_.Show();
    timers_.tray_icon.SetEnabled(true);
    capture_state_ = CaptureState::kCapturing;
  } else {
    // The overlay may have closed itself already.
    if (overlay_open_) {
      overlay_open_ = false;
      overlay_.Unload();
    }
    capture_state_ = CaptureState::kIdle;
    pointer_.Set(Pointer::Default);
  }
  view_.SetCaptureCaption(CaptureCaption());
}

void MainWindow::OnExitClick() { Shutdown(); }

void MainWindow::OnAutoCutTimer() {
  if (interval_seconds_ <= 0) return;  // paused; the timer keeps its interval
  // Never above the list's top value, so the product always fits.
  const int seconds = interval_seconds_ > kMaxIntervalSeconds ? kMaxIntervalSeconds
                                                                : interval_seconds_;
  timers_.auto_cut.SetInterval(static_cast<unsigned>(seconds) * kMsPerSecond);
  overlay_.StartCut();
}

void MainWindow::OnTitleWatchTimer() { tracker_.Watch(); }

void MainWindow::OnPointerResetTimer() {
  ++pointer_reset_ticks_;
  if (pointer_reset_ticks_ >= kPointerResetTicks) {
    timers_.pointer_reset.SetEnabled(false);
    pointer_reset_ticks_ = 0;
  }
  pointer_.Set(Pointer::Default);
}

void MainWindow::OnTrayIconTimer() {
  timers_.tray_icon.SetEnabled(false);
  // The window is still hidden: only the icon can bring it back.
  if (!shutting_down_ && !tray_.Shown()) AddTrayIcon();
}

void MainWindow::OnResize(bool minimised) {
  pointer_.Set(Pointer::Default);
  if (minimised) HideToTray();
}

void MainWindow::HideToTray() {
  AddTrayIcon();
  view_.Hide();
}

void MainWindow::AddTrayIcon() {
  TrayRecord record = view_.OwnTrayRecord();
  record.id = kMainTrayId;
  record.tip = kAppTitle;
  tray_.Add(record);
}

void MainWindow::OnTrayDoubleClick() {
  view_.ShowNoActivate();
  view_.Show();
  tray_.Delete();
  timers_.pointer_reset.SetEnabled(true);
}

void MainWindow::OnTaskbarCreated() { tray_.Readd(); }

void MainWindow::OnIconChanged() { tray_.ChangeIcon(view_.OwnTrayRecord().icon); }

void MainWindow::Shutdown() {
  if (shutting_down_) return;  // the close box and the exit button may both arrive
  shutting_down_ = true;
  timers_.tray_icon.SetEnabled(false);
  shell_.Unsubscribe();
  if (overlay_open_) overlay_.Unload();
  // Leave no dead icon behind.
  tray_.Delete();
  view_.EndProgram();
}

}  // namespace pelvanto::app
