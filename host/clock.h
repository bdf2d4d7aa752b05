#pragma once

namespace pelvanto {

class Clock {
 public:
  virtual ~Clock() = default;
  // The second of the current minute, 0 to 59.
  virtual int SecondOfMinute() const = 0;
};

}  // namespace pelvanto
