#pragma once
// The DPI calls of newer Windows, found at run time so the program starts on Windows 7 SP1:
// where a call is missing, the older way that Windows has stands in for it.

#include <windows.h>

namespace pelvanto::win32::dpi {

// Per-monitor v2 where Windows knows it, else per-monitor, else system DPI awareness.
void MakeProcessAware();

// The window's DPI; before Windows 10 1607 its monitor's, before 8.1 the screen's. Never 0.
unsigned ForWindow(HWND window);

// A monitor's effective DPI; before Windows 8.1 the screen's. Never 0.
unsigned ForMonitor(HMONITOR monitor);

// A system metric at a DPI.
int SystemMetric(int index, unsigned dpi);

// The window rectangle for a client rectangle at a DPI.
bool AdjustWindowRect(RECT& rect, DWORD style, DWORD ex_style, unsigned dpi);

}  // namespace pelvanto::win32::dpi
