// follow_window.exe <command file>: one borderless window painted with a pattern the tests
// know, which moves, resizes, minimises, restores, stops answering and closes on command. The
// command file is read every 20 ms; each new line is one command:
//   move <x> <y> | size <w> <h> | minimise | restore | hang <ms> | close
//   steps <n> <dx>: n moves of dx pixels, each shown before the next
// After the window first shows and after each command it prints
//   at <n> <left> <top> <right> <bottom>
// (n counts the commands done) as Windows reports the window's rectangle.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr UINT_PTR kPollTimer = 1;
constexpr UINT kPollMs = 20;
std::wstring g_commands;  // the command file's path
long g_done = 0;          // commands read so far
HWND g_window = nullptr;

// The colour at (x, y) of the window, 0x00RRGGBB: each pixel names its place within 512 x 512.
std::uint32_t PatternAt(int x, int y) {
  const std::uint32_t r = static_cast<std::uint32_t>(x) & 255u;
  const std::uint32_t g = static_cast<std::uint32_t>(y) & 255u;
  const std::uint32_t b = 40u + 60u * ((static_cast<std::uint32_t>(x) >> 8) & 1u) +
                          120u * ((static_cast<std::uint32_t>(y) >> 8) & 1u);
  return (r << 16) | (g << 8) | b;
}

void Paint(HWND window) {
  PAINTSTRUCT paint;
  HDC dc = ::BeginPaint(window, &paint);
  RECT client{};
  ::GetClientRect(window, &client);
  const int w = client.right, h = client.bottom;
  if (w > 0 && h > 0) {
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(w) * static_cast<std::size_t>(h));
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) pixels[static_cast<std::size_t>(y * w + x)] = PatternAt(x, y);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = -h;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    ::SetDIBitsToDevice(dc, 0, 0, static_cast<DWORD>(w), static_cast<DWORD>(h), 0, 0, 0,
                        static_cast<UINT>(h), pixels.data(), &info, DIB_RGB_COLORS);
  }
  ::EndPaint(window, &paint);
}

void Report() {
  RECT r{};
  ::GetWindowRect(g_window, &r);
  std::printf("at %ld %ld %ld %ld %ld\n", g_done, r.left, r.top, r.right, r.bottom);
  std::fflush(stdout);
}

void Place(int x, int y, int w, int h, UINT flags) {
  ::SetWindowPos(g_window, nullptr, x, y, w, h, flags | SWP_NOZORDER | SWP_NOACTIVATE);
  ::UpdateWindow(g_window);
}

void Run(const char* line) {
  int a = 0, b = 0;
  RECT r{};
  ::GetWindowRect(g_window, &r);
  if (std::sscanf(line, "move %d %d", &a, &b) == 2) {
    Place(a, b, 0, 0, SWP_NOSIZE);
  } else if (std::sscanf(line, "size %d %d", &a, &b) == 2) {
    Place(0, 0, a, b, SWP_NOMOVE);
  } else if (std::sscanf(line, "steps %d %d", &a, &b) == 2) {
    for (int i = 1; i <= a; ++i) {
      Place(r.left + i * b, r.top, 0, 0, SWP_NOSIZE);
      ::GdiFlush();
    }
  } else if (std::strncmp(line, "minimise", 8) == 0) {
    ::ShowWindow(g_window, SW_MINIMIZE);
  } else if (std::strncmp(line, "restore", 7) == 0) {
    ::ShowWindow(g_window, SW_RESTORE);
    ::UpdateWindow(g_window);
  } else if (std::sscanf(line, "hang %d", &a) == 1) {
    ::Sleep(static_cast<DWORD>(a));  // no message is answered meanwhile
  } else if (std::strncmp(line, "close", 5) == 0) {
    ++g_done;
    std::printf("closed %ld\n", g_done);
    std::fflush(stdout);
    ::DestroyWindow(g_window);
    return;
  }
  ++g_done;
  Report();
}

void Poll() {
  FILE* file = _wfopen(g_commands.c_str(), L"r");
  if (!file) return;
  std::vector<std::string> lines;
  char buffer[256];
  while (std::fgets(buffer, sizeof buffer, file)) {
    // Only whole lines: the test may be writing the last one.
    if (std::strchr(buffer, '\n')) lines.emplace_back(buffer);
  }
  std::fclose(file);
  for (std::size_t i = static_cast<std::size_t>(g_done); i < lines.size() && g_window; ++i)
    Run(lines[i].c_str());
}

LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) noexcept {
  switch (message) {
    case WM_PAINT: Paint(window); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_TIMER:
      if (wparam == kPollTimer) Poll();
      return 0;
    case WM_DESTROY:
      g_window = nullptr;
      ::PostQuitMessage(0);
      return 0;
    default: return ::DefWindowProcW(window, message, wparam, lparam);
  }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR command_line, int) {
  ::SetProcessDPIAware();
  g_commands = command_line;
  if (!g_commands.empty() && g_commands.front() == L'"')
    g_commands = g_commands.substr(1, g_commands.find(L'"', 1) - 1);
  WNDCLASSW window_class{};
  window_class.lpfnWndProc = Proc;
  window_class.hInstance = instance;
  window_class.hCursor = ::LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
  window_class.lpszClassName = L"FollowTarget";
  if (!::RegisterClassW(&window_class)) return 1;
  g_window = ::CreateWindowExW(WS_EX_APPWINDOW, L"FollowTarget", L"follow target", WS_POPUP, 200,
                               150, 320, 240, nullptr, nullptr, instance, nullptr);
  if (!g_window) return 1;
  ::ShowWindow(g_window, SW_SHOW);
  ::UpdateWindow(g_window);
  ::SetTimer(g_window, kPollTimer, kPollMs, nullptr);
  Report();
  MSG message;
  while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
  return 0;
}
