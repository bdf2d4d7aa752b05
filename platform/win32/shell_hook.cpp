#include "platform/win32/shell_hook.h"

#include <utility>

#include "platform/win32/trace.h"

namespace pelvanto::win32 {

ShellHook::ShellHook(HWND main_window, tracking::ChatTracker& tracker, OwnHandling own_handling)
    : window_(main_window),
      tracker_(tracker),
      foreground_(tracker),
      own_handling_(std::move(own_handling)) {}

ShellHook::~ShellHook() { Unsubscribe(); }

void ShellHook::Subscribe() {
  if (hooked_) return;
  shell_hook_message_ = ::RegisterWindowMessageW(L"SHELLHOOK");
  registered_ = shell_hook_message_ != 0 && ::RegisterShellHookWindow(window_);
  hooked_ = true;
  // Wine 8 refuses the subscription; without notifications the chat window would never be
  // found, so watch the foreground window instead. The message is still handled: with that
  // number it can only come from the shell.
  if (!registered_) {
    TraceFailure(L"RegisterShellHookWindow");
    StartForegroundWatch();
  }
}

void ShellHook::StartForegroundWatch() {
  if (fallback_) return;
  fallback_ = ::SetTimer(window_, kForegroundTimerId, kForegroundIntervalMs, nullptr) != 0;
}

void ShellHook::Unsubscribe() {
  if (fallback_) {
    ::KillTimer(window_, kForegroundTimerId);
    fallback_ = false;
  }
  if (registered_) {
    ::DeregisterShellHookWindow(window_);
    registered_ = false;
  }
  hooked_ = false;
}

void ShellHook::OnForegroundTimer() noexcept {
  try {
    foreground_.Poll(reinterpret_cast<WindowId>(::GetForegroundWindow()));
  } catch (...) {
    // Out of memory reading a path: this change is missed, the next one is not.
  }
}

void ShellHook::OnActivate(WindowId window) {
  try {
    tracker_.OnActivate(window);
  } catch (...) {
    // As above: no exception may leave the window procedure.
  }
}

std::intptr_t ShellHook::CallPrevious(unsigned message, std::uintptr_t wparam,
                                      std::intptr_t lparam) {
  if (!own_handling_) return ::DefWindowProcW(window_, message, wparam, lparam);
  return own_handling_(message, wparam, lparam);
}

LRESULT ShellHook::Intercept(UINT message, WPARAM wparam, LPARAM lparam) noexcept {
  // Before Subscribe and after Unsubscribe no message is an activation.
  return tracking::InterceptMessage(*this, hooked_ ? shell_hook_message_ : 0, message, wparam, lparam);
}

}  // namespace pelvanto::win32
