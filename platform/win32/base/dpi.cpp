#include "platform/win32/base/dpi.h"

#include "core/geometry.h"
#include "platform/win32/base/late_bound.h"
#include "platform/win32/base/owners.h"

namespace pelvanto::win32::dpi {

namespace {

// shcore.dll's values, without its header.
constexpr int kProcessPerMonitorDpiAware = 2;  // PROCESS_PER_MONITOR_DPI_AWARE
constexpr int kMonitorEffectiveDpi = 0;        // MDT_EFFECTIVE_DPI

unsigned ScreenDpi() {
  const WindowDc screen(nullptr);
  if (!screen) return static_cast<unsigned>(kDesignDpi);
  const int dpi = ::GetDeviceCaps(screen.get(), LOGPIXELSX);
  return dpi > 0 ? static_cast<unsigned>(dpi) : static_cast<unsigned>(kDesignDpi);
}

}  // namespace

void MakeProcessAware() {
  const LateBoundCalls& calls = LateBound();
  if (calls.set_dpi_context && calls.set_dpi_context(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2))
    return;
  // E_ACCESSDENIED means the manifest has set it already: nothing more to do.
  if (calls.set_dpi_awareness) {
    const HRESULT result = calls.set_dpi_awareness(kProcessPerMonitorDpiAware);
    if (SUCCEEDED(result) || result == E_ACCESSDENIED) return;
  }
  ::SetProcessDPIAware();
}

unsigned ForWindow(HWND window) {
  const LateBoundCalls& calls = LateBound();
  if (calls.dpi_for_window) {
    const UINT dpi = calls.dpi_for_window(window);
    if (dpi != 0) return dpi;
  }
  return ForMonitor(::MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY));
}

unsigned ForMonitor(HMONITOR monitor) {
  const LateBoundCalls& calls = LateBound();
  if (calls.dpi_for_monitor) {
    UINT x = 0, y = 0;
    if (SUCCEEDED(calls.dpi_for_monitor(monitor, kMonitorEffectiveDpi, &x, &y)) && x != 0) return x;
  }
  return ScreenDpi();
}

int SystemMetric(int index, unsigned dpi) {
  const LateBoundCalls& calls = LateBound();
  if (calls.metrics_for_dpi) return calls.metrics_for_dpi(index, dpi);
  // GetSystemMetrics answers at the system DPI; a monitor of another DPI scales it.
  return ::MulDiv(::GetSystemMetrics(index), static_cast<int>(dpi), static_cast<int>(ScreenDpi()));
}

bool AdjustWindowRect(RECT& rect, DWORD style, DWORD ex_style, unsigned dpi) {
  const LateBoundCalls& calls = LateBound();
  if (calls.adjust_for_dpi)
    return calls.adjust_for_dpi(&rect, style, FALSE, ex_style, dpi) != FALSE;
  return ::AdjustWindowRectEx(&rect, style, FALSE, ex_style) != FALSE;
}

}  // namespace pelvanto::win32::dpi
