#pragma once
// The notification-area icons' menu: made from the logic's entries and shown at the pointer
// the way Windows expects of a notification-area menu; the choice comes back as a command.

#include <windows.h>

#include <optional>
#include <span>

#include "app/auto_cut_menu.h"
#include "platform/win32/base/owners.h"

namespace pelvanto::win32 {

// A popup menu of the entries; each item's id is its command's number.
OwnedMenu BuildMenu(std::span<const app::MenuEntry> entries);

// The command of a menu item id; none for an id that names no command.
std::optional<app::MenuCommand> CommandOf(UINT id);

class TrayMenu {
 public:
  // Shows the entries at `anchor` (screen pixels) for `owner` and returns the choice once the
  // menu has closed. Nothing when nothing was chosen, or when a menu is open already (a second
  // click on an icon while the first menu is up).
  std::optional<app::MenuCommand> Show(HWND owner, POINT anchor,
                                       std::span<const app::MenuEntry> entries);
  bool IsOpen() const { return open_; }
  // Closes an open menu: Explorer restarted and the icon it belonged to is gone.
  void Close();

 private:
  bool open_ = false;  // inside TrackPopupMenuEx
};

}  // namespace pelvanto::win32
