#include "platform/win32/system/tray_icons.h"

#include <shellapi.h>
#include <windowsx.h>

#include <cwchar>

#include "core/tray_icon.h"
#include "platform/win32/base/messages.h"
#include "platform/win32/base/trace.h"

namespace pelvanto::win32 {

namespace {
NOTIFYICONDATAW Data(const TrayRecord& record) {
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof data;
  data.hWnd = reinterpret_cast<HWND>(record.window);
  data.uID = record.id;
  // With version 4 the shell shows the standard tip only when asked to.
  data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP | NIF_SHOWTIP;
  data.uCallbackMessage = kTrayCallback;
  data.hIcon = reinterpret_cast<HICON>(record.icon);
  // Never half a surrogate pair at the end.
  const std::wstring tip = FitTip(record.tip, std::size(data.szTip) - 1);
  std::wmemcpy(data.szTip, tip.data(), tip.size());
  data.szTip[tip.size()] = L'\0';
  return data;
}
}  // namespace

bool TrayIcons::Add(const TrayRecord& record) {
  NOTIFYICONDATAW data = Data(record);
  if (!::Shell_NotifyIconW(NIM_ADD, &data)) {
    TraceFailure(L"Shell_NotifyIcon(NIM_ADD)");
    return false;
  }
  // Version 4: a right click and the keyboard's menu key both arrive as WM_CONTEXTMENU, with
  // the icon's id and the anchor point. A shell that refuses it calls back the old way, which
  // ReadTrayCallback also reads.
  data.uVersion = NOTIFYICON_VERSION_4;
  if (!::Shell_NotifyIconW(NIM_SETVERSION, &data))
    TraceFailure(L"Shell_NotifyIcon(NIM_SETVERSION)");
  return true;
}

void TrayIcons::Delete(const TrayRecord& record) {
  NOTIFYICONDATAW data = Data(record);
  ::Shell_NotifyIconW(NIM_DELETE, &data);
}

void TrayIcons::Modify(const TrayRecord& record) {
  NOTIFYICONDATAW data = Data(record);
  ::Shell_NotifyIconW(NIM_MODIFY, &data);
}

TrayEvent ReadTrayCallback(WPARAM wparam, LPARAM lparam) {
  TrayEvent event;
  event.message = LOWORD(lparam);
  const UINT icon = HIWORD(lparam);
  // The old way carries the mouse message alone, and no place.
  event.has_anchor = icon != 0;
  event.icon = icon;
  if (event.has_anchor) {
    event.anchor = {GET_X_LPARAM(wparam), GET_Y_LPARAM(wparam)};
  } else {
    event.icon = static_cast<UINT>(wparam);
    const DWORD pos = ::GetMessagePos();
    event.anchor = {GET_X_LPARAM(pos), GET_Y_LPARAM(pos)};
  }
  return event;
}

bool OpensMenu(const TrayEvent& event) {
  // With version 4 a right click sends WM_RBUTTONUP and then WM_CONTEXTMENU: one menu only.
  if (event.message == WM_CONTEXTMENU) return true;
  return !event.has_anchor && event.message == WM_RBUTTONUP;
}

namespace {
// Wine's own tray window (winex11's, where no tray of the desktop takes the icons in).
constexpr wchar_t kWineTrayClass[] = L"__winex11_standalone_tray";
}  // namespace

bool PassToTrayIcon(UINT message, POINT screen) {
  const HWND tray = ::FindWindowW(kWineTrayClass, nullptr);
  RECT r{};
  if (!tray || !::IsWindowVisible(tray) || !::GetWindowRect(tray, &r) || !::PtInRect(&r, screen))
    return false;
  // Each icon is a child window of the tray window, which tells the icon's owner of its clicks.
  POINT client = screen;
  ::ScreenToClient(tray, &client);
  HWND icon = ::ChildWindowFromPointEx(tray, client, CWP_SKIPINVISIBLE);
  if (!icon || icon == tray) return false;
  POINT in_icon = screen;
  ::ScreenToClient(icon, &in_icon);
  const WPARAM held = message == WM_RBUTTONDOWN ? MK_RBUTTON : 0;
  return ::PostMessageW(icon, message, held, MAKELPARAM(in_icon.x, in_icon.y)) != FALSE;
}

}  // namespace pelvanto::win32
