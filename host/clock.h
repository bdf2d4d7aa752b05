#pragma once

namespace pelvanto {

// A local time of day, to the second.
struct TimeOfDay {
  int hour = 0;    // 0 to 23
  int minute = 0;  // 0 to 59
  int second = 0;  // 0 to 59
  friend bool operator==(const TimeOfDay&, const TimeOfDay&) = default;
};

class Clock {
 public:
  virtual ~Clock() = default;
  // The second of the current minute, 0 to 59.
  virtual int SecondOfMinute() const = 0;
  // The local time now.
  virtual TimeOfDay Now() const = 0;
};

}  // namespace pelvanto
