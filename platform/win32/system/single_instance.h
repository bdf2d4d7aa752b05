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
// copy. A running instance is asked to show its main window. One whose window does not answer
// (hung) is given up on after `hung_ms`; one that is ending, or still starting, lets the claim
// go soon, and is waited for up to `ending_ms` (a loaded machine may take seconds to end a
// program).
InstanceClaim ClaimInstance(OwnedHandle& claim, const wchar_t* main_class, DWORD hung_ms = 2000,
                            DWORD ending_ms = 10000);

// The message a second start sends to the main window; the window answers kInstanceShown
// when it showed itself, anything else (0 by default) while it is ending.
UINT ShowInstanceMessage();
inline constexpr LRESULT kInstanceShown = 0x5056;

}  // namespace pelvanto::win32
