// snap_windows.exe: two overlapping windows of known size for the snapping scenario, the upper
// one holding a child control painted in stripes. Borderless, so what Wine reports is what the
// screen shows; app windows, so Wine hands them to the window manager, which keeps them under
// the topmost overlay; right of the middle, where they leave the main window's "切图开始"
// uncovered. The rectangles are printed once the window manager has had time to place them. Once they are on the screen it prints their rectangles as Windows reports them
// (GetWindowRect, screen pixels), then runs until it is ended:
//   lower <left> <top> <right> <bottom>
//   upper <left> <top> <right> <bottom>
//   control <left> <top> <right> <bottom>
//   ready
#include <windows.h>

#include <cstdio>

namespace {

constexpr COLORREF kLowerColour = RGB(200, 60, 60);
constexpr COLORREF kUpperColour = RGB(60, 170, 90);

// Vertical stripes 3 px wide in colours that repeat only every 7 stripes, so a cut one pixel
// off shows.
COLORREF StripeColour(int stripe) {
  const int i = stripe % 7;
  return RGB(40 + i * 30, 230 - i * 25, (i * 97) % 256);
}

LRESULT CALLBACK ControlProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) noexcept {
  if (message != WM_PAINT) return ::DefWindowProcW(window, message, wparam, lparam);
  PAINTSTRUCT paint;
  HDC dc = ::BeginPaint(window, &paint);
  RECT client{};
  ::GetClientRect(window, &client);
  for (int x = 0; x < client.right; x += 3) {
    HBRUSH brush = ::CreateSolidBrush(StripeColour(x / 3));
    const RECT stripe{x, 0, x + 3, client.bottom};
    ::FillRect(dc, &stripe, brush);
    ::DeleteObject(brush);
  }
  ::EndPaint(window, &paint);
  return 0;
}

constexpr UINT_PTR kPrintTimer = 1;
constexpr UINT kPrintAfterMs = 700;
HWND g_windows[3] = {};  // lower, upper, control

void Print(const char* name, HWND window) {
  RECT r{};
  ::GetWindowRect(window, &r);
  std::printf("%s %ld %ld %ld %ld\n", name, r.left, r.top, r.right, r.bottom);
}

LRESULT CALLBACK FrameProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) noexcept {
  if (message == WM_DESTROY) ::PostQuitMessage(0);
  if (message == WM_TIMER && wparam == kPrintTimer) {
    ::KillTimer(window, kPrintTimer);
    Print("lower", g_windows[0]);
    Print("upper", g_windows[1]);
    Print("control", g_windows[2]);
    std::puts("ready");
    std::fflush(stdout);
    return 0;
  }
  return ::DefWindowProcW(window, message, wparam, lparam);
}

bool RegisterClass(HINSTANCE instance, const wchar_t* name, WNDPROC proc, HBRUSH back) {
  WNDCLASSW window_class{};
  window_class.lpfnWndProc = proc;
  window_class.hInstance = instance;
  window_class.hCursor = ::LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
  window_class.hbrBackground = back;
  window_class.lpszClassName = name;
  return ::RegisterClassW(&window_class) != 0;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  ::SetProcessDPIAware();
  if (!RegisterClass(instance, L"SnapLower", FrameProc, ::CreateSolidBrush(kLowerColour)) ||
      !RegisterClass(instance, L"SnapUpper", FrameProc, ::CreateSolidBrush(kUpperColour)) ||
      !RegisterClass(instance, L"SnapStripes", ControlProc, nullptr))
    return 1;
  HWND lower = ::CreateWindowExW(WS_EX_APPWINDOW, L"SnapLower", L"snap lower", WS_POPUP, 330, 260,
                                 360, 260, nullptr, nullptr, instance, nullptr);
  HWND upper = ::CreateWindowExW(WS_EX_APPWINDOW, L"SnapUpper", L"snap upper", WS_POPUP, 530, 360,
                                 400, 300, nullptr, nullptr, instance, nullptr);
  if (!lower || !upper) return 1;
  HWND control = ::CreateWindowExW(0, L"SnapStripes", nullptr, WS_CHILD | WS_VISIBLE, 40, 50, 200,
                                   120, upper, nullptr, instance, nullptr);
  if (!control) return 1;
  ::ShowWindow(lower, SW_SHOWNOACTIVATE);
  ::ShowWindow(upper, SW_SHOW);
  ::SetWindowPos(upper, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  ::UpdateWindow(lower);
  ::UpdateWindow(upper);
  g_windows[0] = lower;
  g_windows[1] = upper;
  g_windows[2] = control;
  ::SetTimer(upper, kPrintTimer, kPrintAfterMs, nullptr);

  MSG message;
  while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
  return 0;
}
