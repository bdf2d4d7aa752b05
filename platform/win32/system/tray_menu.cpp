#include "platform/win32/system/tray_menu.h"

#include <string>

#include "platform/win32/base/trace.h"

namespace pelvanto::win32 {

OwnedMenu BuildMenu(std::span<const app::MenuEntry> entries) {
  OwnedMenu menu(::CreatePopupMenu());
  if (!menu) return menu;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const app::MenuEntry& entry = entries[i];
    const auto id = static_cast<UINT_PTR>(entry.command);
    const auto flags = static_cast<UINT>(MF_STRING | (entry.enabled ? MF_ENABLED : MF_GRAYED) |
                                         (entry.checked ? MF_CHECKED : MF_UNCHECKED));
    // The hotkey after a tab: the menu puts it in a column of its own, right-aligned.
    std::wstring caption{entry.caption};
    if (!entry.keys.empty()) caption += L"\t" + std::wstring{entry.keys};
    if (!::AppendMenuW(menu.get(), flags, id, caption.c_str())) return {};
    if (entry.is_default) ::SetMenuDefaultItem(menu.get(), static_cast<UINT>(id), FALSE);
    if (entry.separator_after && i + 1 < entries.size())
      ::AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
  }
  return menu;
}

std::optional<app::MenuCommand> CommandOf(UINT id) {
  if (id < static_cast<UINT>(app::MenuCommand::kShowMain) ||
      id > static_cast<UINT>(app::MenuCommand::kToggleFollow))
    return std::nullopt;
  return static_cast<app::MenuCommand>(id);
}

std::optional<app::MenuCommand> TrayMenu::Show(HWND owner, POINT anchor,
                                               std::span<const app::MenuEntry> entries) {
  if (open_) return std::nullopt;
  const OwnedMenu menu = BuildMenu(entries);
  if (!menu) {
    TraceFailure(L"CreatePopupMenu");
    return std::nullopt;
  }
  open_ = true;
  // The menu closes on a click elsewhere only when its owner is the foreground window.
  ::SetForegroundWindow(owner);
  const auto flags = static_cast<UINT>(
      TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON |
      (::GetSystemMetrics(SM_MENUDROPALIGNMENT) ? TPM_RIGHTALIGN : TPM_LEFTALIGN));
  // Physical pixels: the program is per-monitor DPI aware, so the menu opens on the monitor
  // that holds the anchor; menus made in a per-monitor v2 context are drawn at the DPI of the
  // monitor they open on.
  const UINT chosen =
      static_cast<UINT>(::TrackPopupMenuEx(menu.get(), flags, anchor.x, anchor.y, owner, nullptr));
  // Without a message to the owner after it, the next click on the icon may fail to close
  // the menu (the convention for notification-area menus).
  ::PostMessageW(owner, WM_NULL, 0, 0);
  open_ = false;
  return CommandOf(chosen);
}

void TrayMenu::Close() {
  if (open_) ::EndMenu();
}

}  // namespace pelvanto::win32
