#include "platform/win32/shell_hook.h"

#include "platform/win32/trace.h"

namespace pelvanto::win32 {

ShellHook* ShellHook::hooked_ = nullptr;

ShellHook::ShellHook(HWND main_window, tracking::ChatTracker& tracker)
    : window_(main_window), tracker_(tracker), foreground_(tracker) {}

ShellHook::~ShellHook() {
  Unsubscribe();
  if (hooked_ == this) hooked_ = nullptr;
}

void ShellHook::Subscribe() {
  // Subclassing twice would make the window's previous procedure this one: endless recursion.
  if (subclassed_ || (hooked_ != nullptr && hooked_ != this)) return;
  shell_hook_message_ = ::RegisterWindowMessageW(L"SHELLHOOK");
  const bool registered = shell_hook_message_ != 0 && ::RegisterShellHookWindow(window_);

  hooked_ = this;
  ::SetLastError(0);
  const LONG_PTR previous = ::SetWindowLongPtrW(window_, GWLP_WNDPROC,
                                                reinterpret_cast<LONG_PTR>(&WindowProc));
  if (previous != 0 || ::GetLastError() == 0) {
    previous_proc_ = reinterpret_cast<WNDPROC>(previous);
    subclassed_ = true;
  }
  // Wine 8 refuses the subscription; without notifications the chat window would never be
  // found, so watch the foreground window instead.
  if (!registered) TraceFailure(L"RegisterShellHookWindow");
  if (!registered || !subclassed_) StartForegroundWatch();
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
  if (!subclassed_) return;
  // previous_proc_ is kept: the message that unhooks (WM_NCDESTROY) still goes on to it.
  ::SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous_proc_));
  subclassed_ = false;
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
  if (previous_proc_ == nullptr) return ::DefWindowProcW(window_, message, wparam, lparam);
  return ::CallWindowProcW(previous_proc_, window_, message, wparam, lparam);
}

LRESULT CALLBACK ShellHook::WindowProc(HWND window, UINT message, WPARAM wparam,
                                       LPARAM lparam) noexcept {
  ShellHook* self = hooked_;
  if (self == nullptr || self->window_ != window)
    return ::DefWindowProcW(window, message, wparam, lparam);
  return tracking::InterceptMessage(*self, self->shell_hook_message_, message, wparam, lparam);
}

}  // namespace pelvanto::win32
