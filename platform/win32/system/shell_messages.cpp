#include "platform/win32/system/shell_messages.h"

#include "platform/win32/base/messages.h"
#include "platform/win32/base/trace.h"
#include "tracking/shell_hook.h"

namespace pelvanto::win32 {

ShellMessages::ShellMessages(HWND main_window, tracking::ChatTracker& tracker)
    : window_(main_window),
      tracker_(tracker),
      foreground_(tracker),
      foreground_timer_(main_window, kForegroundTimer) {
  foreground_timer_.SetInterval(kForegroundIntervalMs);
}

ShellMessages::~ShellMessages() { Unsubscribe(); }

void ShellMessages::Subscribe() {
  if (hooked_) return;
  registered_ = ShellHookMessage() != 0 && ::RegisterShellHookWindow(window_);
  hooked_ = true;
  // Wine 8 refuses the subscription; without notifications the chat window would never be
  // found, so watch the foreground window instead. The message is still handled: with that
  // number it can only come from the shell.
  if (!registered_) {
    TraceFailure(L"RegisterShellHookWindow");
    foreground_timer_.SetEnabled(true);
  }
}

void ShellMessages::Unsubscribe() {
  foreground_timer_.SetEnabled(false);
  if (registered_) {
    ::DeregisterShellHookWindow(window_);
    registered_ = false;
  }
  hooked_ = false;
}

bool ShellMessages::OnMessage(UINT message, WPARAM wparam, LPARAM lparam) noexcept {
  if (message != ShellHookMessage() || message == 0) return false;
  // Before Subscribe and after Unsubscribe no message is an activation.
  const auto window =
      tracking::ActivatedWindow(hooked_ ? ShellHookMessage() : 0, message, wparam, lparam);
  try {
    if (window) tracker_.OnActivate(*window);
  } catch (...) {
    // Out of memory reading a path: this activation is missed, the next one is not.
  }
  return true;
}

void ShellMessages::OnForegroundTimer() noexcept {
  try {
    foreground_.Poll(reinterpret_cast<WindowId>(::GetForegroundWindow()));
  } catch (...) {
    // As above: no exception may leave the window procedure.
  }
}

}  // namespace pelvanto::win32
