#include "platform/win32/notification_area.h"

#include <shellapi.h>

#include <algorithm>
#include <cwchar>

#include "platform/win32/messages.h"
#include "platform/win32/trace.h"

namespace pelvanto::win32 {

namespace {
NOTIFYICONDATAW Data(const TrayRecord& record) {
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof data;
  data.hWnd = reinterpret_cast<HWND>(record.window);
  data.uID = record.id;
  data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  data.uCallbackMessage = kTrayCallback;
  data.hIcon = reinterpret_cast<HICON>(record.icon);
  const std::size_t n = std::min(record.tip.size(), std::size(data.szTip) - 1);
  std::wmemcpy(data.szTip, record.tip.data(), n);
  data.szTip[n] = L'\0';
  return data;
}
}  // namespace

bool ShellNotificationArea::Add(const TrayRecord& record) {
  NOTIFYICONDATAW data = Data(record);
  if (::Shell_NotifyIconW(NIM_ADD, &data)) return true;
  TraceFailure(L"Shell_NotifyIcon(NIM_ADD)");
  return false;
}

void ShellNotificationArea::Delete(const TrayRecord& record) {
  NOTIFYICONDATAW data = Data(record);
  ::Shell_NotifyIconW(NIM_DELETE, &data);
}

void ShellNotificationArea::Modify(const TrayRecord& record) {
  NOTIFYICONDATAW data = Data(record);
  ::Shell_NotifyIconW(NIM_MODIFY, &data);
}

}  // namespace pelvanto::win32
