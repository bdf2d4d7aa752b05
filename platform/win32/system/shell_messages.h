#pragma once
// The main window's subscription to the shell's activation notifications. The main window
// hands its messages to OnMessage, which acts on the registered "SHELLHOOK" message. Where
// the shell refuses the subscription, a timer of the main window watches the foreground
// window instead.

#include <windows.h>

#include "host/shell_notifications.h"
#include "platform/win32/base/window_timer.h"
#include "tracking/chat_tracker.h"

namespace pelvanto::win32 {

class ShellMessages final : public ShellNotifications {
 public:
  // How often the foreground watch looks, where the shell refused the subscription.
  static constexpr unsigned kForegroundIntervalMs = 200;

  ShellMessages(HWND main_window, tracking::ChatTracker& tracker);
  ~ShellMessages() override;
  ShellMessages(const ShellMessages&) = delete;
  ShellMessages& operator=(const ShellMessages&) = delete;

  void Subscribe() override;
  void Unsubscribe() override;
  // True when the message was the shell's; an activation among them goes to the tracker.
  bool OnMessage(UINT message, WPARAM wparam, LPARAM lparam) noexcept;
  // The main window's kForegroundTimer ticked.
  void OnForegroundTimer() noexcept;

 private:
  HWND window_;
  tracking::ChatTracker& tracker_;
  tracking::ForegroundWatch foreground_;
  WindowTimer foreground_timer_;  // runs only where the shell refused the subscription
  bool hooked_ = false;           // between Subscribe and Unsubscribe
  bool registered_ = false;       // the shell accepted the window: deregister it on unhook
};

}  // namespace pelvanto::win32
