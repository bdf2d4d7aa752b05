#pragma once
// The shell's activation notifications, as the main window receives them.

#include <cstdint>
#include <optional>

#include "host/types.h"

namespace pelvanto::tracking {

inline constexpr std::uintptr_t kHshellWindowActivated = 4;
// The same activation with the bit that says a full-screen window exists; Windows 8 and
// later report most ordinary activations this way.
inline constexpr std::uintptr_t kHshellRudeAppActivated = 0x8004;

// The window a message reports as activated, or nothing when the message is no activation.
// `shell_hook_message` is the registered "SHELLHOOK" message, or 0 while not subscribed.
std::optional<WindowId> ActivatedWindow(unsigned shell_hook_message, unsigned message,
                                        std::uintptr_t wparam, std::intptr_t lparam);

}  // namespace pelvanto::tracking
