#pragma once
// One program per user session: a second start hands over to the running one and ends.

#include <windows.h>

#include "platform/win32/base/owners.h"

namespace pelvanto::win32 {

enum class InstanceClaim {
  kFirst,       // no other instance runs (any more): this one goes on and holds the claim
  kHandedOver,  // the running instance showed its main window: this one ends
  kNoAnswer,    // the running instance did not answer in time: this one ends all the same
};

// Whether this process is the session's instance. The claim is a mutex in the session's own
// namespace, so another user's session (fast user switching, a remote desktop) runs its own
// copy. A running instance is asked to show its main window; one that is ending is waited
// for, as is one still starting, for at most `wait_ms` in all.
InstanceClaim ClaimInstance(OwnedHandle& claim, const wchar_t* main_class, DWORD wait_ms = 2000);

// The message a second start sends to the main window; the window answers kInstanceShown
// when it showed itself, anything else (0 by default) while it is ending.
UINT ShowInstanceMessage();
inline constexpr LRESULT kInstanceShown = 0x5056;

}  // namespace pelvanto::win32
