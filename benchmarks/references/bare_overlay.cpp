// bare_overlay.exe: the floor for a drag over the frozen picture.
// Grabs the screen at start and shows it in a topmost full-screen popup ("bare overlay").
// A left-button drag draws a 1-px outline from the press to the pointer: each move
// invalidates only the strips of the old and the new outline, and WM_PAINT copies the
// picture straight into the paint DC (clipped to the update region) and draws the outline
// on it. A right click or Esc ends it and prints "moves <n> paints <n>".
// With --loupe it also draws the leanest loupe beside the pointer, as the overlay's loupe is
// laid out at 96 dpi: the 15 x 15 pixels around it enlarged 8 times by StretchBlt, a border,
// and the pointer's position and colour as two lines of text. Each move invalidates the old
// and the new loupe.
#include <windows.h>
#include <windowsx.h>

#include <cstdio>
#include <cwchar>

#include "frozen_screen.h"

namespace {

struct Drag {
  reference::FrozenScreen* frozen = nullptr;
  bool dragging = false;
  POINT anchor{};
  RECT outline{};  // empty when there is none
  bool with_loupe = false;
  POINT pointer{};
  RECT loupe{};  // empty when there is none
  HFONT font = nullptr;
  long moves = 0;
  long paints = 0;
};

Drag g_drag;

constexpr int kSpan = 15, kCell = 8, kTextHeight = 36, kGap = 20;

RECT LoupeBeside(POINT p, const reference::FrozenScreen& frozen) {
  const int width = kSpan * kCell + 2, height = kSpan * kCell + 2 + kTextHeight;
  int left = p.x + kGap, top = p.y + kGap;
  if (left + width > frozen.width()) left = p.x - kGap - width;
  if (top + height > frozen.height()) top = p.y - kGap - height;
  return RECT{left, top, left + width, top + height};
}

void PaintLoupe(HDC dc, const Drag& drag) {
  const RECT& r = drag.loupe;
  ::StretchBlt(dc, r.left + 1, r.top + 1, kSpan * kCell, kSpan * kCell, drag.frozen->dc(),
               drag.pointer.x - kSpan / 2, drag.pointer.y - kSpan / 2, kSpan, kSpan, SRCCOPY);
  RECT text{r.left + 1, r.top + 1 + kSpan * kCell, r.right - 1, r.bottom - 1};
  ::FillRect(dc, &text, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
  ::FrameRect(dc, &r, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
  const COLORREF colour = ::GetPixel(drag.frozen->dc(), drag.pointer.x, drag.pointer.y);
  wchar_t lines[2][40];
  const int position = std::swprintf(lines[0], 40, L"%ld, %ld", drag.pointer.x, drag.pointer.y);
  const int rgb = std::swprintf(lines[1], 40, L"RGB(%u,%u,%u)", GetRValue(colour),
                                GetGValue(colour), GetBValue(colour));
  const HGDIOBJ old = ::SelectObject(dc, drag.font);
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, RGB(255, 255, 255));
  ::TextOutW(dc, text.left + 4, text.top + 2, lines[0], position);
  ::TextOutW(dc, text.left + 4, text.top + kTextHeight / 2, lines[1], rgb);
  ::SelectObject(dc, old);
}

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
      RECT overlap;
      if (::IntersectRect(&overlap, &g_drag.loupe, &paint.rcPaint)) PaintLoupe(dc, g_drag);
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
      if (g_drag.with_loupe) {
        g_drag.pointer = POINT{GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)};
        ::InvalidateRect(window, &g_drag.loupe, FALSE);
        g_drag.loupe = LoupeBeside(g_drag.pointer, *g_drag.frozen);
        ::InvalidateRect(window, &g_drag.loupe, FALSE);
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

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR command_line, int) {
  g_drag.with_loupe = std::wcsstr(command_line, L"--loupe") != nullptr;
  g_drag.font = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
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
