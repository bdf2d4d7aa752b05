// clipboard_holder.exe <milliseconds>
// Opens the clipboard, as a busy clipboard manager would, and keeps it open for the given
// time, so that a test can see what the program does when it cannot get the clipboard.
// Prints "open" once it holds the clipboard and "closed" when it lets go; exits 1 (printing
// "busy") when the clipboard could not be opened, and 2 on a bad command line.
#include <windows.h>

#include <cstdio>
#include <cwchar>

int wmain(int argc, wchar_t** argv) {
  if (argc != 2) {
    std::fputs("usage: clipboard_holder <milliseconds>\n", stderr);
    return 2;
  }
  wchar_t* end = nullptr;
  const unsigned long hold_ms = std::wcstoul(argv[1], &end, 10);
  if (end == argv[1] || *end != L'\0' || hold_ms > 600000) {
    std::fputs("clipboard_holder: the time must be 0 to 600000 ms\n", stderr);
    return 2;
  }
  if (!::OpenClipboard(nullptr)) {
    std::puts("busy");
    std::fflush(stdout);
    return 1;
  }
  std::puts("open");
  std::fflush(stdout);
  ::Sleep(static_cast<DWORD>(hold_ms));
  ::CloseClipboard();
  std::puts("closed");
  std::fflush(stdout);
  return 0;
}
