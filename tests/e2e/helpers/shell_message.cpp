// Posts the shell's registered "SHELLHOOK" message to Pelvanto's main window, as the shell
// does on Windows when a window is activated. For the end-to-end tests:
//   shell_message.exe <code> <title>
// <code> is the wParam (e.g. 0x8004), <title> the exact title of the window named in lParam.
// Exit code 0 when the message was posted.
#include <windows.h>

#include <cstdio>
#include <cwchar>

int wmain(int argc, wchar_t** argv) {
  if (argc != 3) {
    std::fputs("usage: shell_message <code> <window title>\n", stderr);
    return 2;
  }
  const unsigned long code = std::wcstoul(argv[1], nullptr, 0);
  const HWND main = ::FindWindowW(L"PelvantoMain", nullptr);
  const HWND target = ::FindWindowW(nullptr, argv[2]);
  const UINT shell = ::RegisterWindowMessageW(L"SHELLHOOK");
  if (!main || !target || shell == 0) {
    std::fputs("Pelvanto's main window or the named window was not found\n", stderr);
    return 1;
  }
  return ::PostMessageW(main, shell, code, reinterpret_cast<LPARAM>(target)) ? 0 : 1;
}
