// A stand-in chat program for the end-to-end tests, built as qq.exe, myqq.exe and notchat.exe.
//   qq.exe [title] [control file]
// Opens one window titled `title` (default "张三") and follows the commands appended to the
// control file, one UTF-8 line each, checked every 100 ms:
//   title <text>   sets the window title
//   activate       brings the window to the foreground
//   clip           puts an 8x8 red bitmap on the clipboard
//   close          closes the window and ends the program
// Append to the file; each complete line is followed once. A file written anew (shorter than
// what was read) is read again from its start.
#include <windows.h>
#include <shellapi.h>

#include <string>

namespace {

constexpr UINT_PTR kPollTimer = 1;
constexpr UINT kPollMs = 100;

HWND g_window = nullptr;
std::wstring g_control;   // the control file's path; empty for none
LONGLONG g_followed = 0;  // bytes of the control file already followed

std::wstring FromUtf8(const std::string& text) {
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  const int length = ::MultiByteToWideChar(CP_UTF8, 0, text.data(), size, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  ::MultiByteToWideChar(CP_UTF8, 0, text.data(), size, wide.data(), length);
  return wide;
}

void PutBitmapOnClipboard() {
  HDC screen = ::GetDC(nullptr);
  HBITMAP bitmap = ::CreateCompatibleBitmap(screen, 8, 8);
  HDC dc = ::CreateCompatibleDC(screen);
  HGDIOBJ previous = ::SelectObject(dc, bitmap);
  const RECT all{0, 0, 8, 8};
  HBRUSH red = ::CreateSolidBrush(RGB(255, 0, 0));
  ::FillRect(dc, &all, red);
  ::DeleteObject(red);
  ::SelectObject(dc, previous);
  ::DeleteDC(dc);
  ::ReleaseDC(nullptr, screen);
  if (::OpenClipboard(g_window)) {
    ::EmptyClipboard();
    if (::SetClipboardData(CF_BITMAP, bitmap)) bitmap = nullptr;  // the clipboard owns it now
    ::CloseClipboard();
  }
  if (bitmap) ::DeleteObject(bitmap);
}

// False once the window is gone.
bool Follow(const std::wstring& line) {
  const std::wstring title_command = L"title ";
  if (line.compare(0, title_command.size(), title_command) == 0) {
    ::SetWindowTextW(g_window, line.substr(title_command.size()).c_str());
  } else if (line == L"activate") {
    ::SetForegroundWindow(g_window);
  } else if (line == L"clip") {
    PutBitmapOnClipboard();
  } else if (line == L"close") {
    ::DestroyWindow(g_window);
    return false;
  }
  return true;
}

void PollControlFile() {
  if (g_control.empty()) return;
  HANDLE file = ::CreateFileW(g_control.c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  LARGE_INTEGER size{};
  std::string data;
  if (::GetFileSizeEx(file, &size)) {
    if (size.QuadPart < g_followed) g_followed = 0;
    LARGE_INTEGER from{};
    from.QuadPart = g_followed;
    data.resize(static_cast<std::size_t>(size.QuadPart - g_followed));
    DWORD read = 0;
    if (data.empty() || !::SetFilePointerEx(file, from, nullptr, FILE_BEGIN) ||
        !::ReadFile(file, data.data(), static_cast<DWORD>(data.size()), &read, nullptr))
      read = 0;
    data.resize(read);
  }
  ::CloseHandle(file);
  // Only whole lines: one still being written waits for the next poll.
  std::size_t start = 0;
  for (std::size_t end; (end = data.find('\n', start)) != std::string::npos; start = end + 1) {
    std::string line = data.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    g_followed += static_cast<LONGLONG>(end + 1 - start);
    if (!Follow(FromUtf8(line))) return;
  }
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) noexcept {
  switch (message) {
    case WM_TIMER:
      if (wparam == kPollTimer) PollControlFile();
      return 0;
    case WM_DESTROY: ::PostQuitMessage(0); return 0;
    default: return ::DefWindowProcW(window, message, wparam, lparam);
  }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
  int argc = 0;
  LPWSTR* argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
  const std::wstring title = argv && argc > 1 ? argv[1] : L"张三";
  if (argv && argc > 2) g_control = argv[2];
  if (argv) ::LocalFree(argv);

  WNDCLASSW window_class{};
  window_class.lpfnWndProc = WindowProc;
  window_class.hInstance = instance;
  window_class.hCursor = ::LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
  window_class.hbrBackground = ::GetSysColorBrush(COLOR_WINDOW);
  window_class.lpszClassName = L"PelvantoFakeChat";
  if (!::RegisterClassW(&window_class)) return 1;
  g_window = ::CreateWindowExW(0, window_class.lpszClassName, title.c_str(), WS_OVERLAPPEDWINDOW,
                               CW_USEDEFAULT, CW_USEDEFAULT, 400, 300, nullptr, nullptr, instance,
                               nullptr);
  if (!g_window) return 1;
  ::ShowWindow(g_window, show);
  ::SetTimer(g_window, kPollTimer, kPollMs, nullptr);
  PollControlFile();

  MSG message;
  while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
  return 0;
}
