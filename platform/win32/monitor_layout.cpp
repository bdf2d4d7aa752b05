#include "platform/win32/monitor_layout.h"

#include <windows.h>

#include <vector>

namespace pelvanto::win32 {

namespace {

// shcore.dll's GetDpiForMonitor, looked up at run time: the program does not import shcore
// (Windows before 8.1 has none). MDT_EFFECTIVE_DPI is 0.
using DpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
constexpr int kEffectiveDpi = 0;

DpiForMonitorFn DpiForMonitor() {
  static const DpiForMonitorFn call = [] {
    const HMODULE shcore = ::LoadLibraryExW(L"shcore.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (!shcore) return DpiForMonitorFn{};
    return reinterpret_cast<DpiForMonitorFn>(
        reinterpret_cast<void*>(::GetProcAddress(shcore, "GetDpiForMonitor")));
  }();
  return call;
}

unsigned MonitorDpi(HMONITOR monitor) {
  UINT x = 0;
  UINT y = 0;
  if (const auto call = DpiForMonitor(); call && SUCCEEDED(call(monitor, kEffectiveDpi, &x, &y)))
    return x;
  return ::GetDpiForSystem();
}

RectI ToRectI(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM data) noexcept {
  auto& monitors = *reinterpret_cast<std::vector<overlay::Monitor>*>(data);
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (!::GetMonitorInfoW(monitor, &info)) return TRUE;
  const overlay::Monitor m{ToRectI(info.rcMonitor), ToRectI(info.rcWork), MonitorDpi(monitor)};
  // The primary first: it is the monitor the overlay's load-time places refer to.
  if (info.dwFlags & MONITORINFOF_PRIMARY)
    monitors.insert(monitors.begin(), m);
  else
    monitors.push_back(m);
  return TRUE;
}

}  // namespace

overlay::Desktop CurrentDesktop() {
  std::vector<overlay::Monitor> monitors;
  if (!::EnumDisplayMonitors(nullptr, nullptr, AddMonitor,
                             reinterpret_cast<LPARAM>(&monitors)) ||
      monitors.empty()) {
    const RectI screen{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    return overlay::MakeDesktop({{screen, screen, ::GetDpiForSystem()}});
  }
  return overlay::MakeDesktop(std::move(monitors));
}

}  // namespace pelvanto::win32
