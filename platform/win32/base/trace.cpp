#include "platform/win32/base/trace.h"

#include <cstdio>
#include <cwchar>

namespace pelvanto::win32 {

void TraceFailure(const wchar_t* what) {
  const DWORD error = ::GetLastError();
  wchar_t line[256];
  std::swprintf(line, sizeof line / sizeof line[0], L"Pelvanto: %ls failed (error %lu)\n", what,
                static_cast<unsigned long>(error));
  ::OutputDebugStringW(line);
  // Asked once: the environment does not change under a running program.
  static const bool to_stderr = ::GetEnvironmentVariableW(L"PELVANTO_TRACE", nullptr, 0) > 0;
  if (to_stderr) {
    std::fwprintf(stderr, L"%ls", line);
    // Redirected to a file, the C runtime buffers standard error: a program ended from outside
    // would lose the line.
    std::fflush(stderr);
  }
  // Tracing must not change what the caller reads next.
  ::SetLastError(error);
}

void Trace(const wchar_t* line) {
  const DWORD error = ::GetLastError();
  wchar_t text[512];
  std::swprintf(text, sizeof text / sizeof text[0], L"Pelvanto: %ls\n", line);
  ::OutputDebugStringW(text);
  static const bool to_stderr = ::GetEnvironmentVariableW(L"PELVANTO_TRACE", nullptr, 0) > 0;
  if (to_stderr) {
    // UTF-8, so a line in Chinese reaches a pipe whole whatever the console's code page.
    char utf8[1536];
    const int length =
        ::WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8, sizeof utf8, nullptr, nullptr);
    if (length > 0) std::fputs(utf8, stderr);
    std::fflush(stderr);
  }
  ::SetLastError(error);
}

}  // namespace pelvanto::win32
