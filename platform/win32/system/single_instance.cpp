#include "platform/win32/system/single_instance.h"

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

InstanceClaim ClaimInstance(OwnedHandle& claim, const wchar_t* main_class, DWORD hung_ms,
                            DWORD ending_ms) {
  claim.Reset(::CreateMutexW(nullptr, TRUE, kClaimName));
  if (!claim) {
    // Without the claim the program still works; it just cannot tell a second start.
    TraceFailure(L"CreateMutexW (instance claim)");
    return InstanceClaim::kFirst;
  }
  if (::GetLastError() != ERROR_ALREADY_EXISTS) return InstanceClaim::kFirst;

  const ULONGLONG start = ::GetTickCount64();
  for (;;) {
    // The running instance ended (or is gone without releasing it: abandoned): ours now.
    const DWORD gone = ::WaitForSingleObject(claim.get(), 0);
    if (gone == WAIT_OBJECT_0 || gone == WAIT_ABANDONED) return InstanceClaim::kFirst;
    if (::GetTickCount64() - start >= ending_ms) break;
    if (HWND main = ::FindWindowW(main_class, nullptr)) {
      // This process was just started by the user and may bring a window to the front; the
      // running one may only if we let it.
      DWORD pid = 0;
      ::GetWindowThreadProcessId(main, &pid);
      ::AllowSetForegroundWindow(pid);
      DWORD_PTR answer = 0;
      // A window that does not answer within hung_ms is hung: never a second cutter, and never
      // a hung start either.
      if (!::SendMessageTimeoutW(main, ShowInstanceMessage(), 0, 0, SMTO_ABORTIFHUNG | SMTO_BLOCK,
                                 hung_ms, &answer))
        break;
      if (static_cast<LRESULT>(answer) == kInstanceShown) return InstanceClaim::kHandedOver;
    }
    // Starting (no window yet, or no logic behind it) or ending: it lets the claim go soon.
    const DWORD freed = ::WaitForSingleObject(claim.get(), kRetryMs);
    if (freed == WAIT_OBJECT_0 || freed == WAIT_ABANDONED) return InstanceClaim::kFirst;
  }
  ::SetLastError(ERROR_TIMEOUT);
  TraceFailure(L"waiting for the running instance to answer (this start ends)");
  claim.Reset();
  return InstanceClaim::kNoAnswer;
}

}  // namespace pelvanto::win32
