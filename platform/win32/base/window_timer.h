#pragma once
// A window's timer behind the logic's Timer: its ticks arrive as WM_TIMER with its id.

#include <windows.h>

#include "host/timer.h"

namespace pelvanto::win32 {

// A timer of a window; its ticks arrive as WM_TIMER with its id.
class WindowTimer final : public Timer {
 public:
  WindowTimer(HWND window, UINT_PTR id) : window_(window), id_(id) {}
  ~WindowTimer() override;
  WindowTimer(const WindowTimer&) = delete;
  WindowTimer& operator=(const WindowTimer&) = delete;

  void SetEnabled(bool enabled) override;
  bool Enabled() const override { return enabled_; }
  void SetInterval(unsigned milliseconds) override;
  unsigned Interval() const override { return interval_; }

 private:
  HWND window_;
  UINT_PTR id_;
  unsigned interval_ = 0;
  bool enabled_ = false;
};

}  // namespace pelvanto::win32
