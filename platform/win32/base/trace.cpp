#include "platform/win32/base/trace.h"

#include <cstdio>
#include <cwchar>

namespace pelvanto::win32 {

void TraceFailure(const wchar_t* what) {
  const DWORD error = ::GetLastError();
  wchar_t line[256];
  std::swprintf(line, sizeof line / sizeof line[0], L"%ls failed (error %lu)", what,
                static_cast<unsigned long>(error));
  TraceLine(line);
  // Tracing must not change what the caller reads next.
  ::SetLastError(error);
}

void TraceLine(const std::wstring& line) {
  const std::wstring text = L"Pelvanto: " + line + L"\n";
  ::OutputDebugStringW(text.c_str());
  // Asked once: the environment does not change under a running program.
  static const bool to_stderr = ::GetEnvironmentVariableW(L"PELVANTO_TRACE", nullptr, 0) > 0;
  if (to_stderr) std::fwprintf(stderr, L"%ls", text.c_str());
}

}  // namespace pelvanto::win32
