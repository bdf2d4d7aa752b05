#pragma once
// The one table of Windows calls that newer versions have and Windows 7 SP1 lacks, looked up
// at run time so the program starts everywhere. A null entry means this Windows lacks the
// call, and the caller takes the older way.

#include <windows.h>

namespace pelvanto::win32 {

struct LateBoundCalls {
  // user32.dll
  BOOL(WINAPI* set_dpi_context)(DPI_AWARENESS_CONTEXT) = nullptr;            // Windows 10 1703
  UINT(WINAPI* dpi_for_window)(HWND) = nullptr;                              // Windows 10 1607
  int(WINAPI* metrics_for_dpi)(int, UINT) = nullptr;                         // Windows 10 1607
  BOOL(WINAPI* adjust_for_dpi)(LPRECT, DWORD, BOOL, DWORD, UINT) = nullptr;  // Windows 10 1607
  BOOL(WINAPI* set_display_affinity)(HWND, DWORD) = nullptr;                 // Windows 7
  // shcore.dll, which Windows 7 does not have, so the program must not import it
  HRESULT(WINAPI* set_dpi_awareness)(int) = nullptr;                        // Windows 8.1
  HRESULT(WINAPI* dpi_for_monitor)(HMONITOR, int, UINT*, UINT*) = nullptr;  // Windows 8.1
};

// Looked up once, at the first use; never changes after.
const LateBoundCalls& LateBound();

}  // namespace pelvanto::win32
