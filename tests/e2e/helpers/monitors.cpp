// monitors.exe
// Prints what Windows (here: Wine) reports about the monitors, one line each, for the
// test bed's check of its monitor layouts. Per-monitor-v2 aware, so every figure is in
// physical pixels:
//   virtual <x> <y> <width> <height>          SM_XVIRTUALSCREEN .. SM_CYVIRTUALSCREEN
//   monitors <count>                          SM_CMONITORS
//   cursor <x> <y>                            GetCursorPos, to tie X's pointer to Windows' points
//   monitor <left> <top> <right> <bottom> work <left> <top> <right> <bottom> dpi <x> <y> primary <0|1> <device>
#include <windows.h>
#include <shellscalingapi.h>

#include <cstdio>

namespace {

BOOL CALLBACK PrintMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM) {
  MONITORINFOEXW info{};
  info.cbSize = sizeof info;
  if (!::GetMonitorInfoW(monitor, &info)) {
    std::puts("monitor unreadable");
    return TRUE;
  }
  UINT dpi_x = 0;
  UINT dpi_y = 0;
  if (FAILED(::GetDpiForMonitor(monitor, MDT_EFFECTIVE_DPI, &dpi_x, &dpi_y))) dpi_x = dpi_y = 0;
  const RECT& m = info.rcMonitor;
  const RECT& w = info.rcWork;
  std::printf("monitor %ld %ld %ld %ld work %ld %ld %ld %ld dpi %u %u primary %d %ls\n", m.left,
              m.top, m.right, m.bottom, w.left, w.top, w.right, w.bottom, dpi_x, dpi_y,
              (info.dwFlags & MONITORINFOF_PRIMARY) ? 1 : 0, info.szDevice);
  return TRUE;
}

}  // namespace

int wmain() {
  ::SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
  std::printf("virtual %d %d %d %d\n", ::GetSystemMetrics(SM_XVIRTUALSCREEN),
              ::GetSystemMetrics(SM_YVIRTUALSCREEN), ::GetSystemMetrics(SM_CXVIRTUALSCREEN),
              ::GetSystemMetrics(SM_CYVIRTUALSCREEN));
  std::printf("monitors %d\n", ::GetSystemMetrics(SM_CMONITORS));
  POINT cursor{};
  if (::GetCursorPos(&cursor)) std::printf("cursor %ld %ld\n", cursor.x, cursor.y);
  ::EnumDisplayMonitors(nullptr, nullptr, PrintMonitor, 0);
  std::fflush(stdout);
  return 0;
}
