#pragma once
#include <windows.h>

#include <cstdint>
#include <functional>

#include "host/shell_notifications.h"
#include "tracking/chat_tracker.h"
#include "tracking/shell_hook.h"

namespace pelvanto::win32 {

// The main window's subscription to the shell's activation notifications. The window's own
// procedure hands every message to Intercept, which acts on the registered "SHELLHOOK"
// message and passes every message on to the window's own handling. Where the shell refuses
// the subscription, a timer on the main window watches the foreground window instead.
class ShellHook final : public ShellNotifications, private tracking::HookedWindow {
 public:
  // The main window's timer for the foreground watch; its WM_TIMER calls OnForegroundTimer.
  static constexpr UINT_PTR kForegroundTimerId = 4;
  static constexpr UINT kForegroundIntervalMs = 200;

  // The window's own handling of a message, after the hook has seen it.
  using OwnHandling = std::function<LRESULT(UINT, WPARAM, LPARAM)>;

  ShellHook(HWND main_window, tracking::ChatTracker& tracker, OwnHandling own_handling);
  ~ShellHook() override;
  ShellHook(const ShellHook&) = delete;
  ShellHook& operator=(const ShellHook&) = delete;

  void Subscribe() override;
  void Unsubscribe() override;
  bool UsesForegroundFallback() const { return fallback_; }
  void OnForegroundTimer() noexcept;
  // One message of the main window.
  LRESULT Intercept(UINT message, WPARAM wparam, LPARAM lparam) noexcept;

 private:
  void UnHook() override { Unsubscribe(); }
  void OnActivate(WindowId window) override;
  std::intptr_t CallPrevious(unsigned message, std::uintptr_t wparam,
                             std::intptr_t lparam) override;
  void StartForegroundWatch();

  HWND window_;
  tracking::ChatTracker& tracker_;
  tracking::ForegroundWatch foreground_;
  OwnHandling own_handling_;
  UINT shell_hook_message_ = 0;  // the message number of "SHELLHOOK"
  bool hooked_ = false;          // between Subscribe and Unsubscribe
  bool registered_ = false;      // the shell accepted the window: deregister it on unhook
  bool fallback_ = false;        // the foreground timer stands in for the shell
};

}  // namespace pelvanto::win32
