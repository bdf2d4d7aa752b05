// bare_overlay.exe: the floor for a drag over the frozen picture.
// Grabs the screen at start and shows it in a topmost full-screen popup ("bare overlay").
// A left-button drag draws a 1-px outline from the press to the pointer: each move
// invalidates only the strips of the old and the new outline, and WM_PAINT copies the
// picture straight into the paint DC (clipped to the update region) and draws the outline
// on it. A right click or Esc ends it and prints "moves <n> paints <n>".
#include <windows.h>
#include <windowsx.h>

#include <cstdio>

#include "frozen_screen.h"

namespace {

struct Drag {
  reference::FrozenScreen* frozen = nullptr;
  bool dragging = false;
  POINT anchor{};
  RECT outline{};  // empty when there is none
  long moves = 0;
  long paints = 0;
};

Drag g_drag;

RECT OutlineOf(POINT a, POINT b) {
  return RECT{a.x < b.x ? a.x : b.x, a.y < b.y ? a.y : b.y, (a.x > b.x ? a.x : b.x) + 1,
              (a.y > b.y ? a.y : b.y) + 1};
}

void InvalidateOutline(HWND window, const RECT& r) {
  if (IsRectEmpty(&r)) return;
  const RECT strips[4] = {{r.left, r.top, r.right, r.top + 1},
                          {r.left, r.bottom - 1, r.right, r.bottom},
                          {r.left, r.top, r.left + 1, r.bottom},
                          {r.right - 1, r.top, r.right, r.bottom}};
  for (const RECT& strip : strips) ::InvalidateRect(window, &strip, FALSE);
}

LRESULT CALLBACK PopupProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = ::BeginPaint(window, &paint);
      g_drag.frozen->Paint(dc, paint.rcPaint);
      if (!IsRectEmpty(&g_drag.outline)) {
        HBRUSH brush = ::CreateSolidBrush(RGB(0, 122, 236));
        ::FrameRect(dc, &g_drag.outline, brush);
        ::DeleteObject(brush);
      }
      ::EndPaint(window, &paint);
      ++g_drag.paints;
      return 0;
    }
    case WM_LBUTTONDOWN:
      ::SetCapture(window);
      g_drag.dragging = true;
      g_drag.anchor = POINT{GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)};
      return 0;
    case WM_MOUSEMOVE:
      if (g_drag.dragging) {
        ++g_drag.moves;
        const RECT next =
            OutlineOf(g_drag.anchor, POINT{GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)});
        InvalidateOutline(window, g_drag.outline);
        g_drag.outline = next;
        InvalidateOutline(window, g_drag.outline);
      }
      return 0;
    case WM_LBUTTONUP:
      g_drag.dragging = false;
      ::ReleaseCapture();
      return 0;
    default:
      if (reference::EndsOnRightClickOrEsc(message, wparam)) return 0;
      return ::DefWindowProcW(window, message, wparam, lparam);
  }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  ::SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
  reference::FrozenScreen frozen;
  if (!frozen.ok()) {
    std::puts("the screen grab failed");
    return 1;
  }
  g_drag.frozen = &frozen;
  HWND popup = reference::CreateFullScreenPopup(frozen, L"bare overlay", PopupProc, nullptr);
  ::ShowWindow(popup, SW_SHOW);
  ::SetForegroundWindow(popup);
  MSG msg;
  while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
  std::printf("moves %ld paints %ld\n", g_drag.moves, g_drag.paints);
  std::fflush(stdout);
  return 0;
}
