#include "tracking/shell_hook.h"

namespace pelvanto::tracking {

HookAction FilterMessage(unsigned shell_hook_msg, unsigned message, std::uintptr_t wparam,
                         std::intptr_t lparam) {
  HookAction action;
  if (message == kWmNcDestroy) {
    action.unhook = true;
  } else if (shell_hook_msg != 0 && message == shell_hook_msg &&
             (wparam == kHshellWindowActivated || wparam == kHshellRudeAppActivated)) {
    // Registered messages are never 0; a failed registration must not turn WM_NULL into
    // an activation. lParam is the activated window with either code.
    action.activated = true;
    action.window = static_cast<WindowId>(lparam);
  }
  return action;
}

std::intptr_t InterceptMessage(HookedWindow& window, unsigned shell_hook_msg, unsigned message,
                               std::uintptr_t wparam, std::intptr_t lparam) {
  const HookAction action = FilterMessage(shell_hook_msg, message, wparam, lparam);
  if (action.unhook) window.UnHook();
  if (action.activated) window.OnActivate(action.window);
  // Even the messages acted on reach the window's own handling, so it behaves as unhooked.
  return window.CallPrevious(message, wparam, lparam);
}

}  // namespace pelvanto::tracking
