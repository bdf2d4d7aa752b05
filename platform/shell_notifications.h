#pragma once

namespace pelvanto {

// The main window's subscription to the shell's window-activation notifications.
class ShellNotifications {
 public:
  virtual ~ShellNotifications() = default;
  virtual void HookShell() = 0;
  virtual void UnHook() = 0;
};

}  // namespace pelvanto
