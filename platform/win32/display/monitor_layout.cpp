#include "platform/win32/display/monitor_layout.h"

#include <windows.h>

#include <vector>

#include "platform/win32/base/gdi.h"
#include "platform/win32/base/trace.h"
#include "platform/win32/base/dpi.h"

namespace pelvanto::win32 {

namespace {

// No exception may leave a callback through the system's frames: one that cannot grow the list
// ends the enumeration, and the caller goes on with what it has.
BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM data) noexcept {
  auto& monitors = *reinterpret_cast<std::vector<overlay::Monitor>*>(data);
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (!::GetMonitorInfoW(monitor, &info)) return TRUE;
  const overlay::Monitor m{ToRectI(info.rcMonitor), ToRectI(info.rcWork), dpi::ForMonitor(monitor)};
  try {
    // The primary first: it is the monitor the overlay's places at opening refer to.
    if (info.dwFlags & MONITORINFOF_PRIMARY)
      monitors.insert(monitors.begin(), m);
    else
      monitors.push_back(m);
  } catch (...) {
    TraceFailure(L"recording the monitors (out of memory)");
    return FALSE;
  }
  return TRUE;
}

}  // namespace

overlay::Desktop CurrentDesktop() {
  std::vector<overlay::Monitor> monitors;
  if (!::EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&monitors)) ||
      monitors.empty()) {
    const RectI screen{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    return overlay::MakeDesktop(
        {{screen, screen, dpi::ForMonitor(::MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY))}});
  }
  return overlay::MakeDesktop(std::move(monitors));
}

}  // namespace pelvanto::win32
