#include "platform/win32/base/trace.h"

#include <cstdio>
#include <cwchar>

namespace pelvanto::win32 {

namespace {

void Leave(const wchar_t* line) {
  ::OutputDebugStringW(line);
  // Asked once: the environment does not change under a running program.
  static const bool to_stderr = ::GetEnvironmentVariableW(L"PELVANTO_TRACE", nullptr, 0) > 0;
  if (to_stderr) std::fwprintf(stderr, L"%ls", line);
}

}  // namespace

void TraceFailure(const wchar_t* what) {
  const DWORD error = ::GetLastError();
  wchar_t line[256];
  std::swprintf(line, sizeof line / sizeof line[0], L"Pelvanto: %ls failed (error %lu)\n", what,
                static_cast<unsigned long>(error));
  Leave(line);
  // Tracing must not change what the caller reads next.
  ::SetLastError(error);
}

void TraceNote(const wchar_t* what) {
  const DWORD error = ::GetLastError();
  wchar_t line[256];
  std::swprintf(line, sizeof line / sizeof line[0], L"Pelvanto: %ls\n", what);
  Leave(line);
  ::SetLastError(error);
}

}  // namespace pelvanto::win32
