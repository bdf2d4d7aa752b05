#pragma once
#include <windows.h>

#include <cstdint>

#include "host/shell_notifications.h"
#include "tracking/chat_tracker.h"
#include "tracking/shell_hook.h"

namespace pelvanto::win32 {

// The main window's subscription to the shell's activation notifications, with its
// replacement window procedure in front of the window's own. Where the shell refuses the
// subscription, a timer on the main window watches the foreground window instead.
class ShellHook final : public ShellNotifications, private tracking::HookedWindow {
 public:
  // The main window's timer for the foreground watch; its WM_TIMER calls OnForegroundTimer.
  static constexpr UINT_PTR kForegroundTimerId = 4;
  static constexpr UINT kForegroundIntervalMs = 200;

  ShellHook(HWND main_window, tracking::ChatTracker& tracker);
  ~ShellHook() override;
  ShellHook(const ShellHook&) = delete;
  ShellHook& operator=(const ShellHook&) = delete;

  void Subscribe() override;
  void Unsubscribe() override;
  bool UsesForegroundFallback() const { return fallback_; }
  void OnForegroundTimer() noexcept;

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam,
                                     LPARAM lparam) noexcept;
  void UnHook() override { Unsubscribe(); }
  void OnActivate(WindowId window) override;
  std::intptr_t CallPrevious(unsigned message, std::uintptr_t wparam,
                             std::intptr_t lparam) override;
  void StartForegroundWatch();

  static ShellHook* hooked_;  // one hook for the program

  HWND window_;
  tracking::ChatTracker& tracker_;
  tracking::ForegroundWatch foreground_;
  UINT shell_hook_message_ = 0;         // the message number of "SHELLHOOK"
  WNDPROC previous_proc_ = nullptr;  // the window's procedure before the hook
  bool subclassed_ = false;        // WindowProc is the window's procedure now
  bool fallback_ = false;          // the foreground timer stands in for the shell
};

}  // namespace pelvanto::win32
