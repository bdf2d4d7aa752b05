#include "platform/win32/base/trace.h"

#include <algorithm>
#include <cstdio>
#include <cwchar>

namespace pelvanto::win32 {

void TraceFailure(const wchar_t* what) {
  const DWORD error = ::GetLastError();
  wchar_t line[256];
  std::swprintf(line, sizeof line / sizeof line[0], L"%ls failed (error %lu)", what,
                static_cast<unsigned long>(error));
  TraceLine(line);
}

void TraceLine(std::wstring_view line) {
  // Tracing must not change what the caller reads next.
  const DWORD error = ::GetLastError();
  // Fixed buffers: a line about running out of memory must not need any.
  wchar_t text[512];
  constexpr std::size_t kRoom = sizeof text / sizeof text[0] - 13;  // prefix, newline, end
  const auto length = static_cast<int>(std::min(line.size(), kRoom));
  std::swprintf(text, sizeof text / sizeof text[0], L"Pelvanto: %.*ls\n", length, line.data());
  ::OutputDebugStringW(text);
  // Asked once: the environment does not change under a running program.
  static const bool to_stderr = ::GetEnvironmentVariableW(L"PELVANTO_TRACE", nullptr, 0) > 0;
  if (to_stderr) {
    // UTF-8, so a line in Chinese reaches a pipe whole whatever the console's code page.
    char utf8[1536];
    if (::WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8, sizeof utf8, nullptr, nullptr) > 0)
      std::fputs(utf8, stderr);
    // Redirected to a file, the C runtime buffers standard error: a program ended from outside
    // would lose the line.
    std::fflush(stderr);
  }
  ::SetLastError(error);
}

}  // namespace pelvanto::win32
