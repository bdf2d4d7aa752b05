// bare_cut.exe: the floor for one cut. BitBlt of the whole screen into a compatible bitmap,
// then SetClipboardData(CF_BITMAP), timed apart, several times; prints each run's
// "cut <width> x <height> copy <ms> clipboard <ms>".
#include <windows.h>

#include <cstdio>

namespace {

double NowMs() {
  static const double ticks_per_ms = [] {
    LARGE_INTEGER f;
    ::QueryPerformanceFrequency(&f);
    return static_cast<double>(f.QuadPart) / 1000.0;
  }();
  LARGE_INTEGER t;
  ::QueryPerformanceCounter(&t);
  return static_cast<double>(t.QuadPart) / ticks_per_ms;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  ::SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
  const int runs = argc > 1 ? _wtoi(argv[1]) : 5;
  const int width = ::GetSystemMetrics(SM_CXSCREEN);
  const int height = ::GetSystemMetrics(SM_CYSCREEN);
  for (int i = 0; i < runs; ++i) {
    const double t0 = NowMs();
    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = ::SelectObject(memory, bitmap);
    const bool copied =
        ::BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY | CAPTUREBLT) != FALSE;
    ::SelectObject(memory, old);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
    const double t1 = NowMs();
    bool handed_over = false;
    if (copied && ::OpenClipboard(nullptr)) {
      ::EmptyClipboard();
      handed_over = ::SetClipboardData(CF_BITMAP, bitmap) != nullptr;  // the clipboard owns it now
      ::CloseClipboard();
    }
    if (!handed_over) ::DeleteObject(bitmap);
    const double t2 = NowMs();
    if (handed_over) {
      std::printf("cut %d x %d copy %.3f ms clipboard %.3f ms\n", width, height, t1 - t0, t2 - t1);
    } else {
      std::printf("cut %d x %d failed\n", width, height);
    }
    std::fflush(stdout);
  }
  return 0;
}
