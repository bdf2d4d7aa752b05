#include "platform/win32/window_timer.h"

namespace pelvanto::win32 {

WindowTimer::~WindowTimer() { SetEnabled(false); }

void WindowTimer::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  if (enabled)
    ::SetTimer(window_, id_, interval_, nullptr);
  else
    ::KillTimer(window_, id_);
}

void WindowTimer::SetInterval(unsigned milliseconds) {
  interval_ = milliseconds;
  // Setting an existing timer again restarts its countdown.
  if (enabled_) ::SetTimer(window_, id_, interval_, nullptr);
}

}  // namespace pelvanto::win32
