// clipboard_watch.exe
// Reports every change of the clipboard, one line each, so that a test can count the pictures
// a program puts there even when two in a row look the same:
//   picture <width> <height>   a bitmap is on the clipboard now
//   other                      the clipboard changed and holds no bitmap
// Prints "ready" once it watches. Runs until it is ended.
#include <windows.h>

#include <cstdio>

namespace {

// The clipboard is only looked at for a moment; a program that holds it keeps us waiting.
bool OpenWithRetries() {
  for (int attempt = 0; attempt < 500; ++attempt) {
    if (::OpenClipboard(nullptr)) return true;
    ::Sleep(2);
  }
  return false;
}

}  // namespace

int wmain() {
  DWORD seen = ::GetClipboardSequenceNumber();
  std::puts("ready");
  std::fflush(stdout);
  for (;;) {
    ::Sleep(5);
    if (::GetClipboardSequenceNumber() == seen) continue;
    if (!OpenWithRetries()) continue;
    // Nothing can change the clipboard while it is open here, so this number goes with what
    // is read below.
    seen = ::GetClipboardSequenceNumber();
    BITMAP info{};
    const auto bitmap = static_cast<HBITMAP>(::GetClipboardData(CF_BITMAP));
    const bool picture = bitmap && ::GetObjectW(bitmap, sizeof info, &info) == sizeof info;
    ::CloseClipboard();
    if (picture) {
      std::printf("picture %ld %ld\n", info.bmWidth, info.bmHeight);
    } else {
      std::puts("other");
    }
    std::fflush(stdout);
  }
}
