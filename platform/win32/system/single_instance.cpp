#include "platform/win32/system/single_instance.h"

#include <algorithm>

#include "platform/win32/base/trace.h"

namespace pelvanto::win32 {

namespace {
constexpr wchar_t kClaimName[] = L"Local\\Pelvanto.Instance";
constexpr DWORD kRetryMs = 50;  // between looks for a window that is not there yet
}  // namespace

UINT ShowInstanceMessage() {
  static const UINT message = ::RegisterWindowMessageW(L"Pelvanto.ShowInstance");
  return message;
}

InstanceClaim ClaimInstance(OwnedHandle& claim, const wchar_t* main_class, DWORD wait_ms) {
  claim.Reset(::CreateMutexW(nullptr, TRUE, kClaimName));
  if (!claim) {
    // Without the claim the program still works; it just cannot tell a second start.
    TraceFailure(L"CreateMutexW (instance claim)");
    return InstanceClaim::kFirst;
  }
  if (::GetLastError() != ERROR_ALREADY_EXISTS) return InstanceClaim::kFirst;

  const ULONGLONG deadline = ::GetTickCount64() + wait_ms;
  for (;;) {
    // The running instance ended (or is gone without releasing it: abandoned): ours now.
    const DWORD gone = ::WaitForSingleObject(claim.get(), 0);
    if (gone == WAIT_OBJECT_0 || gone == WAIT_ABANDONED) return InstanceClaim::kFirst;
    const ULONGLONG now = ::GetTickCount64();
    if (now >= deadline) break;
    const auto left = static_cast<UINT>(deadline - now);
    if (HWND main = ::FindWindowW(main_class, nullptr)) {
      // This process was just started by the user and may bring a window to the front; the
      // running one may only if we let it.
      DWORD pid = 0;
      ::GetWindowThreadProcessId(main, &pid);
      ::AllowSetForegroundWindow(pid);
      DWORD_PTR answer = 0;
      if (::SendMessageTimeoutW(main, ShowInstanceMessage(), 0, 0, SMTO_ABORTIFHUNG | SMTO_BLOCK,
                                left, &answer) &&
          static_cast<LRESULT>(answer) == kInstanceShown)
        return InstanceClaim::kHandedOver;
    }
    // Starting (no window yet, or no logic behind it) or ending: wait for the claim a little.
    const DWORD freed = ::WaitForSingleObject(claim.get(), std::min<DWORD>(kRetryMs, left));
    if (freed == WAIT_OBJECT_0 || freed == WAIT_ABANDONED) return InstanceClaim::kFirst;
  }
  ::SetLastError(ERROR_TIMEOUT);
  TraceFailure(L"waiting for the running instance to answer (this start ends)");
  claim.Reset();
  return InstanceClaim::kNoAnswer;
}

}  // namespace pelvanto::win32
