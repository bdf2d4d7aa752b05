#pragma once

namespace pelvanto {

// A window timer. Its ticks arrive as calls on the logic that owns it.
class Timer {
 public:
  virtual ~Timer() = default;
  virtual void SetEnabled(bool enabled) = 0;
  virtual bool Enabled() const = 0;
  // Restarts the countdown when the timer is enabled.
  virtual void SetInterval(unsigned milliseconds) = 0;
  virtual unsigned Interval() const = 0;
};

}  // namespace pelvanto
