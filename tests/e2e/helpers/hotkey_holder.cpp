// hotkey_holder.exe <modifiers> <virtual key> [<width> <height>]
// Holds a global hotkey (modifiers and key hexadecimal, as RegisterHotKey takes them), as
// another program would, so that a test can see what Pelvanto does when its combination is
// taken. Prints "held" once it holds it, or "taken <error>" and exits 1 when it could not; then
// keeps it until it is ended, printing "pressed" for each press. Given a size, each press also
// puts a copy of that much of the screen's top-left corner on the clipboard: the bare program
// that the hotkey-to-clipboard figure is measured against.
#include <windows.h>

#include <cstdio>
#include <cwchar>

namespace {

void CopyScreen(int width, int height) {
  HDC screen = ::GetDC(nullptr);
  HDC memory = ::CreateCompatibleDC(screen);
  HBITMAP picture = ::CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ old = ::SelectObject(memory, picture);
  ::BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY);
  ::SelectObject(memory, old);
  ::DeleteDC(memory);
  ::ReleaseDC(nullptr, screen);
  if (::OpenClipboard(nullptr)) {
    ::EmptyClipboard();
    if (::SetClipboardData(CF_BITMAP, picture)) picture = nullptr;  // the clipboard's now
    ::CloseClipboard();
  }
  if (picture) ::DeleteObject(picture);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 3 && argc != 5) {
    std::fputs("usage: hotkey_holder <modifiers hex> <virtual key hex> [<width> <height>]\n",
               stderr);
    return 2;
  }
  const int width = argc == 5 ? static_cast<int>(std::wcstol(argv[3], nullptr, 10)) : 0;
  const int height = argc == 5 ? static_cast<int>(std::wcstol(argv[4], nullptr, 10)) : 0;
  const auto modifiers = static_cast<UINT>(std::wcstoul(argv[1], nullptr, 16));
  const auto key = static_cast<UINT>(std::wcstoul(argv[2], nullptr, 16));
  if (!::RegisterHotKey(nullptr, 1, modifiers, key)) {
    std::printf("taken %lu\n", static_cast<unsigned long>(::GetLastError()));
    std::fflush(stdout);
    return 1;
  }
  std::puts("held");
  std::fflush(stdout);
  MSG message;
  while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (message.message != WM_HOTKEY) continue;
    if (width > 0 && height > 0) CopyScreen(width, height);
    std::puts("pressed");
    std::fflush(stdout);
  }
  return 0;
}
