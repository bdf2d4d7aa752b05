// grab_and_show.exe: the floor for "click -> whole frozen frame on screen", and for the memory
// an overlay leaves behind once closed.
// A small window titled "bare grab" waits for a left click. The click hides it, copies the
// screen with one BitBlt into a 32-bit DIB section and shows that in a topmost full-screen
// popup ("bare frozen") that blits it in WM_PAINT. Nothing else: no wait for the screen to
// settle, no icon, no font. A right click or Esc on the popup destroys it and frees the copy;
// the program stays, its small window hidden, as a program whose overlay closed does, until
// it is ended. Under Wine a cached DC keeps the surface of the window it last drew on after
// that window is gone, so the close also takes the cache's DCs once for the small window:
// without it the popup's screen-sized surface would stay in memory.
#include <windows.h>

#include <memory>

#include "frozen_screen.h"

namespace {

std::unique_ptr<reference::FrozenScreen> g_frozen;
HWND g_popup = nullptr;
HWND g_waiting = nullptr;

void ReleaseCachedSurfaces(HWND keeper) {
  HDC dcs[8];
  for (HDC& dc : dcs) dc = ::GetDCEx(keeper, nullptr, DCX_CACHE);
  for (HDC dc : dcs)
    if (dc) ::ReleaseDC(keeper, dc);
}

LRESULT CALLBACK PopupProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = ::BeginPaint(window, &paint);
      if (g_frozen) g_frozen->Paint(dc, paint.rcPaint);
      ::EndPaint(window, &paint);
      return 0;
    }
    case WM_RBUTTONUP:
    case WM_KEYDOWN:
      if (message == WM_KEYDOWN && wparam != VK_ESCAPE) break;
      ::DestroyWindow(window);
      g_popup = nullptr;
      g_frozen.reset();
      ReleaseCachedSurfaces(g_waiting);
      return 0;
    default: break;
  }
  return ::DefWindowProcW(window, message, wparam, lparam);
}

LRESULT CALLBACK WaitingProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_LBUTTONDOWN && !g_popup) {
    // Hide and grab at once: no settle wait.
    ::ShowWindow(window, SW_HIDE);
    g_frozen = std::make_unique<reference::FrozenScreen>();
    g_popup = reference::CreateFullScreenPopup(*g_frozen, L"bare frozen", PopupProc, nullptr);
    ::ShowWindow(g_popup, SW_SHOW);
    ::SetForegroundWindow(g_popup);
    return 0;
  }
  if (message == WM_DESTROY) ::PostQuitMessage(0);
  return ::DefWindowProcW(window, message, wparam, lparam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  ::SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
  WNDCLASSEXW cls{};
  cls.cbSize = sizeof cls;
  cls.lpfnWndProc = WaitingProc;
  cls.hInstance = instance;
  cls.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  cls.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  cls.lpszClassName = L"BareGrabWaiting";
  ::RegisterClassExW(&cls);
  g_waiting = ::CreateWindowExW(0, cls.lpszClassName, L"bare grab", WS_OVERLAPPEDWINDOW, 100, 100,
                                300, 200, nullptr, nullptr, instance, nullptr);
  ::ShowWindow(g_waiting, SW_SHOW);
  MSG msg;
  while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
  return 0;
}
