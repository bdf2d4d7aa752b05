// grab_and_show.exe: the floor for "click -> whole frozen frame on screen".
// A small window titled "bare grab" waits for a left click; the click hides it, grabs the
// screen into a DIB section and shows that in a topmost full-screen popup ("bare frozen")
// painted on WM_PAINT. A right click or Esc on the popup ends the program.
#include <windows.h>

#include <memory>

#include "frozen_screen.h"

namespace {

std::unique_ptr<reference::FrozenScreen> g_frozen;

LRESULT CALLBACK PopupProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = ::BeginPaint(window, &paint);
      g_frozen->Paint(dc, paint.rcPaint);
      ::EndPaint(window, &paint);
      return 0;
    }
    default:
      if (reference::EndsOnRightClickOrEsc(message, wparam)) return 0;
      return ::DefWindowProcW(window, message, wparam, lparam);
  }
}

LRESULT CALLBACK WaitingProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_LBUTTONDOWN && !g_frozen) {
    // Hide and grab at once: no settle wait.
    ::ShowWindow(window, SW_HIDE);
    g_frozen = std::make_unique<reference::FrozenScreen>();
    HWND popup = reference::CreateFullScreenPopup(*g_frozen, L"bare frozen", PopupProc, nullptr);
    ::ShowWindow(popup, SW_SHOW);
    ::SetForegroundWindow(popup);
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
  HWND waiting = ::CreateWindowExW(0, cls.lpszClassName, L"bare grab", WS_OVERLAPPEDWINDOW, 100, 100, 300, 200,
                                   nullptr, nullptr, instance, nullptr);
  ::ShowWindow(waiting, SW_SHOW);
  MSG msg;
  while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
  return 0;
}
