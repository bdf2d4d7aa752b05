#pragma once
// The main window: start and stop capturing, the auto-cut pace, hiding into the notification
// area and coming back, start-up and shut-down.

#include <string_view>
#include <vector>

#include "app/auto_cut.h"
#include "app/hotkeys.h"
#include "core/tray_icon.h"
#include "host/pointer_shape.h"
#include "host/shell_notifications.h"
#include "host/timer.h"

namespace pelvanto::tracking {
class ChatTracker;
}

namespace pelvanto::app {

// What the main window's logic asks of its window.
class MainView {
 public:
  virtual ~MainView() = default;
  virtual void SetCaptureCaption(std::wstring_view caption) = 0;
  // Replaces what the interval box shows.
  virtual void SetIntervalText(std::wstring_view text) = 0;
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

// The main window's handle on the single capture overlay; the steering reaches the watched
// area through it.
class OverlayControl : public WatchedArea {
 public:
  virtual ~OverlayControl() = default;
  // Shows the overlay, opening a fresh instance first when none is open. False when no overlay
  // could be opened, or its copy of the screen failed (it has closed itself then).
  virtual bool Open() = 0;
  virtual void Close() = 0;
  // True while an overlay is open: on the screen, or waiting in the tray.
  virtual bool IsOpen() const = 0;
};

enum class CaptureState {
  kIdle,       // no overlay of ours: the capture button starts one
  kCapturing,  // an overlay was started: the capture button stops it
};

inline constexpr std::wstring_view kStartCaption = L"切图开始";
inline constexpr std::wstring_view kStopCaption = L"切图结束";
inline constexpr std::wstring_view kInitialInterval = L"2";

struct CaptureTimers {
  Timer& auto_cut;       // the pace of cuts
  Timer& title_watch;    // the chat-title watch, once a second for the whole run
  Timer& pointer_reset;  // settles the pointer after a restore from the tray
};

class CaptureControl {
 public:
  CaptureControl(MainView& view, OverlayControl& overlay, CaptureTimers timers,
                 PointerShape& pointer, Tray& tray, ShellNotifications& shell,
                 tracking::ChatTracker& tracker, HotkeyBoard& hotkeys);

  // Subscribes to the shell, asks for the hotkeys and starts the timers that run from the start.
  void Start();
  // The user changed the interval text (typed, or picked from the list).
  void OnIntervalChange(std::wstring_view text);
  void OnCaptureClick();
  void OnExitClick();
  void OnAutoCutTimer();
  void OnTitleWatchTimer();
  void OnPointerResetTimer();
  void OnResize(bool minimised);
  // A left double click on the window's own notification-area icon.
  void OnTrayDoubleClick();
  // The program was started again: the window comes back as on the double click. False
  // while the program is ending (the new start then waits for it to be gone).
  bool OnSecondStart();
  // A global hotkey (its system id): its menu item's command, when that item applies.
  void OnHotkey(int id);
  void OnTaskbarCreated();
  // The window's icon was replaced (its DPI changed).
  void OnIconChanged();
  // Tears the program down; runs on the exit button, the close box and any other end.
  void Shutdown();
  void HideToTray();

  // The icons' menu as it stands now.
  std::vector<MenuEntry> TrayMenu() const;
  // A command from it, maybe posted a while ago: nothing when it no longer applies.
  void OnMenuCommand(MenuCommand command);
  // From the overlay: a cut was made; it went to the tray with an area.
  void OnCut(const overlay::CutReport& report);
  void OnAreaSet();
  void OnFollowChanged(const overlay::FollowFacts& facts);
  // The session shows the screen again, or no longer does.
  void OnSessionChange(bool screen_shown);

  std::wstring_view CaptureCaption() const;
  // Seconds between cuts, as the interval box reads; 0 or less pauses the cuts.
  int IntervalSeconds() const { return interval_seconds_; }
  int PointerResetTicks() const { return pointer_reset_ticks_; }
  bool TrayShown() const { return tray_.Shown(); }

 private:
  // The window's own icon, with the status as its tip.
  void AddTrayIcon();
  // The status and any taken hotkey, as the icon's tip says them.
  std::wstring Tip() const;
  // The tip says the status as it is now; the shell hears of it only when the text changed.
  void RefreshTip();
  bool Capturing() const { return capture_state_ == CaptureState::kCapturing; }

  MainView& view_;
  OverlayControl& overlay_;
  CaptureTimers timers_;
  PointerShape& pointer_;
  ShellNotifications& shell_;
  tracking::ChatTracker& tracker_;
  TrayIcon tray_;
  AutoCutSteering steering_;  // pause, one cut now, adjusting, the frame; the status's facts
  Hotkeys hotkeys_;           // which global hotkeys the program holds
  CaptureState capture_state_ = CaptureState::kIdle;
  int interval_seconds_ = 2;     // what the interval box reads, whole seconds
  int pointer_reset_ticks_ = 0;  // ticks of the pointer-reset timer since a restore
  bool shutting_down_ = false;
};

}  // namespace pelvanto::app
