#include "platform/win32/base/late_bound.h"

namespace pelvanto::win32 {

namespace {

template <typename Fn>
void Find(Fn& call, HMODULE module, const char* name) {
  if (!module) return;
  // Through the generic function pointer type, which converts to any other without warning.
  call = reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(::GetProcAddress(module, name)));
}

LateBoundCalls Resolve() {
  LateBoundCalls calls;
  const HMODULE user32 = ::GetModuleHandleW(L"user32.dll");
  // Loaded for the program's lifetime, from the system folder only. (Windows 7 without
  // KB2533623 refuses the flag, which costs nothing: it has no shcore.dll either.)
  const HMODULE shcore = ::LoadLibraryExW(L"shcore.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  Find(calls.set_dpi_context, user32, "SetProcessDpiAwarenessContext");
  Find(calls.dpi_for_window, user32, "GetDpiForWindow");
  Find(calls.metrics_for_dpi, user32, "GetSystemMetricsForDpi");
  Find(calls.adjust_for_dpi, user32, "AdjustWindowRectExForDpi");
  Find(calls.set_display_affinity, user32, "SetWindowDisplayAffinity");
  Find(calls.set_dpi_awareness, shcore, "SetProcessDpiAwareness");
  Find(calls.dpi_for_monitor, shcore, "GetDpiForMonitor");
  return calls;
}

}  // namespace

const LateBoundCalls& LateBound() {
  static const LateBoundCalls calls = Resolve();
  return calls;
}

}  // namespace pelvanto::win32
