#include "app/main_window.h"

#include "app/interval.h"
#include "tracking/chat_tracker.h"

namespace pelvanto::app {

namespace {
constexpr unsigned kTimer1DesignInterval = 1000;
constexpr unsigned kTimer2Interval = 1000;
constexpr unsigned kTimer3Interval = 10;
constexpr short kRestoreTicks = 10;  // Timer3 stops after the tick that passes this
}  // namespace

MainWindow::MainWindow(MainWindowView& view, OverlayControl& overlay, MainWindowTimers timers,
                       PointerShape& pointer, NotificationArea& tray, ShellNotifications& shell,
                       tracking::ChatTracker& tracker, bool& CutFormLoaded)
    : view_(view),
      overlay_(overlay),
      timers_(timers),
      pointer_(pointer),
      shell_(shell),
      tracker_(tracker),
      CutFormLoaded_(CutFormLoaded),
      tray_(tray) {}

void MainWindow::FormLoad() {
  timers_.Timer1.SetInterval(kTimer1DesignInterval);
  timers_.Timer2.SetInterval(kTimer2Interval);
  timers_.Timer3.SetInterval(kTimer3Interval);
  timers_.Timer2.SetEnabled(true);
  shell_.HookShell();
}

void MainWindow::SetCombo1Text(std::wstring_view text) {
  combo1_text_ = text;
  view_.SetCombo1Text(text);
}

void MainWindow::OnCombo1Change(std::wstring_view text) {
  combo1_text_ = text;
  // Setting "0" runs this handler once more, which changes nothing.
  if (IntervalOutOfRange(text)) SetCombo1Text(L"0");
}

void MainWindow::OnCommand1Click() {
  if (command1_caption_ == kStartCaption) {
    // The icon only after the overlay is up: adding it is a round trip to the shell that the
    // frozen picture need not wait for.
    view_.Hide();
    overlay_.Show();
    AddTrayIcon();
    command1_caption_ = kStopCaption;
    view_.SetCommand1Caption(command1_caption_);
  } else if (command1_caption_ == kStopCaption) {
    if (CutFormLoaded_) {
      CutFormLoaded_ = false;
      overlay_.Unload();
    }
    command1_caption_ = kStartCaption;
    view_.SetCommand1Caption(command1_caption_);
    pointer_.Set(Pointer::Default);
  }
}

void MainWindow::OnCommand2Click() { FormUnload(); }

void MainWindow::OnTimer1() {
  const long long n = RoundHalfEven(LeadingNumber(combo1_text_));
  if (n <= 0) return;  // no cut; the timer keeps its interval
  // Never above the list's top value, so the product always fits.
  const auto seconds = static_cast<unsigned>(n > 50 ? 50 : n);
  timers_.Timer1.SetInterval(seconds * 1000U);
  overlay_.EnableTimer1();
}

void MainWindow::OnTimer2() { tracker_.Watch(); }

void MainWindow::OnTimer3() {
  ++RestoreTicks_;
  if (RestoreTicks_ > kRestoreTicks) {
    timers_.Timer3.SetEnabled(false);
    RestoreTicks_ = 0;
  }
  pointer_.Set(Pointer::Default);
}

void MainWindow::OnResize(bool minimised) {
  pointer_.Set(Pointer::Default);
  if (minimised) WindowStyle();
}

void MainWindow::WindowStyle() {
  AddTrayIcon();
  view_.Hide();
}

void MainWindow::AddTrayIcon() {
  TrayRecord record = view_.OwnTrayRecord();
  record.tip = kAppTitle;
  tray_.Add(record);
}

void MainWindow::OnTrayDoubleClick() {
  view_.ShowNoActivate();
  view_.Show();
  tray_.Delete();
  timers_.Timer3.SetEnabled(true);
}

void MainWindow::OnTaskbarCreated() { tray_.Readd(); }

void MainWindow::FormUnload() {
  if (unloading_) return;  // the close box and Command2 may both arrive
  unloading_ = true;
  shell_.UnHook();
  if (CutFormLoaded_) overlay_.Unload();
  // Leave no dead icon behind.
  tray_.Delete();
  view_.EndProgram();
}

}  // namespace pelvanto::app
