#include "platform/win32/base/messages.h"

namespace pelvanto::win32 {

UINT TaskbarCreatedMessage() {
  static const UINT message = ::RegisterWindowMessageW(L"TaskbarCreated");
  return message;
}

UINT ShellHookMessage() {
  static const UINT message = ::RegisterWindowMessageW(L"SHELLHOOK");
  return message;
}

}  // namespace pelvanto::win32
