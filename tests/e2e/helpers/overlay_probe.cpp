// overlay_probe.exe [seconds]: waits up to a minute for the overlay's window (class
// "PelvantoOverlay"), then sends it WM_NULL every 10 ms for the given seconds (10 unless told)
// and prints "longest <ms> median <ms> sends <n>": how long the overlay went without answering.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <vector>

int wmain(int argc, wchar_t** argv) {
  const double seconds = argc > 1 ? std::wcstod(argv[1], nullptr) : 10.0;
  HWND overlay = nullptr;
  for (int i = 0; i < 12000 && !overlay; ++i) {
    overlay = ::FindWindowW(L"PelvantoOverlay", nullptr);
    if (!overlay) ::Sleep(5);
  }
  if (!overlay) {
    std::printf("no overlay\n");
    return 1;
  }
  LARGE_INTEGER frequency{}, start{}, now{};
  ::QueryPerformanceFrequency(&frequency);
  ::QueryPerformanceCounter(&start);
  std::vector<double> took;
  for (;;) {
    LARGE_INTEGER before{}, after{};
    ::QueryPerformanceCounter(&before);
    DWORD_PTR result = 0;
    ::SendMessageTimeoutW(overlay, WM_NULL, 0, 0, SMTO_NORMAL, 20000, &result);
    ::QueryPerformanceCounter(&after);
    took.push_back(1000.0 * static_cast<double>(after.QuadPart - before.QuadPart) /
                   static_cast<double>(frequency.QuadPart));
    now = after;
    if (static_cast<double>(now.QuadPart - start.QuadPart) /
            static_cast<double>(frequency.QuadPart) >
        seconds)
      break;
    ::Sleep(10);
  }
  std::vector<double> sorted = took;
  std::sort(sorted.begin(), sorted.end());
  std::printf("longest %.1f median %.1f sends %zu\n", sorted.back(), sorted[sorted.size() / 2],
              sorted.size());
  std::fflush(stdout);
  return 0;
}
