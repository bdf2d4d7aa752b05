#include "platform/win32/base/window_timer.h"

#include "platform/win32/base/trace.h"

namespace pelvanto::win32 {

WindowTimer::~WindowTimer() { SetEnabled(false); }

void WindowTimer::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  if (!enabled) {
    ::KillTimer(window_, id_);
  } else if (::SetTimer(window_, id_, interval_, nullptr) == 0) {
    TraceFailure(L"SetTimer");
  }
}

void WindowTimer::SetInterval(unsigned milliseconds) {
  interval_ = milliseconds;
  // Setting an existing timer again restarts its countdown.
  if (enabled_ && ::SetTimer(window_, id_, interval_, nullptr) == 0) TraceFailure(L"SetTimer");
}

}  // namespace pelvanto::win32
