#pragma once

namespace pelvanto {

// The main window's subscription to the shell's window-activation notifications.
class ShellNotifications {
 public:
  virtual ~ShellNotifications() = default;
  virtual void Subscribe() = 0;
  virtual void Unsubscribe() = 0;
};

}  // namespace pelvanto
