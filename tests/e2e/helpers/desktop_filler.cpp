// desktop_filler.exe [windows] [controls] [grid]: a busy desktop for the benchmarks, 30 windows
// and 1,000 controls unless told otherwise. The windows cascade over the screen; each holds
// panels (child windows) of small controls (their children), the controls shared out evenly, a
// third of them panels. With "grid", each window instead holds its controls side by side, 4 x 4
// pixels 5 apart, every one of them in sight. Prints "ready <windows> <controls>" once all are
// shown, then runs until ended.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cwchar>

namespace {

LRESULT CALLBACK FrameProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) noexcept {
  if (message == WM_DESTROY) ::PostQuitMessage(0);
  return ::DefWindowProcW(window, message, wparam, lparam);
}

bool RegisterClass(HINSTANCE instance, const wchar_t* name, COLORREF back) {
  WNDCLASSW window_class{};
  window_class.lpfnWndProc = FrameProc;
  window_class.hInstance = instance;
  window_class.hCursor = ::LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
  window_class.hbrBackground = ::CreateSolidBrush(back);
  window_class.lpszClassName = name;
  return ::RegisterClassW(&window_class) != 0;
}

int Argument(int argc, wchar_t** argv, int index, int fallback) {
  if (!argv || argc <= index) return fallback;
  const long value = std::wcstol(argv[index], nullptr, 10);
  return value > 0 ? static_cast<int>(value) : fallback;
}

HWND Child(const wchar_t* class_name, HWND parent, int x, int y, int width, int height,
           HINSTANCE instance) {
  return ::CreateWindowExW(0, class_name, nullptr, WS_CHILD | WS_VISIBLE, x, y, width, height,
                           parent, nullptr, instance, nullptr);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  ::SetProcessDPIAware();
  int argc = 0;
  wchar_t** argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
  const int windows = Argument(argc, argv, 1, 30);
  const int controls = Argument(argc, argv, 2, 1000);
  const bool grid = argv && argc > 3 && std::wcscmp(argv[3], L"grid") == 0;
  if (argv) ::LocalFree(argv);
  if (!RegisterClass(instance, L"FillerFrame", RGB(230, 230, 230)) ||
      !RegisterClass(instance, L"FillerPanel", RGB(200, 210, 230)) ||
      !RegisterClass(instance, L"FillerControl", RGB(120, 140, 200)))
    return 1;
  const int screen_w = ::GetSystemMetrics(SM_CXSCREEN);
  const int screen_h = ::GetSystemMetrics(SM_CYSCREEN);
  int made = 0;
  for (int w = 0; w < windows; ++w) {
    // Controls left for this window and the ones after it, shared out evenly.
    const int share = (controls - made) / (windows - w);
    const int panels = grid ? 0 : (share + 2) / 3;
    const int x = 40 + (w * 53) % (screen_w > 600 ? screen_w - 560 : 40);
    const int y = 40 + (w * 31) % (screen_h > 460 ? screen_h - 420 : 40);
    // 160 controls a row in a grid: 20,000 fill 800 x 625 pixels.
    const int width = grid ? 820 : 520;
    const int height = grid ? 40 + ((share + 159) / 160) * 5 + 20 : 380;
    HWND frame = ::CreateWindowExW(0, L"FillerFrame", L"filler", WS_OVERLAPPEDWINDOW, x, y, width,
                                   height, nullptr, nullptr, instance, nullptr);
    if (!frame) return 1;
    for (int c = 0; grid && c < share; ++c) {
      if (!Child(L"FillerControl", frame, 4 + (c % 160) * 5, 4 + (c / 160) * 5, 4, 4, instance))
        return 1;
    }
    int leaves = share - panels;
    for (int p = 0; p < panels; ++p) {
      HWND panel =
          Child(L"FillerPanel", frame, 10 + (p % 4) * 126, 10 + (p / 4) * 60, 120, 56, instance);
      if (!panel) return 1;
      // The panel's share of the leaves left.
      const int here = leaves / (panels - p);
      for (int c = 0; c < here; ++c) {
        if (!Child(L"FillerControl", panel, 4 + (c % 4) * 28, 4 + (c / 4) * 16, 24, 12, instance))
          return 1;
      }
      leaves -= here;
    }
    made += share;
    ::ShowWindow(frame, SW_SHOWNOACTIVATE);
    ::UpdateWindow(frame);
  }
  std::printf("ready %d %d\n", windows, made);
  std::fflush(stdout);

  MSG message;
  while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
  return 0;
}
