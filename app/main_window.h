#pragma once
// The main window: start and stop capturing, the auto-cut pace, hiding into the notification
// area and coming back, start-up and shut-down.

#include <string>
#include <string_view>

#include "app/tray_icon.h"
#include "platform/pointer.h"
#include "platform/shell_notifications.h"
#include "platform/timer.h"

namespace pelvanto::tracking {
class ChatTracker;
}

namespace pelvanto::app {

// What the main window's logic asks of its window.
class MainWindowView {
 public:
  virtual ~MainWindowView() = default;
  virtual void SetCommand1Caption(std::wstring_view caption) = 0;
  virtual void SetCombo1Text(std::wstring_view text) = 0;
  // Leaves the screen and the taskbar.
  virtual void Hide() = 0;
  // Restores the window from minimised, in its last size and place, without activating it.
  virtual void ShowNoActivate() = 0;
  // Shows the window and brings it to the front.
  virtual void Show() = 0;
  // The window and its icon, for the notification-area record.
  virtual TrayRecord OwnTrayRecord() const = 0;
  // Ends the program at once: no further event of any window runs.
  virtual void EndProgram() = 0;
};

// The main window's handle on the single capture overlay.
class OverlayControl {
 public:
  virtual ~OverlayControl() = default;
  // Shows the overlay, loading a fresh instance first when none is loaded.
  virtual void Show() = 0;
  virtual void Unload() = 0;
  // The overlay cuts once at its timer's next tick.
  virtual void EnableTimer1() = 0;
};

inline constexpr std::wstring_view kStartCaption = L"切图开始";
inline constexpr std::wstring_view kStopCaption = L"切图结束";
inline constexpr std::wstring_view kInitialInterval = L"2";

struct MainWindowTimers {
  Timer& Timer1;  // auto-cut pace
  Timer& Timer2;  // chat-title watch, once a second for the whole run
  Timer& Timer3;  // settles the pointer after a restore from the notification area
};

class MainWindow {
 public:
  MainWindow(MainWindowView& view, OverlayControl& overlay, MainWindowTimers timers,
             PointerShape& pointer, NotificationArea& tray, ShellNotifications& shell,
             tracking::ChatTracker& tracker, bool& CutFormLoaded);

  // Form Load: subscribes to the shell and starts the design timers.
  void FormLoad();
  // The user changed the interval text (typed, or picked from the list).
  void OnCombo1Change(std::wstring_view text);
  void OnCommand1Click();
  void OnCommand2Click();
  void OnTimer1();
  void OnTimer2();
  void OnTimer3();
  void OnResize(bool minimised);
  // A left double click on the window's own notification-area icon.
  void OnTrayDoubleClick();
  void OnTaskbarCreated();
  // Tears the program down; runs on Command2, the close box and any other unload.
  void FormUnload();
  // Hides the window into the notification area.
  void WindowStyle();

  const std::wstring& Command1Caption() const { return command1_caption_; }
  const std::wstring& Combo1Text() const { return combo1_text_; }
  short RestoreTicks() const { return RestoreTicks_; }
  bool TrayShown() const { return tray_.Shown(); }

 private:
  void SetCombo1Text(std::wstring_view text);
  // The window's own icon, with the program's title as its tip.
  void AddTrayIcon();

  MainWindowView& view_;
  OverlayControl& overlay_;
  MainWindowTimers timers_;
  PointerShape& pointer_;
  ShellNotifications& shell_;
  tracking::ChatTracker& tracker_;
  bool& CutFormLoaded_;
  TrayIcon tray_;
  std::wstring command1_caption_{kStartCaption};  // the capture state
  std::wstring combo1_text_{kInitialInterval};    // the auto-cut interval in seconds
  short RestoreTicks_ = 0;                        // Timer3's ticks since a restore
  bool unloading_ = false;
};

}  // namespace pelvanto::app
