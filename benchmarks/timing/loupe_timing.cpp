// Times the loupe's painting into a shown window of the screen's size, as the pointer moves
// and as it stays, next to the calls a loupe drawn call by call would make (its cells, 32 grid
// lines, two lines of text) and to one invalidation, a round trip to the window server that
// every move costs. Prints figures only.

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

#include "overlay/loupe.h"
#include "platform/win32/base/gdi.h"
#include "benchmarks/timing/timing.h"
#include "platform/win32/base/dpi.h"
#include "platform/win32/text/fonts.h"
#include "platform/win32/overlay/loupe_painter.h"
#include "platform/win32/overlay/overlay_painter.h"
#include "platform/win32/display/screen_capture.h"

namespace {

using pelvanto::win32::timing::Median;
using pelvanto::win32::timing::NowUs;

using namespace pelvanto;
using namespace pelvanto::win32;

// Runs `paint` `runs` times on the window's DC, the pointer one pixel further each time.
void Measure(HWND window, const char* name, int runs,
             const std::function<void(HDC, const overlay::LoupeView&)>& paint, bool still = false) {
  const overlay::LoupeMetrics metrics(96);
  const RectI screen{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
  std::vector<double> us;
  for (int i = 0; i < runs; ++i) {
    const PointI at = still ? PointI{300, 200} : PointI{300 + i % 600, 200 + i % 400};
    const overlay::LoupeView view = overlay::MakeLoupe(at, metrics, screen, screen, 0x00123456);
    HDC dc = ::GetDC(window);
    const double t0 = NowUs();
    paint(dc, view);
    ::GdiFlush();
    us.push_back(NowUs() - t0);
    ::ReleaseDC(window, dc);
  }
  std::printf("%-44s %8.1f us (median of %d)\n", name, Median(us), runs);
}

LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_ERASEBKGND) return 1;
  if (message == WM_PAINT) {
    PAINTSTRUCT ps;
    ::BeginPaint(hwnd, &ps);
    ::EndPaint(hwnd, &ps);
    return 0;
  }
  return ::DefWindowProcW(hwnd, message, wparam, lparam);
}

}  // namespace

int main() {
  dpi::MakeProcessAware();
  const int w = ::GetSystemMetrics(SM_CXSCREEN), h = ::GetSystemMetrics(SM_CYSCREEN);
  auto frozen = ScreenPixels::Copy({0, 0, w, h});
  if (!frozen) return 1;
  WNDCLASSEXW cls{};
  cls.cbSize = sizeof cls;
  cls.lpfnWndProc = Proc;
  cls.hInstance = ::GetModuleHandleW(nullptr);
  cls.lpszClassName = L"LoupeTiming";
  ::RegisterClassExW(&cls);
  HWND window =
      ::CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, cls.lpszClassName, L"loupe timing",
                        WS_POPUP, 0, 0, w, h, nullptr, nullptr, cls.hInstance, nullptr);
  ::ShowWindow(window, SW_SHOW);
  ::UpdateWindow(window);
  std::printf("screen %d x %d\n", w, h);
  const LoupePainter painter(96);
  const int runs = 400;
  HDC pic = frozen->dc();
  Measure(window, "whole loupe", runs,
          [&](HDC dc, const overlay::LoupeView& v) { painter.Paint(dc, v, frozen.get()); });
  Measure(
      window, "whole loupe, the pointer still (text unchanged)", runs,
      [&](HDC dc, const overlay::LoupeView& v) { painter.Paint(dc, v, frozen.get()); }, true);
  Measure(window, "BitBlt of the loupe's size", runs, [&](HDC dc, const overlay::LoupeView& v) {
    ::BitBlt(dc, v.rect.left, v.rect.top, v.rect.Width(), v.rect.Height(), pic, v.rect.left,
             v.rect.top, SRCCOPY);
  });
  Measure(window, "cells (StretchBlt)", runs, [&](HDC dc, const overlay::LoupeView& v) {
    ::SetStretchBltMode(dc, COLORONCOLOR);
    ::StretchBlt(dc, v.target.left, v.target.top, v.target.Width(), v.target.Height(), pic,
                 v.source.left, v.source.top, v.source.Width(), v.source.Height(), SRCCOPY);
  });
  Measure(window, "grid as 32 FillRect", runs, [&](HDC dc, const overlay::LoupeView& v) {
    for (int x = v.grid.left; x < v.grid.right; x += v.cell)
      FillSolid(dc, {x, v.grid.top, x + 1, v.grid.bottom}, RGB(128, 128, 128));
    for (int y = v.grid.top; y < v.grid.bottom; y += v.cell)
      FillSolid(dc, {v.grid.left, y, v.grid.right, y + 1}, RGB(128, 128, 128));
  });
  OwnedFont font(CreateFontFor(FontUse::kLoupe, 96));
  Measure(window, "two DrawTextW", runs, [&](HDC dc, const overlay::LoupeView& v) {
    ::SetBkMode(dc, TRANSPARENT);
    SelectGuard f(dc, font.get());
    RECT a{v.text.left, v.text.top, v.text.right, (v.text.top + v.text.bottom) / 2};
    RECT b{v.text.left, a.bottom, v.text.right, v.text.bottom};
    ::DrawTextW(dc, v.position.c_str(), static_cast<int>(v.position.size()), &a,
                DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    ::DrawTextW(dc, v.colour.c_str(), static_cast<int>(v.colour.size()), &b,
                DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  });
  Measure(window, "InvalidateRect (a server call)", runs, [&](HDC, const overlay::LoupeView& v) {
    const RECT r{v.rect.left, v.rect.top, v.rect.right, v.rect.bottom};
    ::InvalidateRect(window, &r, FALSE);
  });
  ::DestroyWindow(window);
  return 0;
}
