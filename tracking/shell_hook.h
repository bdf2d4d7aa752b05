#pragma once
// What the main window's procedure does with each message for the shell's activation
// notifications, as a decision on each message.

#include <cstdint>

#include "host/types.h"

namespace pelvanto::tracking {

inline constexpr unsigned kWmNcDestroy = 0x0082;
inline constexpr std::uintptr_t kHshellWindowActivated = 4;
// The same activation with the bit that says a full-screen window exists; Windows 8 and
// later report most ordinary activations this way.
inline constexpr std::uintptr_t kHshellRudeAppActivated = 0x8004;

// What to do with one message before it goes on to the window's own handling, which every
// message reaches.
struct HookAction {
  bool unhook = false;        // the window is being destroyed: end the subscription
  bool activated = false;     // a window became active: hand it to OnActivate
  WindowId window = 0;        // the window that became active
  friend bool operator==(const HookAction&, const HookAction&) = default;
};

HookAction FilterMessage(unsigned shell_hook_msg, unsigned message, std::uintptr_t wparam,
                         std::intptr_t lparam);

// What the main window's procedure acts on; the Win32 layer implements it.
class HookedWindow {
 public:
  virtual ~HookedWindow() = default;
  virtual void UnHook() = 0;
  virtual void OnActivate(WindowId window) = 0;
  // The window's own handling of the message.
  virtual std::intptr_t CallPrevious(unsigned message, std::uintptr_t wparam,
                                     std::intptr_t lparam) = 0;
};

// One message through the main window's procedure: acts on it as FilterMessage decides,
// then hands it to the window's own handling and returns that result.
std::intptr_t InterceptMessage(HookedWindow& window, unsigned shell_hook_msg, unsigned message,
                               std::uintptr_t wparam, std::intptr_t lparam);

}  // namespace pelvanto::tracking
