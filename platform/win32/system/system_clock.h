#pragma once
// The local time of day behind the logic's Clock.

#include <windows.h>

#include "host/clock.h"

namespace pelvanto::win32 {

class SystemClock final : public Clock {
 public:
  int SecondOfMinute() const override {
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    return now.wSecond;
  }
  TimeOfDay Now() const override {
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    return {now.wHour, now.wMinute, now.wSecond};
  }
};

}  // namespace pelvanto::win32
