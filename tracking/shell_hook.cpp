#include "tracking/shell_hook.h"

namespace pelvanto::tracking {

std::optional<WindowId> ActivatedWindow(unsigned shell_hook_message, unsigned message,
                                        std::uintptr_t wparam, std::intptr_t lparam) {
  // Registered messages are never 0: without a subscription, WM_NULL is no activation.
  if (shell_hook_message == 0 || message != shell_hook_message) return std::nullopt;
  if (wparam != kHshellWindowActivated && wparam != kHshellRudeAppActivated) return std::nullopt;
  // lParam is the activated window with either code.
  return static_cast<WindowId>(lparam);
}

}  // namespace pelvanto::tracking
