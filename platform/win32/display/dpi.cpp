#include "platform/win32/display/dpi.h"

namespace pelvanto::win32::dpi {

namespace {

constexpr unsigned kDesignDpi = 96;

// shcore.dll's declarations, without its header: the program must not import it (Windows 7
// has no shcore.dll).
constexpr int kProcessPerMonitorDpiAware = 2;  // PROCESS_PER_MONITOR_DPI_AWARE
constexpr int kMonitorEffectiveDpi = 0;        // MDT_EFFECTIVE_DPI

using SetContextFn = BOOL(WINAPI*)(DPI_AWARENESS_CONTEXT);
using SetAwarenessFn = HRESULT(WINAPI*)(int);
using DpiForWindowFn = UINT(WINAPI*)(HWND);
using DpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
using MetricsForDpiFn = int(WINAPI*)(int, UINT);
using AdjustForDpiFn = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);

// What this Windows offers; null where it lacks the call.
struct Calls {
  SetContextFn set_context = nullptr;         // Windows 10 1703
  SetAwarenessFn set_awareness = nullptr;     // Windows 8.1, shcore.dll
  DpiForWindowFn dpi_for_window = nullptr;    // Windows 10 1607
  DpiForMonitorFn dpi_for_monitor = nullptr;  // Windows 8.1, shcore.dll
  MetricsForDpiFn metrics_for_dpi = nullptr;  // Windows 10 1607
  AdjustForDpiFn adjust_for_dpi = nullptr;    // Windows 10 1607
};

template <typename Fn>
Fn Find(HMODULE module, const char* name) {
  if (!module) return nullptr;
  // Through the generic function pointer type, which converts to any other without warning.
  return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(::GetProcAddress(module, name)));
}

Calls Resolve() {
  Calls calls;
  const HMODULE user32 = ::GetModuleHandleW(L"user32.dll");
  // Loaded for the program's lifetime, from the system folder only. (Windows 7 without
  // KB2533623 refuses the flag, which costs nothing: it has no shcore.dll either.)
  const HMODULE shcore = ::LoadLibraryExW(L"shcore.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  calls.set_context = Find<SetContextFn>(user32, "SetProcessDpiAwarenessContext");
  calls.set_awareness = Find<SetAwarenessFn>(shcore, "SetProcessDpiAwareness");
  calls.dpi_for_window = Find<DpiForWindowFn>(user32, "GetDpiForWindow");
  calls.dpi_for_monitor = Find<DpiForMonitorFn>(shcore, "GetDpiForMonitor");
  calls.metrics_for_dpi = Find<MetricsForDpiFn>(user32, "GetSystemMetricsForDpi");
  calls.adjust_for_dpi = Find<AdjustForDpiFn>(user32, "AdjustWindowRectExForDpi");
  return calls;
}

// Resolved once, at the first use; never changes after.
const Calls& Available() {
  static const Calls calls = Resolve();
  return calls;
}

unsigned ScreenDpi() {
  const HDC screen = ::GetDC(nullptr);
  if (!screen) return kDesignDpi;
  const int dpi = ::GetDeviceCaps(screen, LOGPIXELSX);
  ::ReleaseDC(nullptr, screen);
  return dpi > 0 ? static_cast<unsigned>(dpi) : kDesignDpi;
}

}  // namespace

void MakeProcessAware() {
  const Calls& calls = Available();
  if (calls.set_context && calls.set_context(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2)) return;
  // E_ACCESSDENIED means the manifest has set it already: nothing more to do.
  if (calls.set_awareness) {
    const HRESULT result = calls.set_awareness(kProcessPerMonitorDpiAware);
    if (SUCCEEDED(result) || result == E_ACCESSDENIED) return;
  }
  ::SetProcessDPIAware();
}

unsigned ForWindow(HWND window) {
  const Calls& calls = Available();
  if (calls.dpi_for_window) {
    const UINT dpi = calls.dpi_for_window(window);
    if (dpi != 0) return dpi;
  }
  return ForMonitor(::MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY));
}

unsigned ForMonitor(HMONITOR monitor) {
  const Calls& calls = Available();
  if (calls.dpi_for_monitor) {
    UINT x = 0, y = 0;
    if (SUCCEEDED(calls.dpi_for_monitor(monitor, kMonitorEffectiveDpi, &x, &y)) && x != 0) return x;
  }
  return ScreenDpi();
}

int SystemMetric(int index, unsigned dpi) {
  const Calls& calls = Available();
  if (calls.metrics_for_dpi) return calls.metrics_for_dpi(index, dpi);
  // GetSystemMetrics answers at the system DPI; a monitor of another DPI scales it.
  return ::MulDiv(::GetSystemMetrics(index), static_cast<int>(dpi), static_cast<int>(ScreenDpi()));
}

bool AdjustWindowRect(RECT& rect, DWORD style, DWORD ex_style, unsigned dpi) {
  const Calls& calls = Available();
  if (calls.adjust_for_dpi)
    return calls.adjust_for_dpi(&rect, style, FALSE, ex_style, dpi) != FALSE;
  return ::AdjustWindowRectEx(&rect, style, FALSE, ex_style) != FALSE;
}

}  // namespace pelvanto::win32::dpi
