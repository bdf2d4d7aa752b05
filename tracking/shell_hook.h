#pragma once
// The main window's replacement window procedure, as a decision on each message.

#include <cstdint>

#include "host/types.h"

namespace pelvanto::tracking {

inline constexpr unsigned kWmNcDestroy = 0x0082;
inline constexpr std::uintptr_t kHshellWindowActivated = 4;

// What to do with one message before it goes on to the window's previous procedure, which
// every message reaches.
struct HookAction {
  bool unhook = false;        // the window is being destroyed: give back its procedure
  bool activated = false;     // a window became active: hand it to OnActivate
  WindowId window = 0;        // the window that became active
  friend bool operator==(const HookAction&, const HookAction&) = default;
};

HookAction FilterMessage(unsigned shell_hook_msg, unsigned message, std::uintptr_t wparam,
                         std::intptr_t lparam);

// What the replacement procedure acts on; the Win32 layer implements it on the main window.
class HookedWindow {
 public:
  virtual ~HookedWindow() = default;
  virtual void UnHook() = 0;
  virtual void OnActivate(WindowId window) = 0;
  // The window's procedure from before the hook.
  virtual std::intptr_t CallPrevious(unsigned message, std::uintptr_t wparam,
                                     std::intptr_t lparam) = 0;
};

// One message through the replacement procedure: acts on it as FilterMessage decides, then
// hands it to the previous procedure and returns that result.
std::intptr_t InterceptMessage(HookedWindow& window, unsigned shell_hook_msg, unsigned message,
                               std::uintptr_t wparam, std::intptr_t lparam);

}  // namespace pelvanto::tracking
